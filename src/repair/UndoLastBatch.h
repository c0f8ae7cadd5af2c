#pragma once

#include <string>
#include <vector>

#include "repair/ApplyRepairBatch.h"

namespace bw {
class FileSystem;
}

namespace bw::repair {

struct UndoResult {
    std::string journal;                 // host folder of the batch undone; empty: none was left
    std::vector<std::string> restored;   // files given back their old bytes
    std::vector<std::string> unchanged;  // files the batch never got to: they hold the old bytes
    std::vector<FileFailure> skipped;    // files left as they are, with why
    bool finished = false;  // the journal is marked undone; the next Undo takes the one before
};

// Undoes the newest batch under `journalRoot` not yet undone. A file still holding the batch's new
// bytes gets its old bytes back all-or-nothing; one holding the old bytes is left; one holding
// anything else was changed since the repair and is left alone, and reported. The journal is then
// marked undone, unless restoring a file failed: then it stays, so that Undo can be tried again.
// Throws PlatformError when the journal cannot be read or marked.
UndoResult UndoLastBatch(FileSystem& fs, const std::string& journalRoot);

}  // namespace bw::repair
