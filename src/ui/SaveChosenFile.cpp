#include "ui/SaveChosenFile.h"

#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/ReportError.h"
#include "platform/PlatformError.h"

namespace bw {

std::string SaveChosenFile(AppState& app, std::string chosen, const char* extension,
                           const std::string& bytes, const std::string& procedureName) {
    const size_t slash = chosen.rfind('/');
    if (chosen.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos)
        chosen += extension;
    app.desktop.SetBusy(true);
    try {
        // The file is written where it was chosen; a name holding a "\" has no Windows path.
        if (!app.fs->driveMap().CanNameHostPath(chosen))
            throw PlatformError::FromNumber(err::kBadFileName);
        app.fs->WriteFile(app.fs->WindowsPath(chosen), bytes);
    } catch (const PlatformError& e) {
        app.desktop.SetBusy(false);
        ReportError(app.desktop, e, procedureName);
        return {};
    }
    app.desktop.SetBusy(false);
    return chosen;
}

}  // namespace bw
