#include "browser/Selection.h"

#include <string>

#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/PoserRunning.h"
#include "core/TreePopulation.h"
#include "fileops/Clipboard.h"
#include "references/FillFileInfo.h"
#include "references/FindReferencedFile.h"
#include "references/FindReferencingFiles.h"
#include "references/UpdateOBJPath.h"

namespace bw {

namespace {

// How a command's availability follows from the node: fixed, or from the clipboard.
enum class Avail { Off, On, Clip };

struct OpenTexts {
    const char* tooltip;
    const char* caption;
};

constexpr OpenTexts kO1{"Open this folder (in Windows Explorer)", "&Open this folder"};
constexpr OpenTexts kO2{"(Can not open this folder)", "Can not &open this Folder"};
constexpr OpenTexts kO3{"Open this file (in its default application)", "&Open this file"};
constexpr OpenTexts kO4{"Open this drive (in Windows Explorer)", "&Open this drive"};
constexpr OpenTexts kO5{"Open folder in Windows Explorer.", "&Open this Folder"};
constexpr OpenTexts kO6{"Open file (in its default application)", "&Open this File"};
constexpr OpenTexts kO7{"(Can not open)", "Can not &open this item"};

constexpr const char* kD1 = "(Can not delete)";
constexpr const char* kD2 = "Delete this folder.";
constexpr const char* kD3 = "Delete this file.";
constexpr const char* kR1 = "(Can not rename)";
constexpr const char* kR2 = "Rename this folder.";
constexpr const char* kR3 = "Rename this file.";

enum class Action { None, FindReferencedFile, FindReferencingFiles, FillParentInfo, Repair };

struct Row {
    const char* tag;  // null: any other tag
    Avail refresh, cut, copy, paste, del, open, print, rename;
    const char* deleteTip;
    OpenTexts open_;
    const char* renameTip;
    Action action;
};

constexpr Avail F = Avail::Off, T = Avail::On, C = Avail::Clip;

// A SystemFile is never cut: the clipboard only records Folder and File nodes, so offering Cut
// there would promise a move that paste cannot make. A SystemFolder's Open and Print follow the
// protection setting and are patched in below.
constexpr Row kRows[] = {
    {tag::kSystemFolder, T, F, T, F, F, F, F, F, kD1, kO2, kR1, Action::None},
    {tag::kSystemFile, F, F, T, F, F, T, F, F, kD1, kO3, kR1, Action::None},
    {tag::kDrive, T, F, F, C, F, T, T, F, kD1, kO4, kR1, Action::None},
    {tag::kFolder, T, T, T, C, T, T, T, T, kD2, kO1, kR2, Action::None},
    {tag::kRefFolder, T, F, F, F, F, T, F, F, kD1, kO5, kR1, Action::None},
    {tag::kFile, T, T, T, F, T, T, F, T, kD3, kO6, kR3, Action::None},
    {tag::kScan, T, F, F, F, F, F, F, F, kD1, kO7, kR1, Action::FindReferencedFile},
    {tag::kScanForFileInFile, T, F, F, F, F, F, F, F, kD1, kO7, kR1, Action::FindReferencingFiles},
    {tag::kScanForFile, T, F, F, F, F, F, F, F, kD1, kO7, kR1, Action::FillParentInfo},
    {tag::kUnable, F, F, F, F, F, F, F, F, kD1, kO7, kR1, Action::None},
    {nullptr, F, F, F, F, F, F, F, F, kD1, kO7, kR1, Action::None},
};

const Row& RowFor(const std::string& t) {
    for (const Row& r : kRows)
        if (!r.tag || t == r.tag) return r;
    return kRows[std::size(kRows) - 1];
}

void SetCommand(AppState& app, const NodeCommand& c, bool on) {
    app.commands.Enable(c.key, on);
    app.commands.Enable(c.menuItem, on);
}

void ApplyRow(AppState& app, Row row) {
    if (row.tag && std::string(row.tag) == tag::kSystemFolder &&
        !app.settings.ProtectSystemFilesFolders) {
        row.open = row.print = Avail::On;
        row.open_ = kO1;
    }
    const bool clip = !app.ClipboardPath.empty();
    const Avail values[] = {row.refresh, row.cut,  row.copy,  row.paste,
                            row.del,     row.open, row.print, row.rename};
    for (size_t i = 0; i < std::size(kNodeCommands); ++i)
        SetCommand(app, kNodeCommands[i],
                   values[i] == Avail::On || (values[i] == Avail::Clip && clip));
    app.commands.tooltip["Delete"] = row.deleteTip;
    app.commands.tooltip["Open"] = row.open_.tooltip;
    app.commands.tooltip["Rename"] = row.renameTip;
    app.commands.caption["mnuOpen"] = row.open_.caption;
    app.desktop.CommandsChanged();
}

void RunAction(AppState& app, Action action, Node& node) {
    switch (action) {
        case Action::FindReferencedFile:
            FindReferencedFile(app, node);
            break;
        case Action::FindReferencingFiles:
            FindReferencingFiles(app, node);
            break;
        case Action::FillParentInfo:
            if (node.parent()) FillFileInfo(app, *node.parent());
            break;
        case Action::Repair:
            UpdateOBJPath(app);
            break;
        case Action::None:
            break;
    }
}

}  // namespace

void SelectThisNode(AppState& app, Node* node, SelectionSource source) {
    app.CurrentNode = NodeHandle(node);
    if (!node) return;
    app.desktop.SetCaption(std::string(kAppTitle) + ": " + node->FullPath());

    const Row& row = RowFor(node->tag());
    ApplyRow(app, row);
    Action action = row.action;
    if (!row.tag && node->tag() == tag::kDiscrepancy) action = Action::Repair;
    RunAction(app, action, *node);

    if (IsPoserRunning(app)) {
        app.commands.Enable("Delete", false);
        app.commands.Enable("mnuDeleteNode", false);
        app.desktop.CommandsChanged();
    }
    if (source == SelectionSource::MouseClick && app.LastMouseButton == 2)
        app.desktop.PopupEditMenu();
}

void WithdrawNodeCommands(AppState& app) {
    for (const NodeCommand& c : kNodeCommands) SetCommand(app, c, false);
    app.desktop.CommandsChanged();
}

}  // namespace bw
