#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "repair/ReferenceChange.h"

namespace bw {
class FileSystem;
}

namespace bw::repair {

// One line of a library file as the batch would rewrite it (text without its line end).
struct LineEdit {
    uint32_t line = 0;
    std::string oldText, newText;
    std::vector<ReferenceChange> changes;  // the changes this line carries, one or more
};

// One library file of a batch: what it holds now and what it would hold.
struct FileRepair {
    std::string file;  // host path
    bool compressed = false;
    std::string oldBytes;         // as on disk (gzip for a compressed file)
    std::string newBytes;         // as to be written (gzip again for a compressed file)
    std::vector<LineEdit> lines;  // in line order
};

// A change the batch will not make, and why.
struct RefusedChange {
    ReferenceChange change;
    std::string reason;
};

// What a batch would do, worked out without writing anything: the preview and what Apply writes.
struct RepairPlan {
    std::vector<FileRepair> files;  // in path order; each changes at least one line
    std::vector<RefusedChange> refused;
    size_t LineCount() const;
};

// Groups the changes by library file, reads each file (inflating a compressed one) and rewrites
// exactly the lines named, by the single repair's rules; every other byte, line ends included, is
// kept. A change whose line no longer holds its old reference (the file changed since the check),
// whose new reference cannot be written on one line, or whose file cannot be read is refused with
// the reason. The same change given twice counts once.
RepairPlan PlanRepairBatch(const FileSystem& fs, const std::vector<ReferenceChange>& changes);

}  // namespace bw::repair
