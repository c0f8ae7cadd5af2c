#pragma once

#include <string>

#include "core/Node.h"

namespace bw {

class AppState;

// The folder a reference is searched from: the Runtime folder's Geometries or library folder by
// the reference's last three characters (case-significant), its Textures folder for any image
// extension (case ignored), else the Runtime folder itself.
std::string StartFolderFor(const std::string& reference, const std::string& runtimeFolder);

// Turns a placeholder or results line into a results line of the given kind, in black.
void SetResultState(Node& node, const std::string& text, const char* tagName, const char* image);

// The Runtime setting as a folder to walk from: without a trailing "\".
std::string RuntimeRoot(const std::string& runtimeSetting);

// Searches a folder and its sub-folders, depth first, for files named as the reference names and
// adds a "Found in: " line under `container` per folder holding one, with a discrepancy line when
// that folder is not the referenced one. Yields once per file. An unreadable folder is reported
// under "SearchThroughThisFolder" and skipped. Stops adding once `container` has left the tree.
void SearchThroughThisFolder(AppState& app, const NodeHandle& container, const std::string& folder,
                             const std::string& reference);

}  // namespace bw
