#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/CheckTypes.h"
#include "platform/DriveMap.h"

namespace bw::repair {

// The files below the Runtime folder `runtime` (host path) that one resolved reference counts as
// using, as paths below it ("Textures/a/b.jpg"). A resolved reference (Ok) uses the file it names.
// One that did not resolve uses every file the check found in its stead: its single Moved
// candidate, each Ambiguous one. The user will likely repair it to one of them, and deleting the
// file a figure would be repaired to loses what the figure needs.
std::vector<std::string> UsedRelatives(std::string_view reference, check::RefStatus status,
                                       const std::vector<std::string>& candidates,
                                       const std::string& runtime, const DriveMap& drives);

// `hostPath` below the folder `root` ("Textures/a.jpg"), or none when it does not lie below it.
// Trailing slashes of either are ignored.
std::optional<std::string> RelativeBelow(std::string_view hostPath, std::string_view root);

// True when `relative` is `target` or lies under it, letter case aside ("" holds everything).
bool IsAtOrUnder(std::string_view relative, std::string_view target);

// The path without trailing slashes ("/" stays).
std::string WithoutTrailingSlashes(std::string_view path);

}  // namespace bw::repair
