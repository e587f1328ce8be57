#include "controls/SystemColours.h"

#include <QGuiApplication>

namespace syscolour {

PaletteEntry paletteEntry(quint32 index)
{
    using P = QPalette;
    switch (index) {
    case 0: return {P::Active, P::Button};            // scroll bar
    case 1: return {P::Active, P::Window};            // desktop
    case 2: return {P::Active, P::Highlight};         // active caption
    case 3: return {P::Inactive, P::Highlight};       // inactive caption
    case 4: return {P::Active, P::Window};            // menu bar
    case 5: return {P::Active, P::Base};              // window background
    case 6: return {P::Active, P::Shadow};            // window frame
    case 7: return {P::Active, P::WindowText};        // menu text
    case 8: return {P::Active, P::Text};              // window text
    case 9: return {P::Active, P::HighlightedText};   // caption text
    case 10: return {P::Active, P::Window};           // active border
    case 11: return {P::Inactive, P::Window};         // inactive border
    case 12: return {P::Active, P::Dark};             // application workspace
    case 13: return {P::Active, P::Highlight};        // highlight
    case 14: return {P::Active, P::HighlightedText};  // highlighted text
    case 15: return {P::Active, P::Button};           // button face
    case 16: return {P::Active, P::Dark};             // button shadow
    case 17: return {P::Disabled, P::Text};           // grey text
    case 18: return {P::Active, P::ButtonText};       // button text
    case 19: return {P::Inactive, P::HighlightedText};// inactive caption text
    case 20: return {P::Active, P::Light};            // button highlight
    case 21: return {P::Active, P::Shadow};           // 3-D dark shadow
    case 22: return {P::Active, P::Midlight};         // 3-D light
    case 23: return {P::Active, P::ToolTipText};      // tool tip text
    case 24: return {P::Active, P::ToolTipBase};      // tool tip background
    default: return {P::Active, P::Button};
    }
}

QColor toQColor(OleColour colour)
{
    if (colour & SystemFlag) {
        const PaletteEntry e = paletteEntry(colour & 0x00FFFFFFu);
        return QGuiApplication::palette().color(e.group, e.role);
    }
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

OleColour fromQColor(const QColor& colour)
{
    return OleColour(colour.red()) | (OleColour(colour.green()) << 8)
        | (OleColour(colour.blue()) << 16);
}

OleColour fromVariant(const QVariant& value, OleColour fallback)
{
    bool ok = false;
    const qlonglong n = value.toLongLong(&ok);
    if (ok) return OleColour(quint64(n) & 0xFFFFFFFFu);
    const qulonglong u = value.toULongLong(&ok);
    return ok ? OleColour(u & 0xFFFFFFFFu) : fallback;
}

} // namespace syscolour
