#pragma once
// The global hot keys' bindings as the captions of FrmMenus' hidden labels.
#include <QStringList>

// Rebuilds the seven captions from [GlobalKeys]. Runs at start and when the preferences apply
// changed hot keys.
void settings_LoadGlobalKeys();

// The seven captions in the order bindings are compared (play/pause, stop, next, previous,
// mute, volume up, volume down), for globalkeys_Match.
QStringList globalkeys_LabelCaptions();
