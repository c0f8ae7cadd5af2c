#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "core/Settings.h"
#include "ui/MsgBox.h"

namespace bw {
namespace {

using Act = std::function<void(QWidget&)>;

TEST(InputBox, ReturnsTheTextAsTypedOrEmpty) {
    const Act ok = [](QWidget& b) { b.findChild<QPushButton*>("cmdOK")->click(); };
    const Act cancel = [](QWidget& b) { b.findChild<QPushButton*>("cmdCancel")->click(); };
    const Act close = [](QWidget& b) { b.close(); };
    const Act enter = [](QWidget& b) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(b.findChild<QLineEdit*>("txtReason"), &press);
    };
    // clang-format off
    const std::tuple<const char*, Act, std::string> cases[] = {  // typed (null: default kept)
        {"  new name.cr2 ", ok, "  new name.cr2 "}, {" x ", enter, " x "},
        {nullptr, ok, "Figure.cr2"}, {"typed", cancel, ""}, {"typed", close, ""},
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
