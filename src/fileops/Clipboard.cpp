#include "fileops/Clipboard.h"

#include "core/AppState.h"
#include "core/Desktop.h"

namespace bw {

namespace {

bool MayRecord(const AppState& app, const Node& node, ClipboardAction action) {
    const std::string& t = node.tag();
    if (t == tag::kFolder || t == tag::kFile) return true;
    if (t != tag::kSystemFolder && t != tag::kSystemFile) return false;
    return action == ClipboardAction::Copy || !app.settings.ProtectSystemFilesFolders;
}

}  // namespace

void EnablePaste(AppState& app, bool enabled) {
    app.commands.Enable("Paste", enabled);
    app.commands.Enable("mnuPaste", enabled);
    app.desktop.CommandsChanged();
}

void EnableCutCopy(AppState& app, bool enabled) {
    for (const char* c : {"Cut", "mnuCut", "Copy", "mnuCopy"}) app.commands.Enable(c, enabled);
    app.desktop.CommandsChanged();
}

void ClearClipboard(AppState& app) {
    app.ClipboardPath.clear();
    app.ClipboardNode.reset();
    app.ClipboardIsCut = false;
    EnablePaste(app, false);
}

void RememberThisNode(AppState& app, ClipboardAction action) {
    Node* node = app.CurrentNode.get();
    if (!node || !MayRecord(app, *node, action)) {
        ClearClipboard(app);
        return;
    }
    app.ClipboardPath = node->FullPath();
    app.ClipboardNode = NodeHandle(node);
    app.ClipboardIsCut = action == ClipboardAction::Cut;
    EnablePaste(app, true);
}

}  // namespace bw
