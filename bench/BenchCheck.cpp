#include <stdlib.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>

#include "Bench.h"
#include "cli/CheckCommandLine.h"
#include "check/LibraryCheck.h"
#include "platform/PlatformError.h"

namespace bw::bench {

namespace {

// Counts what a check hands over, without keeping the rows.
class CountingObserver : public check::CheckObserver {
  public:
    void OnRows(std::vector<check::CheckRow>&& rows) override { this->rows += rows.size(); }
    size_t rows = 0;
};

// Processor time of all the process's threads so far, user and system, in ms: on a busy machine
// it says more than the wall time does.
long long CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000LL + t.tv_usec / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

long PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

}  // namespace

int BenchCheck(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: brindlewood-bench check DIR\n");
        return 2;
    }
    // A cache of its own, so the first check starts cold and the real one is left alone.
    char pattern[] = "/tmp/bw-bench-cache-XXXXXX";
    if (!::mkdtemp(pattern)) return 2;
    const std::string cacheDir = pattern;
    check::CheckOptions options;
    try {
        options.runtime = cli::RuntimeFolderFor(args[0], DriveMap::FromDrives({}));
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "%s: %s\n", args[0].c_str(), e.description().c_str());
        return 2;
    }
    options.cachePath = cacheDir + "/library-check.sqlite";
    const std::atomic<bool> cancel{false};

    CountingObserver first;
    auto start = std::chrono::steady_clock::now();
    long long cpuStart = CpuMs();
    const auto s = check::RunLibraryCheck(options, first, cancel);
    const long long checkMs = MsSince(start), checkCpuMs = CpuMs() - cpuStart;
    using check::RefStatus;
    std::printf(
        "check_ms=%lld check_cpu_ms=%lld files=%zu refs=%zu ok=%zu moved=%zu missing=%zu "
        "ambiguous=%zu unreadable=%zu\n",
        checkMs, checkCpuMs, s.files, s.references, s.count(RefStatus::Ok),
        s.count(RefStatus::Moved), s.count(RefStatus::Missing), s.count(RefStatus::Ambiguous),
        s.count(RefStatus::Unreadable));

    CountingObserver second;
    start = std::chrono::steady_clock::now();
    cpuStart = CpuMs();
    const auto again = check::RunLibraryCheck(options, second, cancel);
    const long long recheckMs = MsSince(start), recheckCpuMs = CpuMs() - cpuStart;
    std::printf("recheck_ms=%lld recheck_cpu_ms=%lld files_read=%zu same_rows=%s peak_rss_mb=%ld\n",
                recheckMs, recheckCpuMs, again.filesRead, second.rows == first.rows ? "yes" : "no",
                PeakRssMb());
    std::error_code ec;
    std::filesystem::remove_all(cacheDir, ec);
    return 0;
}

}  // namespace bw::bench
