#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace bw {

// A colour number (red in the low byte) as a QColor; numbers with the high bit set name system
// colours and map to the application palette (-2147483633 is the button face).
QColor ColorFromNumber(int32_t number);
// The colour number of a QColor (never a system colour).
int32_t NumberFromColor(const QColor& color);
// The palette role of a system colour's index (15 button face ...), for numbers with the high bit.
QPalette::ColorRole SystemColorRole(int index);

}  // namespace bw
