#include "common/modWindows.h"

#include "platform/SoundDevice.h"

bool windows_HasSoundCard() { return sounddevice::hasSoundCard(); }

void windows_CreateThemeManifest(const QString&, const QString&) {}
