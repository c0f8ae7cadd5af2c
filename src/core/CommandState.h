#pragma once

#include <map>
#include <string>

namespace bw {

// Availability, tooltips and captions of the main window's commands, as the core decides them.
// Controls are named as in the window: toolbar keys ("Back", "Cut", "PrintContents" ...) and menu
// items ("mnuCut", "mnuOpen" ...). A control not in `enabled` keeps the window's own state.
struct CommandState {
    std::map<std::string, bool> enabled;
    std::map<std::string, std::string> tooltip;  // toolbar keys
    std::map<std::string, std::string> caption;  // menu items

    void Enable(const std::string& control, bool on) { enabled[control] = on; }
    bool IsEnabled(const std::string& control) const {
        auto it = enabled.find(control);
        return it != enabled.end() && it->second;
    }
};

}  // namespace bw
