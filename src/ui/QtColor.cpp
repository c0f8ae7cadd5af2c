#include "ui/QtColor.h"

#include <QApplication>

namespace bw {

QPalette::ColorRole SystemColorRole(int index) {
    switch (index) {
        case 5:
            return QPalette::Base;  // window background
        case 7:
            return QPalette::WindowText;  // menu text
        case 8:
            return QPalette::Text;  // window text
        case 9:
            return QPalette::HighlightedText;  // caption text
        case 12:
            return QPalette::Dark;  // application workspace
        case 13:
            return QPalette::Highlight;
        case 14:
            return QPalette::HighlightedText;
        case 15:
            return QPalette::Button;  // button face
        case 16:
            return QPalette::Mid;  // button shadow
        case 17:
            return QPalette::PlaceholderText;  // grey text
        case 18:
            return QPalette::ButtonText;
        case 20:
            return QPalette::Light;  // button highlight
        case 21:
            return QPalette::Shadow;  // 3-D dark shadow
        case 22:
            return QPalette::Midlight;  // 3-D light
        case 23:
            return QPalette::ToolTipText;
        case 24:
            return QPalette::ToolTipBase;
        default:
            return QPalette::Window;
    }
}

QColor ColorFromNumber(int32_t number) {
    const auto u = static_cast<uint32_t>(number);
    if (u & 0x80000000u)
        return QApplication::palette().color(SystemColorRole(static_cast<int>(u & 0xFFu)));
    return QColor(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF),
                  static_cast<int>((u >> 16) & 0xFF));
}

int32_t NumberFromColor(const QColor& c) {
    return static_cast<int32_t>(c.red() + 256 * c.green() + 65536 * c.blue());
}

}  // namespace bw
