#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "Bench.h"
#include "cli/CheckCommandLine.h"
#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "ui/CheckRowModel.h"
#include "ui/frmCheck.h"

namespace bw::bench {

namespace {

// Runs the event loop until `done`, measuring the longest time between two turns of it.
template <class Done>
qint64 LongestStall(Done done, qint64 limitMs = 120000) {
    QElapsedTimer clock, since;
    clock.start();
    since.start();
    qint64 longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { longest = std::max(longest, since.restart()); });
    tick.start(1);
    while (!done() && clock.elapsed() < limitMs)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    return longest;
}

}  // namespace

// The report window over a Runtime folder: a whole check with its cache cold, the longest stall of
// the window's event loop meanwhile, then a second check cancelled half-way and how long Cancel
// took to end it.
int BenchCheckWindow(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: brindlewood-bench checkwindow DIR\n");
        return 2;
    }
    std::string runtime;
    try {
        runtime = cli::RuntimeFolderFor(args[0], DriveMap::FromDrives({}));
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "%s: %s\n", args[0].c_str(), e.description().c_str());
        return 2;
    }
    char pattern[] = "/tmp/bw-bench-cache-XXXXXX";
    if (!::mkdtemp(pattern)) return 2;
    const std::string cacheDir = pattern;

    BenchApp b;
    b.app->settings.Runtime = b.app->fs->driveMap().ToWindows(runtime);
    frmCheck window(*b.app, [](const std::string&) { return true; });
    window.cachePath = cacheDir + "/library-check.sqlite";
    window.show();

    QElapsedTimer clock;
    clock.start();
    window.StartCheck();
    const qint64 stall = LongestStall([&] { return !window.running(); });
    const qint64 checkMs = clock.elapsed();
    const int rows = window.rows->rowCount();

    // Cancelled once a quarter of the rows are in, the cache out of the way so files are read.
    std::filesystem::remove_all(cacheDir);
    std::filesystem::create_directories(cacheDir);
    window.StartCheck();
    LongestStall([&] { return !window.running() || window.rows->rowCount() >= rows / 4; });
    const bool cancelled = window.running();
    clock.restart();
    window.cmdCancel->click();
    LongestStall([&] { return !window.running(); });
    const qint64 cancelMs = clock.elapsed();

    std::printf("window_check_ms=%lld rows=%d max_stall_ms=%lld cancel_ms=%lld%s\n",
                static_cast<long long>(checkMs), rows, static_cast<long long>(stall),
                static_cast<long long>(cancelMs), cancelled ? "" : " (ended before Cancel)");
    std::error_code ec;
    std::filesystem::remove_all(cacheDir, ec);
    return 0;
}

}  // namespace bw::bench
