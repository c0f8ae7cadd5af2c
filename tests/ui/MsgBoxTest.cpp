#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "core/Settings.h"
#include "ui/MsgBox.h"
#include "ui/Shape.h"
#include "ui/frmMsgBox.h"

namespace bw {
namespace {

using Act = std::function<void(QWidget&)>;

Act Click(const char* name) {
    return [name](QWidget& b) { b.findChild<QPushButton*>(name)->click(); };
}

const Act Close = [](QWidget& b) { b.close(); };

Act Press(int key) {
    return [key](QWidget& b) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(b.focusWidget() ? b.focusWidget() : &b, &press);
    };
}

TEST(MsgBox, EachStyleShowsItsButtonsAndPictureAndThePromptAsPlainText) {
    // style -> the buttons shown and the picture
    // clang-format off
    const std::tuple<int, std::string, std::string> cases[] = {
        {0, "OK", "pctTalk"}, {16, "OK", "pctHand"}, {65, "OK Cancel", "pctAlert"},
        {4, "Yes No", "pctTalk"}, {3, "Yes No Cancel", "pctTalk"}, {19, "Yes No Cancel", "pctHand"},
        {2, "", ""}, {80, "", ""},
    };
    // clang-format on
    const std::string prompt = "<b>C:\\a&b</b> " + std::string(2000, 'x');
    for (const auto& [style, buttons, picture] : cases) {
        SCOPED_TRACE(style);
        frmMsgBox box;
        box.Prepare(prompt, style, "Confirm");
        EXPECT_EQ(box.lblMsgText->text().toStdString(), prompt);
        EXPECT_EQ(box.lblMsgText->textFormat(), Qt::PlainText);
        EXPECT_EQ(box.size(), QSize(378, 118));  // a long prompt does not grow the box
        std::string names, pictures;
        for (QString name : {"OK", "Yes", "No", "Cancel"}) {
            const bool shown = box.findChild<QPushButton*>("cmd" + name)->isVisibleTo(&box);
            EXPECT_EQ(box.findChild<Shape*>("shp" + name)->isVisibleTo(&box), shown);
            if (shown) names += (names.empty() ? "" : " ") + name.toStdString();
        }
        for (const char* name : {"pctTalk", "pctAlert", "pctHand"})
            if (box.findChild<QLabel*>(name)->isVisibleTo(&box)) pictures += name;
        EXPECT_EQ(names, buttons);
        EXPECT_EQ(pictures, picture);
    }
}

TEST(MsgBox, AnswerOfEachButtonKeyAndTheCloseControl) {
    // clang-format off
    const std::tuple<int, Act, int> cases[] = {
        {0, Click("cmdOK"), 1}, {1, Click("cmdCancel"), 2}, {3, Click("cmdNo"), 7},
        {3, Click("cmdCancel"), 2}, {20, Close, 2}, {2, Close, 2}, {68, Press(Qt::Key_Return), 6},
        {68, Press(Qt::Key_Escape), 2}, {2, Press(Qt::Key_Escape), 2},
        {4, Click("cmdYes"), 6}, {4, Close, 2},  // an earlier Yes is not the next box's answer
    };
    // clang-format on
    Settings settings;
    for (const auto& [style, act, answer] : cases) {
        QTimer::singleShot(0, [act] { act(*QApplication::activeModalWidget()); });
        EXPECT_EQ(ShowMsgBox("Sure?", style, "Question", settings), answer) << style;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

TEST(InputBox, ReturnsTheTextAsTypedOrEmpty) {
    const Act ok = Click("cmdOK"), cancel = Click("cmdCancel"), enter = Press(Qt::Key_Return);
    // clang-format off
    const std::tuple<const char*, Act, std::string> cases[] = {  // typed (null: default kept)
        {"  new name.cr2 ", ok, "  new name.cr2 "}, {" x ", enter, " x "},
        {nullptr, ok, "Figure.cr2"}, {"typed", cancel, ""}, {"typed", Close, ""},
    };
    // clang-format on
    Settings settings;
    for (const auto& [typed, finish, expected] : cases) {
        bool fieldFocused = false;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            auto* field = box->findChild<QLineEdit*>("txtReason");
            fieldFocused = box->focusWidget() == field;
            if (typed) field->setText(typed);
            finish(*box);
        });
        EXPECT_EQ(
            ShowInputBox("New name:", 64, "Enter a new name", "Figure.cr2", settings, nullptr),
            expected);
        EXPECT_TRUE(fieldFocused);
    }
}

}  // namespace
}  // namespace bw
