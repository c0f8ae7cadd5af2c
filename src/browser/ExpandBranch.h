#pragma once

#include <cstddef>

namespace bw {

class AppState;
class Node;

// The most drives and folders one expand-all reads from disk; the rest of a larger branch stays
// closed, so a press on a whole drive cannot fill the memory.
inline constexpr size_t kExpandBranchLimit = 5000;

// Opens the node and every node below it, top down, reading each closed drive and folder from
// disk on the way. Never descends through a link to a folder (only the node it starts on may be
// one); yields once per node; ends early when `stop` becomes true or after kExpandBranchLimit
// folders were read. Shows the wait cursor meanwhile and leaves the caption as it found it.
// Returns the number of folders read.
size_t ExpandBranch(AppState& app, Node& start, const bool& stop);

}  // namespace bw
