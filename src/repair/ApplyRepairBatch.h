#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "repair/RepairBatch.h"

namespace bw {
class FileSystem;
}

namespace bw::repair {

struct ApplyOptions {
    std::string journalRoot;   // host folder of the journals (DefaultJournalRoot() for the user's)
    bool backUpFigure = true;  // the setting: keep the old file as ".bak" beside it as well
    // Called before each step (each file journalled, then each file replaced) with the steps done
    // and their total; answering false stops the batch there, every file already replaced staying
    // so. May be empty.
    std::function<bool(size_t done, size_t total)> progress;
};

struct FileFailure {
    std::string file;  // host path
    std::string reason;
};

struct BatchResult {
    std::string journal;                // host folder of the batch's journal
    std::vector<std::string> repaired;  // host paths of the files now holding their new bytes
    size_t lines = 0;                   // lines changed in those files
    std::vector<FileFailure> failed;    // files left as they were, with why
    bool stopped = false;               // progress answered false
};

// Writes a plan's files. First the journal, whole: the old bytes of every file still holding what
// was planned, then the manifest naming them, all flushed to the disk; then each file is replaced
// all-or-nothing, with the ".bak" when backUpFigure says so, exactly as the single repair keeps it.
// A file whose bytes are no longer those planned is left alone and reported. When the journal
// cannot be written, no file is touched and all are reported. Throws PlatformError when no journal
// can be begun. A batch stopped or killed leaves each file wholly old or wholly new, and
// UndoLastBatch puts back those it changed.
BatchResult ApplyRepairBatch(FileSystem& fs, const RepairPlan& plan, const ApplyOptions& options);

}  // namespace bw::repair
