#pragma once

namespace bw {

class AppState;
class Node;

// Lists the references of a Poser library file under its node: one line per distinct path, each
// that names a Poser or image file with its find-location line. Puts the scan line back when the
// file holds no candidate line. Failures are reported as "FillFileInfo: " and the node's text.
void FillFileInfo(AppState& app, Node& fileNode);

}  // namespace bw
