#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "app/PrefsLogic.h"
#include "platform/Profile.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

const char* kRuntimeQuestion =
    "The Poser4\\Runtime has not been selected. Are you sure you want this folder?";

class PrefsLogicTest : public AppFixture {
  protected:
    std::string ini() const { return prefix.host("Brindlewood.ini"); }
    std::string Read(const char* key) {
        return GetPrivateProfileString("Folder", key, "(missing)", ini());
    }
    PrefsLogic logic{*app};
};

TEST_F(PrefsLogicTest, FolderBrowserAsksWhileTheFolderIsNotARuntime) {
    c.createDir("Poser4/Runtime");
    c.createDir("Content");
    struct Case {
        const char* start;
        std::vector<std::string> chosen;  // C: relative; "" = cancelled
        std::deque<int> answers;
        const char* shown;
        const char* runtime;  // in memory afterwards
        size_t questions;
    };
    const Case cases[] = {
        {"C:\\", {"Poser4/Runtime"}, {}, "C:\\Poser4\\Runtime", "C:\\Poser4\\Runtime", 0},
        {"C:\\", {"Content"}, {answer::kYes}, "C:\\Content", "C:\\Content", 1},
        {"C:\\",
         {"Content", "Poser4/Runtime"},
         {answer::kNo},
         "C:\\Poser4\\Runtime",
         "C:\\Poser4\\Runtime",
         1},
        {"C:\\", {""}, {answer::kYes}, "C:\\", "C:\\", 1},  // cancelled: the old text is still
                                                            // tested
        {"C:\\", {"", ""}, {answer::kNo, answer::kYes}, "C:\\", "C:\\", 2},
        {"D:\\Poser4\\RUNTIME", {""}, {}, "D:\\Poser4\\RUNTIME", "C:\\", 0},
    };
    for (const Case& cs : cases) {
        SCOPED_TRACE(cs.shown);
        app->settings.Runtime = "C:\\";
        desktop.msgBoxes.clear();
        desktop.chooserTitles.clear();
        desktop.folderAnswers.clear();
        for (const auto& rel : cs.chosen)
            desktop.folderAnswers.push_back(rel.empty() ? "" : onC(rel));
        desktop.msgAnswers.assign(cs.answers.begin(), cs.answers.end());
        logic.Load();
        EXPECT_EQ(logic.BrowseForRuntime(cs.start), cs.shown);
        EXPECT_EQ(app->settings.Runtime, cs.runtime);
        EXPECT_EQ(desktop.chooserTitles.size(), cs.chosen.size());
        EXPECT_EQ(desktop.chooserTitles[0], "Please locate your Poser4\\Runtime folder.");
        ASSERT_EQ(desktop.msgBoxes.size(), cs.questions);
        for (const auto& box : desktop.msgBoxes) {
            EXPECT_EQ(box.prompt, kRuntimeQuestion);
            EXPECT_EQ(box.style, 4);
            EXPECT_EQ(box.title, "Notice");
        }
        EXPECT_TRUE(logic.changed());
    }
}

TEST_F(PrefsLogicTest, TurningProtectionOffNeedsAYes) {
    struct Case {
        bool nowChecked;
        int answer;
        bool checked;
        size_t boxes;
    };
    const Case cases[] = {
        {false, answer::kNo, true, 1}, {false, answer::kYes, false, 1}, {true, 0, true, 0}};
    for (const Case& cs : cases) {
        desktop.msgBoxes.clear();
        desktop.msgAnswers = {cs.answer};
        logic.Load();
        EXPECT_EQ(logic.ProtectClicked(cs.nowChecked), cs.checked);
        EXPECT_TRUE(logic.changed());
        ASSERT_EQ(desktop.msgBoxes.size(), cs.boxes);
        if (cs.boxes) {
            EXPECT_EQ(desktop.msgBoxes[0].title, "Warning");
            EXPECT_EQ(desktop.msgBoxes[0].style, 68);
            EXPECT_EQ(
                desktop.msgBoxes[0].prompt,
                "Note: You have chosen to turn protection OFF for the system files and folders. "
                "These are "
                "very senstive- please proceed with caution. \rAre you sure you want to do this?");
        }
    }
}

TEST_F(PrefsLogicTest, ClosingAsksOnlyAfterCountedChanges) {
    struct Case {
        bool change;
        int answer;
        PrefsLogic::CloseDecision decision;
        size_t boxes;
    };
    const Case cases[] = {
        {false, 0, PrefsLogic::CloseDecision::Close, 0},
        {true, answer::kYes, PrefsLogic::CloseDecision::Save, 1},
        {true, answer::kNo, PrefsLogic::CloseDecision::Close, 1},
        {true, answer::kCancel, PrefsLogic::CloseDecision::Stay, 1},
    };
    for (const Case& cs : cases) {
        desktop.msgBoxes.clear();
        desktop.msgAnswers = {cs.answer};
        logic.Load();
        if (cs.change) logic.StartInLastFolderClicked();
        EXPECT_EQ(logic.AskBeforeClose(), cs.decision);
        ASSERT_EQ(desktop.msgBoxes.size(), cs.boxes);
        if (cs.boxes) {
            EXPECT_EQ(desktop.msgBoxes[0].prompt,
                      "You have changed the data. Do you want to save these changes?");
            EXPECT_EQ(desktop.msgBoxes[0].title, "Save changes?");
            EXPECT_EQ(desktop.msgBoxes[0].style, 3);
        }
    }
}

TEST_F(PrefsLogicTest, SaveWritesRuntimeAndAllFiveSwitches) {
    app->settings.BackUpFigure = true;
    PrefsValues v = logic.Load();
    v.poserFolder = "C:\\Poser4\\Runtime";
    v.startInLastFolder = true;
    v.showRelPathName = false;
    v.protectSystemFilesFolders = false;
    v.confirmDelete = true;
    v.backUpFigure = false;
    logic.StartInLastFolderClicked();
    ASSERT_TRUE(logic.Save(v));
    EXPECT_EQ(Read("Runtime"), "C:\\Poser4\\Runtime");
    EXPECT_EQ(Read("StartInLastFolder"), "True");
    EXPECT_EQ(Read("UseRelPathName"), "False");
    EXPECT_EQ(Read("ProtectSystemFilesFolders"), "False");
    EXPECT_EQ(Read("ConfirmDelete"), "True");
    EXPECT_EQ(Read("BackUpFigure"), "False");
    EXPECT_TRUE(app->settings.StartInLastFolder);
    EXPECT_FALSE(app->settings.ProtectSystemFilesFolders);
    EXPECT_FALSE(app->settings.BackUpFigure);
    EXPECT_FALSE(logic.changed());
    ASSERT_EQ(desktop.msgBoxes.size(), 1u);
    EXPECT_EQ(desktop.msgBoxes[0].prompt, "Your preferences have been saved.");
    EXPECT_EQ(desktop.msgBoxes[0].title, "Notice");
}

TEST_F(PrefsLogicTest, AFailedSaveIsReportedAndKeepsTheChanges) {
    app->settings.iniPath = "C:\\no\\such\\folder\\Brindlewood.ini";
    PrefsValues v = logic.Load();
    logic.StartInLastFolderClicked();
    EXPECT_FALSE(logic.Save(v));
    EXPECT_TRUE(logic.changed());
    const size_t shown = desktop.msgBoxes.size() + desktop.systemMessages.size();
    EXPECT_EQ(shown, 1u);  // the error, not "saved"
    for (const auto& box : desktop.msgBoxes)
        EXPECT_NE(box.prompt, "Your preferences have been saved.");
}

}  // namespace
}  // namespace bw::test
