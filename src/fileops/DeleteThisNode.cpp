#include "fileops/DeleteThisNode.h"

#include "core/AppState.h"
#include "core/ContentUsage.h"
#include "core/Desktop.h"
#include "core/ReportError.h"
#include "fileops/Companions.h"
#include "fileops/RemoveThisFile.h"
#include "platform/DriveMap.h"
#include "platform/PlatformError.h"
#include "platform/Text.h"

namespace bw {

namespace {

// When the check's index knows that library files use what is about to go, says so first; true
// when the user goes on (or nothing is known to use it).
bool UsersAccepted(AppState& app, const Node& node, const std::string& path) {
    if (!app.usage) return true;
    const auto users = app.usage->UsersOf(app.fs->HostPath(path, Lookup::AsWritten));
    if (!users || users->count == 0) return true;
    const std::string name = node.text();
    const std::string kind = AsciiLower(node.tag());
    const std::string files = users->count == 1
                                  ? "1 library file uses"
                                  : std::to_string(users->count) + " library files use";
    const std::string what =
        kind == "folder" ? "what the '" + name + "' folder holds" : "the '" + name + "' file";
    const std::string prompt = files + " " + what + ", the first of them " + users->first +
                               ".\r\nThey will load without it. Delete it all the same?";
    return app.desktop.ShowMsgBox(prompt, style::kYesNo + style::kAlert,
                                  "'" + name + "' is in use") == answer::kYes;
}

bool Confirmed(AppState& app, const Node& node) {
    if (!app.settings.ConfirmDelete) return true;
    const std::string name = node.text();
    const std::string kind = AsciiLower(node.tag());
    const std::string title = "Deleting the '" + name + "' " + kind + "...";
    std::string prompt = "Are you sure you want to ";
    if (app.settings.MoveFile)
        prompt += "move the '" + name + "' " + kind + " to the Recycle Bin?";
    else
        prompt += "PERMANENTLY delete the '" + name + "' " + kind + "?";
    return app.desktop.ShowMsgBox(prompt, style::kYesNo + style::kHand, title) == answer::kYes;
}

}  // namespace

bool DeleteThisNode(AppState& app) {
    Node* node = app.CurrentNode.get();
    // Drives, system items and result lines are never deleted, whatever asks for it.
    if (!node || (node->tag() != tag::kFolder && node->tag() != tag::kFile)) return false;
    const std::string text = node->text();
    try {
        // A name that no Windows path can carry would name another entry; refused before asking.
        if (!IsWindowsName(text)) throw PlatformError::FromNumber(err::kBadFileName);
        NodeHandle handle(node);
        NodeHandle parent(node->parent());
        if (!UsersAccepted(app, *node, node->FullPath())) return false;
        // The warning lets events run too.
        if (!(node = handle.get())) return false;
        if (!Confirmed(app, *node)) return false;
        // The message box lets events run; the node may have left the tree meanwhile.
        if (!(node = handle.get())) return false;
        const std::string path = node->FullPath();

        // The node leaves the tree only when the item has really gone from the disk, and the
        // thumbnails follow only when it was there to go, so a refused or failed removal changes
        // nothing, and neither does a node whose file went before.
        const std::vector<std::string> companions = CompanionsToRemove(*app.fs, path);
        if (!RemoveThisFile(app, path)) return false;
        for (const auto& companion : companions) RemoveThisFile(app, companion);
        if (Node* gone = handle.get()) app.tree.Remove(gone);
        app.CurrentNode = parent;
        return true;
    } catch (const PlatformError& e) {
        ReportError(app.desktop, e, "DeleteThisNode: " + text);
    }
    return false;
}

}  // namespace bw
