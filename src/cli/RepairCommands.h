#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "check/CheckTypes.h"
#include "cli/CheckCommandLine.h"
#include "platform/DriveMap.h"

namespace bw::cli {

// --fix: repairs (or with --dry-run shows as a diff) every moved row with one candidate among the
// check's rows of `runtime`; answers the exit code.
int RunFix(const CheckCommand& command, const std::string& runtime, const DriveMap& drives,
           const std::vector<check::CheckRow>& rows, std::ostream& out, std::ostream& err);

// --undo: undoes the last repair batch; answers the exit code.
int RunUndo(const CheckCommand& command, std::ostream& out, std::ostream& err);

}  // namespace bw::cli
