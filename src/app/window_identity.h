// What the desktop knows the game's window by: its class, which a dock matches to the desktop
// entry's StartupWMClass, and its icon.
#pragma once

// The class of the game's window, as the desktop entry names it.
constexpr const char* WINDOW_CLASS = "pool";

// Gives the current GL window the class `pool` and the icon read from `iconFile` (a PNG); an
// icon that cannot be read is reported on the error stream and the window keeps none.
void identifyWindow(const char* iconFile);
