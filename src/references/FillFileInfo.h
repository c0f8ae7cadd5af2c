#pragma once

namespace bw {

class AppState;
class Node;

// Lists the references of a Poser library file under its node.
void FillFileInfo(AppState& app, Node& fileNode);

}  // namespace bw
