#include <gtest/gtest.h>

#include "core/PrefsLogic.h"
#include "core/Settings.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

class PrefsLogicTest : public AppFixture {
  protected:
    PrefsLogic logic{*app};
};

TEST_F(PrefsLogicTest, FolderBrowserAsksWhileTheFolderIsNotARuntime) {
    const std::string question =
        "Notice|4|The Poser4\\Runtime has not been selected. Are you sure you want this folder?\n";
    c.createDir("Poser4/Runtime");
    c.createDir("Content");
    const struct {
        const char* start;
        std::vector<std::string> chosen;  // C: relative; "" = cancelled
        std::deque<int> answers;
        const char* shown;
    } cases[] = {
        {"D:\\Poser4\\RUNTIME", {""}, {}, "D:\\Poser4\\RUNTIME"},
        {"C:\\", {"Content"}, {answer::kYes}, "C:\\Content"},
        {"C:\\", {"Content", "Poser4/Runtime"}, {answer::kNo}, "C:\\Poser4\\Runtime"},
        {"C:\\", {"", ""}, {answer::kNo, answer::kYes}, "C:\\"},  // a cancel tests the old text
    };
    for (const auto& cs : cases) {
        SCOPED_TRACE(cs.shown);
        app->settings.Runtime = "C:\\";
        desktop.msgBoxes.clear();
        for (const auto& rel : cs.chosen)
            desktop.folderAnswers.push_back(rel.empty() ? "" : onC(rel));
        desktop.msgAnswers = cs.answers;
        logic.Load();
        EXPECT_EQ(logic.BrowseForRuntime(cs.start), cs.shown);
        // A chosen folder becomes the runtime at once; a cancel keeps the old one.
        EXPECT_EQ(app->settings.Runtime, cs.chosen.back().empty() ? "C:\\" : cs.shown);
        EXPECT_EQ(desktop.msgBoxes.size(), cs.answers.size());
        EXPECT_TRUE(logic.changed());
    }
    EXPECT_EQ(desktop.Shown(), question + question);
    EXPECT_EQ(desktop.chooserTitles.back(), "Please locate your Poser4\\Runtime folder.");
}

TEST_F(PrefsLogicTest, SaveWritesRuntimeAndAllFiveSwitchesOrReportsWhyNot) {
    const PrefsValues v{"C:\\Poser4\\Runtime", true, false, false, true, false};
    const std::string ini = app->settings.iniPath;
    app->settings.iniPath = "C:\\no\\such\\folder\\Brindlewood.ini";
    logic.Load();
    logic.StartInLastFolderClicked();
    EXPECT_FALSE(logic.Save(v));  // one error, shown in either box, never "saved"
    EXPECT_TRUE(logic.changed());
    EXPECT_EQ(desktop.msgBoxes.size() + desktop.systemMessages.size(), 1u);
    EXPECT_EQ(desktop.Shown().find("saved"), std::string::npos);
    desktop.msgBoxes.clear();

    app->settings.iniPath = ini;
    ASSERT_TRUE(logic.Save(v));
    std::string written;
    for (const char* key : {"Runtime", "StartInLastFolder", "UseRelPathName",
                            "ProtectSystemFilesFolders", "ConfirmDelete", "BackUpFigure"})
        written += Ini("Folder", key) + " ";
    EXPECT_EQ(written, "C:\\Poser4\\Runtime True False False True False ");
    EXPECT_TRUE(app->settings.StartInLastFolder && !app->settings.ProtectSystemFilesFolders);
    EXPECT_FALSE(logic.changed());
    EXPECT_EQ(desktop.Shown(), "Notice|0|Your preferences have been saved.\n");
}

// A file with two Runtime lines: start-up reads the later one, so the save must write that one.
TEST_F(PrefsLogicTest, TheSavedRuntimeIsTheOneTheNextStartReads) {
    for (const char* dir : {"Old/Runtime", "Stale/Runtime", "New/Runtime"}) c.createDir(dir);
    prefix.createFile("Brindlewood.ini",
                      "[Colors]\r\nBackColor=1\r\n[Folder]\r\nRuntime=C:\\Stale\\Runtime\r\n"
                      "[AVSettings]\r\nMoveFile=True\r\nRuntime=C:\\Old\\Runtime\r\n");
    PrefsValues v = logic.Load();
    v.poserFolder = "C:\\New\\Runtime";
    ASSERT_TRUE(logic.Save(v));
    LoadSettings(*app, app->settings.iniPath);
    EXPECT_EQ(app->settings.Runtime, "C:\\New\\Runtime");
}

}  // namespace
}  // namespace bw::test
