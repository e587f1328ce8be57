#pragma once
// Window- and shell-level services shared by every window.
#include <QString>

// True when the system can play sound.
bool windows_HasSoundCard();
// The visual-styles manifest belongs to another platform: nothing is written here.
void windows_CreateThemeManifest(const QString& programFileName, const QString& programTitle);
