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

namespace bw {
namespace {

// Acts on the next modal box as soon as it is open.
void WhenModal(std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, [act] { act(*QApplication::activeModalWidget()); });
}

void Click(QWidget& box, const char* name) { box.findChild<QPushButton*>(name)->click(); }

void PressKey(QWidget& target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&target, &press);
}

TEST(MsgBox, EachStyleShowsItsButtonsShadowsAndPicture) {
    // Not yet shown, the window has no frame and F is its width, 5670 twips: one button at
    // 2227.5, a pair at 1732.5 (1507.5 when centred), three at 750; each next 1440 twips on.
    struct {
        int style;
        std::map<std::string, int> lefts;  // the buttons shown, at these pixels
        std::string picture;
    } cases[] = {
        // clang-format off
        {0,  {{"cmdOK", 149}}, "pctTalk"},
        {16, {{"cmdOK", 149}}, "pctHand"},
        {64, {{"cmdOK", 149}}, "pctAlert"},
        {1,  {{"cmdOK", 116}, {"cmdCancel", 212}}, "pctTalk"},
        {17, {{"cmdOK", 116}, {"cmdCancel", 212}}, "pctHand"},
        {65, {{"cmdOK", 116}, {"cmdCancel", 212}}, "pctAlert"},
        {4,  {{"cmdYes", 116}, {"cmdNo", 212}}, "pctTalk"},
        {20, {{"cmdYes", 101}, {"cmdNo", 197}}, "pctHand"},
        {68, {{"cmdYes", 101}, {"cmdNo", 197}}, "pctAlert"},
        {3,  {{"cmdYes", 50}, {"cmdNo", 146}, {"cmdCancel", 242}}, "pctTalk"},
        {19, {{"cmdYes", 50}, {"cmdNo", 146}, {"cmdCancel", 242}}, "pctHand"},
        {67, {{"cmdYes", 50}, {"cmdNo", 146}, {"cmdCancel", 242}}, "pctAlert"},
        {2, {}, ""}, {5, {}, ""}, {32, {}, ""}, {80, {}, ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        frmMsgBox box;
        box.Prepare("Delete this file?", c.style, "Confirm");
        EXPECT_EQ(box.windowTitle(), "Confirm");
        for (const char* name : {"cmdOK", "cmdYes", "cmdNo", "cmdCancel"}) {
            auto* button = box.findChild<QPushButton*>(name);
            auto* shadow = box.findChild<Shape*>(QString(name).replace("cmd", "shp"));
            const auto it = c.lefts.find(name);
            const bool shown = it != c.lefts.end();
            EXPECT_EQ(button->isVisibleTo(&box), shown) << c.style << name;
            EXPECT_EQ(shadow->isVisibleTo(&box), shown) << c.style << name;
            if (!shown) continue;
            EXPECT_EQ(button->geometry(), QRect(it->second, 80, 81, 25)) << c.style << name;
            EXPECT_EQ(shadow->geometry(), QRect(it->second + 8, 88, 81, 25)) << c.style << name;
        }
        for (const char* name : {"pctTalk", "pctAlert", "pctHand"}) {
            auto* picture = box.findChild<QLabel*>(name);
            EXPECT_EQ(picture->isVisibleTo(&box), c.picture == name) << c.style << name;
            EXPECT_EQ(picture->pos(), QPoint(24, 24));
        }
    }
}

TEST(MsgBox, OnceShownTheRowIsPlacedByTheFramedWidth) {
    frmMsgBox box;
    box.Prepare("Saved.", 0, "Notice");
    box.show();
    const double middle = box.cmdOK->x() + box.cmdOK->width() / 2.0;
    EXPECT_NEAR(middle, box.frameGeometry().width() / 2.0, 1.0);
    EXPECT_EQ(box.shpOK->x(), box.cmdOK->x() + 8);
}

TEST(MsgBox, AnswerOfEachButtonKeyAndTheCloseControl) {
    auto close = [](QWidget& b) { b.close(); };
    auto button = [](const char* name) { return [name](QWidget& b) { Click(b, name); }; };
    auto key = [](int k) { return [k](QWidget& b) { PressKey(*b.focusWidget(), k); }; };
    struct {
        int style;
        std::function<void(QWidget&)> act;
        int answer;
    } cases[] = {
        // clang-format off
        {0, button("cmdOK"), 1},  {1, button("cmdOK"), 1}, {1, button("cmdCancel"), 2},
        {3, button("cmdYes"), 6}, {3, button("cmdNo"), 7}, {3, button("cmdCancel"), 2},
        {4, button("cmdYes"), 6}, {4, button("cmdNo"), 7},
        {0, close, 2}, {20, close, 2}, {2, close, 2},
        {68, key(Qt::Key_Return), 6}, {68, key(Qt::Key_Escape), 2},
        {2, [](QWidget& b) { PressKey(b, Qt::Key_Escape); }, 2},
        // clang-format on
    };
    Settings settings;
    for (const auto& c : cases) {
        WhenModal(c.act);
        EXPECT_EQ(ShowMsgBox("Sure?", c.style, "Question", settings), c.answer) << c.style;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

TEST(MsgBox, SecondBoxClosedByItsCloseControlDoesNotKeepTheFirstYes) {
    Settings settings;
    WhenModal([](QWidget& box) { Click(box, "cmdYes"); });
    EXPECT_EQ(ShowMsgBox("First?", 4, "One", settings), 6);
    WhenModal([](QWidget& box) { box.close(); });
    EXPECT_EQ(ShowMsgBox("Second?", 4, "Two", settings), 2);
}

TEST(MsgBox, PromptIsPlainTextCutToItsArea) {
    frmMsgBox box;
    const std::string prompt = "<b>C:\\a&b</b> " + std::string(2000, 'x');
    box.Prepare(prompt, 0, "T");
    EXPECT_EQ(box.lblMsgText->textFormat(), Qt::PlainText);
    EXPECT_EQ(box.lblMsgText->text().toStdString(), prompt);
    EXPECT_EQ(box.lblMsgText->geometry(), QRect(64, 16, 305, 57));
    EXPECT_EQ(box.size(), QSize(378, 118));
}

}  // namespace
}  // namespace bw
