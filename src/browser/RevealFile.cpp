#include "browser/RevealFile.h"

#include "browser/Selection.h"
#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/TreePopulation.h"

namespace bw {

namespace {

// The node a path names: a root by its full path, then a child by its full path at each level.
Node* ChildWithPath(AppState& app, Node* parent, const std::string& path) {
    if (!parent) {
        for (const auto& root : app.tree.roots())
            if (root->FullPath() == path) return root.get();
        return nullptr;
    }
    for (const auto& child : parent->children())
        if (child->FullPath() == path) return child.get();
    return nullptr;
}

}  // namespace

Node* RevealFile(AppState& app, const std::string& windowsPath) {
    NodeHandle at;
    bool justRead = false;  // `at` was read from disk on this walk
    for (size_t slash = windowsPath.find('\\');; slash = windowsPath.find('\\', slash + 1)) {
        const std::string prefix = windowsPath.substr(0, slash);
        Node* parent = at.get();
        Node* next = prefix.empty() ? nullptr : ChildWithPath(app, parent, prefix);
        if (!next && parent && !justRead) {
            // Listed before the file (or a folder on its way) was made: read the folder again.
            ExpandNode(app, *parent);
            next = ChildWithPath(app, parent, prefix);
        }
        if (!next) break;
        at = NodeHandle(next);
        justRead = false;
        if (slash == std::string::npos) break;
        if (!next->expanded()) {
            next->SetExpanded(true);
            ExpandNode(app, *next);
            justRead = true;
        }
    }
    Node* target = at.get();
    if (!target) return nullptr;
    SelectThisNode(app, target);
    if (Node* current = app.CurrentNode.get()) {
        app.tree.SetSelected(current);
        app.desktop.EnsureVisible(current);
    }
    return app.CurrentNode.get();
}

}  // namespace bw
