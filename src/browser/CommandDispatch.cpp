#include "browser/CommandDispatch.h"

#include "browser/History.h"
#include "browser/Selection.h"
#include "core/AppState.h"
#include "fileops/CopyThisNode.h"
#include "fileops/CutThisNode.h"
#include "fileops/DeleteThisNode.h"
#include "fileops/OpenThisNode.h"
#include "fileops/PasteThisFile.h"
#include "fileops/PrintContentOfNode.h"
#include "fileops/RenameThisNode.h"

namespace bw {

namespace {

// The commands shared by a toolbar button and its menu item; false when `name` is none of them.
bool RunNodeCommand(AppState& app, const std::string& name) {
    if (name == "Refresh")
        RefreshCurrentNode(app);
    else if (name == "Cut")
        CutThisNode(app);
    else if (name == "Copy")
        CopyThisNode(app);
    else if (name == "Paste")
        PasteThisFile(app);
    else if (name == "Delete") {
        if (DeleteThisNode(app)) SelectThisNode(app, app.CurrentNode.get());
    } else if (name == "Rename")
        RenameThisNode(app);
    else if (name == "Open")
        OpenThisNode(app);
    else
        return false;
    return true;
}

}  // namespace

WindowAction RunToolbarCommand(AppState& app, const std::string& key) {
    if (key == "Back") {
        Back(app);
    } else if (key == "Forward") {
        Forward(app);
    } else if (RunNodeCommand(app, key)) {
    } else if (key == "PrintContents" || key == "PrintFiles" || key == "PrintFolders") {
        app.PrintSubFolders = key == "PrintFolders";
        PrintContentOfNode(app);
    } else if (key == "Exit") {
        return WindowAction::Close;
    }
    return WindowAction::None;
}

WindowAction RunMenuCommand(AppState& app, const std::string& item) {
    struct Route {
        const char* item;
        const char* command;
    };
    static constexpr Route kShared[] = {
        {"mnuCut", "Cut"},           {"mnuCopy", "Copy"},         {"mnuPaste", "Paste"},
        {"mnuRenameNode", "Rename"}, {"mnuDeleteNode", "Delete"}, {"mnuRefresh", "Refresh"},
        {"mnuOpen", "Open"},
    };
    for (const Route& r : kShared)
        if (item == r.item) {
            RunNodeCommand(app, r.command);
            return WindowAction::None;
        }
    if (item == "mnuPrintFolder") {
        PrintContentOfNode(app);  // with the sub-folder choice as last set
    } else if (item == "mnuExit") {
        return WindowAction::Close;
    } else if (item == "mnuPreferences") {
        return WindowAction::ShowPreferences;
    } else if (item == "mnuColors") {
        return WindowAction::ShowColors;
    } else if (item == "mnuAbout") {
        return WindowAction::ShowAbout;
    }
    return WindowAction::None;
}

}  // namespace bw
