#pragma once

namespace bw {

class AppState;
class Node;

// Makes the node current: caption, command availability by its tag, the placeholder's action,
// Delete withdrawn while Poser runs, and the Edit menu after a right-button press. Null clears
// CurrentNode only.
void SelectThisNode(AppState& app, Node* node);
// Cut and Copy, buttons and menu items, on or off together.
void EnableCutCopy(AppState& app, bool enabled);

}  // namespace bw
