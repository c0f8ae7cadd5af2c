#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "app/QtColor.h"
#include "dialogs/frmColors.h"
#include "platform/Profile.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

using test::AppFixture;

constexpr const char* kOldPattern = "C:\\Patterns\\old.bmp";
constexpr const char* kNewPattern = "C:\\Patterns\\new.bmp";
constexpr const char* kSavedNotice = "Your color settings have been saved.";
constexpr const char* kQuestion = "You have changed the colors. Do you want to save these changes?";
constexpr int32_t kChosen = 0x336699;  // red 0x99, green 0x66, blue 0x33

class ColorsDialog : public AppFixture {
  protected:
    ColorsDialog() {
        SaveTile("Patterns/old.bmp", Qt::red);
        SaveTile("Patterns/new.bmp", Qt::blue);
        app->settings.BackPattern = kOldPattern;
        app->settings.ButtonColor = 255;
    }

    void SaveTile(const std::string& rel, QColor color) {
        c.createDir("Patterns");
        QImage tile(64, 64, QImage::Format_RGB32);
        tile.fill(color);
        ASSERT_TRUE(tile.save(QString::fromStdString(onC(rel)), "BMP"));
    }

    std::unique_ptr<frmColors> Open() {
        auto dlg = std::make_unique<frmColors>(*app, nullptr);
        dlg->chooseColor = [] { return std::optional<QColor>(ColorFromNumber(kChosen)); };
        dlg->chooseImage = [this] { return onC("Patterns/new.bmp"); };
        dlg->show();
        return dlg;
    }

    // The value written to the settings file, or "-".
    std::string Written(const char* section, const char* key) const {
        return GetPrivateProfileString(section, key, "-", prefix.host("Brindlewood.ini"), 1024);
    }

    std::vector<std::string> Prompts() const {
        std::vector<std::string> p;
        for (const auto& b : desktop.msgBoxes) p.push_back(b.prompt);
        return p;
    }
};

QColor CentreOf(QWidget& w) { return w.grab().toImage().pixelColor(w.width() / 2, w.height() / 2); }

void RightClick(QWidget& w) {
    const QPointF at(w.width() / 2.0, w.height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, w.mapToGlobal(at), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w.mapToGlobal(at), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    QApplication::sendEvent(&w, &release);
}

TEST_F(ColorsDialog, ButtonsShowTheirColoursAndThePattern) {
    app->settings.TextColor = 0x00FF00;
    auto dlg = Open();
    EXPECT_EQ(CentreOf(*dlg->cmdColor[0]), ColorFromNumber(app->settings.BackColor));
    EXPECT_EQ(CentreOf(*dlg->cmdColor[2]), QColor(0, 255, 0));
    EXPECT_EQ(CentreOf(*dlg->cmdColor[3]), QColor(255, 0, 0));
    EXPECT_EQ(CentreOf(*dlg->cmdPattern), QColor(255, 0, 0));
    RightClick(*dlg->cmdPattern);
    EXPECT_EQ(CentreOf(*dlg->cmdPattern), QColor(0, 0, 0));
    EXPECT_EQ(app->settings.BackPattern, "");
    dlg->cmdColor[2]->click();
    EXPECT_EQ(CentreOf(*dlg->cmdColor[2]), ColorFromNumber(kChosen));
}

// A user's session in the dialog: P new pattern, C new button colour, p and c the same choosers
// cancelled, K right-click the pattern, R Revert, X Exit, W the close control, S Save, with the
// message-box answers queued in order. "-" as a written value: the settings file was not written.
struct Session {
    const char* name;
    const char* steps;
    std::deque<int> answers;
    bool closed;
    std::string patternInMemory;
    int32_t buttonColorInMemory;
    std::string patternWritten, buttonColorWritten;
    std::vector<std::string> prompts;
};

const std::string kChosenText = std::to_string(kChosen);

// clang-format off
const Session kSessions[] = {
    {"pattern, Exit", "PX", {}, true, kOldPattern, 255, "-", "-", {}},
    {"pattern, close control", "PW", {}, true, kNewPattern, 255, "-", "-", {}},
    {"right-click, close control", "KW", {}, true, "", 255, "-", "-", {}},
    {"cancelled choosers", "cpW", {}, true, kOldPattern, 255, "-", "-", {}},
    {"Revert, Exit", "RX", {}, true, kOldPattern, 255, "-", "-", {}},
    {"Revert, Save", "RS", {}, true, "", -2147483633, "", "-2147483633", {kSavedNotice}},
    {"colour, close, No", "CW", {7}, true, kOldPattern, 255, "-", "-", {kQuestion}},
    {"colour, close, Cancel", "CW", {2}, false, kOldPattern, 255, "-", "-", {kQuestion}},
    {"colour, close, Yes", "CW", {6}, true, kOldPattern, kChosen, kOldPattern, kChosenText, {kQuestion, kSavedNotice}},
    {"pattern, colour, Exit, Cancel, Save", "PCXS", {2}, true, kOldPattern, kChosen, kOldPattern, kChosenText, {kQuestion, kSavedNotice}},
    {"pattern, colour, Save", "PCS", {}, true, kNewPattern, kChosen, kNewPattern, kChosenText, {kSavedNotice}},
};
// clang-format on

TEST_F(ColorsDialog, PatternAndColoursEndUpWhereTheUserExpects) {
    for (const Session& s : kSessions) {
        SCOPED_TRACE(s.name);
        ::unlink(prefix.host("Brindlewood.ini").c_str());
        desktop.msgBoxes.clear();
        desktop.msgAnswers = s.answers;
        app->settings.BackPattern = kOldPattern;
        app->settings.ButtonColor = 255;
        auto dlg = Open();
        for (const char* step = s.steps; *step; ++step) {
            if (*step == 'p') dlg->chooseImage = [] { return std::string(); };
            if (*step == 'c') dlg->chooseColor = [] { return std::optional<QColor>(); };
            switch (*step) {
                case 'p':
                case 'P':
                    dlg->cmdPattern->click();
                    break;
                case 'c':
                case 'C':
                    dlg->cmdColor[3]->click();
                    break;
                case 'K':
                    RightClick(*dlg->cmdPattern);
                    break;
                case 'R':
                    dlg->cmdRevert->click();
                    break;
                case 'X':
                    dlg->cmdCancel->click();
                    break;
                case 'W':
                    dlg->close();
                    break;
                case 'S':
                    dlg->cmdSave->click();
                    break;
            }
        }
        EXPECT_EQ(!dlg->isVisible(), s.closed);
        EXPECT_EQ(app->settings.BackPattern, s.patternInMemory);
        EXPECT_EQ(app->settings.ButtonColor, s.buttonColorInMemory);
        EXPECT_EQ(Written("AVSettings", "BackPattern"), s.patternWritten);
        EXPECT_EQ(Written("Colors", "ButtonColor"), s.buttonColorWritten);
        EXPECT_EQ(Prompts(), s.prompts);
    }
}

TEST_F(ColorsDialog, ModalDialogReturnsWhenExitIsClicked) {
    QTimer::singleShot(0, [] {
        if (auto* dlg = qobject_cast<frmColors*>(QApplication::activeModalWidget()))
            dlg->cmdCancel->click();
    });
    ShowColors(*app, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

class ColorsMoveFile : public ColorsDialog, public ::testing::WithParamInterface<bool> {};

TEST_P(ColorsMoveFile, SaveWritesTheCurrentMoveFile) {
    app->settings.MoveFile = GetParam();
    WritePrivateProfileString("AVSettings", "MoveFile", GetParam() ? "False" : "True",
                              prefix.host("Brindlewood.ini"));
    auto dlg = Open();
    dlg->cmdSave->click();
    EXPECT_EQ(Written("AVSettings", "MoveFile"), GetParam() ? "True" : "False");
}

INSTANTIATE_TEST_SUITE_P(Cases, ColorsMoveFile, ::testing::Bool());

TEST_F(ColorsDialog, SavedColourShowsWhenTheDialogOpensAgain) {
    {
        auto dlg = Open();
        dlg->cmdColor[3]->click();
        dlg->cmdSave->click();
    }
    EXPECT_EQ(app->settings.ButtonColor, kChosen);
    auto again = Open();
    EXPECT_EQ(CentreOf(*again->cmdColor[3]), ColorFromNumber(kChosen));
}

TEST_F(ColorsDialog, FailedSaveIsReportedAndNothingIsTaken) {
    app->settings.iniPath = "C:\\missing\\Brindlewood.ini";
    auto dlg = Open();
    dlg->cmdColor[3]->click();
    dlg->cmdSave->click();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(app->settings.ButtonColor, 255);
    const auto prompts = Prompts();
    EXPECT_EQ(std::count(prompts.begin(), prompts.end(), kSavedNotice), 0);
    EXPECT_EQ(desktop.msgBoxes.size() + desktop.systemMessages.size(), 1u);
}

TEST_F(ColorsDialog, ImageThatIsNoPictureIsReportedAndIgnored) {
    const std::string bogus = c.createFile("Patterns/notes.jpg", "just text");
    auto dlg = Open();
    dlg->chooseImage = [&] { return bogus; };
    dlg->cmdPattern->click();
    EXPECT_EQ(app->settings.BackPattern, kOldPattern);
    ASSERT_EQ(desktop.systemMessages.size(), 1u);
    EXPECT_NE(desktop.systemMessages[0].prompt.find("frmColors_cmdPattern_Click"),
              std::string::npos);
}

}  // namespace
}  // namespace bw
