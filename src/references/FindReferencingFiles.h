#pragma once

namespace bw {

class AppState;
class Node;

// Scans every file under the library folder for the name of the file above the scan line, in the
// window's scan mode, and lists the files that mention it under that line. Ends promptly on Stop
// Scan, and without touching the line if it has left the tree meanwhile.
void FindReferencingFiles(AppState& app, Node& scanNode);

}  // namespace bw
