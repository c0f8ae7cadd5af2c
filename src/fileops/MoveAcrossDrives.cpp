#include "fileops/MoveAcrossDrives.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"

namespace bw {

namespace {

bool SameContents(const FileSystem& fs, const std::string& a, const std::string& b, bool isFolder) {
    if (!isFolder) return fs.ReadFile(a) == fs.ReadFile(b);
    auto left = fs.ListFolder(a + "\\");
    auto right = fs.ListFolder(b + "\\");
    if (left.size() != right.size()) return false;
    auto byName = [](const FolderEntry& x, const FolderEntry& y) { return x.name < y.name; };
    std::sort(left.begin(), left.end(), byName);
    std::sort(right.begin(), right.end(), byName);
    for (size_t i = 0; i < left.size(); ++i) {
        const FolderEntry& l = left[i];
        const FolderEntry& r = right[i];
        if (l.name != r.name || l.isFolder != r.isFolder || l.isLink != r.isLink) return false;
        if (l.isLink) continue;  // copied as a link; its target is not part of the item
        if (!SameContents(fs, a + "\\" + l.name, b + "\\" + r.name, l.isFolder)) return false;
    }
    return true;
}

void TakeAwayCopy(FileSystem& fs, const std::string& destination, bool isFolder) {
    try {
        if (isFolder && fs.FolderExists(destination))
            fs.DeleteFolder(destination);
        else if (!isFolder && fs.FileExists(destination))
            fs.DeleteFile(destination);
    } catch (const PlatformError&) {
        // The source is intact; a partial copy that can not be removed is only clutter.
    }
}

}  // namespace

void MoveAcrossDrives(FileSystem& fs, const std::string& source, const std::string& destination) {
    if (fs.FileExists(destination) || fs.FolderExists(destination))
        throw PlatformError::FromNumber(err::kFileAlreadyExists);
    const bool isFolder = fs.FolderExists(source);
    // A copy that fails leaves nothing behind; whatever holds the name then is not ours to remove.
    if (isFolder)
        fs.CopyFolder(source, destination, Overwrite::No);
    else
        fs.CopyFile(source, destination, Overwrite::No);
    try {
        if (!SameContents(fs, source, destination, isFolder))
            throw PlatformError::FromNumber(err::kDeviceIO);
    } catch (const PlatformError&) {
        TakeAwayCopy(fs, destination, isFolder);
        throw;
    }
    if (isFolder)
        fs.DeleteFolder(source);
    else
        fs.DeleteFile(source);
}

}  // namespace bw
