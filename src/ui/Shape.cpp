#include "ui/Shape.h"

#include <QEvent>
#include <QPainter>

#include "ui/Twips.h"

namespace bw {

Shape::Shape(QWidget* parent, Style style) : QWidget(parent), style_(style) {
    // Only the shape's own drawing shows; the rest of its rectangle lets the window through.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::SetFillColor(const QColor& color) {
    fill_ = color;
    update();
}

void Shape::SetOutlineColor(const QColor& color) {
    outline_ = color;
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (style_ == Style::Filled) {
        p.fillRect(rect(), fill_);
    } else {
        p.setPen(QPen(outline_, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

bool Shape::eventFilter(QObject* watched, QEvent* event) {
    if (watched == target_) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::ShowToParent:
            case QEvent::HideToParent:
                Follow();
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Shape::Follow() {
    if (!target_) return;
    const int offset = Px(kShadowOffsetTwips);
    setGeometry(target_->geometry().translated(offset, offset));
    setVisible(target_->isVisibleTo(target_->parentWidget()));
}

Shape* AttachShadow(QWidget& target, const QString& name) {
    auto* shadow = new Shape(target.parentWidget(), Shape::Style::Filled);
    shadow->setObjectName(name);
    shadow->target_ = &target;
    shadow->stackUnder(&target);
    target.installEventFilter(shadow);
    shadow->Follow();
    return shadow;
}

}  // namespace bw
