#include "preview/PreviewSettings.h"

#include <algorithm>
#include <charconv>

#include "core/Settings.h"
#include "platform/Profile.h"

namespace bw {

PreviewSettings ReadPreviewSettings(const std::string& iniHostPath) {
    PreviewSettings s;
    s.visible =
        ToBoolean(GetPrivateProfileString(kPreviewSection, "Visible", "", iniHostPath), s.visible);
    const std::string width = GetPrivateProfileString(kPreviewSection, "Width", "", iniHostPath);
    int value = 0;
    const auto [end, ec] = std::from_chars(width.data(), width.data() + width.size(), value);
    if (ec == std::errc() && end == width.data() + width.size() && value >= kMinPreviewWidth)
        s.width = value;
    return s;
}

void WritePreviewSettings(const PreviewSettings& settings, const std::string& iniHostPath) {
    WritePrivateProfileString(kPreviewSection, "Visible", settings.visible ? "True" : "False",
                              iniHostPath);
    WritePrivateProfileString(kPreviewSection, "Width", std::to_string(settings.width),
                              iniHostPath);
}

int PreviewWidthWithin(int wanted, int total) {
    const int half = std::max(0, total / 2);
    return std::min(std::max(wanted, kMinPreviewWidth), half);
}

}  // namespace bw
