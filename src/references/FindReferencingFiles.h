#pragma once

#include <string>

namespace bw {

class AppState;
class Node;
struct FileScanOutcome;

// Scans every file under the library folder for the name of the file above the scan line, in the
// window's scan mode, and lists the files that mention it under that line. Ends promptly on Stop
// Scan, and without touching the line if it has left the tree meanwhile. When a file or folder
// could not be read it never says "not referenced": its last line says the answer is incomplete.
void FindReferencingFiles(AppState& app, Node& scanNode);

// The result line of a scan that had to skip what it could not read; `found` when it listed files.
std::string ScanIncompleteText(const FileScanOutcome& outcome, bool found);

}  // namespace bw
