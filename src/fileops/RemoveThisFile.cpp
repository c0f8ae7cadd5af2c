#include "fileops/RemoveThisFile.h"

#include "app/AppState.h"
#include "app/ReportError.h"
#include "platform/PlatformError.h"
#include "platform/Shell.h"

namespace bw {

bool RemoveThisFile(AppState& app, const std::string& path) {
    FileSystem& fs = *app.fs;
    const bool isFile = fs.FileExists(path);
    const bool isFolder = !isFile && fs.FolderExists(path);
    if (!isFile && !isFolder) return true;
    try {
        if (app.settings.MoveFile) {
            // Without a desktop trash the item stays; it is never deleted in the trash's place.
            if (!app.shell) throw PlatformError::FromNumber(err::kPathFileAccess);
            app.shell->MoveToTrash(fs.HostPath(path));
        } else if (isFile) {
            fs.DeleteFile(path);
        } else {
            fs.DeleteFolder(path);
        }
    } catch (const PlatformError& e) {
        ReportError(app.desktop, e, "RemoveThisFile: " + path);
    }
    return !fs.FileExists(path) && !fs.FolderExists(path);
}

}  // namespace bw
