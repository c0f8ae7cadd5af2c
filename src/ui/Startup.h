#pragma once

namespace bw {

class Application;

// The start-up load: settings, then the main window; runs the event loop until it closes.
int RunProgram(Application& application);

}  // namespace bw
