#include <cstdio>
#include <filesystem>
#include <string>

#include "Bench.h"
#include "fileops/PrintContentOfNode.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace bw::bench {

namespace {

size_t CountLines(const std::string& hostPath) {
    FILE* f = std::fopen(hostPath.c_str(), "rb");
    if (!f) return 0;
    size_t lines = 0;
    char buf[1 << 16];
    while (size_t n = std::fread(buf, 1, sizeof buf, f))
        for (size_t i = 0; i < n; ++i) lines += buf[i] == '\n';
    std::fclose(f);
    return lines;
}

}  // namespace

// Writes the folder listing of a host folder to a host file, as the Print command does, and
// prints the time taken and the number of lines written.
int BenchListing(const std::vector<std::string>& args) {
    if (args.size() < 2 || args.size() > 3 || (args.size() == 3 && args[2] != "--subfolders")) {
        std::fprintf(stderr, "usage: brindlewood-bench listing DIR OUT [--subfolders]\n");
        return 2;
    }
    BenchApp b;
    AppState& app = *b.app;
    app.PrintSubFolders = args.size() == 3;
    namespace stdfs = std::filesystem;
    const std::string dir =
        app.fs->WindowsPath(stdfs::absolute(args[0]).lexically_normal().string());
    const std::string out = stdfs::absolute(args[1]).lexically_normal().string();
    std::string header = dir;
    while (EndsWith(header, "\\")) header.pop_back();
    auto start = std::chrono::steady_clock::now();
    try {
        WriteFolderListing(app, header + "\\", header, app.fs->WindowsPath(out));
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "listing: %s\n", e.what());
        return 1;
    }
    long long ms = MsSince(start);
    std::printf("listing_ms=%lld lines=%zu\n", ms, CountLines(out));
    return 0;
}

}  // namespace bw::bench
