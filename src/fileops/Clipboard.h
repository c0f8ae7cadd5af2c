#pragma once

namespace bw {

class AppState;

enum class ClipboardAction { Copy, Cut };

// Records CurrentNode on the program's clipboard for a later paste and makes Paste available.
// Folders and files are recorded; system items are recorded for Copy, and for Cut only while
// system items are not protected. Anything else empties the clipboard, so a paste can never act
// on an item other than the one last cut or copied.
void RememberThisNode(AppState& app, ClipboardAction action);
// Empties the clipboard and withdraws Paste.
void ClearClipboard(AppState& app);
// Paste, button and menu item, on or off.
void EnablePaste(AppState& app, bool enabled);
// Cut and Copy, buttons and menu items, on or off together.
void EnableCutCopy(AppState& app, bool enabled);

}  // namespace bw
