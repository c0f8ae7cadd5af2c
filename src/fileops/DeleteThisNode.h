#pragma once

namespace bw {

class AppState;

// Deletes CurrentNode's file or folder (to the trash or permanently, as the settings say, after
// asking when they say so), with a library file's exact thumbnail companions; the node leaves the
// tree when its item is gone from the disk, and its parent becomes CurrentNode. True then: the
// caller selects the new CurrentNode.
bool DeleteThisNode(AppState& app);

}  // namespace bw
