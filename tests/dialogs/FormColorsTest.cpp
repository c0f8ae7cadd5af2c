#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <set>

#include "app/QtColor.h"
#include "app/Settings.h"
#include "dialogs/FormColors.h"
#include "dialogs/Shape.h"
#include "platform/DriveMap.h"
#include "support/FakeDesktop.h"
#include "support/TestDir.h"

namespace bw {
namespace {

const QColor kBack(10, 20, 30), kShadow(40, 50, 60), kText(70, 80, 90), kButton(100, 110, 120);

Settings Scheme() {
    Settings s;
    s.BackColor = NumberFromColor(kBack);
    s.ShadowColor = NumberFromColor(kShadow);
    s.TextColor = NumberFromColor(kText);
    s.ButtonColor = NumberFromColor(kButton);
    return s;
}

// A window with a control of every kind, some known by class and some only by name.
struct Form {
    QWidget window;
    template <typename W>
    W* Add(const char* name, QWidget* parent = nullptr) {
        auto* w = new W(parent ? parent : &window);
        w->setObjectName(name);
        return w;
    }
    QLabel* lbl = Add<QLabel>("lblMain");
    QPushButton* cmd = Add<QPushButton>("cmdSave");
    QCheckBox* chk = Add<QCheckBox>("chkConfirm");
    QRadioButton* opt = Add<QRadioButton>("optDelete");
    Shape* shp = AttachShadow(*cmd, "shpSave");
    QWidget* plainShape = Add<QWidget>("Shape3");
    QFrame* lin = Add<QFrame>("Line1");
    QGroupBox* box = Add<QGroupBox>("fraOptions");
    QFrame* fra = Add<QFrame>("fraScan");
    QLabel* inFrame = Add<QLabel>("lblStatus", fra);
    QWidget* pctShadow = Add<QWidget>("pctShadow");
    QLabel* pctTalk = Add<QLabel>("pctTalk");
    QLineEdit* txt = Add<QLineEdit>("txtReason");
    Form() {
        window.setObjectName("frmTest");
        window.resize(300, 200);
        lin->setFrameShape(QFrame::VLine);
    }
};

QColor Role(const QWidget* w, QPalette::ColorRole role) { return w->palette().color(role); }

TEST(ApplyFormColors, StylesEachKindOfControl) {
    Form f;
    const QColor editBase = Role(f.txt, QPalette::Base);
    test::FakeDesktop desktop;
    ApplyFormColors(f.window, Scheme(), desktop);
    struct {
        const QWidget* w;
        QPalette::ColorRole role;
        QColor color;
        bool filled;
    } expects[] = {
        {&f.window, QPalette::Window, kBack, true},
        {f.lbl, QPalette::WindowText, kText, false},
        {f.inFrame, QPalette::WindowText, kText, false},
        {f.cmd, QPalette::Button, kButton, false},
        {f.chk, QPalette::Window, kBack, true},
        {f.chk, QPalette::WindowText, kText, true},
        {f.opt, QPalette::Window, kBack, true},
        {f.opt, QPalette::WindowText, kText, true},
        {f.plainShape, QPalette::Window, kShadow, true},
        {f.lin, QPalette::WindowText, kText, false},
        {f.box, QPalette::Window, kBack, true},
        {f.fra, QPalette::WindowText, kText, true},
        {f.pctShadow, QPalette::Window, kShadow, true},
        {f.pctTalk, QPalette::Window, kBack, false},  // left alone: the window's, unfilled
        {f.txt, QPalette::Base, editBase, false},
    };
    for (const auto& e : expects) {
        EXPECT_EQ(Role(e.w, e.role), e.color) << e.w->objectName().toStdString();
        EXPECT_EQ(e.w->autoFillBackground(), e.filled) << e.w->objectName().toStdString();
    }
    EXPECT_EQ(f.shp->fillColor(), kShadow);
    EXPECT_EQ(f.shp->outlineColor(), kText);

    Settings system = Scheme();
    system.ButtonColor = -2147483633;  // the button face
    ApplyFormColors(f.window, system, desktop);
    EXPECT_EQ(Role(f.cmd, QPalette::Button), QApplication::palette().color(QPalette::Button));
}

TEST(PatternTiles, CoversTheAreaOnceFromTheTopLeft) {
    const auto tiles = PatternTiles(QSize(300, 200), QSize(64, 64));
    std::set<int> xs, ys;
    for (const QRect& t : tiles) {
        xs.insert(t.x());
        ys.insert(t.y());
    }
    EXPECT_EQ(tiles.size(), 20u);
    EXPECT_EQ(xs, (std::set<int>{0, 64, 128, 192, 256}));
    EXPECT_EQ(ys, (std::set<int>{0, 64, 128, 192}));
    EXPECT_TRUE(PatternTiles(QSize(300, 200), QSize(0, 64)).empty());
}

class Pattern : public ::testing::Test {
  protected:
    test::TestDir dir;
    DriveMap drives = DriveMap::FromDrives({{"C:", dir.path()}});
    test::FakeDesktop desktop;
    Form form;
};

TEST_F(Pattern, WindowsPathIsTiledOverTheWindow) {
    QImage tile(64, 64, QImage::Format_RGB32);
    tile.fill(Qt::gray);
    tile.setPixelColor(0, 0, Qt::red);
    tile.setPixelColor(63, 63, Qt::blue);
    dir.createDir("Art");
    ASSERT_TRUE(tile.save(QString::fromStdString(dir.host("Art/Tile.bmp"))));
    Settings s = Scheme();
    s.BackPattern = "C:\\art\\TILE.BMP";
    ApplyFormColors(form.window, s, desktop, &drives);
    EXPECT_TRUE(desktop.msgBoxes.empty() && desktop.systemMessages.empty());
    const QImage bg = form.window.palette().brush(QPalette::Window).textureImage();
    ASSERT_EQ(bg.size(), QSize(300, 200));
    for (int x : {0, 64, 128, 192, 256}) {
        for (int y : {0, 64, 128, 192}) EXPECT_EQ(bg.pixelColor(x, y), QColor(Qt::red)) << x << y;
    }
    EXPECT_EQ(bg.pixelColor(255, 191), QColor(Qt::blue));
    EXPECT_EQ(Role(form.lbl, QPalette::WindowText), kText);
}

TEST_F(Pattern, UnloadableIsReportedAndTheWindowKeepsItsColour) {
    dir.createFile("bad.gif", "not a picture");
    struct {
        const char* pattern;
        bool ownBox;
        std::string text;
    } cases[] = {
        {"C:\\gone.jpg", false,
         "An error, 53: 'File not found' has occurred in ApplyFormColors: frmTest."},
        {"C:\\bad.gif", false,
         "An error, 481: 'Invalid picture' has occurred in ApplyFormColors: frmTest."},
        {"C:\\no\\such\\p.jpg", true,
         "The drive is not ready. Please insert a disk and try again."},
        {"Q:\\p.jpg", true, "The drive is not ready. Please insert a disk and try again."},
    };
    for (const auto& c : cases) {
        Form fresh;
        test::FakeDesktop d;
        Settings s = Scheme();
        s.BackPattern = c.pattern;
        const QColor labelText = Role(fresh.lbl, QPalette::WindowText);
        ApplyFormColors(fresh.window, s, d, &drives);
        const auto& shown = c.ownBox ? d.msgBoxes : d.systemMessages;
        ASSERT_EQ(d.msgBoxes.size() + d.systemMessages.size(), 1u) << c.pattern;
        ASSERT_EQ(shown.size(), 1u) << c.pattern;
        EXPECT_EQ(shown[0].prompt, c.text);
        const QBrush bg = fresh.window.palette().brush(QPalette::Window);
        EXPECT_EQ(bg.style(), Qt::SolidPattern);
        EXPECT_EQ(bg.color(), kBack);
        EXPECT_EQ(Role(fresh.lbl, QPalette::WindowText), labelText);
    }
}

// The report of a bad pattern opens a box that is coloured too; that must not report again.
class ColouringDesktop : public test::FakeDesktop {
  public:
    const Settings* settings = nullptr;
    const DriveMap* drives = nullptr;
    int ShowMsgBox(const std::string& prompt, int style, const std::string& title) override {
        QWidget box;
        ApplyFormColors(box, *settings, *this, drives);
        return FakeDesktop::ShowMsgBox(prompt, style, title);
    }
};

TEST_F(Pattern, ReportOfAMissingDriveDoesNotRecurse) {
    ColouringDesktop reporting;
    Settings s = Scheme();
    s.BackPattern = "Q:\\p.jpg";
    reporting.settings = &s;
    reporting.drives = &drives;
    ApplyFormColors(form.window, s, reporting, &drives);
    EXPECT_EQ(reporting.msgBoxes.size(), 1u);
    ApplyFormColors(form.window, s, reporting, &drives);  // the next window reports again
    EXPECT_EQ(reporting.msgBoxes.size(), 2u);
}

}  // namespace
}  // namespace bw
