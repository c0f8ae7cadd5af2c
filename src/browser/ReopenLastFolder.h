#pragma once

namespace bw {

class AppState;
class Node;

// Expands the tree along LastFolder, prefix by prefix, and selects the deepest node found (also
// when the folder itself is gone); null when not even its drive is there. Shows the wait cursor
// and the "moving to folder" caption meanwhile.
Node* ReopenLastFolder(AppState& app);

}  // namespace bw
