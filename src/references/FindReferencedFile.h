#pragma once

namespace bw {

class AppState;
class Node;

// Searches the Runtime folder for the file named by the reference above a find-location line and
// turns that line into the container of the places found. The window stays live meanwhile; if the
// container leaves the tree, the search ends without touching it.
void FindReferencedFile(AppState& app, Node& scanNode);

}  // namespace bw
