#pragma once

#include <cstddef>
#include <string>

#include "core/Node.h"

namespace bw {

class AppState;

// How a reverse scan ended.
struct FileScanOutcome {
    bool stopped = false;        // Stop Scan was honoured
    bool containerGone = false;  // the results' node left the tree; nothing more was added
    size_t skippedFiles = 0;     // files that could not be read
    size_t skippedFolders = 0;   // folders that could not be listed, the starting one included
    bool reported = false;       // the first failure has been shown; later ones are counted
};

// Reads every file of a folder and its sub-folders, whatever its kind, for the target name
// (case ignored) and adds a "Found in: " line under `container` for each file that holds it.
// Keeps the window live and the scan panel current, and honours StopScanRequested promptly. A file
// or folder that fails is skipped and counted, and the scan goes on; only the first failure is
// reported, under "SearchThroughFilesForFile" (error 91 never is).
FileScanOutcome SearchThroughFilesForFile(AppState& app, const NodeHandle& container,
                                          const std::string& folder, const std::string& targetName);

// The location shown for a referencing file: from "\Runtime" on when `relative` and the path holds
// it (case-significant), else the whole path.
std::string ReferencingFileLocation(const std::string& fullPath, bool relative);

}  // namespace bw
