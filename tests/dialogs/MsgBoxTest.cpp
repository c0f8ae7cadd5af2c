#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <map>

#include "app/Settings.h"
#include "dialogs/MsgBox.h"
#include "dialogs/Shape.h"
#include "dialogs/frmMsgBox.h"
#include "support/FakeDesktop.h"

namespace bw {
namespace {

// Acts on the next modal box as soon as it is open.
void WhenModal(std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        act(*box);
    });
}

void Click(QWidget& box, const char* name) {
    auto* button = box.findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isVisible()) << name;
    button->click();
}

void PressKey(QWidget& target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&target, &release);
}

struct StyleCase {
    int style;
    std::map<std::string, int> buttonLefts;  // shown buttons and their Left in pixels
    const char* picture;                     // the one picture shown, or null
};

class MsgBoxStyles : public ::testing::TestWithParam<StyleCase> {};

// Not yet shown, the window has no frame: F is its width of 5670 twips: one button at 2227.5 twips,
// a pair at 1732.5 (1507.5 centred), three at 750, each next one 1440 twips on.
INSTANTIATE_TEST_SUITE_P(
    AllStyles, MsgBoxStyles,
    ::testing::Values(
        StyleCase{0, {{"cmdOK", 149}}, "pctTalk"}, StyleCase{16, {{"cmdOK", 149}}, "pctHand"},
        StyleCase{64, {{"cmdOK", 149}}, "pctAlert"},
        StyleCase{1, {{"cmdOK", 116}, {"cmdCancel", 212}}, "pctTalk"},
        StyleCase{17, {{"cmdOK", 116}, {"cmdCancel", 212}}, "pctHand"},
        StyleCase{65, {{"cmdOK", 116}, {"cmdCancel", 212}}, "pctAlert"},
        StyleCase{4, {{"cmdYes", 116}, {"cmdNo", 212}}, "pctTalk"},
        StyleCase{20, {{"cmdYes", 101}, {"cmdNo", 197}}, "pctHand"},
        StyleCase{68, {{"cmdYes", 101}, {"cmdNo", 197}}, "pctAlert"},
        StyleCase{3, {{"cmdYes", 50}, {"cmdNo", 146}, {"cmdCancel", 242}}, "pctTalk"},
        StyleCase{19, {{"cmdYes", 50}, {"cmdNo", 146}, {"cmdCancel", 242}}, "pctHand"},
        StyleCase{67, {{"cmdYes", 50}, {"cmdNo", 146}, {"cmdCancel", 242}}, "pctAlert"},
        StyleCase{2, {}, nullptr}, StyleCase{5, {}, nullptr}, StyleCase{32, {}, nullptr},
        StyleCase{80, {}, nullptr}));

TEST_P(MsgBoxStyles, ShowsItsButtonsShadowsAndPicture) {
    const StyleCase& c = GetParam();
    frmMsgBox box;
    box.Prepare("Delete this file?", c.style, "Confirm");
    EXPECT_EQ(box.windowTitle(), "Confirm");
    EXPECT_EQ(box.lblMsgText->text(), "Delete this file?");
    for (const char* name : {"cmdOK", "cmdYes", "cmdNo", "cmdCancel"}) {
        auto* button = box.findChild<QPushButton*>(name);
        auto* shadow = box.findChild<Shape*>(QString(name).replace("cmd", "shp"));
        ASSERT_TRUE(button && shadow) << name;
        const auto it = c.buttonLefts.find(name);
        const bool shown = it != c.buttonLefts.end();
        EXPECT_EQ(button->isVisibleTo(&box), shown) << name;
        EXPECT_EQ(shadow->isVisibleTo(&box), shown) << name;
        if (!shown) continue;
        EXPECT_EQ(button->geometry(), QRect(it->second, 80, 81, 25)) << name;
        EXPECT_EQ(shadow->geometry(), QRect(it->second + 8, 88, 81, 25)) << name;
    }
    for (const char* name : {"pctTalk", "pctAlert", "pctHand"}) {
        auto* picture = box.findChild<QLabel*>(name);
        ASSERT_NE(picture, nullptr);
        const bool shown = c.picture && std::string(c.picture) == name;
        EXPECT_EQ(picture->isVisibleTo(&box), shown) << name;
        if (shown) {
            EXPECT_EQ(picture->pos(), QPoint(24, 24));
        }
    }
}

TEST(MsgBox, OnceShownTheRowIsPlacedByTheFramedWidth) {
    frmMsgBox box;
    box.Prepare("Saved.", 0, "Notice");
    box.show();
    // The single OK button is centred on the overall width, frame included.
    const double middle = box.cmdOK->x() + box.cmdOK->width() / 2.0;
    EXPECT_NEAR(middle, box.frameGeometry().width() / 2.0, 1.0);
    EXPECT_EQ(box.shpOK->x(), box.cmdOK->x() + 8);
}

struct AnswerCase {
    int style;
    const char* button;  // null: the close control
    int answer;
};

class MsgBoxAnswers : public ::testing::TestWithParam<AnswerCase> {};

INSTANTIATE_TEST_SUITE_P(EachWayOut, MsgBoxAnswers,
                         ::testing::Values(AnswerCase{0, "cmdOK", 1}, AnswerCase{1, "cmdOK", 1},
                                           AnswerCase{1, "cmdCancel", 2},
                                           AnswerCase{3, "cmdYes", 6}, AnswerCase{3, "cmdNo", 7},
                                           AnswerCase{3, "cmdCancel", 2},
                                           AnswerCase{4, "cmdYes", 6}, AnswerCase{4, "cmdNo", 7},
                                           AnswerCase{0, nullptr, 2}, AnswerCase{20, nullptr, 2},
                                           AnswerCase{2, nullptr, 2}));

TEST_P(MsgBoxAnswers, AnswerOfTheButtonOrCloseControl) {
    const AnswerCase& c = GetParam();
    Settings settings;
    test::FakeDesktop desktop;
    WhenModal([&](QWidget& box) {
        if (c.button) {
            Click(box, c.button);
        } else {
            box.close();
        }
    });
    EXPECT_EQ(ShowMsgBox("Sure?", c.style, "Question", settings, &desktop), c.answer);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(MsgBox, SecondBoxClosedByItsCloseControlDoesNotKeepTheFirstYes) {
    Settings settings;
    WhenModal([](QWidget& box) { Click(box, "cmdYes"); });
    EXPECT_EQ(ShowMsgBox("First?", 4, "One", settings), 6);
    WhenModal([](QWidget& box) { box.close(); });
    EXPECT_EQ(ShowMsgBox("Second?", 4, "Two", settings), 2);
}

TEST(MsgBox, EnterPressesTheFirstButtonAndEscapeCancels) {
    Settings settings;
    WhenModal([](QWidget& box) { PressKey(*box.focusWidget(), Qt::Key_Return); });
    EXPECT_EQ(ShowMsgBox("Sure?", 68, "Question", settings), 6);
    WhenModal([](QWidget& box) { PressKey(box, Qt::Key_Escape); });
    EXPECT_EQ(ShowMsgBox("Sure?", 68, "Question", settings), 2);
    // A box without buttons still closes.
    WhenModal([](QWidget& box) { PressKey(box, Qt::Key_Escape); });
    EXPECT_EQ(ShowMsgBox("Note", 2, "Question", settings), 2);
}

TEST(MsgBox, PromptIsShownAsPlainTextAndCutToItsArea) {
    frmMsgBox box;
    const std::string prompt = "<b>C:\\a&b</b> " + std::string(2000, 'x');
    box.Prepare(prompt, 0, "T");
    EXPECT_EQ(box.lblMsgText->textFormat(), Qt::PlainText);
    EXPECT_EQ(box.lblMsgText->text().toStdString(), prompt);
    // The label keeps its place however long the prompt; nothing grows or scrolls.
    EXPECT_EQ(box.lblMsgText->geometry(), QRect(64, 16, 305, 57));
    EXPECT_EQ(box.size(), QSize(378, 118));
}

}  // namespace
}  // namespace bw
