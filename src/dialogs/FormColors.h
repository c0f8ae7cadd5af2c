#pragma once

class QWidget;

namespace bw {

class Desktop;
struct Settings;

// Colours a window and its controls by the user's scheme and tiles the background pattern;
// every window runs it on load. A pattern that cannot be loaded is reported.
void ApplyFormColors(QWidget& form, const Settings& settings, Desktop& desktop);

}  // namespace bw
