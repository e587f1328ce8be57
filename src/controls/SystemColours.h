#pragma once
// Colour numbers of the skinned controls: 0x00BBGGRR, or, with the top bit set, the index
// of a system colour (0x8000000F is the button face), which follows the desktop palette.
#include <QColor>
#include <QPalette>
#include <QVariant>

using OleColour = quint32;

namespace syscolour {

constexpr OleColour SystemFlag = 0x80000000u;
constexpr OleColour ButtonFace = 0x8000000Fu;
constexpr OleColour ButtonShadow = 0x80000010u;
constexpr OleColour ButtonText = 0x80000012u;

// The palette group and role a system colour index names.
struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
// False for an index that names no system colour.
bool lookupEntry(quint32 index, PaletteEntry* entry);
// The same, unknown indexes giving the button face.
PaletteEntry paletteEntry(quint32 index);

// The colour a number stands for, system colours taken from the application palette.
QColor toQColor(OleColour colour);
// The 0x00BBGGRR number of a plain colour.
OleColour fromQColor(const QColor& colour);

// A colour number kept in a property bag or passed by a host: any integer, signed or not,
// of which the low 32 bits count. Anything that is no number gives `fallback`.
OleColour fromVariant(const QVariant& value, OleColour fallback);

} // namespace syscolour
