#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "check/CheckTypes.h"
#include "check/LibraryFileReader.h"
#include "platform/DriveMap.h"

namespace bw::check {

// How a check is run.
struct CheckOptions {
    std::string runtime;    // host path of the Runtime folder
    std::string cachePath;  // the cache database; empty: no cache, every file is read
    DriveMap drives = DriveMap::FromDrives({});  // for references written as Windows paths
    unsigned threads = 0;  // reading threads, the calling one included; 0: one per processor
    uint64_t sizeCap = kDefaultSizeCap;  // larger library files are unreadable rows
};

enum class CheckPhase { Walking, Checking, Done };

// How far a check has come. While walking, `filesTotal` is the library files found so far.
struct CheckProgress {
    CheckPhase phase = CheckPhase::Walking;
    size_t filesDone = 0;
    size_t filesTotal = 0;
};

// What a check found, in numbers.
struct CheckSummary {
    size_t files = 0;                  // library files checked
    size_t filesRead = 0;              // of those, read from disk (the rest came from the cache)
    size_t references = 0;             // reference rows (unreadable rows aside)
    size_t counts[kStatusCount] = {};  // rows by status
    bool cacheUsed = false;
    bool cancelled = false;
    size_t count(RefStatus s) const { return counts[static_cast<size_t>(s)]; }
    // Something moved, ambiguous, missing or unreadable.
    bool HasProblems() const;
};

// Receives a check's progress and rows, always on the thread that runs the check.
class CheckObserver {
  public:
    virtual ~CheckObserver() = default;
    // At the start, at most every ~30 ms while running, and once at the end.
    virtual void OnProgress(const CheckProgress&) {}
    // A batch of rows: whole library files, each file's rows in line order; files come in no
    // particular order.
    virtual void OnRows(std::vector<CheckRow>&&) {}
};

// Checks every library file under options.runtime/Libraries: extracts each file reference,
// resolves it against the Runtime folder, and hands the rows to `observer` in batches. Blocks
// the calling thread (use a worker thread for a window); reads files on threads of its own.
// Setting `cancel` stops it within a few milliseconds, with summary.cancelled set. Throws
// PlatformError when the Runtime folder is missing or cannot be listed.
CheckSummary RunLibraryCheck(const CheckOptions& options, CheckObserver& observer,
                             const std::atomic<bool>& cancel);

}  // namespace bw::check
