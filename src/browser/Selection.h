#pragma once

namespace bw {

class AppState;
class Node;

// Where a selection came from: only a mouse click may pop up the Edit menu; selections by keyboard,
// Back/Forward or the program never do.
enum class SelectionSource { Program, MouseClick };

// Makes the node current: caption, command availability by its tag, the placeholder's action,
// Delete withdrawn while Poser runs, and the Edit menu after a right-button click. Null clears
// CurrentNode only.
void SelectThisNode(AppState& app, Node* node, SelectionSource source = SelectionSource::Program);
// CurrentNode has left the tree: the eight node commands go unavailable until the next selection.
void WithdrawNodeCommands(AppState& app);

// The eight node commands: toolbar key and the Edit menu item that always share its availability.
struct NodeCommand {
    const char* key;
    const char* menuItem;
};
inline constexpr NodeCommand kNodeCommands[] = {
    {"Refresh", "mnuRefresh"},
    {"Cut", "mnuCut"},
    {"Copy", "mnuCopy"},
    {"Paste", "mnuPaste"},
    {"Delete", "mnuDeleteNode"},
    {"Open", "mnuOpen"},
    {"PrintContents", "mnuPrintFolder"},
    {"Rename", "mnuRenameNode"},
};

}  // namespace bw
