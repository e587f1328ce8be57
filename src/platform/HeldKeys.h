#pragma once
// Keys held down, for the whole program. The desktop repeats a held key's press to whichever
// window has the focus, and a press may lose its release when the focus goes elsewhere before
// the key comes up. A key repeats in the window its press went to, as on every desktop: a
// command runs again, a text field types on. Its repeats reach no other window: not the one
// that gets the focus after a box the press answered, nor one of ours after a press that went
// to another program. There the key runs nothing until it is let go and pressed anew.
//
// A key counts as held from its press to its release. At every change of focus (a window
// activated or left, the program gaining or losing the focus), and while any key counts as held
// a few times a second, the keys held are asked of the desktop anew, and those it says are up
// are forgotten; where it cannot be asked, all are at a change of focus. So a release that never
// reached the program (the menu or box its press closed had gone) holds the key no longer.
// Sooner than that, a press the desktop says was the key going down again, not its repeat, is
// a new press wherever it goes: Esc that closed a menu, and Esc again at once.
#include <QObject>
#include <QPointer>

#include <map>
#include <memory>
#include <set>

class KeyStateSource;
class QKeyEvent;
class QTimer;

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
    bool swallowed(QObject* window, QKeyEvent* event);
    bool wentDownAnew(quint32 key, const QKeyEvent& event) const;
    void askAnew(bool quietOnly = false);

    std::shared_ptr<KeyStateSource> m_desktop;
    QTimer* m_ask = nullptr;   // asks the desktop while keys count as held
    // Each key held, with the window its press went to: null for a press this program never
    // saw, or a window since gone.
    std::map<quint32, QPointer<QObject>> m_held;
    std::set<quint32> m_heard;   // keys with events since the desktop was last asked
    quint32 m_lastPressed = 0;   // the last key pressed other than a modifier
    struct Release {
        quint32 key = 0;
        quint64 time = 0;
        QPointer<QObject> window;
    } m_lastRelease;
};
