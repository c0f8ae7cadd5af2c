#pragma once

#include <QPixmap>

class QLabel;
class QWidget;

namespace bw {

// The message box pictures, 32 x 32: a face in profile speaking into a speech bubble.
// Pale yellow bubble holding lines of text.
QPixmap TalkPicture();
// Yellow bubble holding a red exclamation mark.
QPixmap AlertPicture();
// Red bubble holding a raised open hand.
QPixmap HandPicture();

// A picture box of the two boxes: the picture in 495 twips square at Left 360, Top 360.
QLabel* AddPictureBox(QWidget* parent, const char* name, const QPixmap& picture);
// The prompt of the two boxes: plain text wrapped inside a fixed area, cut where it overflows.
QLabel* AddPromptLabel(QWidget* parent, double widthTwips);

}  // namespace bw
