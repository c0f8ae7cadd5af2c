#include "repair/ApplyRepairBatch.h"

#include <algorithm>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "references/ReplaceFileSafely.h"
#include "references/ReplacePlan.h"
#include "repair/RepairJournal.h"

namespace bw::repair {

namespace {

std::string FolderOf(const std::string& windowsPath) {
    return windowsPath.substr(0, windowsPath.find_last_of('\\'));
}

}  // namespace

BatchResult ApplyRepairBatch(FileSystem& fs, const RepairPlan& plan, const ApplyOptions& options) {
    BatchResult result;
    if (plan.files.empty()) return result;
    JournalWriter journal(fs, options.journalRoot);
    result.journal = journal.folder();

    // The preview may have stood open a while: only the bytes that were planned are replaced.
    const auto stillAsPlanned = [&](const FileRepair& f, const std::string& path) {
        try {
            if (fs.ReadFile(path) == f.oldBytes) return true;
            result.failed.push_back({f.file, "the file changed since the preview"});
        } catch (const PlatformError& e) {
            result.failed.push_back({f.file, e.description()});
        }
        return false;
    };

    // First the journal, whole: the old bytes of every file to change, then the manifest naming
    // them, all on the disk before any file is touched. A batch stopped or killed later leaves
    // files still holding their old bytes, which Undo passes over.
    std::vector<const FileRepair*> toWrite;
    try {
        for (size_t i = 0; i < plan.files.size(); ++i) {
            const FileRepair& f = plan.files[i];
            if (options.progress && !options.progress(i, 2 * plan.files.size())) {
                result.stopped = true;  // nothing written yet
                return result;
            }
            if (!stillAsPlanned(f, fs.WindowsPath(f.file))) continue;
            journal.Keep(f.file, f.oldBytes, HashOf(f.newBytes));
            toWrite.push_back(&f);
        }
        journal.Seal();
    } catch (const PlatformError& e) {
        // Without its journal no file may change: every one not already refused stays as it is.
        for (const FileRepair& f : plan.files) {
            const bool refused =
                std::any_of(result.failed.begin(), result.failed.end(),
                            [&](const FileFailure& x) { return x.file == f.file; });
            if (!refused)
                result.failed.push_back(
                    {f.file, "the repair journal could not be written: " + e.description()});
        }
        return result;
    }

    for (size_t i = 0; i < toWrite.size(); ++i) {
        const FileRepair& f = *toWrite[i];
        if (options.progress && !options.progress(plan.files.size() + i, 2 * plan.files.size())) {
            result.stopped = true;
            break;
        }
        const std::string path = fs.WindowsPath(f.file);
        if (!stillAsPlanned(f, path)) continue;
        try {
            std::optional<std::string> backup;
            if (options.backUpFigure) backup = BackupPathOf(path);
            ReplaceFileSafely(fs, FolderOf(path), path, f.newBytes, backup);
        } catch (const PlatformError& e) {
            result.failed.push_back({f.file, e.description()});
            continue;
        }
        result.repaired.push_back(f.file);
        result.lines += f.lines.size();
    }
    return result;
}

}  // namespace bw::repair
