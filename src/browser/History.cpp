#include "browser/History.h"

#include <string>

#include "browser/Selection.h"
#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/TreePopulation.h"

namespace bw {

namespace {

int LastIndex(const AppState& app) { return static_cast<int>(app.NodeHistory.size()) - 1; }

void SetBackForward(AppState& app, bool back, bool forward) {
    app.commands.Enable("Back", back);
    app.commands.Enable("Forward", forward);
    app.desktop.CommandsChanged();
}

void ShowEntry(AppState& app, int position) {
    Node* node = app.NodeHistory[position].get();
    SelectThisNode(app, node);
    // The selection's action may have replaced nodes: ask the handle again.
    if (Node* current = app.CurrentNode.get()) app.tree.SetSelected(current);
}

}  // namespace

void RecordVisit(AppState& app) {
    if (!app.CurrentNode) return;
    if (app.HistoryPosition + 1 > LastIndex(app)) app.NodeHistory.resize(app.HistoryPosition + 2);
    app.NodeHistory[app.HistoryPosition] = app.CurrentNode;
    ++app.HistoryPosition;
    app.commands.Enable("Back", true);
    app.desktop.CommandsChanged();
}

void RecordHistory(AppState& app, int button) {
    app.LastMouseButton = button;
    RecordVisit(app);
}

void Back(AppState& app) {
    int target = app.HistoryPosition - 1;
    while (target >= 0 && !app.NodeHistory[target]) --target;
    if (target < 0) {
        // Every node behind has left the tree: there is nothing to go back to.
        SetBackForward(app, false, app.HistoryPosition < LastIndex(app) - 1);
        return;
    }
    app.HistoryPosition = target;
    SetBackForward(app, target > 0, target < LastIndex(app) - 1);
    ShowEntry(app, target);
}

void Forward(AppState& app) {
    const int newest = LastIndex(app) - 1;  // the last filled entry
    int target = app.HistoryPosition + 1;
    while (target <= newest && !app.NodeHistory[target]) ++target;
    if (target > newest) {
        SetBackForward(app, app.HistoryPosition > 0, false);
        return;
    }
    app.HistoryPosition = target;
    SetBackForward(app, true, target < newest);
    ShowEntry(app, target);
}

void RefreshCurrentNode(AppState& app) {
    Node* node = app.CurrentNode.get();
    if (!node) return;
    CollapseNode(app, *node);
    node->SetExpanded(false);
    while (node->parent() && node->tag() != tag::kFile && node->tag() != tag::kFolder &&
           node->tag() != tag::kDrive)
        node = node->parent();
    app.CurrentNode = NodeHandle(node);
    node->SetExpanded(true);
    ExpandNode(app, *node);
    if (Node* current = app.CurrentNode.get())
        app.desktop.SetCaption(std::string(kAppTitle) + ":" + current->FullPath());
    app.HistoryPosition = 0;
    SetBackForward(app, false, false);
}

}  // namespace bw
