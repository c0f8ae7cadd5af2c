#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/Settings.h"
#include "dialogs/MsgBox.h"
#include "dialogs/frmInputBox.h"

namespace bw {
namespace {

struct InputCase {
    const char* name;
    const char* typed;  // null: leave the default text
    std::function<void(QWidget& box)> finish;
    std::string expected;
};

void Click(QWidget& box, const char* name) { box.findChild<QPushButton*>(name)->click(); }

void PressEnter(QWidget& target) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&target, &press);
}

class InputBoxAnswers : public ::testing::TestWithParam<InputCase> {};

INSTANTIATE_TEST_SUITE_P(
    EachWayOut, InputBoxAnswers,
    ::testing::Values(
        InputCase{"OkKeepsSpaces", "  new name.cr2 ", [](QWidget& b) { Click(b, "cmdOK"); },
                  "  new name.cr2 "},
        InputCase{"OkWithDefault", nullptr, [](QWidget& b) { Click(b, "cmdOK"); }, "Figure.cr2"},
        InputCase{"OkOnEmptiedField", "", [](QWidget& b) { Click(b, "cmdOK"); }, ""},
        InputCase{"EnterInField", " x ",
                  [](QWidget& b) { PressEnter(*b.findChild<QLineEdit*>("txtReason")); }, " x "},
        InputCase{"Cancel", "typed", [](QWidget& b) { Click(b, "cmdCancel"); }, ""},
        InputCase{"CloseControl", "typed", [](QWidget& b) { b.close(); }, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(InputBoxAnswers, ReturnsTheTextAsTypedOrEmpty) {
    const InputCase& c = GetParam();
    Settings settings;
    QWidget owner;
    owner.setGeometry(100, 100, 700, 500);
    owner.show();
    QRect boxGeometry;
    QSize boxSize;
    bool focusedField = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        boxGeometry = box->frameGeometry();
        boxSize = box->size();
        auto* field = box->findChild<QLineEdit*>("txtReason");
        focusedField = box->focusWidget() == field;
        if (c.typed) field->setText(c.typed);
        c.finish(*box);
    });
    EXPECT_EQ(ShowInputBox("New name:", 64, "Enter a new name", "Figure.cr2", settings, &owner),
              c.expected);
    EXPECT_TRUE(focusedField);
    EXPECT_EQ(boxSize, QSize(360, 147));
    EXPECT_LE((boxGeometry.center() - owner.frameGeometry().center()).manhattanLength(), 2);
}

TEST(InputBox, PictureOfTheStyle) {
    struct {
        int style;
        bool talk, alert;
    } cases[] = {{64, true, false}, {16, false, true}, {0, false, false}};
    for (const auto& c : cases) {
        frmInputBox box;
        box.Prepare("p", c.style, "t", "d");
        box.show();
        EXPECT_EQ(box.pctTalk->isVisible(), c.talk) << c.style;
        EXPECT_EQ(box.pctAlert->isVisible(), c.alert) << c.style;
        EXPECT_EQ(box.txtReason->text(), "d");
    }
}

}  // namespace
}  // namespace bw
