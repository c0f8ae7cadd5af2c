#include "repair/UndoLastBatch.h"

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "references/ReplaceFileSafely.h"
#include "repair/RepairJournal.h"

namespace bw::repair {

namespace {

// Gives one file its old bytes back when it still holds the new ones. False when that failed, so
// another Undo may yet do it.
bool UndoFile(FileSystem& fs, const std::string& folder, const JournalEntry& e, UndoResult& r) {
    const std::string path = fs.WindowsPath(e.file);
    std::string current;
    try {
        current = fs.ReadFile(path);
    } catch (const PlatformError& err) {
        r.skipped.push_back({e.file, "it cannot be read: " + err.description()});
        return true;
    }
    const ContentHash now = HashOf(current);
    if (now == e.oldHash) {
        r.unchanged.push_back(e.file);
        return true;
    }
    if (now != e.newHash) {
        r.skipped.push_back({e.file, "changed since the repair"});
        return true;
    }
    try {
        const std::string old = fs.ReadFile(fs.WindowsPath(folder + "/" + e.copy));
        if (HashOf(old) != e.oldHash) {
            r.skipped.push_back({e.file, "its copy in the repair journal is damaged"});
            return false;
        }
        // No ".bak": it would put the repaired bytes over the backup of the original.
        ReplaceFileSafely(fs, path.substr(0, path.find_last_of('\\')), path, old, std::nullopt);
    } catch (const PlatformError& err) {
        r.skipped.push_back({e.file, "it could not be restored: " + err.description()});
        return false;
    }
    r.restored.push_back(e.file);
    return true;
}

}  // namespace

UndoResult UndoLastBatch(FileSystem& fs, const std::string& journalRoot) {
    UndoResult result;
    for (const auto& folder : JournalFolders(journalRoot)) {
        JournalManifest manifest;
        try {
            manifest = ReadManifest(fs, folder);
        } catch (const PlatformError& e) {
            // A batch stopped before its first manifest changed nothing.
            if (e.number() == err::kFileNotFound) continue;
            throw;
        }
        if (manifest.undone) continue;
        result.journal = folder;
        bool done = true;
        for (const auto& entry : manifest.entries)
            done = UndoFile(fs, folder, entry, result) && done;
        if (done) {
            manifest.undone = true;
            WriteManifest(fs, folder, manifest);
            result.finished = true;
        }
        return result;
    }
    return result;
}

}  // namespace bw::repair
