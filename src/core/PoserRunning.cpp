#include "core/PoserRunning.h"

#include <exception>
#include <string>

#include "core/AppState.h"
#include "core/Desktop.h"
#include "platform/WindowList.h"

namespace bw {

bool IsPoserRunning(AppState& app) {
    if (!app.windows) return false;  // a platform without a window list has no windows to ask
    try {
        bool running = false;
        for (const std::string& title : app.windows->Titles()) {
            // Every window is looked at, even after a match, and the window stays live meanwhile.
            if (!title.empty() && title.find("s Poser") != std::string::npos) running = true;
            app.desktop.DoEvents();
        }
        return running;
    } catch (...) {
        return true;  // no window list at all: unknown is unsafe for deleting
    }
}

}  // namespace bw
