#pragma once

#include <QPixmap>

namespace bw {

// The message box pictures, 32 x 32: a face in profile speaking into a speech bubble.
// Pale yellow bubble holding lines of text.
QPixmap TalkPicture();
// Yellow bubble holding a red exclamation mark.
QPixmap AlertPicture();
// Red bubble holding a raised open hand.
QPixmap HandPicture();

}  // namespace bw
