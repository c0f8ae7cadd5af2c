#include <QApplication>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <filesystem>

#include "Bench.h"
#include "core/Classification.h"
#include "core/TreePopulation.h"
#include "platform/Text.h"
#include "references/FillFileInfo.h"
#include "references/FindReferencingFiles.h"
#include "references/SearchThroughFilesForFile.h"
#include "references/SearchThroughThisFolder.h"
#include "ui/ImageList.h"
#include "ui/TreeModel.h"

namespace bw::bench {

namespace {

// Counts the files the walk meets, so the result line can say how many were read.
class CountingFileSystem : public FileSystem {
  public:
    using FileSystem::FileSystem;
    std::vector<FolderEntry> ListFolder(const std::string& folder) const override {
        auto entries = FileSystem::ListFolder(folder);
        for (const auto& e : entries) files += e.isFolder ? 0 : 1;
        return entries;
    }
    mutable long long files = 0;
};

std::string WindowsPathOf(AppState& app, const std::string& hostPath) {
    return app.fs->WindowsPath(std::filesystem::absolute(hostPath).lexically_normal().string());
}

// One node per path component, as a user's expansions would leave them; the last is a file.
Node* NodeForPath(AppState& app, const std::string& windowsPath) {
    auto parts = Split(windowsPath, '\\');
    Node* node = nullptr;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty()) continue;
        node = app.tree.AddChild(node);
        node->SetText(parts[i]);
        node->SetKey(parts[i] + " (" + std::to_string(node->index()) + ")");
        node->SetTag(i == 0 ? tag::kDrive : i + 1 == parts.size() ? tag::kFile : tag::kFolder);
    }
    return node;
}

// Runs one reverse scan for `name` under `libraries` and answers its results' node.
NodeHandle RunScan(AppState& app, const std::string& libraries, const std::string& name) {
    Node* file = NodeForPath(app, libraries + "\\" + name);
    Node* line = AddScanForFileInFileNode(*file);
    NodeHandle container(line);
    if (AsciiEqualsIgnoreCase(libraries.substr(libraries.rfind('\\') + 1), "Libraries")) {
        app.settings.Runtime = libraries.substr(0, libraries.rfind('\\'));
        FindReferencingFiles(app, *line);
    } else {
        // A library folder under another name: the same walk, without the panel's set-up.
        app.StopScanRequested = false;
        SearchThroughFilesForFile(app, container, libraries, AsciiLower(name));
    }
    return container;
}

}  // namespace

int BenchScan(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: brindlewood-bench scan LIBRARIES NAME\n");
        return 2;
    }
    BenchApp b;
    AppState& app = *b.app;
    auto counting = std::make_unique<CountingFileSystem>(app.fs->driveMap());
    CountingFileSystem& fs = *counting;
    app.fs = std::move(counting);
    BenchView view(app);
    const std::string libraries = WindowsPathOf(app, args[0]);

    b.ResetPumpGaps();
    auto start = std::chrono::steady_clock::now();
    NodeHandle results = RunScan(app, libraries, args[1]);
    const long long ms = MsSince(start);
    const double gap = b.MaxPumpGapMs();
    const size_t matches = results ? results->childCount() : 0;
    const long long files = fs.files;

    // A second scan, stopped early on, as by the Stop Scan button: how long until it returns.
    std::chrono::steady_clock::time_point stopAt{};
    QTimer::singleShot(std::max<long long>(1, ms / 4), [&] {
        app.StopScanRequested = true;
        stopAt = std::chrono::steady_clock::now();
    });
    RunScan(app, libraries, args[1]);
    const long long stopMs =
        stopAt == std::chrono::steady_clock::time_point{} ? -1 : MsSince(stopAt);

    std::printf("scan_ms=%lld files=%lld matches=%zu max_gap_ms=%.0f stop_ms=%lld\n", ms, files,
                matches, gap, stopMs);
    return 0;
}

int BenchLocate(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: brindlewood-bench locate START REFERENCE\n");
        return 2;
    }
    BenchApp b;
    AppState& app = *b.app;
    BenchView view(app);
    const std::string start = WindowsPathOf(app, args[0]);
    Node* reference = app.tree.AddChild(nullptr);
    reference->SetText(args[1]);
    NodeHandle container(AddFindLocationNode(*reference));
    auto begin = std::chrono::steady_clock::now();
    SearchThroughThisFolder(app, container, start, args[1]);
    std::printf("locate_ms=%lld found=%zu\n", MsSince(begin), container->childCount());
    return 0;
}

int BenchRefs(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: brindlewood-bench refs FILE\n");
        return 2;
    }
    BenchApp b;
    AppState& app = *b.app;
    BenchView view(app);
    Node* file = NodeForPath(app, WindowsPathOf(app, args[0]));
    auto begin = std::chrono::steady_clock::now();
    FillFileInfo(app, *file);
    const long long ms = MsSince(begin);
    size_t refs = 0;
    for (const auto& child : file->children()) refs += child->tag() == tag::kReferencedFile ? 1 : 0;
    std::printf("refs_ms=%lld refs=%zu\n", ms, refs);
    return 0;
}

}  // namespace bw::bench
