#pragma once
// The lower layers (common, controls, media, platform) know no window. Where they need one,
// they offer a hook, and this sets every hook to the program's windows: the tray icon's
// clicks and menu, and how a dialog shown modally is unloaded. Start-up runs it first.
namespace startup {
void wireLowerLayers();
}
