#pragma once

#include <string>

namespace bw {

class AppState;
class Node;

// Opens the tree along a file's Windows path, folder by folder, and selects the file's node:
// folders already open are left as they are, and refilled once only when the file is not among
// their children. When the file is gone, the nearest folder above it is selected instead; null when
// not even its drive is in the tree.
Node* RevealFile(AppState& app, const std::string& windowsPath);

}  // namespace bw
