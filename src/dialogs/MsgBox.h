#pragma once

#include <string>

class QWidget;

namespace bw {

struct Settings;

// The program's own message box, modal; answers 1 OK, 2 Cancel or closed, 6 Yes, 7 No.
int ShowMsgBox(const std::string& prompt, int style, const std::string& title, const Settings& settings);
// The program's own input box, modal, centred over `owner`; the text as typed, empty on Cancel.
std::string ShowInputBox(const std::string& prompt, int style, const std::string& title,
                         const std::string& defaultText, const Settings& settings, QWidget* owner);

}  // namespace bw
