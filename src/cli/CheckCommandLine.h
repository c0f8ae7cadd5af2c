#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/DriveMap.h"

namespace bw::cli {

enum class ReportFormat { Text, Json, Csv };

// What is to be done after the options are read: the check's report, or work on its findings.
enum class CheckAction {
    Report,  // list the references and their status
    Fix,     // repair every moved reference that has one candidate
    Undo,    // undo the last repair
    Unused,  // list the images and geometries no library file uses
};

// What the command line asked for.
struct CheckCommand {
    CheckAction action = CheckAction::Report;
    bool dryRun = false;  // --fix: show the changes as a diff and write nothing
    ReportFormat format = ReportFormat::Text;
    bool useCache = true;
    bool allRows = false;  // text: list ok and internal references too
    bool help = false;
    std::string runtime;  // as given; empty: the settings file's
};

// Exit codes. The report: nothing moved, ambiguous, missing or unreadable / something is / the
// check could not run. --fix and --undo: all done or nothing to do / something refused or skipped /
// the work could not run. --unused: 0 when it was listed, 2 when it could not be.
inline constexpr int kExitClean = 0;
inline constexpr int kExitProblems = 1;
inline constexpr int kExitFailed = 2;

// The command's usage text.
const char* CheckUsage();

// Parses the arguments after the program's name; no value, with `error` set, when they are wrong.
std::optional<CheckCommand> ParseCheckArguments(const std::vector<std::string>& args,
                                                std::string& error);

// The host folder to check for a Runtime argument: a Windows path ("C:\Poser4\Runtime") goes
// through the drive map, a host path is taken from the working folder; a folder holding a Runtime
// folder stands for it. Throws PlatformError 76 when there is no such folder or it holds no
// Libraries folder.
std::string RuntimeFolderFor(const std::string& argument, const DriveMap& drives);

// Runs brindlewood-check with the arguments after the program's name; answers the exit code.
int RunCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace bw::cli
