#pragma once

class QApplication;

namespace bw {

// The start-up load: settings, then the main window; runs the event loop until it closes.
int RunProgram(QApplication& application);

}  // namespace bw
