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

void Click(QWidget& box, const char* name) { box.findChild<QPushButton*>(name)->click(); }

TEST(InputBox, ReturnsTheTextAsTypedOrEmpty) {
    auto ok = [](QWidget& b) { Click(b, "cmdOK"); };
    auto enter = [](QWidget& b) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(b.findChild<QLineEdit*>("txtReason"), &press);
    };
    struct {
        const char* typed;  // null: the default text stays
        std::function<void(QWidget&)> finish;
        std::string expected;
    } cases[] = {
        {"  new name.cr2 ", ok, "  new name.cr2 "},
        {nullptr, ok, "Figure.cr2"},
        {"", ok, ""},
        {" x ", enter, " x "},
        {"typed", [](QWidget& b) { Click(b, "cmdCancel"); }, ""},
        {"typed", [](QWidget& b) { b.close(); }, ""},
    };
    Settings settings;
    QWidget owner;
    owner.setGeometry(100, 100, 700, 500);
    owner.show();
    for (const auto& c : cases) {
        QRect frame;
        bool fieldFocused = false;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            frame = box->frameGeometry();
            auto* field = box->findChild<QLineEdit*>("txtReason");
            fieldFocused = box->focusWidget() == field;
            if (c.typed) field->setText(c.typed);
            c.finish(*box);
        });
        EXPECT_EQ(ShowInputBox("New name:", 64, "Enter a new name", "Figure.cr2", settings, &owner),
                  c.expected);
        EXPECT_TRUE(fieldFocused);
        EXPECT_LE((frame.center() - owner.frameGeometry().center()).manhattanLength(), 2);
    }
}

TEST(InputBox, PictureOfTheStyle) {
    for (int style : {64, 16}) {
        frmInputBox box;
        box.Prepare("p", style, "t", "d");
        EXPECT_EQ(box.pctTalk->isVisibleTo(&box), style == 64);
        EXPECT_EQ(box.pctAlert->isVisibleTo(&box), style == 16);
    }
}

}  // namespace
}  // namespace bw
