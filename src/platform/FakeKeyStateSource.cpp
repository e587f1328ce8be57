#include "platform/FakeKeyStateSource.h"

namespace {
bool valid(int code) { return code >= 0 && code < keystate::vk::Count; }
} // namespace

int FakeKeyStateSource::GetAsyncKeyState(int virtualKey)
{
    queries.push_back(virtualKey);
    if (!valid(virtualKey)) return 0;
    int value = m_down[virtualKey] ? keystate::Down : 0;
    if (m_pressed[virtualKey]) value |= keystate::PressedSinceLastQuery;
    m_pressed[virtualKey] = false;
    return value;
}

void FakeKeyStateSource::press(int virtualKey)
{
    if (!valid(virtualKey) || m_down[virtualKey]) return;
    m_down[virtualKey] = true;
    m_pressed[virtualKey] = true;
}

void FakeKeyStateSource::release(int virtualKey)
{
    if (valid(virtualKey)) m_down[virtualKey] = false;
}

void FakeKeyStateSource::tap(int virtualKey)
{
    press(virtualKey);
    release(virtualKey);
}

bool FakeKeyStateSource::isDown(int virtualKey) const { return valid(virtualKey) && m_down[virtualKey]; }

void FakeKeyStateSource::nativePress(int keycode, std::uint64_t time)
{
    if (!m_nativePresses) m_nativePresses.emplace();
    m_nativePresses->emplace(keycode, time);
}

std::optional<bool> FakeKeyStateSource::nativeKeyWentDownAt(int keycode, std::uint64_t time)
{
    if (!m_nativePresses) return std::nullopt;
    return m_nativePresses->count({keycode, time}) > 0;
}
