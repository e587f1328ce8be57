#include "controls/SystemColours.h"

#include <QGuiApplication>

namespace syscolour {

bool lookupEntry(quint32 index, PaletteEntry* entry)
{
    using P = QPalette;
    static const PaletteEntry table[] = {
        {P::Active, P::Button},            // 0 scroll bar
        {P::Active, P::Dark},              // 1 desktop
        {P::Active, P::Highlight},         // 2 active caption
        {P::Inactive, P::Highlight},       // 3 inactive caption
        {P::Active, P::Window},            // 4 menu
        {P::Active, P::Base},              // 5 window background
        {P::Active, P::Shadow},            // 6 window frame
        {P::Active, P::WindowText},        // 7 menu text
        {P::Active, P::Text},              // 8 window text
        {P::Active, P::HighlightedText},   // 9 caption text
        {P::Active, P::Window},            // 10 active border
        {P::Inactive, P::Window},          // 11 inactive border
        {P::Active, P::Dark},              // 12 application workspace
        {P::Active, P::Highlight},         // 13 highlight
        {P::Active, P::HighlightedText},   // 14 highlighted text
        {P::Active, P::Button},            // 15 button face
        {P::Active, P::Dark},              // 16 button shadow
        {P::Disabled, P::Text},            // 17 grey text
        {P::Active, P::ButtonText},        // 18 button text
        {P::Inactive, P::HighlightedText}, // 19 inactive caption text
        {P::Active, P::Light},             // 20 button highlight
        {P::Active, P::Shadow},            // 21 3-D dark shadow
        {P::Active, P::Midlight},          // 22 3-D light
        {P::Active, P::ToolTipText},       // 23 tool tip text
        {P::Active, P::ToolTipBase},       // 24 tool tip background
        {P::Active, P::Button},            // 25 (unused)
        {P::Active, P::Link},              // 26 hot-tracked item
        {P::Active, P::Highlight},         // 27 active caption gradient
        {P::Inactive, P::Highlight},       // 28 inactive caption gradient
        {P::Active, P::Highlight},         // 29 menu highlight
        {P::Active, P::Window},            // 30 menu bar
    };
    if (index >= sizeof(table) / sizeof(table[0])) return false;
    *entry = table[index];
    return true;
}

PaletteEntry paletteEntry(quint32 index)
{
    PaletteEntry e;
    if (!lookupEntry(index, &e)) e = {QPalette::Active, QPalette::Button};
    return e;
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
