#include "app/Startup.h"

#include <QApplication>

#include "app/AppState.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "platform/DesktopShell.h"
#include "platform/XcbWindowList.h"

namespace bw {

int RunProgram(QApplication& application) {
    application.setApplicationName("Brindlewood");
    frmMain window;
    auto fs = std::make_unique<FileSystem>(DriveMap::FromEnvironment());
    const std::string iniWindows = fs->WindowsPath(DefaultIniHostPath());
    AppState app(window, std::move(fs));
    // The platform services outlive the window's use of them; either may be missing.
    std::unique_ptr<Shell> shell = MakeDesktopShell();
    std::unique_ptr<WindowList> windows = MakeXcbWindowList();
    app.shell = shell.get();
    app.windows = windows.get();
    LoadSettings(app, iniWindows);
    window.Load(app);
    const int rc = application.exec();
    window.Detach();
    return rc;
}

}  // namespace bw
