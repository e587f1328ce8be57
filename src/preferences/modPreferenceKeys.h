#pragma once
// The settings the preferences dialog edits, with their defaults: the one table every other
// reader of these keys goes by. No widgets here; the dialog builds its controls from it.
#include <QString>
#include <QStringList>

#include <span>

namespace prefkeys {

// The check boxes chkSetting 0 to 29, all in section "Settings", indexed as the boxes are.
struct CheckSetting {
    const char* caption;
    const char* key;
    const char* def;
};
constexpr int CheckCount = 30;
std::span<const CheckSetting> checkSettings();

// The option groups. Each button's key is "1" while it is the chosen one.
enum class OptionGroup { Playback, Direction, Playlist, Time, SortBy, SortIn };
struct OptionSetting {
    const char* caption;
    const char* section;
    const char* key;
    const char* def;
};
std::span<const OptionSetting> options(OptionGroup group);

// The numeric boxes of section "Settings", in the order Apply checks them.
enum NumberBox { SkipRate = 0, Introduction, MaxPlaylists, MaxFiles, NumberBoxCount };
struct NumberSetting {
    const char* key;
    const char* def;
    int minimum;
    int maximum;
    const char* firstLine;   // of the range message
    const char* lastLine;
};
const NumberSetting& number(NumberBox box);
// The range message: the first line, an empty line, the maximum, the minimum, an empty line
// and the last line, each ended by CR LF.
QString rangeMessage(NumberBox box);

// Section "Appearance": the four colours (boxes picColour 0 to 3) and the playlist's font and
// picture. Colours are stored as the decimal text of the signed 32-bit colour number.
enum PlaylistColour { Background = 0, Font, PlayingFont, PlayNextFont, ColourCount };
struct ColourSetting {
    const char* key;
    quint32 def;   // 0x00BBGGRR, or a system colour with the top bit set
};
const ColourSetting& colour(PlaylistColour which);
// The stored text of a colour number: "-2147483643" for the window background.
QString colourText(quint32 colour);
// A stored colour, or the default when the text is no 32-bit number.
quint32 readColour(PlaylistColour which);
inline constexpr const char* FontKey = "Font";
inline constexpr const char* FontDefault = "Tahoma";
inline constexpr const char* FontsizeKey = "Fontsize";
inline constexpr const char* FontsizeDefault = "8";
inline constexpr const char* ImageKey = "PlaylistImage";

// Section "FileTypes": the twenty types in list order; the first three default to "1".
QStringList fileTypes();
QString fileTypeDefault(int position);
// Whether the type at this position is marked in the settings.
bool fileTypeMarked(int position);

// The hot-key rows' labels, in the order of the bindings in [GlobalKeys].
QStringList hotkeyLabels();
// The labels a reset gives: the same, but the first row reads "Play".
QStringList hotkeyResetLabels();

// A stored value read as a switch: "1" on, "0" off; anything else is the default's value.
bool switchValue(const QString& section, const QString& key, const QString& def);
bool readSwitch(const char* section, const char* key, const char* def);

} // namespace prefkeys
