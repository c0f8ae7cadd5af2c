#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>

#include "ui/HoverCursor.h"

namespace bw {
namespace {

TEST(HoverCursor, HandOverButtonsOnlyAndNormalFromTheClick) {
    QWidget window;
    auto* cmd = new QPushButton("Save", &window);
    auto* chk = new QCheckBox("Check", &window);
    InstallHoverCursor(window);
    const Qt::CursorShape hand = HoverHandCursor().shape();
    EXPECT_EQ(cmd->cursor().shape(), hand);
    EXPECT_EQ(chk->cursor().shape(), Qt::ArrowCursor);
    Qt::CursorShape duringClick = hand;
    QObject::connect(cmd, &QPushButton::clicked, [&] { duringClick = cmd->cursor().shape(); });
    cmd->click();
    EXPECT_EQ(duringClick, Qt::ArrowCursor);
    QEvent enter(QEvent::Enter);  // the hand is back once the pointer comes over it again
    QApplication::sendEvent(cmd, &enter);
    EXPECT_EQ(cmd->cursor().shape(), hand);
}

}  // namespace
}  // namespace bw
