#pragma once
// Whether the system can play sound: Qt lists an audio output, or the kernel has a sound card.
#include <functional>

namespace sounddevice {

bool hasSoundCard();
// Tests and headless runs decide the answer; an empty function restores the real check.
void setOverride(std::function<bool()> check);
// The system's own answer without Qt: a card under /proc/asound or a sound server socket.
bool systemHasSoundCard();

} // namespace sounddevice
