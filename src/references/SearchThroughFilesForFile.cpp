#include "references/SearchThroughFilesForFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/PathHelpers.h"
#include "core/ReportError.h"
#include "platform/PlatformError.h"
#include "references/CaseFoldedFinder.h"

namespace bw {

namespace {

// Files are read in blocks of this size: large enough that reading costs little more than the
// copy, small enough that Stop Scan is seen within a fraction of a millisecond.
constexpr size_t kBlockSize = 256 * 1024;
// The kernel copies file data several times faster into a destination aligned like a cache line.
constexpr size_t kAlign = 64;

struct AlignedFree {
    void operator()(char* p) const { ::operator delete[](p, std::align_val_t(kAlign)); }
};

struct FileScan {
    AppState& app;
    NodeHandle container;
    CaseFoldedFinder finder;
    // A name holding a line end can never lie within one line, so it matches nothing.
    bool searchable;
    std::unique_ptr<char[], AlignedFree> buffer;
    size_t pad = 0;  // room before the aligned read position for the previous block's tail
    FileScanOutcome outcome;
};

// Lets the window run; false when the scan must end because its results' node is gone.
bool Yield(FileScan& s) {
    s.app.desktop.DoEvents();
    if (s.container.get()) return true;
    s.outcome.containerGone = true;
    return false;
}

// After a line was handled: yield, then honour Stop Scan. False when the scan ends here.
bool YieldAfterLine(FileScan& s) {
    if (!Yield(s)) return false;
    if (!s.app.StopScanRequested) return true;
    s.outcome.stopped = true;
    return false;
}

void AddReferencingFile(FileScan& s, const std::string& fullPath) {
    Node* container = s.container.get();
    Node* node = s.app.tree.AddChild(container);
    node->SetText("Found in: " + ReferencingFileLocation(fullPath, s.app.settings.UseRelPathName));
    node->SetTag(tag::kRefFile);
    node->SetImage("Properties");
    node->SetForeColor(0);
}

// Reads one file for the name. Answers false when the scan ends (stopped, or container gone).
bool ScanFile(FileScan& s, const std::string& fullPath) {
    // A stop pressed while the window ran before this file still lets its first line be read.
    const bool firstLineOnly = s.app.StopScanRequested;
    const size_t keep = s.finder.size() > 0 ? s.finder.size() - 1 : 0;
    char* const block = s.buffer.get() + s.pad;
    uint64_t offset = 0, fileSize = 0;
    size_t carried = 0;  // the tail of the previous block, so a name split across blocks is found
    while (true) {
        const size_t got = s.app.fs->ReadFileAt(fullPath, offset, block, kBlockSize, &fileSize);
        if (got == 0 && offset == 0) return true;  // an empty file has no line to read
        offset += got;
        std::string_view hay(block - carried, carried + got);
        if (firstLineOnly) {
            const size_t end = hay.find_first_of("\r\n", carried);
            if (end != std::string_view::npos) hay = hay.substr(0, end);
        }
        const bool found = s.searchable && s.finder.Find(hay) != std::string_view::npos;
        if (found) AddReferencingFile(s, fullPath);
        s.app.desktop.SetScanProgress(
            fileSize > 0 ? std::min(1.0, double(offset) / double(fileSize)) : 1.0);
        if (firstLineOnly) {
            YieldAfterLine(s);
            return false;
        }
        // Once listed, a file has nothing more to give; the rest of it is not read.
        if (!YieldAfterLine(s) || found || got < kBlockSize)
            return !s.outcome.stopped && !s.outcome.containerGone;
        carried = std::min(keep, hay.size());
        std::memmove(block - carried, hay.data() + hay.size() - carried, carried);
    }
}

// One box for the first failure is enough: a library of locked files must not bury the user in
// them. The rest are counted, and the end of the scan says the answer is incomplete.
void Report(FileScan& s, const PlatformError& e) {
    if (s.outcome.reported || e.number() == err::kObjectNotSet) return;
    s.outcome.reported = true;
    ReportError(s.app.desktop, e, "SearchThroughFilesForFile");
}

void ScanFolder(FileScan& s, const std::string& folder) {
    std::vector<FolderEntry> entries;
    try {
        entries = s.app.fs->ListFolder(folder);
    } catch (const PlatformError& e) {
        ++s.outcome.skippedFolders;
        Report(s, e);
        return;
    }
    for (const auto& entry : entries) {
        if (entry.isFolder) continue;
        if (!Yield(s)) return;
        s.app.desktop.SetScanProgress(0);
        const std::string fullPath = folder + "\\" + entry.name;
        s.app.desktop.SetScanStatus("Scanning through " + FullPathToPoserPath(fullPath));
        try {
            if (!ScanFile(s, fullPath)) return;
        } catch (const PlatformError& e) {
            // One unreadable file (locked, a dangling link) must not hide the files after it.
            ++s.outcome.skippedFiles;
            Report(s, e);
            if (s.app.StopScanRequested) {
                s.outcome.stopped = true;
                return;
            }
        }
    }
    if (s.app.StopScanRequested) {
        s.outcome.stopped = true;
        return;
    }
    for (const auto& entry : entries) {
        // Links to folders are not followed: they can lead out of the library or round in a loop.
        if (!entry.isFolder || entry.isLink) continue;
        ScanFolder(s, folder + "\\" + entry.name);
        if (s.outcome.stopped || s.outcome.containerGone) return;
    }
}

}  // namespace

std::string ReferencingFileLocation(const std::string& fullPath, bool relative) {
    if (!relative) return fullPath;
    const size_t pos = fullPath.find("\\Runtime");
    return pos == std::string::npos ? fullPath : fullPath.substr(pos);
}

FileScanOutcome SearchThroughFilesForFile(AppState& app, const NodeHandle& container,
                                          const std::string& folder,
                                          const std::string& targetName) {
    FileScan s{app,
               container,
               CaseFoldedFinder(targetName),
               targetName.find_first_of("\r\n") == std::string::npos,
               {},
               0,
               {}};
    s.pad = (s.finder.size() + kAlign - 1) / kAlign * kAlign;
    s.buffer.reset(new (std::align_val_t(kAlign)) char[s.pad + kBlockSize]);
    ScanFolder(s, folder);
    return s.outcome;
}

}  // namespace bw
