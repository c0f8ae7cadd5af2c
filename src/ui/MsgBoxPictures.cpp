#include "ui/MsgBoxPictures.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "ui/Twips.h"

namespace bw {

namespace {

constexpr int kSize = 32;

// The speaker: a head facing right in the lower left corner, mouth towards the bubble's tail.
void DrawFace(QPainter& p) {
    QPainterPath head;
    head.moveTo(2, 32);
    head.cubicTo(2, 28, -0.5, 22, 1, 17);
    head.cubicTo(2.5, 12, 7, 10, 10.5, 12.5);
    head.lineTo(12.3, 15.5);
    head.lineTo(12.6, 17.5);
    head.lineTo(15, 20.6);
    head.lineTo(12.8, 21.6);
    head.lineTo(13.4, 23);
    head.lineTo(12.6, 23.7);
    head.lineTo(13, 25);
    head.cubicTo(13, 27, 11.5, 27.6, 9.5, 27.6);
    head.lineTo(9.5, 32);
    head.closeSubpath();
    p.setPen(QPen(QColor(0x8d, 0x55, 0x24), 1));
    p.setBrush(QColor(0xf1, 0xc2, 0x7d));
    p.drawPath(head);

    QPainterPath hair;
    hair.moveTo(1.3, 21);
    hair.cubicTo(-0.2, 14, 5, 9.2, 11.2, 12.6);
    hair.lineTo(10.2, 15);
    hair.cubicTo(7.5, 13.6, 5.6, 16, 5.4, 20.5);
    hair.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6b, 0x3e, 0x26));
    p.drawPath(hair);

    p.setBrush(QColor(0x30, 0x20, 0x10));
    p.drawEllipse(QPointF(10.6, 17.6), 0.9, 0.9);
}

// The bubble with its tail pointing at the mouth.
void DrawBubble(QPainter& p, const QColor& fill, const QColor& outline) {
    QPainterPath body;
    body.addRoundedRect(QRectF(12.5, 0.5, 19, 18), 5, 5);
    QPainterPath tail;
    tail.moveTo(15, 16);
    tail.lineTo(15.5, 22);
    tail.lineTo(20, 17);
    tail.closeSubpath();
    p.setPen(QPen(outline, 1));
    p.setBrush(fill);
    p.drawPath(body.united(tail));
}

QPixmap Picture(const std::function<void(QPainter&)>& content) {
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawFace(p);
    content(p);
    p.end();
    return QPixmap::fromImage(image);
}

}  // namespace

QPixmap TalkPicture() {
    return Picture([](QPainter& p) {
        DrawBubble(p, QColor(0xff, 0xf8, 0xb8), QColor(0x8a, 0x70, 0x10));
        p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 5.5), QPointF(28, 5.5));
        p.drawLine(QPointF(16, 9.5), QPointF(28, 9.5));
        p.drawLine(QPointF(16, 13.5), QPointF(23, 13.5));
    });
}

QPixmap AlertPicture() {
    return Picture([](QPainter& p) {
        DrawBubble(p, QColor(0xff, 0xd8, 0x20), QColor(0x8a, 0x60, 0x00));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xd0, 0x10, 0x10));
        QPainterPath bar;
        bar.moveTo(20.2, 3);
        bar.lineTo(23.8, 3);
        bar.lineTo(22.8, 11.5);
        bar.lineTo(21.2, 11.5);
        bar.closeSubpath();
        p.drawPath(bar);
        p.drawEllipse(QPointF(22, 14.6), 1.7, 1.7);
    });
}

QPixmap HandPicture() {
    return Picture([](QPainter& p) {
        DrawBubble(p, QColor(0xd8, 0x20, 0x20), QColor(0x70, 0x00, 0x00));
        const QColor white(0xff, 0xff, 0xff);
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        // Four fingers, the middle ones longest, over a rounded palm, and the thumb out left.
        const double tops[] = {4.6, 3.4, 3.6, 5.2};
        for (int i = 0; i < 4; ++i) {
            p.drawRoundedRect(QRectF(18.6 + i * 2.2, tops[i], 1.9, 9.5 - tops[i] + 2), 0.95, 0.95);
        }
        p.drawRoundedRect(QRectF(18.6, 8.5, 8.5, 7.5), 2.2, 2.2);
        QPainterPath thumb;
        thumb.moveTo(19.2, 13.8);
        thumb.lineTo(15.6, 9.6);
        thumb.cubicTo(15.0, 8.8, 16.2, 7.9, 16.9, 8.6);
        thumb.lineTo(19.8, 11.2);
        thumb.closeSubpath();
        p.drawPath(thumb);
    });
}

QLabel* AddPictureBox(QWidget* parent, const char* name, const QPixmap& picture) {
    auto* box = new QLabel(parent);
    box->setObjectName(name);
    box->setPixmap(picture);
    box->setAlignment(Qt::AlignCenter);
    box->setGeometry(TwipsRect(360, 360, 495, 495));
    return box;
}

QLabel* AddPromptLabel(QWidget* parent, double widthTwips) {
    auto* label = new QLabel(parent);
    label->setObjectName("lblMsgText");
    label->setGeometry(TwipsRect(960, 240, widthTwips, 855));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace bw
