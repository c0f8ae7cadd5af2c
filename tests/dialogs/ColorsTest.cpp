#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>

#include "app/QtColor.h"
#include "dialogs/frmColors.h"
#include "platform/Profile.h"
#include "support/AppFixture.h"

namespace bw {
namespace {

constexpr const char* kOldPattern = "C:\\Patterns\\old.bmp";
constexpr const char* kNewPattern = "C:\\Patterns\\new.bmp";
constexpr const char* kSavedNotice = "Your color settings have been saved.";
constexpr const char* kQuestion = "You have changed the colors. Do you want to save these changes?";
constexpr int32_t kChosen = 0x336699;  // red 0x99, green 0x66, blue 0x33
const std::string kChosenText = std::to_string(kChosen);

class ColorsDialog : public test::AppFixture {
  protected:
    ColorsDialog() {
        c.createDir("Patterns");
        for (auto [name, color] : {std::pair{"old", Qt::red}, std::pair{"new", Qt::blue}}) {
            QImage tile(64, 64, QImage::Format_RGB32);
            tile.fill(color);
            tile.save(QString::fromStdString(onC("Patterns/" + std::string(name) + ".bmp")), "BMP");
        }
    }

    // The dialog over a fresh start: old pattern, button colour 255, no settings file written.
    std::unique_ptr<frmColors> Open() {
        ::unlink(prefix.host("Brindlewood.ini").c_str());
        app->settings.iniPath = iniPath;
        app->settings.BackPattern = kOldPattern;
        app->settings.ButtonColor = 255;
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

    const std::string iniPath = app->settings.iniPath;
};

QColor CentreOf(QWidget& w) { return w.grab().toImage().pixelColor(w.width() / 2, w.height() / 2); }

// A user's session in the dialog: P new pattern, C new button colour, p and c the same choosers
// cancelled, K right-click the pattern, R Revert, X Exit, W the close control, S Save, F the
// settings file made unwritable, with the message-box answers queued in order. "-" as a written
// value: the settings file was not written.
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
    {"colour, close, Yes", "CW", {6}, true, kOldPattern, kChosen, kOldPattern, kChosenText,
     {kQuestion, kSavedNotice}},
    {"pattern, colour, Exit, Cancel, Save", "PCXS", {2}, true, kOldPattern, kChosen, kOldPattern,
     kChosenText, {kQuestion, kSavedNotice}},
    {"failed save", "CFS", {}, false, kOldPattern, 255, "-", "-",
     {"An error, 53: 'File not found' has occurred in frmColors_cmdSave_Click."}},
    {"pattern, colour, Save", "PCS", {}, true, kNewPattern, kChosen, kNewPattern, kChosenText,
     {kSavedNotice}},
};
// clang-format on

TEST_F(ColorsDialog, PatternAndColoursEndUpWhereTheUserExpects) {
    for (const Session& s : kSessions) {
        SCOPED_TRACE(s.name);
        desktop.msgBoxes.clear();
        desktop.systemMessages.clear();
        desktop.msgAnswers = s.answers;
        auto dlg = Open();
        for (const char* step = s.steps; *step; ++step) {
            if (*step == 'p') dlg->chooseImage = [] { return std::string(); };
            if (*step == 'c') dlg->chooseColor = [] { return std::optional<QColor>(); };
            if (*step == 'p' || *step == 'P') dlg->cmdPattern->click();
            if (*step == 'c' || *step == 'C') dlg->cmdColor[3]->click();
            if (*step == 'R') dlg->cmdRevert->click();
            if (*step == 'X') dlg->cmdCancel->click();
            if (*step == 'W') dlg->close();
            if (*step == 'F') app->settings.iniPath = "C:\\missing\\Brindlewood.ini";
            if (*step == 'S') dlg->cmdSave->click();
            QMouseEvent rightClick(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5),
                                   Qt::RightButton, Qt::NoButton, Qt::NoModifier);
            if (*step == 'K') QApplication::sendEvent(dlg->cmdPattern, &rightClick);
        }
        EXPECT_EQ(!dlg->isVisible(), s.closed);
        EXPECT_EQ(app->settings.BackPattern, s.patternInMemory);
        EXPECT_EQ(app->settings.ButtonColor, s.buttonColorInMemory);
        EXPECT_EQ(Written("AVSettings", "BackPattern"), s.patternWritten);
        EXPECT_EQ(Written("Colors", "ButtonColor"), s.buttonColorWritten);
        std::vector<std::string> prompts;  // every box shown, the program's and the system's
        for (const auto* boxes : {&desktop.msgBoxes, &desktop.systemMessages})
            for (const auto& b : *boxes) prompts.push_back(b.prompt);
        EXPECT_EQ(prompts, s.prompts);
    }
}

TEST_F(ColorsDialog, SaveWritesMoveFileAndTheSavedColourShowsAfterwards) {
    for (bool move : {true, false}) {
        {
            app->settings.MoveFile = move;
            auto dlg = Open();
            dlg->cmdColor[3]->click();
            dlg->cmdSave->click();
            EXPECT_EQ(Written("AVSettings", "MoveFile"), move ? "True" : "False");
        }
        auto again = std::make_unique<frmColors>(*app, nullptr);
        again->show();
        EXPECT_EQ(CentreOf(*again->cmdColor[3]), ColorFromNumber(kChosen));
        EXPECT_EQ(CentreOf(*again->cmdPattern), QColor(Qt::red));
    }
}

}  // namespace
}  // namespace bw
