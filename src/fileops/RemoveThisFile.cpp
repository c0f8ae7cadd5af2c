#include "fileops/RemoveThisFile.h"

#include "core/AppState.h"
#include "core/ReportError.h"
#include "platform/PlatformError.h"
#include "platform/Shell.h"

namespace bw {

namespace {

// The path names one entry exactly. An entry that differs from it only in letter case is another
// file: it is neither removed in its place nor taken for the item still being there.
bool Exists(const FileSystem& fs, const std::string& path) {
    return fs.FileExists(path, Lookup::AsWritten) || fs.FolderExists(path, Lookup::AsWritten);
}

void Remove(AppState& app, const std::string& path) {
    FileSystem& fs = *app.fs;
    const bool isFile = fs.FileExists(path, Lookup::AsWritten);
    const bool isFolder = !isFile && fs.FolderExists(path, Lookup::AsWritten);
    if (!isFile && !isFolder) return;
    if (app.settings.MoveFile) {
        // Without a desktop trash the item stays; it is never deleted in the trash's place.
        if (!app.shell) throw PlatformError::FromNumber(err::kPathFileAccess);
        app.shell->MoveToTrash(fs.HostPath(path, Lookup::AsWritten));
    } else if (isFile) {
        fs.DeleteFile(path);
    } else {
        fs.DeleteFolder(path);
    }
}

}  // namespace

bool RemoveThisFile(AppState& app, const std::string& path) {
    try {
        Remove(app, path);
    } catch (const PlatformError& e) {
        ReportError(app.desktop, e, "RemoveThisFile: " + path);
    }
    return !Exists(*app.fs, path);
}

void RemoveThisFileOrThrow(AppState& app, const std::string& path) {
    Remove(app, path);
    if (Exists(*app.fs, path)) throw PlatformError::FromNumber(err::kPathFileAccess);
}

}  // namespace bw
