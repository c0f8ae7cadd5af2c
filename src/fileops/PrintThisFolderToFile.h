#pragma once

#include <string>
#include <string_view>

namespace bw {

class AppState;

// The listing's own system file test: the name's last four characters (the whole name when
// shorter) occur in the system extension list, letter case significant.
bool IsListedAsSystemFile(std::string_view name);

// Appends one folder's lines (sub-folders, then files, in file-system order; into sub-folders when
// PrintSubFolders is set) to `out`, each ended by CR LF. A folder that can not be read ends its own
// part of the listing silently.
void PrintThisFolderToFile(AppState& app, const std::string& folder, std::string& out,
                           const std::string& indent = "");

}  // namespace bw
