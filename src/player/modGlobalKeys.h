#pragma once
// The global hot keys: which keys are watched, how a key press and the modifiers held with it
// become a combination text ("Ctrl+Shift+F5", "Media:  Next"), and how that text is looked up
// among the seven bindings kept in [GlobalKeys]. No widgets: the main window's timer calls
// globalkeys_Poll and runs the action globalkeys_Match picks.
#include <QString>
#include <QStringList>

#include <functional>
#include <span>

class KeyStateSource;

// One watched key: the name used in combinations and in the settings, and its virtual-key code.
struct GlobalKey {
    const char* name;
    int code;
};

// The 65 watched keys, in the order they are polled.
std::span<const GlobalKey> globalkeys_Table();

// The seven actions, in the order their bindings are compared.
enum GlobalKeyAction {
    GlobalKey_PlayPause = 0,
    GlobalKey_Stop,
    GlobalKey_Next,
    GlobalKey_Previous,
    GlobalKey_Mute,
    GlobalKey_VolumeUp,
    GlobalKey_VolumeDown,
    GlobalKey_ActionCount
};

// An action's settings: [GlobalKeys] <keyWord>Ext (modifier text) and <keyWord>Key (key name).
struct GlobalKeyBinding {
    const char* keyWord;
    const char* defaultKey;   // the media key's name
};
std::span<const GlobalKeyBinding> globalkeys_Bindings();

// The Win modifier's value from the left (91) and right (92) Windows keys: the left key's
// value when non-zero, else the right key's.
int globalkeys_WinValue(int leftWin, int rightWin);

// The prefix for the modifiers held (non-zero values): the first of "Ctrl+Shift+",
// "Ctrl+Alt+", "Win+Ctrl+", "Win+Shift+", "Alt+Shift+", "Win+Alt+", "Alt+", "Shift+", "Ctrl+",
// "Win+" whose modifiers are all held; empty when none is.
QString globalkeys_Prefix(int ctrl, int shift, int alt, int win);

// The combination for a key's state and the modifiers' states; empty unless the key went down
// since it was last asked about (bit 0 of its value).
QString globalkeys_Combination(int keyValue, int ctrl, int shift, int alt, int win, const QString& name);

// One poll: reads Shift, Ctrl, Alt and both Windows keys, then every watched key in table
// order, and reports each key pressed since the last poll with its combination. With enabled
// false nothing is reported, but every key is still read, which clears their pressed marks.
void globalkeys_Poll(KeyStateSource& source, bool enabled,
                     const std::function<void(const QString& combination)>& onCombination);

// The seven bindings' combined texts from [GlobalKeys], in action order: the key name alone
// when the modifier text is empty, else modifier text, "+", key name.
QStringList globalkeys_ReadCaptions();

// The first action whose caption equals the combination, letter case ignored; -1 when none.
int globalkeys_Match(const QStringList& captions, const QString& combination);
