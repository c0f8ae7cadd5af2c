#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include "ui/Twips.h"

class QFrame;
class QPushButton;
class QWidget;

namespace bw {

// Places a child at a twip rectangle.
void PlaceAt(QWidget& child, int left, int top, int width, int height);

// A button's shadow: a filled rectangle of its size, 120 twips right of and below it, stacked
// under every other control. The colour comes from the scheme, which styles every "shp" child.
QFrame* AddButtonShadow(QWidget& parent, const QPushButton& button, const QString& name);

// A one-pixel divider between two twip points on a horizontal or vertical line.
QFrame* AddLine(QWidget& parent, const QString& name, int x1, int y1, int x2, int y2);

// Moves a window to the middle of the screen it is on (or the primary screen).
void CenterOnScreen(QWidget& window);

// A font by family name, falling back to the nearest families installed (given in order of
// preference) and then to the style hint.
QFont NearestFont(const QStringList& families, QFont::StyleHint hint, double pointSize, bool bold);

}  // namespace bw
