#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "app/MainWindowState.h"
#include "app/Settings.h"
#include "browser/TreePopulation.h"
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

}  // namespace
}  // namespace bw::test
