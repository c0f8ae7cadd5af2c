#pragma once

class QWidget;

namespace bw {

// The hand cursor over a button, the normal cursor back over the window background, and the
// normal cursor restored first on every click. Install once per window on its buttons.
void InstallHoverCursor(QWidget& window);

}  // namespace bw
