#pragma once

#include <cstddef>
#include <string>

namespace bw {

class AppState;
class Node;

// Lists the references of a Poser library file under its node: one line per distinct path, each
// that names a Poser or image file with its find-location line. Puts the scan line back when the
// file holds no candidate line. References too long for any real path are not listed; a last line
// says how many there were. Failures are reported as "FillFileInfo: " and the node's text.
void FillFileInfo(AppState& app, Node& fileNode);

// The line under a file that says how many over-long references were left out.
std::string SkippedLongReferencesText(size_t skipped);

}  // namespace bw
