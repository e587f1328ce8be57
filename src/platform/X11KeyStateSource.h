#pragma once
// The global keyboard of an X11 desktop, read over a connection of its own, so it works
// whichever Qt platform plugin runs and whichever program has the focus.
//
// Preferred: XInput2 raw key events on the root window. They arrive whatever window has the
// focus, and every press is remembered until its key is asked about, so a tap between two
// polls is not missed. The server makes them only of a key going down, not of its autorepeat,
// so they also tell a real press from a repeat. Without XInput2 2.x the source polls XQueryKeymap, which only sees the
// keys that are down at the moment it asks.
#include "platform/KeyStateSource.h"

#include <QByteArray>

#include <memory>

class X11KeyStateSource : public KeyStateSource {
public:
    enum class Mode { Auto, KeymapPolling };

    // An empty display name means $DISPLAY. When no display can be opened every key answers 0.
    explicit X11KeyStateSource(const QByteArray& displayName = QByteArray(), Mode mode = Mode::Auto);
    ~X11KeyStateSource() override;
    X11KeyStateSource(const X11KeyStateSource&) = delete;
    X11KeyStateSource& operator=(const X11KeyStateSource&) = delete;

    int GetAsyncKeyState(int virtualKey) override;
    std::optional<std::bitset<256>> nativeKeysDown() override;
    std::optional<bool> nativeKeyWentDownAt(int keycode, std::uint64_t time) override;

    bool isOpen() const;
    bool usesRawEvents() const;

    // Brings the key states up to date with the server now. Asking about a key does this by
    // itself, at most once in a short interval, so a poll of 70 keys costs one round trip.
    void refresh();

    // The virtual-key code a keysym stands for, 0 for keys the hot keys do not use.
    static int virtualKeyOfKeysym(unsigned long keysym);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
