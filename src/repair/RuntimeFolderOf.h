#pragma once

#include <optional>
#include <string>

namespace bw::repair {

// The Runtime folder the host path lies in: its nearest ancestor named "Runtime" (any letter case)
// that holds a folder named "Libraries" (any letter case); none when it lies in none.
std::optional<std::string> RuntimeFolderOf(const std::string& hostPath);

}  // namespace bw::repair
