#include "player/modGlobalKeys.h"

#include "common/modSettings.h"
#include "platform/KeyStateSource.h"

#include <array>

namespace {

using namespace keystate;

constexpr std::array<GlobalKey, 65> kKeys{{
    {"F1", vk::F1}, {"F2", vk::F1 + 1}, {"F3", vk::F1 + 2}, {"F4", vk::F1 + 3},
    {"F5", vk::F1 + 4}, {"F6", vk::F1 + 5}, {"F7", vk::F1 + 6}, {"F8", vk::F1 + 7},
    {"F9", vk::F1 + 8}, {"F10", vk::F1 + 9}, {"F11", vk::F1 + 10}, {"F12", vk::F1 + 11},
    {"A", 'A'}, {"B", 'B'}, {"C", 'C'}, {"D", 'D'}, {"E", 'E'}, {"F", 'F'}, {"G", 'G'},
    {"H", 'H'}, {"I", 'I'}, {"J", 'J'}, {"K", 'K'}, {"L", 'L'}, {"M", 'M'}, {"N", 'N'},
    {"O", 'O'}, {"P", 'P'}, {"Q", 'Q'}, {"R", 'R'}, {"S", 'S'}, {"T", 'T'}, {"U", 'U'},
    {"V", 'V'}, {"W", 'W'}, {"X", 'X'}, {"Y", 'Y'}, {"Z", 'Z'},
    {"1", '1'}, {"2", '2'}, {"3", '3'}, {"4", '4'}, {"5", '5'}, {"6", '6'}, {"7", '7'},
    {"8", '8'}, {"9", '9'}, {"0", '0'},
    {"NumPad1", vk::NumPad0 + 1}, {"NumPad2", vk::NumPad0 + 2}, {"NumPad3", vk::NumPad0 + 3},
    {"NumPad4", vk::NumPad0 + 4}, {"NumPad5", vk::NumPad0 + 5}, {"NumPad6", vk::NumPad0 + 6},
    {"NumPad7", vk::NumPad0 + 7}, {"NumPad8", vk::NumPad0 + 8}, {"NumPad9", vk::NumPad0 + 9},
    {"NumPad0", vk::NumPad0},
    {"Media:  Play/Pause", vk::MediaPlayPause},
    {"Media:  Stop", vk::MediaStop},
    {"Media:  Next", vk::MediaNext},
    {"Media:  Previous", vk::MediaPrevious},
    {"Media:  Mute", vk::VolumeMute},
    {"Media:  Volume Up", vk::VolumeUp},
    {"Media:  Volume Down", vk::VolumeDown},
}};

constexpr std::array<GlobalKeyBinding, GlobalKey_ActionCount> kBindings{{
    {"PlayPause", "Media:  Play/Pause"},
    {"Stop", "Media:  Stop"},
    {"Next", "Media:  Next"},
    {"Previous", "Media:  Previous"},
    {"Mute", "Media:  Mute"},
    {"VolumeUp", "Media:  Volume Up"},
    {"VolumeDown", "Media:  Volume Down"},
}};

} // namespace

std::span<const GlobalKey> globalkeys_Table() { return kKeys; }

std::span<const GlobalKeyBinding> globalkeys_Bindings() { return kBindings; }

int globalkeys_WinValue(int leftWin, int rightWin) { return leftWin != 0 ? leftWin : rightWin; }

QString globalkeys_Prefix(int ctrl, int shift, int alt, int win)
{
    const bool c = ctrl != 0;
    const bool s = shift != 0;
    const bool a = alt != 0;
    const bool w = win != 0;
    // Tried in this order; modifiers a rule does not name may be held as well.
    if (c && s) return QStringLiteral("Ctrl+Shift+");
    if (c && a) return QStringLiteral("Ctrl+Alt+");
    if (w && c) return QStringLiteral("Win+Ctrl+");
    if (w && s) return QStringLiteral("Win+Shift+");
    if (a && s) return QStringLiteral("Alt+Shift+");
    if (w && a) return QStringLiteral("Win+Alt+");
    if (a) return QStringLiteral("Alt+");
    if (s) return QStringLiteral("Shift+");
    if (c) return QStringLiteral("Ctrl+");
    if (w) return QStringLiteral("Win+");
    return QString();
}

QString globalkeys_Combination(int keyValue, int ctrl, int shift, int alt, int win, const QString& name)
{
    if ((keyValue & PressedSinceLastQuery) == 0) return QString();
    return globalkeys_Prefix(ctrl, shift, alt, win) + name;
}

void globalkeys_Poll(KeyStateSource& source, bool enabled,
                     const std::function<void(const QString& combination)>& onCombination)
{
    const int shift = source.GetAsyncKeyState(vk::Shift);
    const int ctrl = source.GetAsyncKeyState(vk::Control);
    const int alt = source.GetAsyncKeyState(vk::Alt);
    const int leftWin = source.GetAsyncKeyState(vk::LeftWin);
    const int rightWin = source.GetAsyncKeyState(vk::RightWin);
    const int win = globalkeys_WinValue(leftWin, rightWin);

    // Every key is read even when disabled: reading is what clears the pressed marks.
    for (const GlobalKey& key : kKeys) {
        const int value = source.GetAsyncKeyState(key.code);
        if (!enabled || value == 0) continue;
        // A key held since an earlier poll costs nothing more.
        if ((value & PressedSinceLastQuery) == 0) continue;
        const QString combination =
            globalkeys_Combination(value, ctrl, shift, alt, win, QString::fromLatin1(key.name));
        if (onCombination) onCombination(combination);
    }
}

QStringList globalkeys_ReadCaptions()
{
    const QString section = QStringLiteral("GlobalKeys");
    QStringList modifiers;
    QStringList keys;
    for (const GlobalKeyBinding& binding : kBindings) {
        const QString word = QString::fromLatin1(binding.keyWord);
        modifiers << settings_ReadValue(section, word + QStringLiteral("Ext"), QString());
        keys << settings_ReadValue(section, word + QStringLiteral("Key"), QString::fromLatin1(binding.defaultKey));
    }
    QStringList captions;
    for (int i = 0; i < modifiers.size(); ++i)
        captions << (modifiers[i].isEmpty() ? keys[i] : modifiers[i] + u'+' + keys[i]);
    return captions;
}

int globalkeys_Match(const QStringList& captions, const QString& combination)
{
    for (int i = 0; i < captions.size(); ++i)
        if (captions[i].compare(combination, Qt::CaseInsensitive) == 0) return i;
    return -1;
}
