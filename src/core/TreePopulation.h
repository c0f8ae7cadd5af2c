#pragma once

namespace bw {

class AppState;
class Node;

inline constexpr const char* kAppTitle = "Brindlewood";

// Rebuilds the tree with one node per drive, each with its placeholder line.
void GetDrives(AppState& app);
// Replaces the children of a drive or folder node by the folder's sub-folders, then its files,
// each sorted without regard to case; names a Windows path can not carry are not listed. A folder
// that cannot be read, or no longer exists under the node's exact name, keeps its old children;
// no error is shown.
void FillFolderNode(AppState& app, Node& node);
// Removes every child of the node.
void ClearChildNodes(AppState& app, Node& node);
// The tree's expand notification, also called directly to refresh a node: refills drives and
// folders under the wait cursor and the "... (scanning)" caption.
void ExpandNode(AppState& app, Node& node);
// Every file node whose references, or whose referencing files, a scan has listed goes back to
// its scan line: after library files were rewritten, those lists may no longer hold.
void ListScansAnew(AppState& app);
// The tree's collapse notification.
void CollapseNode(AppState& app, Node& node);

}  // namespace bw
