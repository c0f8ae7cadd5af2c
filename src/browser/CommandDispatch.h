#pragma once

#include <string>

namespace bw {

class AppState;

// What the main window itself must do after a command: the core cannot close windows or open
// dialogs.
enum class WindowAction { None, Close, ShowPreferences, ShowColors, ShowAbout };

// A toolbar button by key, or a "PrintContents" drop-down entry ("PrintFiles", "PrintFolders").
// Unknown keys do nothing.
WindowAction RunToolbarCommand(AppState& app, const std::string& key);
// A menu item by name ("mnuCut", "mnuPreferences" ...). Unknown names do nothing.
WindowAction RunMenuCommand(AppState& app, const std::string& item);

}  // namespace bw
