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
#include "platform/WindowList.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

class FixedWindows : public WindowList {
  public:
    std::vector<std::string> titles;
    std::vector<std::string> Titles() override { return titles; }
};

// The colour the label shows where its text does not reach.
QColor BackgroundOf(QLabel& label) {
    const QPoint p = label.geometry().topRight() + QPoint(-2, label.height() / 2);
    return label.window()->grab().toImage().pixelColor(p);
}

class AboutBox : public test::AppFixture {};

TEST_F(AboutBox, StatusLinesAndTheirBackgroundFollowTheOpenWindows) {
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{"Terminal", "Poser 4 - Jo's Poser", "Files"}, true},
        {{"Poser 4", "POSER", "his poser"}, false},
        {{}, false},
    };
    const std::vector<std::string> open = {"Poser status: open in background.",
                                           "It is NOT safe to delete Poser object files."},
                                   closed = {"Poser status: closed.",
                                             "It is safe to delete Poser object files."};
    FixedWindows windows;
    app->windows = &windows;
    for (const auto& [titles, running] : cases) {
        windows.titles = titles;
        std::vector<std::string> texts;
        std::vector<bool> red;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            for (QLabel* l : {box->lblPoser, box->lblSafetoDelete}) {
                texts.push_back(l->text().toStdString());
                red.push_back(BackgroundOf(*l) == QColor(255, 0, 0));
            }
            box->cmdOk->click();
        });
        ShowAbout(*app, nullptr);
        EXPECT_EQ(texts, running ? open : closed);
        EXPECT_EQ(red, std::vector<bool>(2, running));
    }
}

TEST_F(AboutBox, SystemInfoButtonWithNothingOnPathShowsTheNotice) {
    const std::string saved = ::getenv("PATH") ? ::getenv("PATH") : "";
    test::TestDir empty;
    ::setenv("PATH", empty.path().c_str(), 1);
    frmAbout box(*app, nullptr, false);
    box.cmdSysInfo->click();
    ::setenv("PATH", saved.c_str(), 1);
    ASSERT_EQ(desktop.systemMessages.size(), 1u);
    EXPECT_EQ(desktop.systemMessages[0].prompt, "System Information Is Unavailable At This Time");
    EXPECT_EQ(desktop.systemMessages[0].title, "Brindlewood");
    EXPECT_TRUE(StartDetached("/bin/true"));
    EXPECT_FALSE(StartDetached("/nonexistent/hardinfo"));
}

TEST(SysInfo, FirstExecutableOfTheListStartsOrTheNoticeShows) {
    test::TestDir dir;
    ::chmod(dir.createFile("bin/hardinfo2", "#!/bin/sh\n").c_str(), 0644);  // not executable
    dir.createDir("bin/hardinfo");
    ::chmod(dir.createFile("bin/xfce4-taskmanager", "#!/bin/sh\n").c_str(), 0755);
    ::chmod(dir.createFile("bin/kinfocenter", "#!/bin/sh\n").c_str(), 0755);
    for (bool starts : {false, true}) {
        test::FakeDesktop desktop;
        std::vector<std::string> started;
        StartSysInfo(desktop, ":" + dir.host("bin"), [&](const std::string& program) {
            started.push_back(program);
            return starts;
        });
        EXPECT_EQ(started, std::vector{dir.host("bin/kinfocenter")});
        EXPECT_EQ(desktop.systemMessages.size(), starts ? 0u : 1u);
    }
}

}  // namespace
}  // namespace bw
