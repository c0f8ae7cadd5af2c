#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "support/AppFixture.h"
#include "ui/FormColors.h"
#include "ui/QtColor.h"
#include "ui/Shape.h"

namespace bw {
namespace {

const QColor kBack(10, 20, 30), kShadow(40, 50, 60), kText(70, 80, 90), kButton(100, 110, 120);

Settings Scheme(const std::string& pattern = "") {
    Settings s;
    std::tie(s.BackColor, s.ShadowColor, s.TextColor, s.ButtonColor, s.BackPattern) =
        std::tuple(NumberFromColor(kBack), NumberFromColor(kShadow), NumberFromColor(kText),
                   NumberFromColor(kButton), pattern);
    return s;
}

QColor Role(const QWidget* w, QPalette::ColorRole role) { return w->palette().color(role); }

TEST(ApplyFormColors, StylesEachKindOfControl) {
    using enum QPalette::ColorRole;
    QWidget win;
    auto* fra = new QFrame(&win);
    auto* lin = new QFrame(&win);
    lin->setFrameShape(QFrame::VLine);
    QWidget *cmd = new QPushButton(&win), *chk = new QCheckBox(&win);
    auto* txt = new QLineEdit(&win);
    const QColor editBase = Role(txt, Base);
    const std::tuple<QWidget*, const char*, QPalette::ColorRole, QColor, bool> rows[] = {
        // clang-format off
        {&win, "frmTest", Window, kBack, true}, {cmd, "cmdSave", Button, kButton, false},
        {new QLabel(fra), "lblStatus", WindowText, kText, false}, {chk, "chkConfirm", Window, kBack, true},
        {chk, "chkConfirm", WindowText, kText, true}, {new QRadioButton(&win), "optDelete", WindowText, kText, true},
        {new QWidget(&win), "Shape3", Window, kShadow, true}, {lin, "Line1", WindowText, kText, false},
        {new QGroupBox(&win), "fraOptions", Window, kBack, true}, {fra, "fraScan", WindowText, kText, true},
        {txt, "txtReason", Base, editBase, false},
        {new QLabel(&win), "pctTalk", Window, kBack, false},  // left alone: the window's, unfilled
        // clang-format on
    };
    for (const auto& [w, name, role, color, filled] : rows) w->setObjectName(name);
    Shape* shp = AttachShadow(*cmd, "shpSave");
    test::FakeDesktop desktop;
    ApplyFormColors(win, Scheme(), desktop);
    for (const auto& [w, name, role, color, filled] : rows) {
        EXPECT_EQ(Role(w, role), color) << name;
        EXPECT_EQ(w->autoFillBackground(), filled) << name;
        if (filled && role == Window) {  // filled with the colour set, whatever role it paints
            EXPECT_EQ(Role(w, w->backgroundRole()), color) << name;
        }
    }
    EXPECT_EQ(shp->fillColor(), kShadow);
    EXPECT_EQ(shp->outlineColor(), kText);

    ApplyFormColors(win, Settings{}, desktop);  // by default: the system's button face
    EXPECT_EQ(Role(cmd, Button), QApplication::palette().color(QPalette::Button));
}

// Colours its boxes as the program's own do: reporting a bad pattern must not report again.
class ColouringDesktop : public test::FakeDesktop {
  public:
    Settings settings;
    const DriveMap* drives = nullptr;
    int ShowMsgBox(const std::string& prompt, int style, const std::string& title) override {
        QWidget box;
        ApplyFormColors(box, settings, *this, drives);
        return FakeDesktop::ShowMsgBox(prompt, style, title);
    }
};

TEST(ApplyFormColors, PatternIsTiledOverTheWindowOrReportedAndTheColourKept) {
    test::TestDir dir;
    const DriveMap drives = DriveMap::FromDrives({{"C:", dir.path()}});
    QImage tile(64, 64, QImage::Format_RGB32);
    tile.fill(Qt::gray);
    tile.setPixelColor(0, 0, Qt::red);
    dir.createDir("Art");
    ASSERT_TRUE(tile.save(QString::fromStdString(dir.host("Art/Tile.bmp"))));
    dir.createFile("bad.gif", "not a picture");
    // clang-format off
    const std::tuple<const char*, bool, std::string> cases[] = {  // pattern, own box, report
        {"C:\\art\\TILE.BMP", false, ""},
        {"C:\\gone.jpg", false, "An error, 53: 'File not found' has occurred in ApplyFormColors: frmTest."},
        {"C:\\bad.gif", false, "An error, 481: 'Invalid picture' has occurred in ApplyFormColors: frmTest."},
        {"Q:\\p.jpg", true, "The drive is not ready. Please insert a disk and try again."},
    };
    // clang-format on
    for (const auto& [pattern, ownBox, report] : cases) {
        SCOPED_TRACE(pattern);
        QWidget window;
        window.setObjectName("frmTest");
        window.resize(300, 200);
        ColouringDesktop d;
        d.settings = Scheme(pattern);
        d.drives = &drives;
        ApplyFormColors(window, d.settings, d, &drives);
        const QBrush bg = window.palette().brush(QPalette::Window);
        if (report.empty()) {
            EXPECT_TRUE(d.msgBoxes.empty() && d.systemMessages.empty());
            ASSERT_EQ(bg.textureImage().size(), QSize(300, 200));
            EXPECT_EQ(PatternTiles(QSize(300, 200), QSize(64, 64)).size(), 20u);  // 5 x 4
            for (int x = 0; x < 300; x += 64)
                for (int y = 0; y < 200; y += 64)
                    EXPECT_EQ(bg.textureImage().pixelColor(x, y), QColor(Qt::red)) << x << y;
            continue;
        }
        ASSERT_EQ(d.msgBoxes.size() + d.systemMessages.size(), 1u);
        const auto& shown = ownBox ? d.msgBoxes : d.systemMessages;
        EXPECT_EQ(shown.empty() ? "" : shown[0].prompt, report);
        EXPECT_EQ(bg.style(), Qt::SolidPattern);
        EXPECT_EQ(bg.color(), kBack);
        ApplyFormColors(window, d.settings, d, &drives);  // the next window reports again
        EXPECT_EQ(d.msgBoxes.size() + d.systemMessages.size(), 2u);
    }
    EXPECT_TRUE(PatternTiles(QSize(300, 200), QSize(0, 64)).empty());
}

}  // namespace
}  // namespace bw
