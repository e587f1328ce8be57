#include "common/modColours.h"

#include "controls/SystemColours.h"

namespace colours {

QColor toQColor(quint32 colour, const QPalette& palette)
{
    if (colour & SystemBit) {
        syscolour::PaletteEntry s;
        if ((colour & 0x7FFFFF00u) != 0 || !syscolour::lookupEntry(colour & 0xFFu, &s)) return QColor();
        return palette.color(s.group, s.role);
    }
    if (colour > 0x00FFFFFFu) return QColor();
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

quint32 fromQColor(const QColor& colour) { return syscolour::fromQColor(colour.toRgb()); }

} // namespace colours
