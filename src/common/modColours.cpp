#include "common/modColours.h"

namespace colours {

namespace {
struct SystemColour {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Index: the system colour's number (scroll bar 0, window 5, window text 8, ...).
bool systemColour(quint32 n, SystemColour* out)
{
    using P = QPalette;
    static const SystemColour table[] = {
        {P::Active, P::Button},           // 0 scroll bar
        {P::Active, P::Dark},             // 1 desktop
        {P::Active, P::Highlight},        // 2 active caption
        {P::Inactive, P::Highlight},      // 3 inactive caption
        {P::Active, P::Window},           // 4 menu
        {P::Active, P::Base},             // 5 window
        {P::Active, P::Shadow},           // 6 window frame
        {P::Active, P::WindowText},       // 7 menu text
        {P::Active, P::Text},             // 8 window text
        {P::Active, P::HighlightedText},  // 9 caption text
        {P::Active, P::Window},           // 10 active border
        {P::Inactive, P::Window},         // 11 inactive border
        {P::Active, P::Dark},             // 12 application workspace
        {P::Active, P::Highlight},        // 13 highlight
        {P::Active, P::HighlightedText},  // 14 highlight text
        {P::Active, P::Button},           // 15 button face
        {P::Active, P::Dark},             // 16 button shadow
        {P::Disabled, P::Text},           // 17 grey text
        {P::Active, P::ButtonText},       // 18 button text
        {P::Inactive, P::HighlightedText},// 19 inactive caption text
        {P::Active, P::Light},            // 20 button highlight
        {P::Active, P::Shadow},           // 21 3-D dark shadow
        {P::Active, P::Midlight},         // 22 3-D light
        {P::Active, P::ToolTipText},      // 23 info text
        {P::Active, P::ToolTipBase},      // 24 info background
        {P::Active, P::Button},           // 25 (unused)
        {P::Active, P::Link},             // 26 hot-tracked item
        {P::Active, P::Highlight},        // 27 active caption gradient
        {P::Inactive, P::Highlight},      // 28 inactive caption gradient
        {P::Active, P::Highlight},        // 29 menu highlight
        {P::Active, P::Window},           // 30 menu bar
    };
    if (n >= sizeof(table) / sizeof(table[0])) return false;
    *out = table[n];
    return true;
}
} // namespace

QColor toQColor(quint32 colour, const QPalette& palette)
{
    if (colour & SystemBit) {
        SystemColour s;
        if ((colour & 0x7FFFFF00u) != 0 || !systemColour(colour & 0xFFu, &s)) return QColor();
        return palette.color(s.group, s.role);
    }
    if (colour > 0x00FFFFFFu) return QColor();
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

quint32 fromQColor(const QColor& colour)
{
    const QColor c = colour.toRgb();
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

} // namespace colours
