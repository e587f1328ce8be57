#pragma once
// A keyboard that tests press and release by hand.
#include "platform/KeyStateSource.h"

#include <array>
#include <optional>
#include <set>
#include <utility>
#include <vector>

class FakeKeyStateSource : public KeyStateSource {
public:
    int GetAsyncKeyState(int virtualKey) override;

    // Puts the key down; it counts as pressed once, however long it stays down.
    void press(int virtualKey);
    void release(int virtualKey);
    // Down and up again before anyone asks.
    void tap(int virtualKey);
    bool isDown(int virtualKey) const;

    // The key with this native code went really down at this time. Until the first such
    // press the source cannot tell a press from a repeat.
    void nativePress(int keycode, std::uint64_t time);
    std::optional<bool> nativeKeyWentDownAt(int keycode, std::uint64_t time) override;

    // Every code asked about, in order.
    std::vector<int> queries;

private:
    std::array<bool, keystate::vk::Count> m_down{};
    std::array<bool, keystate::vk::Count> m_pressed{};
    std::optional<std::set<std::pair<int, std::uint64_t>>> m_nativePresses;
};
