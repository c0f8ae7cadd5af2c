#pragma once

#include <functional>
#include <string>

#include "core/Measures.h"

namespace bw {

class AppState;
class Node;

// The main window's placement in twips, as stored in [WindowSize].
struct Placement {
    float left = 0;
    float top = 0;
    float width = 11280;
    float height = 4350;
};
inline constexpr float kMinWidthTwips = 11280;
inline constexpr float kMinHeightTwips = 4350;

// [WindowSize] frmMain_Left/Top/Width/Height; each value that is not numeric takes its default.
Placement ReadPlacement(AppState& app);
// The saved placement brought within `screen` (the desktop's area, in twips): no larger than it
// (but never below the minimum size), and moved onto it.
Placement FitOnScreen(const Placement& saved, const Placement& screen);
// Writes the four values as decimal text; throws PlatformError at the first that fails, as the
// exit that calls it ends quietly on an error.
void WritePlacement(AppState& app, const Placement& placement);
// A single-precision number as decimal text: "11280", "7.5", "-120".
std::string FormatSingle(float value);

// On first use (Runtime still "C:\"): tells the user, then runs `showPreferences`. True when asked.
bool AskForRuntimeIfUnset(AppState& app, const std::function<void()>& showPreferences);
// On exit, with StartInLastFolder set: stores the folder or drive of CurrentNode as LastFolder;
// throws PlatformError when it cannot be written.
void SaveLastFolder(AppState& app);
// Lets go of every node reference the window state holds.
void ReleaseNodeReferences(AppState& app);

}  // namespace bw
