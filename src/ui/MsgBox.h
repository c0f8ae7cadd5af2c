#pragma once

#include <string>

class QWidget;

namespace bw {

class Desktop;
class DriveMap;
struct Settings;

// The program's own message box, modal, centred on the screen; answers 1 OK, 2 Cancel or
// closed, 6 Yes, 7 No. `drives` resolves the pattern's path (the environment's when null).
// `desktop` hears of a background pattern that cannot be loaded; without
// one, such a failure is shown in the system's message box.
int ShowMsgBox(const std::string& prompt, int style, const std::string& title,
               const Settings& settings, Desktop* desktop = nullptr,
               const DriveMap* drives = nullptr);
// The program's own input box, modal, centred over `owner`; the text as typed, empty on Cancel.
std::string ShowInputBox(const std::string& prompt, int style, const std::string& title,
                         const std::string& defaultText, const Settings& settings, QWidget* owner,
                         Desktop* desktop = nullptr, const DriveMap* drives = nullptr);

}  // namespace bw
