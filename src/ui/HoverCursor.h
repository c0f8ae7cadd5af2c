#pragma once

#include <QCursor>

class QAbstractButton;
class QWidget;

namespace bw {

// The program's hover cursor, shown over buttons.
QCursor HoverHandCursor();

// The hand cursor over every button of the window, the normal cursor back over the window
// background, and the normal cursor restored first on every click. Install once per window,
// after its buttons exist.
void InstallHoverCursor(QWidget& window);
// The same rule for one button added after the window's installation.
void InstallHoverCursor(QAbstractButton& button);

}  // namespace bw
