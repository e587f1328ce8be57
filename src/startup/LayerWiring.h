#pragma once
// The lower layers (common, controls, media, platform) know no window. Where they need one,
// they offer a hook, and this sets every hook to the program's windows: the tray icon's
// clicks and menu, how a dialog shown modally is unloaded, and the icon that the desktop
// entry of the file types shows. Start-up runs it first.
namespace startup {
void wireLowerLayers();
}
