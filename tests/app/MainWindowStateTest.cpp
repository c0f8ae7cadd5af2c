#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "app/MainWindowState.h"
#include "app/Settings.h"
#include "browser/Selection.h"
#include "browser/TreePopulation.h"
#include "platform/Profile.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

class MainWindowStateTest : public AppFixture {
  protected:
    std::string ini() const { return prefix.host("Brindlewood.ini"); }
    std::string Read(const char* section, const char* key) {
        return GetPrivateProfileString(section, key, "(missing)", ini());
    }
    void Write(const char* section, const char* key, const std::string& value) {
        WritePrivateProfileString(section, key, value, ini());
    }
};

TEST_F(MainWindowStateTest, PlacementFallsBackValueByValue) {
    struct Case {
        const char* left;
        const char* top;
        const char* width;
        const char* height;
        Placement expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, nullptr, {0, 0, 11280, 4350}},
        {"120", "abc", "15000.5", "", {120, 0, 15000.5f, 4350}},
        {"-45", " 30", "1e4", "9x", {-45, 30, 10000, 4350}},
    };
    for (const Case& cs : cases) {
        std::filesystem::remove(ini());
        Write("Colors", "BackColor", "1");
        if (cs.left) Write("WindowSize", "frmMain_Left", cs.left);
        if (cs.top) Write("WindowSize", "frmMain_Top", cs.top);
        if (cs.width) Write("WindowSize", "frmMain_Width", cs.width);
        if (cs.height) Write("WindowSize", "frmMain_Height", cs.height);
        const Placement p = ReadPlacement(*app);
        EXPECT_EQ(p.left, cs.expected.left);
        EXPECT_EQ(p.top, cs.expected.top);
        EXPECT_EQ(p.width, cs.expected.width);
        EXPECT_EQ(p.height, cs.expected.height);
    }
}

TEST_F(MainWindowStateTest, FirstStartAsksForRuntimeThenOpensPreferences) {
    LoadSettings(*app, app->settings.iniPath);  // no file yet: the defaults are written
    int shown = 0;
    EXPECT_TRUE(AskForRuntimeIfUnset(*app, [&] {
        ++shown;
        EXPECT_EQ(desktop.msgBoxes.size(), 1u);  // the notice comes first
    }));
    ASSERT_EQ(desktop.msgBoxes.size(), 1u);
    EXPECT_EQ(desktop.msgBoxes[0].prompt,
              "You will need to set the location of your Poser4\\Runtime folder. (This only needs "
              "to be set once.)");
    EXPECT_EQ(desktop.msgBoxes[0].style, 0);
    EXPECT_EQ(desktop.msgBoxes[0].title, "Poser4\\Runtime folder needs to be set.");
    EXPECT_EQ(shown, 1);

    app->settings.Runtime = "C:\\Poser4\\Runtime";
    EXPECT_FALSE(AskForRuntimeIfUnset(*app, [&] { ++shown; }));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(desktop.msgBoxes.size(), 1u);
}

TEST_F(MainWindowStateTest, LastFolderIsTheFolderOrDriveOfTheSelection) {
    c.createFile("Poser4/Runtime/Libraries/Figure.cr2", "x");
    c.createFile("top.txt", "x");
    struct Case {
        const char* select;  // full path, or a placeholder under it with "+"
        bool wanted;
        const char* stored;
    };
    const Case cases[] = {
        {"C:\\Poser4\\Runtime\\Libraries\\Figure.cr2", true, "C:\\Poser4\\Runtime\\Libraries\\"},
        {"C:\\Poser4\\Runtime\\Libraries\\Figure.cr2+", true, "C:\\Poser4\\Runtime\\Libraries\\"},
        {"C:\\Poser4\\Runtime", true, "C:\\Poser4\\Runtime\\"},
        {"C:\\top.txt", true, "C:\\"},
        {"C:", true, "C:\\"},
        {"C:\\Poser4\\Runtime", false, "(missing)"},
        {"", true, "(missing)"},
    };
    for (const Case& cs : cases) {
        SCOPED_TRACE(cs.select);
        std::filesystem::remove(ini());
        app->settings.StartInLastFolder = cs.wanted;
        std::string path = cs.select;
        const bool placeholder = !path.empty() && path.back() == '+';
        if (placeholder) path.pop_back();
        Node* n = path.empty() ? nullptr : expandTo(path);
        if (placeholder) n = n->firstChild();
        app->CurrentNode = NodeHandle(n);
        SaveLastFolder(*app);
        EXPECT_EQ(Read("Folder", "LastFolder"), cs.stored);
    }
}

TEST_F(MainWindowStateTest, ReopensADeepLastFolder) {
    c.createDir("Poser4/Runtime/Libraries/character");
    c.createDir("Poser4/Other");
    GetDrives(*app);
    app->settings.LastFolder = "C:\\Poser4\\Runtime\\Libraries\\character\\";
    Node* n = ReopenLastFolder(*app);
    ASSERT_TRUE(n);
    EXPECT_EQ(n->FullPath(), "C:\\Poser4\\Runtime\\Libraries\\character");
    EXPECT_EQ(app->CurrentNode.get(), n);
    EXPECT_EQ(app->tree.selected(), n);
    EXPECT_EQ(desktop.Caption(), "Brindlewood: C:\\Poser4\\Runtime\\Libraries\\character");
    for (Node* up = n; up; up = up->parent()) EXPECT_TRUE(up->expanded()) << up->FullPath();
    EXPECT_FALSE(desktop.busy());
    EXPECT_TRUE(app->commands.IsEnabled("Rename"));
}

TEST_F(MainWindowStateTest, AMissingLastFolderStopsAtTheDeepestFolderFound) {
    c.createDir("Poser4/Runtime");
    struct Case {
        const char* last;
        const char* selected;  // null: nothing
        const char* caption;
    };
    const Case cases[] = {
        {"C:\\Poser4\\Runtime\\Gone\\Deeper\\", "C:\\Poser4\\Runtime",
         "Brindlewood: C:\\Poser4\\Runtime"},
        {"C:\\POSER4\\Runtime\\", "C:", "Brindlewood: C:"},  // letter case differs from the tree
        {"Q:\\Nowhere\\", nullptr, "Brindlewood"},
    };
    for (const Case& cs : cases) {
        SCOPED_TRACE(cs.last);
        GetDrives(*app);
        app->CurrentNode.reset();
        desktop.SetCaption("Brindlewood");
        app->settings.LastFolder = cs.last;
        Node* n = ReopenLastFolder(*app);
        EXPECT_EQ(n ? n->FullPath() : std::string("(none)"), cs.selected ? cs.selected : "(none)");
        EXPECT_EQ(desktop.Caption(), cs.caption);
        EXPECT_FALSE(desktop.busy());
    }
}

}  // namespace
}  // namespace bw::test
