#include "preview/FolderCounts.h"

#include "core/Classification.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace bw {

FolderCounts CountFolder(const FileSystem& fs, const std::string& folderPath) {
    FolderCounts counts;
    const std::string folder = EndsWith(folderPath, "\\") ? folderPath : folderPath + "\\";
    for (const FolderEntry& entry : fs.ListFolder(folder)) {
        if (entry.isFolder)
            ++counts.subFolders;
        else if (IsPoserFile(entry.name))
            ++counts.libraryFiles;
        else if (IsImageFile(entry.name))
            ++counts.imageFiles;
        else if (IsSystemFile(entry.name))
            ++counts.systemFiles;
        else
            ++counts.otherFiles;
    }
    return counts;
}

}  // namespace bw
