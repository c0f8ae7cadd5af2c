#pragma once

#include <QRect>
#include <cmath>

#include "core/Measures.h"

namespace bw {

// Pixels of a twip measure, rounded half away from zero.
inline int Px(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
// Twips of a pixel measure.
inline double Twips(int pixels) { return static_cast<double>(pixels) * kTwipsPerPixel; }
// A rectangle given in twips, in pixels.
inline QRect TwipsRect(double left, double top, double width, double height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

}  // namespace bw
