#include "core/MainWindowState.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "core/AppState.h"
#include "core/Desktop.h"
#include "core/Settings.h"

namespace bw {

namespace {

constexpr const char* kSection = "WindowSize";

float ReadValue(AppState& app, const char* key, float fallback) {
    const std::string v = GetINIValue(app, kSection, key);
    if (!IsNumeric(v)) return fallback;
    return std::strtof(v.c_str(), nullptr);
}

}  // namespace

std::string FormatSingle(float value) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

Placement ReadPlacement(AppState& app) {
    const Placement d;
    return {ReadValue(app, "frmMain_Left", d.left), ReadValue(app, "frmMain_Top", d.top),
            ReadValue(app, "frmMain_Width", d.width), ReadValue(app, "frmMain_Height", d.height)};
}

Placement FitOnScreen(const Placement& saved, const Placement& screen) {
    Placement p = saved;
    // The minimum size wins over a screen smaller than it.
    p.width = std::max(std::min(p.width, screen.width), kMinWidthTwips);
    p.height = std::max(std::min(p.height, screen.height), kMinHeightTwips);
    const auto onto = [](float at, float size, float from, float extent) {
        return std::max(std::min(at, from + extent - size), from);
    };
    p.left = onto(p.left, p.width, screen.left, screen.width);
    p.top = onto(p.top, p.height, screen.top, screen.height);
    return p;
}

void WritePlacement(AppState& app, const Placement& p) {
    StoreINIValue(app, kSection, "frmMain_Left", FormatSingle(p.left));
    StoreINIValue(app, kSection, "frmMain_Top", FormatSingle(p.top));
    StoreINIValue(app, kSection, "frmMain_Width", FormatSingle(p.width));
    StoreINIValue(app, kSection, "frmMain_Height", FormatSingle(p.height));
}

bool AskForRuntimeIfUnset(AppState& app, const std::function<void()>& showPreferences) {
    if (app.settings.Runtime != "C:\\") return false;
    app.desktop.ShowMsgBox(
        std::string("You will need to set the location of your Poser4\\Runtime ") +
            "folder. (This only needs to be set once.)",
        style::kOKOnly, "Poser4\\Runtime folder needs to be set.");
    if (showPreferences) showPreferences();
    return true;
}

void SaveLastFolder(AppState& app) {
    if (!app.settings.StartInLastFolder) return;
    Node* n = app.CurrentNode.get();
    while (n && n->tag() != tag::kDrive && n->tag() != tag::kFolder) n = n->parent();
    if (!n) return;
    StoreINIPathValue(app, "LastFolder", n->FullPath() + "\\");
}

void ReleaseNodeReferences(AppState& app) {
    app.NodeHistory.assign(1, NodeHandle());
    app.HistoryPosition = 0;
    app.CurrentNode.reset();
    app.ClipboardNode.reset();
}

}  // namespace bw
