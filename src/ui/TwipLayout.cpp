#include "ui/TwipLayout.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace bw {

void PlaceAt(QWidget& child, int left, int top, int width, int height) {
    child.setGeometry(Px(left), Px(top), Px(width), Px(height));
}

QFrame* AddButtonShadow(QWidget& parent, const QPushButton& button, const QString& name) {
    auto* shadow = new QFrame(&parent);
    shadow->setObjectName(name);
    shadow->setFrameShape(QFrame::NoFrame);
    shadow->setAutoFillBackground(true);
    shadow->setGeometry(button.geometry().translated(Px(120), Px(120)));
    // Under every control, as a drawn shape would be, so no shadow covers a neighbouring button.
    shadow->lower();
    return shadow;
}

QFrame* AddLine(QWidget& parent, const QString& name, int x1, int y1, int x2, int y2) {
    auto* line = new QFrame(&parent);
    line->setObjectName(name);
    const bool horizontal = y1 == y2;
    line->setFrameShape(horizontal ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    if (horizontal)
        line->setGeometry(Px(x1), Px(y1), Px(x2 - x1), 1);
    else
        line->setGeometry(Px(x1), Px(y1), 1, Px(y2 - y1));
    return line;
}

void CenterOnScreen(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

QFont NearestFont(const QStringList& families, QFont::StyleHint hint, double pointSize, bool bold) {
    QFont font;
    // setFamilies makes the font engine try each name in turn before it falls back on the hint.
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace bw
