#include "browser/ReopenLastFolder.h"

#include <string>

#include "browser/Selection.h"
#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/TreePopulation.h"

namespace bw {

namespace {

Node* FindByFullPath(AppState& app, const std::string& path) {
    Node* found = nullptr;
    app.tree.ForEach([&](Node* n) {
        if (n->FullPath() != path) return true;
        found = n;
        return false;
    });
    return found;
}

}  // namespace

Node* ReopenLastFolder(AppState& app) {
    const std::string moving = std::string(kAppTitle) + "... (moving to folder)";
    app.desktop.SetCaption(moving);
    app.desktop.SetBusy(true);
    app.desktop.DoEvents();

    const std::string& last = app.settings.LastFolder;
    NodeHandle deepest;
    for (size_t slash = last.find('\\'); slash != std::string::npos;
         slash = last.find('\\', slash + 1)) {
        Node* n = FindByFullPath(app, last.substr(0, slash));
        if (!n) continue;
        n->SetExpanded(true);
        ExpandNode(app, *n);
        deepest = NodeHandle(n);
    }
    // A folder that is gone (or renamed) leaves the user at the nearest folder above it.
    Node* target = deepest.get();
    if (target) {
        SelectThisNode(app, target);
        if (Node* current = app.CurrentNode.get()) {
            app.tree.SetSelected(current);
            app.desktop.EnsureVisible(current);
        }
    } else if (app.desktop.Caption() == moving) {
        app.desktop.SetCaption(kAppTitle);
    }
    app.desktop.SetBusy(false);
    return app.CurrentNode.get();
}

}  // namespace bw
