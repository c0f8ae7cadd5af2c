#include "repair/ApplyRepairBatch.h"

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
    for (size_t i = 0; i < plan.files.size(); ++i) {
        const FileRepair& f = plan.files[i];
        if (options.progress && !options.progress(i, plan.files.size())) {
            result.stopped = true;
            break;
        }
        const std::string path = fs.WindowsPath(f.file);
        try {
            // The preview may have stood open a while: only the bytes that were planned are
            // replaced.
            if (fs.ReadFile(path) != f.oldBytes) {
                result.failed.push_back({f.file, "the file changed since the preview"});
                continue;
            }
        } catch (const PlatformError& e) {
            result.failed.push_back({f.file, e.description()});
            continue;
        }
        try {
            journal.Record(f.file, f.oldBytes, HashOf(f.newBytes));
        } catch (const PlatformError& e) {
            // Without its journal entry no file may change: this one and the rest stay as they are.
            for (size_t j = i; j < plan.files.size(); ++j)
                result.failed.push_back(
                    {plan.files[j].file,
                     "the repair journal could not be written: " + e.description()});
            break;
        }
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
