#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "platform/WindowList.h"
#include "support/AppFixture.h"
#include "ui/frmAbout.h"

namespace bw {
namespace {

class FixedWindows : public WindowList {
  public:
    std::vector<std::string> titles;
    std::vector<std::string> Titles() override { return titles; }
};

using AboutBox = test::AppFixture;

TEST_F(AboutBox, StatusLinesFollowTheOpenWindows) {
    const std::string open =
                          "Poser status: open in background.!|It is NOT safe to delete Poser "
                          "object files.!|",
                      closed = "Poser status: closed.|It is safe to delete Poser object files.|";
    FixedWindows windows;
    app->windows = &windows;
    // Only the exact, case-sensitive "s Poser" in any window's title counts.
    // clang-format off
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{"Terminal", "Poser 4 - Jo's Poser"}, true}, {{"Editors Poser scene"}, true},
        {{"s Poser", "", "Other"}, true}, {{}, false},
        {{"Poser 4", "xxPoser", "s  Poser", "S Poser", "Fred's POSER", "his poser"}, false},
    };
    // clang-format on
    for (const auto& [titles, running] : cases) {
        windows.titles = titles;
        std::string texts;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            // Each line, and "!" where it stands on the red warning background.
            for (QLabel* l : {box->lblPoser, box->lblSafetoDelete}) {
                const bool red = l->grab().toImage().pixelColor(1, 1) == QColor(Qt::red);
                texts += l->text().toStdString() + (red ? "!|" : "|");
            }
            box->cmdOk->click();
        });
        ShowAbout(*app, nullptr);
        EXPECT_EQ(texts, running ? open : closed);
    }
}

TEST_F(AboutBox, SystemInfoWithNothingOnThePathShowsTheNotice) {
    const std::string saved = ::getenv("PATH") ? ::getenv("PATH") : "";
    test::TestDir empty;
    ::setenv("PATH", empty.path().c_str(), 1);
    frmAbout(*app, nullptr, false).cmdSysInfo->click();
    ::setenv("PATH", saved.c_str(), 1);
    ASSERT_EQ(desktop.systemMessages.size(), 1u);
    EXPECT_EQ(desktop.systemMessages[0].prompt, "System Information Is Unavailable At This Time");
    EXPECT_EQ(desktop.systemMessages[0].title, "Brindlewood");
}

}  // namespace
}  // namespace bw
