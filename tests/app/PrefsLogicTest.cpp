#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "app/PrefsLogic.h"
#include "platform/Profile.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

class PrefsLogicTest : public AppFixture {
  protected:
    std::string Read(const char* key) {
        return GetPrivateProfileString("Folder", key, "(missing)", prefix.host("Brindlewood.ini"));
    }
    // Every box shown so far as "title|style|prompt", then forgets them.
    std::vector<std::string> Boxes() {
        std::vector<std::string> out;
        for (const auto& b : desktop.msgBoxes)
            out.push_back(b.title + "|" + std::to_string(b.style) + "|" + b.prompt);
        desktop.msgBoxes.clear();
        return out;
    }
    PrefsLogic logic{*app};
};

const std::string kRuntimeQuestion =
    "Notice|4|The Poser4\\Runtime has not been selected. Are you sure you want this folder?";
const std::string kProtectWarning =
    "Warning|68|Note: You have chosen to turn protection OFF for the system files and folders. "
    "These are very senstive- please proceed with caution. \rAre you sure you want to do this?";
const std::string kSaveQuestion =
    "Save changes?|3|You have changed the data. Do you want to save these changes?";

TEST_F(PrefsLogicTest, FolderBrowserAsksWhileTheFolderIsNotARuntime) {
    c.createDir("Poser4/Runtime");
    c.createDir("Content");
    const struct {
        const char* start;
        std::vector<std::string> chosen;  // C: relative; "" = cancelled
        std::deque<int> answers;
        const char* shown;
        size_t questions;
    } cases[] = {
        {"C:\\", {"Poser4/Runtime"}, {}, "C:\\Poser4\\Runtime", 0},
        {"C:\\", {"Content"}, {answer::kYes}, "C:\\Content", 1},
        {"C:\\", {"Content", "Poser4/Runtime"}, {answer::kNo}, "C:\\Poser4\\Runtime", 1},
        {"C:\\", {""}, {answer::kYes}, "C:\\", 1},  // cancelled: the old text is still tested
        {"C:\\", {"", ""}, {answer::kNo, answer::kYes}, "C:\\", 2},
        {"D:\\Poser4\\RUNTIME", {""}, {}, "D:\\Poser4\\RUNTIME", 0},
    };
    for (const auto& cs : cases) {
        SCOPED_TRACE(cs.shown);
        app->settings.Runtime = "C:\\";
        desktop.chooserTitles.clear();
        for (const auto& rel : cs.chosen)
            desktop.folderAnswers.push_back(rel.empty() ? "" : onC(rel));
        desktop.msgAnswers.assign(cs.answers.begin(), cs.answers.end());
        logic.Load();
        EXPECT_EQ(logic.BrowseForRuntime(cs.start), cs.shown);
        // A chosen folder becomes the runtime at once; a cancel keeps the old one.
        EXPECT_EQ(app->settings.Runtime, cs.chosen.back().empty() ? "C:\\" : cs.shown);
        EXPECT_EQ(desktop.chooserTitles,
                  std::vector<std::string>(cs.chosen.size(),
                                           "Please locate your Poser4\\Runtime folder."));
        EXPECT_EQ(Boxes(), std::vector<std::string>(cs.questions, kRuntimeQuestion));
        EXPECT_TRUE(logic.changed());
    }
}

TEST_F(PrefsLogicTest, TurningProtectionOffNeedsAYesAndClosingAsksAfterCountedChanges) {
    using D = PrefsLogic::CloseDecision;
    const struct {
        int click;  // -1: none; else whether the box is checked by the click
        std::deque<int> answers;
        bool protect;
        D decision;
        std::vector<std::string> boxes;
    } cases[] = {
        {-1, {}, true, D::Close, {}},
        {0, {answer::kNo, answer::kYes}, true, D::Save, {kProtectWarning, kSaveQuestion}},
        {0, {answer::kYes, answer::kNo}, false, D::Close, {kProtectWarning, kSaveQuestion}},
        {1, {answer::kCancel}, true, D::Stay, {kSaveQuestion}},
    };
    for (const auto& cs : cases) {
        desktop.msgAnswers = cs.answers;
        logic.Load();
        logic.MoveFileChosen(false);  // takes effect at once but is not counted
        if (cs.click >= 0) {
            EXPECT_EQ(logic.ProtectClicked(cs.click == 1), cs.protect);
        }
        EXPECT_EQ(logic.AskBeforeClose(), cs.decision);
        EXPECT_EQ(Boxes(), cs.boxes);
    }
}

TEST_F(PrefsLogicTest, SaveWritesRuntimeAndAllFiveSwitches) {
    PrefsValues v = logic.Load();
    v = {"C:\\Poser4\\Runtime", true, false, false, true, false};
    logic.StartInLastFolderClicked();
    ASSERT_TRUE(logic.Save(v));
    std::string written;
    for (const char* key : {"Runtime", "StartInLastFolder", "UseRelPathName",
                            "ProtectSystemFilesFolders", "ConfirmDelete", "BackUpFigure"})
        written += Read(key) + " ";
    EXPECT_EQ(written, "C:\\Poser4\\Runtime True False False True False ");
    EXPECT_TRUE(app->settings.StartInLastFolder && !app->settings.BackUpFigure);
    EXPECT_FALSE(app->settings.ProtectSystemFilesFolders);
    EXPECT_FALSE(logic.changed());
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Notice|0|Your preferences have been saved."});
}

TEST_F(PrefsLogicTest, AFailedSaveIsReportedAndKeepsTheChanges) {
    app->settings.iniPath = "C:\\no\\such\\folder\\Brindlewood.ini";
    const PrefsValues v = logic.Load();
    logic.StartInLastFolderClicked();
    EXPECT_FALSE(logic.Save(v));
    EXPECT_TRUE(logic.changed());
    // One error, shown in either box; never "saved".
    EXPECT_EQ(desktop.msgBoxes.size() + desktop.systemMessages.size(), 1u);
    for (const auto& box : desktop.msgBoxes) EXPECT_EQ(box.prompt.find("saved"), std::string::npos);
}

}  // namespace
}  // namespace bw::test
