#pragma once
// A keyboard that tests press and release by hand.
#include "platform/KeyStateSource.h"

#include <array>
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

    // Every code asked about, in order.
    std::vector<int> queries;

private:
    std::array<bool, keystate::vk::Count> m_down{};
    std::array<bool, keystate::vk::Count> m_pressed{};
};
