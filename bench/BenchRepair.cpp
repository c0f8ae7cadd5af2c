#include <stdlib.h>

#include <cstdio>
#include <filesystem>

#include "Bench.h"
#include "check/LibraryCheck.h"
#include "cli/CheckCommandLine.h"
#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "repair/ApplyRepairBatch.h"
#include "repair/RowChanges.h"
#include "repair/UndoLastBatch.h"

namespace bw::bench {

namespace {

class CollectingObserver : public check::CheckObserver {
  public:
    void OnRows(std::vector<check::CheckRow>&& batch) override {
        for (auto& r : batch) rows.push_back(std::move(r));
    }
    std::vector<check::CheckRow> rows;
};

// Removes the copy however the benchmark ends.
struct TempFolder {
    std::string path;
    ~TempFolder() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

// Repairs every moved reference of a copy of the library in one batch, then undoes it: the times
// include planning, the journal and every flush to the disk.
int BenchRepair(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: brindlewood-bench repair DIR\n");
        return 2;
    }
    const DriveMap drives = DriveMap::FromDrives({});
    std::string runtime;
    try {
        runtime = cli::RuntimeFolderFor(args[0], drives);
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "%s: %s\n", args[0].c_str(), e.description().c_str());
        return 2;
    }
    char pattern[] = "/tmp/bw-bench-repair-XXXXXX";
    if (!::mkdtemp(pattern)) return 2;
    TempFolder temp{pattern};
    const std::string copy = temp.path + "/Runtime";
    std::error_code ec;
    std::filesystem::copy(runtime, copy, std::filesystem::copy_options::recursive, ec);
    if (ec) {
        std::fprintf(stderr, "cannot copy %s: %s\n", runtime.c_str(), ec.message().c_str());
        return 2;
    }

    check::CheckOptions options;
    options.runtime = copy;
    options.drives = drives;
    CollectingObserver observer;
    const std::atomic<bool> cancel{false};
    check::RunLibraryCheck(options, observer, cancel);

    FileSystem fs(drives);
    const repair::ApplyOptions applyOptions{temp.path + "/journal", true, {}};
    auto start = std::chrono::steady_clock::now();
    const auto plan = repair::PlanRepairBatch(fs, repair::RepairableChanges(observer.rows, drives));
    repair::BatchResult done;
    try {
        done = repair::ApplyRepairBatch(fs, plan, applyOptions);
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "repair: %s\n", e.description().c_str());
        return 2;
    }
    const long long repairMs = MsSince(start);
    std::printf("repair_ms=%lld files=%zu lines=%zu refused=%zu failed=%zu\n", repairMs,
                done.repaired.size(), done.lines, plan.refused.size(), done.failed.size());

    start = std::chrono::steady_clock::now();
    const auto undone = repair::UndoLastBatch(fs, applyOptions.journalRoot);
    const long long undoMs = MsSince(start);
    std::printf("undo_ms=%lld restored=%zu skipped=%zu\n", undoMs, undone.restored.size(),
                undone.skipped.size());
    return 0;
}

}  // namespace bw::bench
