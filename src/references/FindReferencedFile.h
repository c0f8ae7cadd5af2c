#pragma once

namespace bw {

class AppState;
class Node;

// Searches the Runtime folder for the file a reference names, from its find-location line.
void FindReferencedFile(AppState& app, Node& scanNode);

}  // namespace bw
