#include "app/Startup.h"

#include <QApplication>

#include "app/AppState.h"
#include "app/Settings.h"
#include "app/frmMain.h"

namespace bw {

int RunProgram(QApplication& application) {
    application.setApplicationName("Brindlewood");
    frmMain window;
    auto fs = std::make_unique<FileSystem>(DriveMap::FromEnvironment());
    const std::string iniWindows = fs->WindowsPath(DefaultIniHostPath());
    AppState app(window, std::move(fs));
    LoadSettings(app, iniWindows);
    window.resize(11280 / 15, 4350 / 15);
    window.Load(app);
    window.show();
    return application.exec();
}

}  // namespace bw
