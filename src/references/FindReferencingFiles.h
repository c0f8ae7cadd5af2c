#pragma once

namespace bw {

class AppState;
class Node;

// Scans the library for files that mention the file above the scan line.
void FindReferencingFiles(AppState& app, Node& scanNode);

}  // namespace bw
