#include "browser/ExpandBranch.h"

#include <filesystem>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/TreePopulation.h"
#include "platform/PlatformError.h"

namespace bw {

namespace {

enum class Kind { Fillable, Protected, Plain };

Kind KindOf(const AppState& app, const Node& node) {
    const std::string& t = node.tag();
    if (t == tag::kDrive || t == tag::kFolder) return Kind::Fillable;
    if (t == tag::kSystemFolder)
        return app.settings.ProtectSystemFilesFolders ? Kind::Protected : Kind::Fillable;
    return Kind::Plain;
}

// A folder reached through a symbolic link may hold its own ancestors (`back -> ..`), or the
// whole machine: the walk does not go in. A path that cannot be resolved is not entered either.
bool IsLink(const AppState& app, const Node& node) {
    if (node.tag() == tag::kDrive) return false;
    try {
        std::error_code ec;
        return std::filesystem::is_symlink(app.fs->HostPath(node.FullPath()), ec) || ec;
    } catch (const PlatformError&) {
        return true;
    }
}

}  // namespace

size_t ExpandBranch(AppState& app, Node& start, const bool& stop) {
    const std::string caption = app.desktop.Caption();
    const std::string scanning = std::string(kAppTitle) + "... (scanning)";
    app.desktop.SetBusy(true);
    app.desktop.SetCaption(scanning);
    size_t folders = 0;
    // Handles, not pointers: the user may refresh or collapse parts of the tree meanwhile.
    std::vector<NodeHandle> pending{NodeHandle(&start)};
    while (!pending.empty() && !stop && folders < kExpandBranchLimit) {
        Node* node = pending.back().get();
        pending.pop_back();
        if (!node || node->childCount() == 0) continue;
        const Kind kind = KindOf(app, *node);
        if (kind == Kind::Protected ||
            (node != &start && kind == Kind::Fillable && IsLink(app, *node)))
            continue;
        if (!node->expanded()) {
            node->SetExpanded(true);
            if (kind == Kind::Fillable) {
                ExpandNode(app, *node);
                app.desktop.SetCaption(scanning);
                ++folders;
            }
        }
        const auto& children = node->children();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.emplace_back(it->get());
        app.desktop.DoEvents();
    }
    app.desktop.SetBusy(false);
    app.desktop.SetCaption(caption);
    return folders;
}

}  // namespace bw
