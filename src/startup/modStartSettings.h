#pragma once
// The stored settings turned into the main window's menu state at start: each row sets a
// check mark or runs the menu handler a click runs; chains stop at the first key that is 1.
void window_ApplyStartSettings();
