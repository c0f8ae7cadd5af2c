#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>

#include "dialogs/HoverCursor.h"

namespace bw {
namespace {

Qt::CursorShape ShapeOf(const QWidget* w) { return w->cursor().shape(); }

void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButtons held) {
    const QPointF at(5, 5);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

TEST(HoverCursor, HandOverButtonsOnlyAndNormalFromTheClick) {
    QWidget window;
    auto* cmdSave = new QPushButton("Save", &window);
    auto* cmdCancel = new QPushButton("Cancel", &window);
    auto* chk = new QCheckBox("Check", &window);
    InstallHoverCursor(window);
    const Qt::CursorShape hand = HoverHandCursor().shape();
    EXPECT_EQ(ShapeOf(cmdSave), hand);
    EXPECT_EQ(ShapeOf(chk), Qt::ArrowCursor);

    Qt::CursorShape duringClick = hand;
    QObject::connect(cmdSave, &QPushButton::clicked, [&] { duringClick = ShapeOf(cmdSave); });
    SendMouse(cmdSave, QEvent::MouseButtonPress, Qt::LeftButton);
    SendMouse(cmdSave, QEvent::MouseMove, Qt::LeftButton);  // still held: stays normal
    EXPECT_EQ(ShapeOf(cmdSave), Qt::ArrowCursor);
    SendMouse(cmdSave, QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(duringClick, Qt::ArrowCursor);
    SendMouse(cmdSave, QEvent::MouseMove, Qt::NoButton);
    EXPECT_EQ(ShapeOf(cmdSave), hand);

    cmdCancel->click();  // as from the keyboard
    EXPECT_EQ(ShapeOf(cmdCancel), Qt::ArrowCursor);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(cmdCancel, &enter);
    EXPECT_EQ(ShapeOf(cmdCancel), hand);
}

}  // namespace
}  // namespace bw
