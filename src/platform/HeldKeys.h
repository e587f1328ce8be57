#pragma once
// Keys held down, for the whole program. The desktop repeats a held key's press, and a press
// may lose its release when the focus goes to another program before the key comes up. While
// a key is held it runs no command: boxes, menus, shortcuts and the windows' own keys see its
// first press only. Typing in a text field and moving through a list or a menu still repeat.
//
// A key counts as held from its press to its release. At every change of focus (a window
// activated or left, the program gaining or losing the focus) the keys held are asked of the
// desktop anew; where the desktop cannot be asked, they are forgotten.
#include <QObject>

#include <memory>
#include <set>
#include <utility>

class KeyStateSource;
class QKeyEvent;

class HeldKeys : public QObject {
public:
    // Watches the application's key events from now on. `desktop` tells which native key
    // codes are down (null: nobody to ask).
    explicit HeldKeys(std::shared_ptr<KeyStateSource> desktop);
    ~HeldKeys() override;
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

    // The keyboard of this desktop where its key events carry keycodes it can be asked
    // about (X11), else null.
    static std::shared_ptr<KeyStateSource> desktopKeyboard();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool swallowed(QKeyEvent* event);
    void askAnew();

    std::shared_ptr<KeyStateSource> m_desktop;
    std::set<quint32> m_held;
    quint32 m_overridden = 0;   // the key whose press comes next, its shortcut check just seen
    std::pair<quint32, quint64> m_lastRelease{0, 0};   // key and time
};
