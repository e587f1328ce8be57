#pragma once
// The state of the desktop's keyboard as the global hot keys read it: for a virtual-key code,
// non-zero while the key is down, and bit 0 set when the key went down since the last time
// that key was asked about (reading it clears that mark). A key pressed and let go between
// two reads therefore answers just bit 0.
#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>

namespace keystate {

// The answer's bits.
constexpr int Down = 0x8000;
constexpr int PressedSinceLastQuery = 0x0001;

// The virtual-key codes the hot keys use.
namespace vk {
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Alt = 18;
constexpr int LeftWin = 91;
constexpr int RightWin = 92;
constexpr int Key0 = 48;        // '0'..'9' are 48..57
constexpr int KeyA = 65;        // 'A'..'Z' are 65..90
constexpr int NumPad0 = 96;     // 96..105
constexpr int F1 = 112;         // 112..123
constexpr int F12 = 123;
constexpr int VolumeMute = 173;
constexpr int VolumeDown = 174;
constexpr int VolumeUp = 175;
constexpr int MediaNext = 176;
constexpr int MediaPrevious = 177;
constexpr int MediaStop = 178;
constexpr int MediaPlayPause = 179;
constexpr int Count = 256;      // codes are below this
} // namespace vk

} // namespace keystate

class KeyStateSource {
public:
    virtual ~KeyStateSource() = default;
    // 0 for a code outside 0..255 or a key this source cannot see.
    virtual int GetAsyncKeyState(int virtualKey) = 0;

    // The keys down at this moment by their native key codes (on X11 the keycodes, which the
    // platform's key events carry as their scan codes), asked of the desktop afresh; nullopt
    // where this source cannot tell.
    virtual std::optional<std::bitset<256>> nativeKeysDown() { return std::nullopt; }

    // Whether the key with this native code really went down at `time` (the desktop's clock,
    // which the platform's key events carry as their timestamps), as against the desktop
    // repeating a key held; asked of the desktop afresh. nullopt where this source cannot tell.
    virtual std::optional<bool> nativeKeyWentDownAt(int /*keycode*/, std::uint64_t /*time*/) { return std::nullopt; }
};

// Where no keyboard can be read: every key is up.
class NullKeyStateSource final : public KeyStateSource {
public:
    int GetAsyncKeyState(int) override { return 0; }
};

namespace keystate {

// The desktop's keyboard: the X11 source when an X display can be opened, else the null
// source. A source installed for tests is returned instead.
std::shared_ptr<KeyStateSource> create();

// Makes create() return this source (null: back to the real one).
void setTestSource(std::shared_ptr<KeyStateSource> source);
std::shared_ptr<KeyStateSource> testSource();

// Installs a test source for the life of the object, then puts back the earlier one.
class ScopedTestSource {
public:
    explicit ScopedTestSource(std::shared_ptr<KeyStateSource> source)
        : m_previous(testSource())
    {
        setTestSource(std::move(source));
    }
    ~ScopedTestSource() { setTestSource(std::move(m_previous)); }
    ScopedTestSource(const ScopedTestSource&) = delete;
    ScopedTestSource& operator=(const ScopedTestSource&) = delete;

private:
    std::shared_ptr<KeyStateSource> m_previous;
};

} // namespace keystate
