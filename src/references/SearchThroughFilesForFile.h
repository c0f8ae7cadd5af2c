#pragma once

#include <string>

#include "browser/Node.h"

namespace bw {

class AppState;

// How a reverse scan ended.
struct FileScanOutcome {
    bool stopped = false;           // Stop Scan was honoured
    bool containerGone = false;     // the results' node left the tree; nothing more was added
    bool folderUnreadable = false;  // the folder the scan was started on could not be listed
};

// Reads every file of a folder and its sub-folders, whatever its kind, for the target name
// (case ignored) and adds a "Found in: " line under `container` for each file that holds it.
// Keeps the window live and the scan panel current, and honours StopScanRequested promptly. A
// folder that fails is reported under "SearchThroughFilesForFile" (error 91 silently) and skipped.
FileScanOutcome SearchThroughFilesForFile(AppState& app, const NodeHandle& container,
                                          const std::string& folder, const std::string& targetName);

// The location shown for a referencing file: from "\Runtime" on when `relative` and the path holds
// it (case-significant), else the whole path.
std::string ReferencingFileLocation(const std::string& fullPath, bool relative);

}  // namespace bw
