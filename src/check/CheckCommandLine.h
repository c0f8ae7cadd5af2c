#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/DriveMap.h"

namespace bw::check {

enum class ReportFormat { Text, Json, Csv };

// What the command line asked for.
struct CheckCommand {
    ReportFormat format = ReportFormat::Text;
    bool useCache = true;
    bool allRows = false;  // text: list ok and internal references too
    bool help = false;
    std::string runtime;  // as given; empty: the settings file's
};

inline constexpr int kExitClean = 0;     // nothing moved, ambiguous, missing or unreadable
inline constexpr int kExitProblems = 1;  // something is
inline constexpr int kExitFailed = 2;    // the check could not run

// The command's usage text.
const char* CheckUsage();

// Parses the arguments after the program's name; no value, with `error` set, when they are wrong.
std::optional<CheckCommand> ParseCheckArguments(const std::vector<std::string>& args,
                                                std::string& error);

// The settings file, found as the program finds it: $BRINDLEWOOD_INI, else beside the executable
// when that folder is writable, else $XDG_CONFIG_HOME/Brindlewood (or ~/.config/Brindlewood).
std::string SettingsFileHostPath();

// The host folder to check for a Runtime argument: a Windows path ("C:\Poser4\Runtime") goes
// through the drive map, a host path is taken from the working folder; a folder holding a Runtime
// folder stands for it. Throws PlatformError 76 when there is no such folder or it holds no
// Libraries folder.
std::string RuntimeFolderFor(const std::string& argument, const DriveMap& drives);

// Runs brindlewood-check with the arguments after the program's name; answers the exit code.
int RunCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace bw::check
