#pragma once

#include <functional>
#include <string>
#include <vector>

namespace bw {

class Desktop;

// The system-information programs tried, in this order: the dedicated hardware/system reports
// first (hardinfo2, hardinfo), then the desktops' own info centres and monitors (kinfocenter,
// gnome-system-monitor, xfce4-taskmanager).
const std::vector<std::string>& SysInfoPrograms();

// The notice shown when none of them can be started.
inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// The full path of the first of `programs` found as an executable file in a folder of `pathList`
// (colon-separated, searched in order; empty entries are skipped); empty when none is found.
std::string FindSysInfoProgram(const std::string& pathList,
                               const std::vector<std::string>& programs);

// Starts a program detached from this one; false when it could not be started.
using ProgramLauncher = std::function<bool(const std::string& program)>;
// Starts the program detached with its input and output closed.
bool StartDetached(const std::string& program);

// Starts the first system-information program found on `pathList` through `launch`; when none is
// found or it does not start, shows the unavailable notice in the system's own message box.
void StartSysInfo(Desktop& desktop, const std::string& pathList, const ProgramLauncher& launch);
// The same with the process's PATH and a real detached start.
void StartSysInfo(Desktop& desktop);

}  // namespace bw
