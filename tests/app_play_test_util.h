// Helpers of the play tests: a fresh game for every test, shots played out with a fixed frame
// time, GLUT key events delivered through the X server, and counted redisplay requests.
#pragma once

// Redisplays asked for since the last reset; the test link wraps glutPostRedisplay.
extern int redisplayRequests;

// Starts the game once per process (the test window is current), then puts the balls, the
// referee, the camera, the cue, the idle callback and the window size back to start-up.
void startPlay();

// Runs the installed idle callback until none is left, each frame lasting frameSeconds on the
// frame timer; returns the number of idle calls made, or -1 after maxCalls.
int runIdle(double frameSeconds = 1.0 / 60.0, int maxCalls = 100000);
// Makes the next frame-timer reading report `seconds` since the last one.
void setNextFrameTime(double seconds);

// Modifier masks of an X key event.
constexpr unsigned int X_SHIFT = 1u << 0;
constexpr unsigned int X_CTRL = 1u << 2;
constexpr unsigned int X_ALT = 1u << 3;
// Key symbols the tests send.
constexpr unsigned long KEYSYM_SPACE = 0x20;
constexpr unsigned long KEYSYM_LEFT = 0xff51;
constexpr unsigned long KEYSYM_UP = 0xff52;
constexpr unsigned long KEYSYM_RIGHT = 0xff53;
constexpr unsigned long KEYSYM_DOWN = 0xff54;
constexpr unsigned long KEYSYM_CONTROL_L = 0xffe3;

// Sends a key press or release with the given modifier state to the test window and lets GLUT
// dispatch it to the registered keyboard, keyboard-up and special callbacks.
void sendKey(unsigned long keysym, unsigned int state, bool press);
// Press and release.
void tapKey(unsigned long keysym, unsigned int state = 0);
