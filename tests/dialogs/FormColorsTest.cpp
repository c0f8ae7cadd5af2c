#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>
#include <set>

#include "app/QtColor.h"
#include "app/ReportError.h"
#include "app/Settings.h"
#include "dialogs/FormColors.h"
#include "dialogs/Shape.h"
#include "platform/DriveMap.h"
#include "support/FakeDesktop.h"
#include "support/TestDir.h"

namespace bw {
namespace {

const QColor kBack(10, 20, 30);
const QColor kShadow(40, 50, 60);
const QColor kText(70, 80, 90);
const QColor kButton(100, 110, 120);

Settings Scheme() {
    Settings s;
    s.BackColor = NumberFromColor(kBack);
    s.ShadowColor = NumberFromColor(kShadow);
    s.TextColor = NumberFromColor(kText);
    s.ButtonColor = NumberFromColor(kButton);
    return s;
}

// A window with one control of every kind, nested in a frame where a window would have them.
struct Form {
    QWidget window;
    QLabel* lbl = Add<QLabel>("lblMain");
    QPushButton* cmd = Add<QPushButton>("cmdSave");
    QCheckBox* chk = Add<QCheckBox>("chkConfirm");
    QRadioButton* opt = Add<QRadioButton>("optDelete");
    Shape* shp = AttachShadow(*cmd, "shpSave");
    QFrame* lin = Add<QFrame>("Line1");
    QGroupBox* fra = Add<QGroupBox>("fraScan");
    QLabel* inFrame = new QLabel(fra);
    QLabel* pctShadow = Add<QLabel>("pctShadow");
    QLabel* pctTalk = Add<QLabel>("pctTalk");
    QLineEdit* txt = Add<QLineEdit>("txtReason");

    Form() {
        window.setObjectName("frmTest");
        window.resize(300, 200);
        lin->setFrameShape(QFrame::VLine);
    }
    template <typename W>
    W* Add(const char* name) {
        auto* w = new W(&window);
        w->setObjectName(name);
        return w;
    }
};

QColor Role(const QWidget* w, QPalette::ColorRole role) { return w->palette().color(role); }

TEST(ApplyFormColors, StylesEachKindOfControl) {
    Form f;
    const QColor editBase = Role(f.txt, QPalette::Base);
    test::FakeDesktop desktop;
    ApplyFormColors(f.window, Scheme(), desktop);

    struct Expect {
        const char* what;
        const QWidget* w;
        QPalette::ColorRole role;
        QColor color;
        bool filled;
    } expects[] = {
        {"window", &f.window, QPalette::Window, kBack, true},
        {"label text", f.lbl, QPalette::WindowText, kText, false},
        {"label in frame", f.inFrame, QPalette::WindowText, kText, false},
        {"button", f.cmd, QPalette::Button, kButton, false},
        {"check box", f.chk, QPalette::Window, kBack, true},
        {"check box text", f.chk, QPalette::WindowText, kText, true},
        {"option", f.opt, QPalette::Window, kBack, true},
        {"option text", f.opt, QPalette::WindowText, kText, true},
        {"line", f.lin, QPalette::WindowText, kText, false},
        {"frame", f.fra, QPalette::Window, kBack, true},
        {"frame text", f.fra, QPalette::WindowText, kText, true},
        {"shadow picture", f.pctShadow, QPalette::Window, kShadow, true},
        {"other picture", f.pctTalk, QPalette::Window, kBack, false},  // the window's, unfilled
        {"text field", f.txt, QPalette::Base, editBase, false},
    };
    for (const Expect& e : expects) {
        EXPECT_EQ(Role(e.w, e.role), e.color) << e.what;
        EXPECT_EQ(e.w->autoFillBackground(), e.filled) << e.what;
    }
    EXPECT_EQ(f.shp->fillColor(), kShadow);
    EXPECT_EQ(f.shp->outlineColor(), kText);
}

TEST(ApplyFormColors, SystemColourNumberTakesThePaletteColour) {
    Form f;
    Settings s = Scheme();
    s.ButtonColor = -2147483633;  // button face
    test::FakeDesktop desktop;
    ApplyFormColors(f.window, s, desktop);
    EXPECT_EQ(Role(f.cmd, QPalette::Button), QApplication::palette().color(QPalette::Button));
}

TEST(ApplyFormColors, KindsByClassAndName) {
    struct Case {
        const char* name;
        std::function<QWidget*()> make;
        ControlKind kind;
    } cases[] = {
        {"label", [] { return new QLabel; }, ControlKind::Label},
        {"picture box", [] { return new QLabel; }, ControlKind::Other},
        {"pctShadow", [] { return new QWidget; }, ControlKind::ShadowPicture},
        {"pctMainSHADOW", [] { return new QLabel; }, ControlKind::ShadowPicture},
        {"shpBox", [] { return new QFrame; }, ControlKind::Shape},
        {"Shape3", [] { return new QWidget; }, ControlKind::Shape},
        {"anything", [] { return new Shape(nullptr); }, ControlKind::Shape},
        {"lineless",
         [] {
             auto* f = new QFrame;
             f->setFrameShape(QFrame::HLine);
             return f;
         },
         ControlKind::Line},
        {"fraScan", [] { return new QFrame; }, ControlKind::Frame},
        {"box", [] { return new QGroupBox; }, ControlKind::Frame},
        {"cmdX", [] { return new QPushButton; }, ControlKind::Button},
        {"chkX", [] { return new QCheckBox; }, ControlKind::CheckBox},
        {"optX", [] { return new QRadioButton; }, ControlKind::OptionButton},
        {"txtX", [] { return new QLineEdit; }, ControlKind::Other},
        {"qt_internal", [] { return new QLabel; }, ControlKind::Other},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QWidget> w(c.make());
        w->setObjectName(c.name);
        if (std::string(c.name) == "picture box") w->setObjectName("pctTalk");
        EXPECT_EQ(KindOf(*w), c.kind) << c.name;
    }
}

TEST(PatternTiles, CoversTheAreaOnceFromTheTopLeft) {
    const auto tiles = PatternTiles(QSize(300, 200), QSize(64, 64));
    std::set<int> xs, ys;
    for (const QRect& t : tiles) {
        xs.insert(t.x());
        ys.insert(t.y());
        EXPECT_EQ(t.size(), QSize(64, 64));
    }
    EXPECT_EQ(tiles.size(), 20u);
    EXPECT_EQ(xs, (std::set<int>{0, 64, 128, 192, 256}));
    EXPECT_EQ(ys, (std::set<int>{0, 64, 128, 192}));
    EXPECT_TRUE(PatternTiles(QSize(300, 200), QSize(0, 64)).empty());
}

// A pattern with a distinct colour in each corner of the tile.
QImage CornerPattern() {
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(QColor(200, 200, 200));
    image.setPixelColor(0, 0, Qt::red);
    image.setPixelColor(63, 63, Qt::blue);
    return image;
}

class Pattern : public ::testing::Test {
  protected:
    test::TestDir dir;
    DriveMap drives = DriveMap::FromDrives({{"C:", dir.path()}});
    test::FakeDesktop desktop;
    Form form;
};

TEST_F(Pattern, WindowsPathIsTiledOverTheWindow) {
    dir.createDir("Art");
    ASSERT_TRUE(CornerPattern().save(QString::fromStdString(dir.host("Art/Tile.bmp"))));
    Settings s = Scheme();
    s.BackPattern = "C:\\art\\TILE.BMP";  // letter case as Windows allows
    ApplyFormColors(form.window, s, desktop, &drives);
    EXPECT_TRUE(desktop.msgBoxes.empty() && desktop.systemMessages.empty());
    const QImage bg = form.window.palette().brush(QPalette::Window).textureImage();
    ASSERT_EQ(bg.size(), QSize(300, 200));
    for (int x : {0, 64, 128, 192, 256}) {
        for (int y : {0, 64, 128, 192}) EXPECT_EQ(bg.pixelColor(x, y), QColor(Qt::red)) << x << y;
    }
    EXPECT_EQ(bg.pixelColor(255, 191), QColor(Qt::blue));
    // The controls are styled after the pattern as well.
    EXPECT_EQ(Role(form.lbl, QPalette::WindowText), kText);
}

struct BadPattern {
    const char* name;
    std::function<std::string(test::TestDir&)> make;  // the pattern setting
    int boxes, systemMessages;
    const char* text;
};

class UnloadablePattern : public Pattern, public ::testing::WithParamInterface<BadPattern> {};

INSTANTIATE_TEST_SUITE_P(
    Causes, UnloadablePattern,
    ::testing::Values(
        BadPattern{"MissingFile", [](test::TestDir&) { return "C:\\gone.jpg"; }, 0, 1,
                   "An error, 53: 'File not found' has occurred in ApplyFormColors: frmTest."},
        BadPattern{"NotAPicture",
                   [](test::TestDir& d) {
                       d.createFile("bad.gif", "not a picture");
                       return "C:\\bad.gif";
                   },
                   0, 1,
                   "An error, 481: 'Invalid picture' has occurred in ApplyFormColors: frmTest."},
        BadPattern{"MissingFolder", [](test::TestDir&) { return "C:\\no\\such\\p.jpg"; }, 1, 0,
                   "The drive is not ready. Please insert a disk and try again."},
        BadPattern{"UnknownDrive", [](test::TestDir&) { return "Q:\\p.jpg"; }, 1, 0,
                   "The drive is not ready. Please insert a disk and try again."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(UnloadablePattern, IsReportedAndTheWindowKeepsItsColour) {
    Settings s = Scheme();
    s.BackPattern = GetParam().make(dir);
    const QColor labelText = Role(form.lbl, QPalette::WindowText);
    ApplyFormColors(form.window, s, desktop, &drives);
    ASSERT_EQ(desktop.msgBoxes.size(), size_t(GetParam().boxes));
    ASSERT_EQ(desktop.systemMessages.size(), size_t(GetParam().systemMessages));
    const auto& shown = GetParam().boxes ? desktop.msgBoxes[0] : desktop.systemMessages[0];
    EXPECT_EQ(shown.prompt, GetParam().text);
    const QBrush bg = form.window.palette().brush(QPalette::Window);
    EXPECT_EQ(bg.style(), Qt::SolidPattern);
    EXPECT_EQ(bg.color(), kBack);
    EXPECT_EQ(Role(form.lbl, QPalette::WindowText), labelText);
}

// The report of a bad pattern opens a box that is coloured too; that must not report again.
class ColouringDesktop : public test::FakeDesktop {
  public:
    const Settings* settings = nullptr;
    const DriveMap* drives = nullptr;
    int ShowMsgBox(const std::string& prompt, int style, const std::string& title) override {
        QWidget box;
        box.setObjectName("frmMsgBox");
        box.resize(50, 50);
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
    // Once the report is over, the next window reports again.
    ApplyFormColors(form.window, s, reporting, &drives);
    EXPECT_EQ(reporting.msgBoxes.size(), 2u);
}

}  // namespace
}  // namespace bw
