#include "references/ReplaceFileSafely.h"

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"

namespace bw {

namespace {

// A name beside the file that nothing holds yet, so no file of the user's is ever overwritten.
std::string UnusedName(const FileSystem& fs, const std::string& folder, const std::string& path,
                       const char* kind) {
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    for (int n = 0;; ++n) {
        std::string candidate = folder + "\\" + name + "." + kind + std::to_string(n) + "~";
        if (!fs.FileExists(candidate) && !fs.FolderExists(candidate)) return candidate;
    }
}

// Clean-up after a failure must not hide the failure itself.
void DiscardQuietly(FileSystem& fs, const std::string& path) {
    try {
        if (fs.FileExists(path)) fs.DeleteFile(path);
    } catch (const PlatformError&) {
    }
}

}  // namespace

void ReplaceFileSafely(FileSystem& fs, const std::string& folder, const std::string& path,
                       const std::string& bytes, const std::optional<std::string>& backupPath) {
    const std::string fresh = UnusedName(fs, folder, path, "new");
    try {
        fs.WriteFile(fresh, bytes, /*sync=*/true);
    } catch (const PlatformError&) {
        DiscardQuietly(fs, fresh);
        throw;
    }
    if (backupPath) {
        const std::string backup = UnusedName(fs, folder, path, "bak");
        try {
            fs.LinkOrCopyFile(path, backup);
            // A backup of a read-only file is left writable, like the repaired file itself.
            if (fs.IsReadOnly(backup)) fs.SetReadOnly(backup, false);
            fs.Replace(backup, *backupPath);
        } catch (const PlatformError&) {
            DiscardQuietly(fs, backup);
            DiscardQuietly(fs, fresh);
            throw;
        }
    }
    try {
        fs.Replace(fresh, path);
    } catch (const PlatformError&) {
        DiscardQuietly(fs, fresh);
        throw;
    }
}

}  // namespace bw
