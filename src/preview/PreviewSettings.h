#pragma once

#include <string>

namespace bw {

inline constexpr const char* kPreviewSection = "Preview";
inline constexpr int kDefaultPreviewWidth = 260;
inline constexpr int kMinPreviewWidth = 120;

// The pane's remembered state: [Preview] Visible=True|False, Width=<pixels>.
struct PreviewSettings {
    bool visible = true;
    int width = kDefaultPreviewWidth;
    bool operator==(const PreviewSettings&) const = default;
};

// Reads [Preview] from the settings file (host path): a missing or unusable value keeps its
// default (a width must be a whole number of pixels, at least kMinPreviewWidth). Never throws.
PreviewSettings ReadPreviewSettings(const std::string& iniHostPath);

// Writes both keys, booleans as True and False. Throws PlatformError when the file cannot be
// written.
void WritePreviewSettings(const PreviewSettings& settings, const std::string& iniHostPath);

// The pane width to lay out beside the tree in `total` pixels: the wanted width, at least
// kMinPreviewWidth, but never more than half, so the tree keeps at least half.
int PreviewWidthWithin(int wanted, int total);

}  // namespace bw
