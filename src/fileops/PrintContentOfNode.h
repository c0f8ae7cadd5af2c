#pragma once

#include <string>

namespace bw {

class AppState;

// Asks for a text file and writes the listing of CurrentNode's drive or folder into it.
void PrintContentOfNode(AppState& app);
// Writes the header, an empty line and the folder's listing to the file at `outputPath` (a
// Windows path) in one write, replacing the file. Throws PlatformError when it can not be written.
void WriteFolderListing(AppState& app, const std::string& folder, const std::string& header,
                        const std::string& outputPath);

}  // namespace bw
