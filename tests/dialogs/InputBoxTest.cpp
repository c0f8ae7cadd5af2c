#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <tuple>

#include "app/Settings.h"
#include "dialogs/MsgBox.h"

namespace bw {
namespace {

using Act = std::function<void(QWidget&)>;

Act Click(const char* name) {
    return [name](QWidget& b) { b.findChild<QPushButton*>(name)->click(); };
}

TEST(InputBox, ReturnsTheTextAsTypedOrEmpty) {
    const Act enter = [](QWidget& b) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(b.findChild<QLineEdit*>("txtReason"), &press);
    };
    const Act close = [](QWidget& b) { b.close(); };
    // clang-format off
    const std::tuple<const char*, Act, std::string> cases[] = {  // typed (null: default kept)
        {"  new name.cr2 ", Click("cmdOK"), "  new name.cr2 "}, {" x ", enter, " x "},
        {nullptr, Click("cmdOK"), "Figure.cr2"}, {"", Click("cmdOK"), ""},
        {"typed", Click("cmdCancel"), ""}, {"typed", close, ""},
    };
    // clang-format on
    Settings settings;
    QWidget owner;
    owner.setGeometry(100, 100, 700, 500);
    owner.show();
    for (const auto& [typed, finish, expected] : cases) {
        QRect frame;
        bool fieldFocused = false;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            frame = box->frameGeometry();
            auto* field = box->findChild<QLineEdit*>("txtReason");
            fieldFocused = box->focusWidget() == field;
            if (typed) field->setText(typed);
            finish(*box);
        });
        EXPECT_EQ(ShowInputBox("New name:", 64, "Enter a new name", "Figure.cr2", settings, &owner),
                  expected);
        EXPECT_TRUE(fieldFocused);
        EXPECT_LE((frame.center() - owner.frameGeometry().center()).manhattanLength(), 2);
    }
}

}  // namespace
}  // namespace bw
