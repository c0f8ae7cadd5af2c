#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "check/CheckTypes.h"
#include "cli/CheckCommandLine.h"
#include "platform/DriveMap.h"

namespace bw::cli {

// --unused: lists the images and geometries of `runtime` that none of the check's rows uses, in
// the command's format; answers the exit code.
int RunUnused(const CheckCommand& command, const std::string& runtime, const DriveMap& drives,
              const std::vector<check::CheckRow>& rows, std::ostream& out, std::ostream& err);

}  // namespace bw::cli
