#include "ui/Startup.h"

#include "core/AppState.h"
#include "core/Settings.h"
#include "platform/XcbWindowList.h"
#include "ui/Application.h"
#include "ui/DesktopShell.h"
#include "ui/frmMain.h"

namespace bw {

int RunProgram(Application& application) {
    SetUpApplication(application);
    frmMain window;
    application.SetReporter(&window);
    auto fs = std::make_unique<FileSystem>(DriveMap::FromEnvironment());
    const std::string iniWindows = fs->WindowsPath(DefaultIniHostPath());
    AppState app(window, std::move(fs));
    // The platform services outlive the window's use of them; either may be missing.
    std::unique_ptr<Shell> shell = MakeDesktopShell();
    std::unique_ptr<WindowList> windows = MakeXcbWindowList();
    app.shell = shell.get();
    app.windows = windows.get();
    LoadSettings(app, iniWindows);
    // The load runs before the event loop, outside the application's own trap.
    EventTrap startTrap;
    startTrap.SetReporter(&window);
    startTrap.Run(
        [&] {
            window.Load(app);
            return true;
        },
        "frmMain_Load");
    const int rc = application.exec();
    window.Detach();
    application.SetReporter(nullptr);
    return rc;
}

}  // namespace bw
