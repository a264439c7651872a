// Key repeat under X11: a held key arrives as repeated key-downs and one key-up at the release.
#pragma once

// Asks the X server, on the connection of the current GL context, to stop sending a key-up
// before every repeated key-down, so that holding the space bar charges the shot and only the
// real release strikes. Returns false (after one line on the error stream) when the server
// cannot do it. Call once the window exists.
bool enableDetectableAutoRepeat();
