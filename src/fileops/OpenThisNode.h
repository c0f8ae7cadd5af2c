#pragma once

#include <string>

namespace bw {

class AppState;
class Node;

// Hands CurrentNode to the desktop: files to their associated application, drives, folders and
// location results to the file manager. Other nodes do nothing.
void OpenThisNode(AppState& app);
// Shows the folder that belongs to a folder-like node (Drive, Folder, SystemFolder, RefFolder).
void ExploreThisFolder(AppState& app, const Node& node);
// Opens a file in its associated application; without one, shows the notice naming the type.
void OpenInDefaultApplication(AppState& app, const std::string& path);
// Shows a folder in the file manager; failures are not reported.
void ExploreFolder(AppState& app, const std::string& path);
// The folder a "Found in: " result names, moved under the Runtime folder of the settings.
std::string RefFolderPath(const std::string& nodeText, const std::string& runtimeFolder);

}  // namespace bw
