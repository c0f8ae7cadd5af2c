#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace bw {

class Desktop;
class DriveMap;
struct Settings;

// Colours a window and its controls by the user's scheme and tiles the background pattern;
// every window runs it on load. Toolbars, menu bars, trees, lists and text fields keep the
// system's colours whatever the scheme. A pattern that cannot be loaded is reported as
// "ApplyFormColors: " + the window's objectName, and the controls are then left as they are.
// The pattern's Windows path is translated through `drives`, or the environment's Wine prefix
// when none is given; a path starting with "/" is taken as a host path.
void ApplyFormColors(QWidget& form, const Settings& settings, Desktop& desktop,
                     const DriveMap* drives = nullptr);

// The kinds of control the colour scheme styles; everything else is left alone.
enum class ControlKind {
    Label,
    Button,
    CheckBox,
    OptionButton,
    Shape,
    Line,
    Frame,
    ShadowPicture,
    Other
};

// The kind of a control, by its class and, where the class does not tell, its name prefix.
ControlKind KindOf(const QWidget& control);

// Where the pattern's copies go: columns from 0 while the left edge is at most the area's width,
// rows likewise; empty for an empty tile.
std::vector<QRect> PatternTiles(QSize area, QSize tile);

}  // namespace bw
