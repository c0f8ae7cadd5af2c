#pragma once

#include <cstddef>
#include <string>

namespace bw {

class FileSystem;

struct FolderCounts {
    size_t subFolders = 0;
    size_t libraryFiles = 0;
    size_t imageFiles = 0;
    size_t systemFiles = 0;
    size_t otherFiles = 0;
};

// What a folder or drive (Windows path, with or without its final "\") directly holds, files
// sorted as the tree colours them. Throws PlatformError when it cannot be listed.
FolderCounts CountFolder(const FileSystem& fs, const std::string& folderPath);

}  // namespace bw
