#include "platform/X11KeyStateSource.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

#ifdef VELTRA_HAVE_X11
#include <X11/XF86keysym.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#ifdef VELTRA_HAVE_XI
#include <X11/extensions/XInput2.h>
#endif
#endif

namespace {
// Asking about many keys in a row brings the state up to date only once.
constexpr auto kRefreshInterval = std::chrono::milliseconds(10);
constexpr int kKeycodes = 256;
} // namespace

struct X11KeyStateSource::Private {
#ifdef VELTRA_HAVE_X11
    Display* display = nullptr;
#endif
    bool raw = false;
    int xiOpcode = -1;
    int xkbEventBase = -1;
    std::array<int, kKeycodes> vkOfKeycode{};
    std::array<std::vector<int>, keystate::vk::Count> keycodesOfVk;
    std::array<bool, kKeycodes> keycodeDown{};
    std::array<bool, keystate::vk::Count> pressed{};
    std::chrono::steady_clock::time_point lastRefresh{};
    std::unique_ptr<QSocketNotifier> notifier;
    // The latest real presses, by keycode and server time. More than the last one: the
    // program may handle a press only after the user has pressed again.
    struct Press {
        int keycode = -1;
        std::uint32_t time = 0;
    };
    std::array<Press, 64> presses{};
    std::size_t nextPress = 0;

#ifdef VELTRA_HAVE_X11
    void readKeyboardMapping();
    void keyWentDown(int keycode);
    void keyWentUp(int keycode);
    void takeKeymap(const char keys[32], bool markPresses);
    void drainEvents();
#endif
};

#ifdef VELTRA_HAVE_X11

void X11KeyStateSource::Private::readKeyboardMapping()
{
    vkOfKeycode.fill(0);
    for (auto& codes : keycodesOfVk) codes.clear();
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    if (minKeycode < 0 || maxKeycode >= kKeycodes || maxKeycode < minKeycode) return;
    int perKeycode = 0;
    KeySym* keysyms = XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode),
                                          maxKeycode - minKeycode + 1, &perKeycode);
    if (!keysyms) return;
    for (int keycode = minKeycode; keycode <= maxKeycode; ++keycode) {
        // The first keysym of the key that is a hot key decides: a key showing "a" and "A"
        // is A, a number-pad key showing KP_End and KP_1 is NumPad1 whatever Num Lock says.
        for (int level = 0; level < perKeycode; ++level) {
            const int vk = virtualKeyOfKeysym(keysyms[(keycode - minKeycode) * perKeycode + level]);
            if (vk == 0) continue;
            vkOfKeycode[keycode] = vk;
            keycodesOfVk[vk].push_back(keycode);
            break;
        }
    }
    XFree(keysyms);
}

void X11KeyStateSource::Private::keyWentDown(int keycode)
{
    if (keycode < 0 || keycode >= kKeycodes) return;
    // A press while already down is the key repeating: not a new press.
    if (keycodeDown[keycode]) return;
    keycodeDown[keycode] = true;
    if (const int vk = vkOfKeycode[keycode]) pressed[vk] = true;
}

void X11KeyStateSource::Private::keyWentUp(int keycode)
{
    if (keycode >= 0 && keycode < kKeycodes) keycodeDown[keycode] = false;
}

void X11KeyStateSource::Private::takeKeymap(const char keys[32], bool markPresses)
{
    for (int keycode = 0; keycode < kKeycodes; ++keycode) {
        const bool down = (keys[keycode / 8] >> (keycode % 8)) & 1;
        if (down && markPresses) keyWentDown(keycode);
        keycodeDown[keycode] = down;
    }
}

void X11KeyStateSource::Private::drainEvents()
{
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            if (event.xmapping.request == MappingKeyboard) readKeyboardMapping();
            continue;
        }
        if (xkbEventBase >= 0 && event.type == xkbEventBase) {
            readKeyboardMapping();
            continue;
        }
#ifdef VELTRA_HAVE_XI
        if (raw && event.xcookie.type == GenericEvent && event.xcookie.extension == xiOpcode
            && XGetEventData(display, &event.xcookie)) {
            const auto* rawEvent = static_cast<const XIRawEvent*>(event.xcookie.data);
            if (event.xcookie.evtype == XI_RawKeyPress) {
                // The server makes no raw press of its autorepeat; the mark is heeded all the same.
                if (!(rawEvent->flags & XIKeyRepeat))
                    presses[nextPress++ % presses.size()] = {rawEvent->detail, std::uint32_t(rawEvent->time)};
                keyWentDown(rawEvent->detail);
            } else if (event.xcookie.evtype == XI_RawKeyRelease) keyWentUp(rawEvent->detail);
            XFreeEventData(display, &event.xcookie);
        }
#endif
    }
}

X11KeyStateSource::X11KeyStateSource(const QByteArray& displayName, Mode mode)
    : d(std::make_unique<Private>())
{
    d->display = XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!d->display) return;

#ifdef VELTRA_HAVE_XI
    int event = 0;
    int error = 0;
    if (mode == Mode::Auto
        && XQueryExtension(d->display, "XInputExtension", &d->xiOpcode, &event, &error)) {
        // 2.1 and later deliver raw events even while another client grabs the keyboard.
        int major = 2;
        int minor = 2;
        if (XIQueryVersion(d->display, &major, &minor) == Success && major >= 2) {
            unsigned char mask[XIMaskLen(XI_LASTEVENT)] = {};
            XISetMask(mask, XI_RawKeyPress);
            XISetMask(mask, XI_RawKeyRelease);
            XIEventMask eventMask;
            eventMask.deviceid = XIAllMasterDevices;
            eventMask.mask_len = sizeof(mask);
            eventMask.mask = mask;
            d->raw = XISelectEvents(d->display, DefaultRootWindow(d->display), &eventMask, 1) == Success;
        }
    }
#else
    (void)mode;
#endif

    // A server with XKB tells of keymap changes (a layout switched, a key remapped) only to
    // clients that ask for them.
    int xkbOpcode = 0;
    int xkbError = 0;
    int xkbMajor = XkbMajorVersion;
    int xkbMinor = XkbMinorVersion;
    if (XkbQueryExtension(d->display, &xkbOpcode, &d->xkbEventBase, &xkbError, &xkbMajor, &xkbMinor)) {
        XkbSelectEventDetails(d->display, XkbUseCoreKbd, XkbMapNotify, XkbKeySymsMask, XkbKeySymsMask);
        XkbSelectEventDetails(d->display, XkbUseCoreKbd, XkbNewKeyboardNotify, XkbNKN_KeycodesMask,
                              XkbNKN_KeycodesMask);
    } else {
        d->xkbEventBase = -1;
    }

    d->readKeyboardMapping();
    // Keys already down when we start are down, but were not pressed since anyone asked.
    char keys[32] = {};
    XQueryKeymap(d->display, keys);
    d->takeKeymap(keys, false);
    d->lastRefresh = std::chrono::steady_clock::now();

    // Read events as they come, so they never pile up between polls (or while the hot keys
    // are switched off and nobody asks).
    if (d->raw && QCoreApplication::instance()
        && QThread::currentThread() == QCoreApplication::instance()->thread()) {
        d->notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(d->display), QSocketNotifier::Read);
        QObject::connect(d->notifier.get(), &QSocketNotifier::activated, [this] { d->drainEvents(); });
    }
    XFlush(d->display);
}

X11KeyStateSource::~X11KeyStateSource()
{
    d->notifier.reset();
    if (d->display) XCloseDisplay(d->display);
}

bool X11KeyStateSource::isOpen() const { return d->display != nullptr; }

bool X11KeyStateSource::usesRawEvents() const { return d->raw; }

void X11KeyStateSource::refresh()
{
    if (!d->display) return;
    d->lastRefresh = std::chrono::steady_clock::now();
    if (d->raw) {
        // The round trip brings in every event the server made before it.
        XSync(d->display, False);
        d->drainEvents();
        return;
    }
    d->drainEvents();
    char keys[32] = {};
    XQueryKeymap(d->display, keys);
    d->takeKeymap(keys, true);
}

int X11KeyStateSource::GetAsyncKeyState(int virtualKey)
{
    if (!d->display || virtualKey < 0 || virtualKey >= keystate::vk::Count) return 0;
    if (std::chrono::steady_clock::now() - d->lastRefresh >= kRefreshInterval) refresh();
    int value = 0;
    for (const int keycode : d->keycodesOfVk[virtualKey])
        if (d->keycodeDown[keycode]) value = keystate::Down;
    if (d->pressed[virtualKey]) value |= keystate::PressedSinceLastQuery;
    d->pressed[virtualKey] = false;
    return value;
}

std::optional<std::bitset<256>> X11KeyStateSource::nativeKeysDown()
{
    if (!d->display) return std::nullopt;
    d->drainEvents();
    char keys[32] = {};
    XQueryKeymap(d->display, keys);
    std::bitset<256> down;
    for (int keycode = 0; keycode < kKeycodes; ++keycode)
        if ((keys[keycode / 8] >> (keycode % 8)) & 1) down.set(std::size_t(keycode));
    return down;
}

std::optional<bool> X11KeyStateSource::nativeKeyWentDownAt(int keycode, std::uint64_t time)
{
    if (!d->display || !d->raw) return std::nullopt;
    // The server sends the raw press before the event it makes of it for the focused window,
    // which the caller is handling: one round trip brings it in.
    XSync(d->display, False);
    d->drainEvents();
    // Server times are milliseconds that wrap at 32 bits.
    const auto at = std::uint32_t(time);
    return std::any_of(d->presses.begin(), d->presses.end(),
                       [&](const Private::Press& p) { return p.keycode == keycode && p.time == at; });
}

int X11KeyStateSource::virtualKeyOfKeysym(unsigned long keysym)
{
    using namespace keystate;
    if (keysym >= XK_F1 && keysym <= XK_F12) return vk::F1 + int(keysym - XK_F1);
    if (keysym >= XK_a && keysym <= XK_z) return vk::KeyA + int(keysym - XK_a);
    if (keysym >= XK_A && keysym <= XK_Z) return vk::KeyA + int(keysym - XK_A);
    if (keysym >= XK_0 && keysym <= XK_9) return vk::Key0 + int(keysym - XK_0);
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return vk::NumPad0 + int(keysym - XK_KP_0);
    switch (keysym) {
    // The number pad with Num Lock off.
    case XK_KP_Insert: return vk::NumPad0;
    case XK_KP_End: return vk::NumPad0 + 1;
    case XK_KP_Down: return vk::NumPad0 + 2;
    case XK_KP_Next: return vk::NumPad0 + 3;
    case XK_KP_Left: return vk::NumPad0 + 4;
    case XK_KP_Begin: return vk::NumPad0 + 5;
    case XK_KP_Right: return vk::NumPad0 + 6;
    case XK_KP_Home: return vk::NumPad0 + 7;
    case XK_KP_Up: return vk::NumPad0 + 8;
    case XK_KP_Prior: return vk::NumPad0 + 9;
    case XK_Shift_L:
    case XK_Shift_R: return vk::Shift;
    case XK_Control_L:
    case XK_Control_R: return vk::Control;
    case XK_Alt_L:
    case XK_Alt_R: return vk::Alt;
    case XK_Super_L: return vk::LeftWin;
    case XK_Super_R: return vk::RightWin;
    case XF86XK_AudioMute: return vk::VolumeMute;
    case XF86XK_AudioLowerVolume: return vk::VolumeDown;
    case XF86XK_AudioRaiseVolume: return vk::VolumeUp;
    case XF86XK_AudioNext: return vk::MediaNext;
    case XF86XK_AudioPrev: return vk::MediaPrevious;
    case XF86XK_AudioStop: return vk::MediaStop;
    // Headsets send Play and Pause in turn from their one button.
    case XF86XK_AudioPlay:
    case XF86XK_AudioPause: return vk::MediaPlayPause;
    default: return 0;
    }
}

#else // no X11: every key is up

X11KeyStateSource::X11KeyStateSource(const QByteArray&, Mode) : d(std::make_unique<Private>()) {}
X11KeyStateSource::~X11KeyStateSource() = default;
bool X11KeyStateSource::isOpen() const { return false; }
bool X11KeyStateSource::usesRawEvents() const { return false; }
void X11KeyStateSource::refresh() {}
int X11KeyStateSource::GetAsyncKeyState(int) { return 0; }
std::optional<std::bitset<256>> X11KeyStateSource::nativeKeysDown() { return std::nullopt; }
std::optional<bool> X11KeyStateSource::nativeKeyWentDownAt(int, std::uint64_t) { return std::nullopt; }
int X11KeyStateSource::virtualKeyOfKeysym(unsigned long) { return 0; }

#endif
