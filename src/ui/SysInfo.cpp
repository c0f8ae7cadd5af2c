#include "ui/SysInfo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <cstdlib>

#include "core/Desktop.h"
#include "core/TreePopulation.h"
#include "platform/Text.h"

namespace bw {

const std::vector<std::string>& SysInfoPrograms() {
    static const std::vector<std::string> programs = {"hardinfo2", "hardinfo", "kinfocenter",
                                                      "gnome-system-monitor", "xfce4-taskmanager"};
    return programs;
}

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindSysInfoProgram(const std::string& pathList,
                               const std::vector<std::string>& programs) {
    const std::vector<std::string> folders = Split(pathList, ':');
    for (const auto& program : programs) {
        for (const auto& folder : folders) {
            // An empty entry would mean the current folder; a program is never started from there.
            if (folder.empty()) continue;
            std::string candidate = folder;
            if (candidate.back() != '/') candidate += '/';
            candidate += program;
            if (IsExecutableFile(candidate)) return candidate;
        }
    }
    return {};
}

bool StartDetached(const std::string& program) {
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    // Closed channels keep the program off our terminal and off a test's pipes.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

void StartSysInfo(Desktop& desktop, const std::string& pathList, const ProgramLauncher& launch) {
    const std::string program = FindSysInfoProgram(pathList, SysInfoPrograms());
    if (!program.empty() && launch && launch(program)) return;
    desktop.ShowSystemMessage(kSysInfoUnavailable, kAppTitle);
}

void StartSysInfo(Desktop& desktop) {
    const char* path = std::getenv("PATH");
    StartSysInfo(desktop, path ? path : "", StartDetached);
}

}  // namespace bw
