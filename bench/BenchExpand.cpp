#include <QApplication>
#include <QTreeView>
#include <cstdio>
#include <filesystem>

#include "Bench.h"
#include "core/TreePopulation.h"
#include "ui/ImageList.h"
#include "ui/TreeModel.h"

namespace bw::bench {

// Fills a node for a host folder through the population and the Qt model adapter of the window,
// with the node expanded in a view, and prints the time and the number of nodes made.
int BenchExpand(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: brindlewood-bench expand DIR\n");
        return 2;
    }
    BenchApp b;
    AppState& app = *b.app;
    BenchView view(app);

    const std::string windows =
        app.fs->WindowsPath(std::filesystem::absolute(args[0]).lexically_normal().string());
    // One node per path component, as a user's expansions would leave them.
    GetDrives(app);
    Node* node = nullptr;
    for (const auto& r : app.tree.roots())
        if (windows.rfind(r->text(), 0) == 0) node = r.get();
    if (!node) return 1;
    std::string rest = windows.substr(node->text().size());
    size_t pos = 1;
    while (pos < rest.size()) {
        size_t next = rest.find('\\', pos);
        std::string name =
            rest.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
        Node* child = app.tree.AddChild(node);
        child->SetText(name);
        child->SetTag(tag::kFolder);
        node = child;
        if (next == std::string::npos) break;
        pos = next + 1;
    }
    view.Expand(node);
    const size_t before = app.tree.nodeCount();
    auto start = std::chrono::steady_clock::now();
    node->SetExpanded(true);
    ExpandNode(app, *node);
    QApplication::processEvents();
    long long ms = MsSince(start);
    std::printf("expand_ms=%lld nodes=%zu\n", ms, app.tree.nodeCount() - before);
    return 0;
}

}  // namespace bw::bench
