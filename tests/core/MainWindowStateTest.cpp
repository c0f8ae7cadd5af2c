#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <tuple>

#include "browser/ReopenLastFolder.h"
#include "core/MainWindowState.h"
#include "core/Settings.h"
#include "core/TreePopulation.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

using MainWindowStateTest = AppFixture;

TEST_F(MainWindowStateTest, FirstStartAsksForRuntimeThenOpensPreferences) {
    LoadSettings(*app, app->settings.iniPath);  // no file yet: the defaults are written
    std::vector<size_t> boxesWhenShown;
    const auto show = [&] { boxesWhenShown.push_back(desktop.msgBoxes.size()); };
    EXPECT_TRUE(AskForRuntimeIfUnset(*app, show));
    app->settings.Runtime = "C:\\Poser4\\Runtime";
    EXPECT_FALSE(AskForRuntimeIfUnset(*app, show));
    EXPECT_EQ(boxesWhenShown, std::vector<size_t>{1});  // once, after the notice
    EXPECT_EQ(desktop.Shown(),
              "Poser4\\Runtime folder needs to be set.|0|You will need to set the location of "
              "your Poser4\\Runtime folder. (This only needs to be set once.)\n");
}

TEST_F(MainWindowStateTest, LastFolderIsTheFolderOrDriveOfTheSelection) {
    c.createFile("Poser4/Runtime/Libraries/Figure.cr2", "x");
    c.createFile("top.txt", "x");
    const std::string ini = prefix.host("Brindlewood.ini");
    // selected full path (or a placeholder under it, with "+"), StartInLastFolder -> stored
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"C:\\Poser4\\Runtime\\Libraries\\Figure.cr2", true, "C:\\Poser4\\Runtime\\Libraries\\"},
        {"C:\\Poser4\\Runtime\\Libraries\\Figure.cr2+", true, "C:\\Poser4\\Runtime\\Libraries\\"},
        {"C:\\top.txt", true, "C:\\"},
        {"C:", true, "C:\\"},
        {"C:\\Poser4\\Runtime", false, "-"},
        {"", true, "-"},
    };
    for (const auto& [select, wanted, stored] : cases) {
        SCOPED_TRACE(select);
        std::filesystem::remove(ini);
        app->settings.StartInLastFolder = wanted;
        std::string path = select;
        const bool placeholder = path.ends_with('+');
        if (placeholder) path.pop_back();
        Node* n = path.empty() ? nullptr : expandTo(path);
        app->CurrentNode = NodeHandle(placeholder ? n->firstChild() : n);
        SaveLastFolder(*app);
        EXPECT_EQ(Ini("Folder", "LastFolder"), stored);
    }
}

TEST_F(MainWindowStateTest, ReopeningStopsAtTheDeepestFolderFound) {
    c.createDir("Poser4/Runtime/Libraries/character");
    const std::pair<const char*, std::string> cases[] = {
        // LastFolder -> the node selected ("": none)
        {"C:\\Poser4\\Runtime\\Libraries\\character\\",
         "C:\\Poser4\\Runtime\\Libraries\\character"},
        {"C:\\Poser4\\Runtime\\Gone\\Deeper\\", "C:\\Poser4\\Runtime"},
        {"C:\\POSER4\\Runtime\\", "C:"},  // letter case differs from the tree
        {"Q:\\Nowhere\\", ""},
    };
    for (const auto& [last, selected] : cases) {
        SCOPED_TRACE(last);
        GetDrives(*app);
        app->CurrentNode.reset();
        desktop.SetCaption("Brindlewood");
        app->settings.LastFolder = last;
        Node* n = ReopenLastFolder(*app);
        EXPECT_EQ(n ? n->FullPath() : "", selected);
        EXPECT_EQ(desktop.Caption(), selected.empty() ? "Brindlewood" : "Brindlewood: " + selected);
        EXPECT_TRUE(!desktop.busy() && app->tree.selected() == n && app->CurrentNode.get() == n);
        for (Node* up = n ? n->parent() : nullptr; up; up = up->parent())
            EXPECT_TRUE(up->expanded());
    }
}

// A placement saved far off screen or absurdly large (frmMain_Width=1e9) comes back on the
// screen and within its size; the minimum size still wins over a smaller screen.
TEST(FitOnScreen, BringsThePlacementOntoTheScreen) {
    const Placement screen{0, 0, 28800, 16200};  // 1920 x 1080 pixels
    // saved left, top, width, height -> fitted
    const std::pair<Placement, Placement> cases[] = {
        {{1500, 300, 15000, 6000}, {1500, 300, 15000, 6000}},  // fits: unchanged
        {{0, 0, 1e9f, 1e9f}, {0, 0, 28800, 16200}},
        {{-1e6f, 5e6f, 12000, 6000}, {0, 10200, 12000, 6000}},
        {{20000, 15000, 12000, 6000}, {16800, 10200, 12000, 6000}},  // half off: moved on
        {{-std::numeric_limits<float>::infinity(), 0, 12000, 6000}, {0, 0, 12000, 6000}},
    };
    const auto text = [](const Placement& p) {
        return FormatSingle(p.left) + " " + FormatSingle(p.top) + " " + FormatSingle(p.width) +
               " " + FormatSingle(p.height);
    };
    for (const auto& [saved, fitted] : cases)
        EXPECT_EQ(text(FitOnScreen(saved, screen)), text(fitted));
    EXPECT_EQ(text(FitOnScreen({500, 500, 20000, 9000}, {0, 0, 9600, 3000})),
              text({0, 0, kMinWidthTwips, kMinHeightTwips}));
}

}  // namespace
}  // namespace bw::test
