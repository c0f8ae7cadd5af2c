#include "cli/CheckCommandLine.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "check/CheckCache.h"
#include "check/CheckReport.h"
#include "check/LibraryCheck.h"
#include "cli/RepairCommands.h"
#include "cli/UnusedCommand.h"
#include "core/Settings.h"
#include "platform/PlatformError.h"
#include "platform/Profile.h"
#include "platform/Text.h"

namespace bw::cli {

using namespace check;

namespace {

// Room for a long Runtime path; the classic 49-character limit would cut it.
constexpr size_t kPathBuffer = 4096;

bool IsWindowsPath(const std::string& p) {
    return p.size() >= 2 && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')) &&
           p[1] == ':' && (p.size() == 2 || p[2] == '\\' || p[2] == '/');
}

bool IsFolder(const std::string& host) {
    struct stat st {};
    return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The entry of `folder` named `name` without regard to case that is a folder, or "".
std::string SubfolderNamed(const std::string& folder, std::string_view name) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return {};
    std::string found;
    while (const dirent* e = ::readdir(dir)) {
        const std::string candidate = folder + "/" + e->d_name;
        if (AsciiEqualsIgnoreCase(e->d_name, name) && IsFolder(candidate)) {
            found = candidate;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

// Collects every row and shows progress on a terminal.
class CollectingObserver : public CheckObserver {
  public:
    explicit CollectingObserver(bool showProgress) : showProgress_(showProgress) {}
    void OnProgress(const CheckProgress& p) override {
        if (!showProgress_) return;
        if (p.phase == CheckPhase::Done) {
            std::fprintf(stderr, "\r\033[K");
        } else if (p.phase == CheckPhase::Checking) {
            std::fprintf(stderr, "\rChecking library files: %zu of %zu", p.filesDone, p.filesTotal);
        }
    }
    void OnRows(std::vector<CheckRow>&& rows) override {
        for (auto& r : rows) rows_.push_back(std::move(r));
    }
    std::vector<CheckRow>& rows() { return rows_; }

  private:
    bool showProgress_;
    std::vector<CheckRow> rows_;
};

}  // namespace

const char* CheckUsage() {
    return "usage: brindlewood-check [options] [RUNTIME]\n"
           "\n"
           "Checks every library file under RUNTIME\\Libraries: lists each file it references and\n"
           "whether that file is where the reference says (ok), lies elsewhere (moved, or\n"
           "ambiguous when several files of that name do), is nowhere (missing), or is one of\n"
           "Poser's own resources (internal). RUNTIME is a host path or a Windows path such as\n"
           "C:\\Poser4\\Runtime; without it, the Runtime folder of Brindlewood's settings is "
           "used.\n"
           "\n"
           "  --json       one JSON array of objects: file, line, keyword, reference, status,\n"
           "               candidates (and reason, for files that could not be read)\n"
           "  --csv        the same as comma-separated values\n"
           "  --all        in the text report, list ok and internal references too\n"
           "  --no-cache   read every file, leaving the cache of earlier checks alone\n"
           "  --fix        repair every moved reference that has one candidate, as the window's\n"
           "               repair does (a .bak beside each file when the settings say so); each\n"
           "               batch is journalled under $XDG_DATA_HOME/Brindlewood/journal\n"
           "  --dry-run    with --fix: print the changes as a unified diff and write nothing\n"
           "  --undo       undo the last repair not yet undone (again for the one before); a\n"
           "               file changed since that repair is left alone and reported\n"
           "  --unused     list the images and geometries under RUNTIME\\Textures and\n"
           "               RUNTIME\\Geometries that no library file uses, with their sizes\n"
           "  --help       show this text\n"
           "\n"
           "With --fix or --undo, --json prints what was done as JSON; with --unused, --json\n"
           "and --csv print the list (file, size) in those forms.\n"
           "\n"
           "Exit status: 0 when nothing is moved, ambiguous, missing or unreadable; 1 when\n"
           "something is; 2 when the check could not run. With --fix and --undo: 0 when all\n"
           "was done or there was nothing to do, 1 when something was refused or skipped, 2\n"
           "when the work could not run. With --unused: 0 when the list was printed, 2 when it\n"
           "could not be.\n";
}

std::optional<CheckCommand> ParseCheckArguments(const std::vector<std::string>& args,
                                                std::string& error) {
    CheckCommand c;
    bool formatGiven = false;
    const auto setAction = [&](CheckAction action) {
        if (c.action != CheckAction::Report && c.action != action) {
            error = "--fix, --undo and --unused cannot be combined";
            return false;
        }
        c.action = action;
        return true;
    };
    for (const auto& a : args) {
        if (a == "--json" || a == "--csv") {
            const auto f = a == "--json" ? ReportFormat::Json : ReportFormat::Csv;
            if (formatGiven && c.format != f) {
                error = "--json and --csv cannot be combined";
                return std::nullopt;
            }
            c.format = f;
            formatGiven = true;
        } else if (a == "--no-cache") {
            c.useCache = false;
        } else if (a == "--all") {
            c.allRows = true;
        } else if (a == "--fix") {
            if (!setAction(CheckAction::Fix)) return std::nullopt;
        } else if (a == "--undo") {
            if (!setAction(CheckAction::Undo)) return std::nullopt;
        } else if (a == "--unused") {
            if (!setAction(CheckAction::Unused)) return std::nullopt;
        } else if (a == "--dry-run") {
            c.dryRun = true;
        } else if (a == "--help" || a == "-h") {
            c.help = true;
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option " + a;
            return std::nullopt;
        } else if (!c.runtime.empty()) {
            error = "only one Runtime folder can be checked at a time";
            return std::nullopt;
        } else {
            c.runtime = a;
        }
    }
    if (c.dryRun && c.action != CheckAction::Fix) error = "--dry-run goes with --fix";
    if (c.action != CheckAction::Report && c.action != CheckAction::Unused &&
        c.format == ReportFormat::Csv)
        error = "--csv goes with the report and --unused alone";
    if (c.action != CheckAction::Report && c.allRows) error = "--all goes with the report alone";
    if (c.action == CheckAction::Undo && !c.runtime.empty())
        error = "--undo takes no Runtime folder: it undoes the last repair wherever it was";
    if (!error.empty()) return std::nullopt;
    return c;
}

std::string RuntimeFolderFor(const std::string& argument, const DriveMap& drives) {
    std::string host;
    if (IsWindowsPath(argument)) {
        const auto mapped = drives.ToHost(ReplaceAll(argument, "/", "\\"));
        if (!mapped) throw PlatformError::FromNumber(err::kPathNotFound);
        host = *mapped;
    } else {
        std::error_code ec;
        host = std::filesystem::absolute(argument, ec).lexically_normal().string();
        if (ec) throw PlatformError::FromNumber(err::kPathNotFound);
    }
    while (host.size() > 1 && host.back() == '/') host.pop_back();
    if (!IsFolder(host)) throw PlatformError::FromNumber(err::kPathNotFound);
    if (!SubfolderNamed(host, "Libraries").empty()) return host;
    if (const auto runtime = SubfolderNamed(host, "Runtime");
        !runtime.empty() && !SubfolderNamed(runtime, "Libraries").empty())
        return runtime;
    throw PlatformError(err::kPathNotFound, "No Libraries folder in " + host);
}

int RunCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto command = ParseCheckArguments(args, error);
    if (!command) {
        err << "brindlewood-check: " << error << "\n" << CheckUsage();
        return kExitFailed;
    }
    if (command->help) {
        out << CheckUsage();
        return kExitClean;
    }
    if (command->action == CheckAction::Undo) return RunUndo(*command, out, err);
    CheckOptions options;
    options.drives = DriveMap::FromEnvironment();
    std::string runtime = command->runtime;
    if (runtime.empty()) {
        const std::string ini = DefaultIniHostPath();
        runtime = GetPrivateProfileString("Folder", "Runtime", "", ini, kPathBuffer);
        if (runtime.empty()) {
            err << "brindlewood-check: no Runtime folder given, and " << ini
                << " names none ([Folder] Runtime)\n";
            return kExitFailed;
        }
    }
    try {
        options.runtime = RuntimeFolderFor(runtime, options.drives);
    } catch (const PlatformError& e) {
        err << "brindlewood-check: " << runtime << ": " << e.description() << "\n";
        return kExitFailed;
    }
    if (command->useCache) options.cachePath = CheckCache::DefaultPath();

    CollectingObserver observer(command->format == ReportFormat::Text && ::isatty(2));
    const std::atomic<bool> cancel{false};
    CheckSummary summary;
    try {
        summary = RunLibraryCheck(options, observer, cancel);
    } catch (const PlatformError& e) {
        err << "brindlewood-check: " << options.runtime << ": " << e.description() << "\n";
        return kExitFailed;
    }
    auto& rows = observer.rows();
    SortRows(rows);
    if (command->action == CheckAction::Fix)
        return RunFix(*command, options.runtime, options.drives, rows, out, err);
    if (command->action == CheckAction::Unused)
        return RunUnused(*command, options.runtime, options.drives, rows, out, err);
    switch (command->format) {
        case ReportFormat::Json:
            WriteJsonReport(out, rows);
            break;
        case ReportFormat::Csv:
            WriteCsvReport(out, rows);
            break;
        case ReportFormat::Text:
            WriteTextReport(out, rows, summary,
                            command->allRows ? TextDetail::AllRows : TextDetail::ProblemsOnly);
            break;
    }
    out.flush();
    if (!out) {
        err << "brindlewood-check: the report could not be written\n";
        return kExitFailed;
    }
    return summary.HasProblems() ? kExitProblems : kExitClean;
}

}  // namespace bw::cli
