#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>

#include "platform/Profile.h"
#include "support/AppFixture.h"
#include "ui/QtColor.h"
#include "ui/frmColors.h"

namespace bw {
namespace {

constexpr const char* kOldPattern = "C:\\Patterns\\old.bmp";
constexpr const char* kNewPattern = "C:\\Patterns\\new.bmp";
constexpr const char* kSavedNotice = "Your color settings have been saved.";
constexpr const char* kQuestion = "You have changed the colors. Do you want to save these changes?";
constexpr int32_t kChosen = 0x336699;  // red 0x99, green 0x66, blue 0x33

using ColorsDialog = test::AppFixture;

QColor CentreOf(QWidget& w) { return w.grab().toImage().pixelColor(w.width() / 2, w.height() / 2); }

// A user's session in the dialog: P new pattern, C new button colour, p and c the same choosers
// cancelled, K right-click the pattern, R Revert, X Exit, W the close control, S Save, F the
// settings file made unwritable; the message-box answers queued in order; what is kept in
// memory, whether the settings file was written, and every box shown.
struct Session {
    const char *name, *steps;
    std::deque<int> answers;
    bool closed;
    std::string pattern;
    int32_t buttonColor;
    bool written;
    std::vector<std::string> prompts;
};

// clang-format off
const Session kSessions[] = {
    {"pattern, Exit", "PX", {}, true, kOldPattern, 255, false, {}},
    {"pattern, close control", "PW", {}, true, kNewPattern, 255, false, {}},
    {"right-click, close control", "KW", {}, true, "", 255, false, {}},
    {"cancelled choosers", "cpW", {}, true, kOldPattern, 255, false, {}},
    {"Revert, Exit", "RX", {}, true, kOldPattern, 255, false, {}},
    {"Revert, Save", "RS", {}, true, "", -2147483633, true, {kSavedNotice}},
    {"colour, close, No", "CW", {7}, true, kOldPattern, 255, false, {kQuestion}},
    {"colour, close, Cancel", "CW", {2}, false, kOldPattern, 255, false, {kQuestion}},
    {"colour, close, Yes", "CW", {6}, true, kOldPattern, kChosen, true, {kQuestion, kSavedNotice}},
    {"failed save", "CFS", {}, false, kOldPattern, 255, false,
     {"The drive is not ready. Please insert a disk and try again."}},  // a missing folder
    {"pattern, colour, Exit, Cancel, Save", "PCXS", {2}, true, kOldPattern, kChosen, true,
     {kQuestion, kSavedNotice}},
    {"pattern, colour, Save", "PCS", {}, true, kNewPattern, kChosen, true, {kSavedNotice}},
};
// clang-format on

TEST_F(ColorsDialog, PatternAndColoursEndUpWhereTheUserExpects) {
    c.createDir("Patterns");
    for (auto [name, color] : {std::pair{"old", Qt::red}, std::pair{"new", Qt::blue}}) {
        QImage tile(64, 64, QImage::Format_RGB32);
        tile.fill(color);
        tile.save(QString::fromStdString(onC("Patterns/" + std::string(name) + ".bmp")), "BMP");
    }
    const std::string iniPath = app->settings.iniPath;
    auto Written = [&](const char* section, const char* key) {
        return GetPrivateProfileString(section, key, "-", prefix.host("Brindlewood.ini"), 1024);
    };
    for (const Session& s : kSessions) {
        SCOPED_TRACE(s.name);
        desktop.msgBoxes.clear();
        desktop.systemMessages.clear();
        desktop.msgAnswers = s.answers;
        ::unlink(prefix.host("Brindlewood.ini").c_str());  // a fresh start
        app->settings.iniPath = iniPath;
        app->settings.BackPattern = kOldPattern;
        app->settings.ButtonColor = 255;
        app->settings.MoveFile = false;
        auto dlg = std::make_unique<frmColors>(*app, nullptr);
        dlg->chooseColor = [] { return std::optional<QColor>(ColorFromNumber(kChosen)); };
        dlg->chooseImage = [this] { return onC("Patterns/new.bmp"); };
        dlg->show();
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
        EXPECT_EQ(app->settings.BackPattern, s.pattern);
        EXPECT_EQ(app->settings.ButtonColor, s.buttonColor);
        EXPECT_EQ(Written("AVSettings", "BackPattern"), s.written ? s.pattern : "-");
        EXPECT_EQ(Written("Colors", "ButtonColor"),
                  s.written ? std::to_string(s.buttonColor) : "-");
        EXPECT_EQ(Written("AVSettings", "MoveFile"), s.written ? "False" : "-");
        std::vector<std::string> prompts;  // every box shown, the program's and the system's
        for (const auto* boxes : {&desktop.msgBoxes, &desktop.systemMessages})
            for (const auto& b : *boxes) prompts.push_back(b.prompt);
        EXPECT_EQ(prompts, s.prompts);
    }
    frmColors again(*app, nullptr);  // the last session saved: a new dialog shows its choices
    again.show();
    EXPECT_EQ(CentreOf(*again.cmdColor[3]), ColorFromNumber(kChosen));
    EXPECT_EQ(CentreOf(*again.cmdPattern), QColor(Qt::blue));
}

// A pattern is refused, with the picture error, when the next start would drop it: it must be a
// picture, named .jpg, .gif or .bmp in lower case, and its path must fit the settings reader.
TEST_F(ColorsDialog, PatternsTheNextStartWouldDropAreRefused) {
    const std::string kRefused =
        "An error, 481: 'Invalid picture' has occurred in frmColors_cmdPattern_Click.";
    const std::string fits =
        "P/" + std::string(40, 'a') + ".bmp";  // 49 characters, the most read back
    const std::string tooLong = "P/" + std::string(43, 'a') + ".bmp";  // 52 characters
    const std::pair<std::string, bool> cases[] = {
        // file on C: (saved as a BMP picture unless named .png) -> accepted
        {"P/paper.bmp", true},          {fits, true},     {"P/paper.png", false},
        {"P/paper.JPG", false},         {tooLong, false}, {"P/paper.bmp ", false},
        {"P/not a picture.jpg", false},
    };
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(Qt::green);
    for (const auto& [file, accepted] : cases) {
        SCOPED_TRACE(file);
        const std::string host = onC(file);
        c.createFile(file, "");
        if (file.find("not a picture") == std::string::npos)
            tile.save(QString::fromStdString(host), file.ends_with(".png") ? "PNG" : "BMP");
        desktop.systemMessages.clear();
        app->settings.BackPattern = kOldPattern;
        frmColors dlg(*app, nullptr);
        dlg.chooseImage = [&] { return host; };
        dlg.cmdPattern->click();
        EXPECT_EQ(app->settings.BackPattern, accepted ? app->fs->WindowsPath(host) : kOldPattern);
        std::vector<std::string> shown;
        for (const auto& box : desktop.systemMessages) shown.push_back(box.prompt);
        EXPECT_EQ(shown,
                  accepted ? std::vector<std::string>{} : std::vector<std::string>{kRefused});
    }
}

}  // namespace
}  // namespace bw
