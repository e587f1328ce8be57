#pragma once
// Colour numbers as the settings and the list rows keep them: 0x00BBGGRR, or a system
// colour (the top bit set, the low byte naming which), shown through the palette's roles.
#include <QColor>
#include <QPalette>

namespace colours {

constexpr quint32 SystemBit = 0x80000000u;

// The colour to paint; an invalid QColor for a number that names no colour.
QColor toQColor(quint32 colour, const QPalette& palette);
// 0x00BBGGRR of a colour.
quint32 fromQColor(const QColor& colour);

} // namespace colours
