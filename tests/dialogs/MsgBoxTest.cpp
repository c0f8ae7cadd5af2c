#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <map>
#include <tuple>

#include "app/Settings.h"
#include "dialogs/MsgBox.h"
#include "dialogs/Shape.h"
#include "dialogs/frmMsgBox.h"

namespace bw {
namespace {

using Act = std::function<void(QWidget&)>;

// Acts on the next modal box as soon as it is open.
void WhenModal(Act act) {
    QTimer::singleShot(0, [act] { act(*QApplication::activeModalWidget()); });
}

Act Click(const char* name) {
    return [name](QWidget& b) { b.findChild<QPushButton*>(name)->click(); };
}

Act Press(int key) {
    return [key](QWidget& b) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(b.focusWidget() ? b.focusWidget() : &b, &press);
    };
}

TEST(MsgBox, EachStyleShowsItsButtonsAndPicture) {
    using Lefts = std::map<std::string, int>;  // the buttons shown, at these pixels
    const Lefts ok = {{"cmdOK", 149}}, okCancel = {{"cmdOK", 116}, {"cmdCancel", 212}},
                yesNo = {{"cmdYes", 116}, {"cmdNo", 212}},
                yesNoLow = {{"cmdYes", 101}, {"cmdNo", 197}},
                yesNoCancel = {{"cmdYes", 50}, {"cmdNo", 146}, {"cmdCancel", 242}};
    // clang-format off
    const std::tuple<int, Lefts, std::string> cases[] = {
        {0, ok, "pctTalk"}, {16, ok, "pctHand"}, {64, ok, "pctAlert"},
        {1, okCancel, "pctTalk"}, {17, okCancel, "pctHand"}, {65, okCancel, "pctAlert"},
        {4, yesNo, "pctTalk"}, {20, yesNoLow, "pctHand"}, {68, yesNoLow, "pctAlert"},
        {3, yesNoCancel, "pctTalk"}, {19, yesNoCancel, "pctHand"}, {67, yesNoCancel, "pctAlert"},
        {2, {}, ""}, {5, {}, ""}, {80, {}, ""},
    };
    // clang-format on
    for (const auto& [style, lefts, picture] : cases) {
        frmMsgBox box;
        box.Prepare("Delete this file?", style, "Confirm");
        for (const char* name : {"cmdOK", "cmdYes", "cmdNo", "cmdCancel"}) {
            auto* button = box.findChild<QPushButton*>(name);
            auto* shadow = box.findChild<Shape*>(QString(name).replace("cmd", "shp"));
            const int left = lefts.contains(name) ? lefts.at(name) : -1;  // -1: hidden
            EXPECT_EQ(button->isVisibleTo(&box) ? button->x() : -1, left) << style << name;
            EXPECT_EQ(shadow->isVisibleTo(&box), left >= 0) << style << name;
        }
        for (const char* name : {"pctTalk", "pctAlert", "pctHand"})
            EXPECT_EQ(box.findChild<QLabel*>(name)->isVisibleTo(&box), picture == name)
                << style << name;
    }
}

TEST(MsgBox, AnswerOfEachButtonKeyAndTheCloseControl) {
    const Act close = [](QWidget& b) { b.close(); };
    // clang-format off
    const std::tuple<int, Act, int> cases[] = {
        {0, Click("cmdOK"), 1}, {1, Click("cmdOK"), 1}, {1, Click("cmdCancel"), 2},
        {3, Click("cmdYes"), 6}, {3, Click("cmdNo"), 7}, {3, Click("cmdCancel"), 2},
        {4, Click("cmdYes"), 6}, {4, Click("cmdNo"), 7},
        {0, close, 2}, {20, close, 2}, {2, close, 2},
        {68, Press(Qt::Key_Return), 6}, {68, Press(Qt::Key_Escape), 2},
        {2, Press(Qt::Key_Escape), 2},
    };
    // clang-format on
    Settings settings;
    for (const auto& [style, act, answer] : cases) {
        WhenModal(act);
        EXPECT_EQ(ShowMsgBox("Sure?", style, "Question", settings), answer) << style;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    // A Yes from an earlier box must not become the answer of the next one.
    WhenModal(Click("cmdYes"));
    EXPECT_EQ(ShowMsgBox("First?", 4, "One", settings), 6);
    WhenModal(close);
    EXPECT_EQ(ShowMsgBox("Second?", 4, "Two", settings), 2);
}

TEST(MsgBox, PromptIsPlainTextAndDoesNotGrowTheBox) {
    frmMsgBox box;
    const std::string prompt = "<b>C:\\a&b</b> " + std::string(2000, 'x');
    box.Prepare(prompt, 0, "T");
    EXPECT_EQ(box.windowTitle(), "T");
    EXPECT_EQ(box.lblMsgText->textFormat(), Qt::PlainText);
    EXPECT_EQ(box.lblMsgText->text().toStdString(), prompt);
    EXPECT_EQ(box.size(), QSize(378, 118));
}

}  // namespace
}  // namespace bw
