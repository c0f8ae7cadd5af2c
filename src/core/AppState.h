#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/CommandState.h"
#include "core/Node.h"
#include "core/Settings.h"
#include "core/Tree.h"
#include "platform/FileSystem.h"

namespace bw {

class ContentUsage;
class Desktop;
class Shell;
class WindowList;

// The program-wide state, once for the run: settings, the file system access object, the tree,
// the current node, history, clipboard and the scan flag. Tests create a fresh one each.
class AppState {
  public:
    AppState(Desktop& desktop, std::unique_ptr<FileSystem> fs);
    ~AppState();

    Desktop& desktop;
    Settings settings;
    std::unique_ptr<FileSystem> fs;
    Tree tree;
    CommandState commands;

    // The selected node; every command works on it.
    NodeHandle CurrentNode;

    // Navigation history: visited nodes, the position of the next record, the last mouse button
    // pressed in the tree (1 left, 2 right) and the listing's sub-folder flag.
    std::vector<NodeHandle> NodeHistory{NodeHandle()};
    int HistoryPosition = 0;
    int LastMouseButton = 0;
    bool PrintSubFolders = false;

    // The program's clipboard: the path to paste (empty: nothing), the node it came from, and
    // whether it was cut (moved on paste) or copied.
    std::string ClipboardPath;
    NodeHandle ClipboardNode;
    bool ClipboardIsCut = false;

    // Set by Stop Scan; the reverse scan reads it after every line.
    bool StopScanRequested = false;

    // Platform services; null where a test or a platform has none.
    Shell* shell = nullptr;
    WindowList* windows = nullptr;
    ContentUsage* usage = nullptr;
};

}  // namespace bw
