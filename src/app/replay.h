// A record played again in the window: its events at their times, checked against the game.
#pragma once

#include <string>

// Reads the whole record at `path` before the window opens. False with `error` set ("FILE:LINE:
// why") when it cannot be read or a line is not an event within its ranges.
bool loadReplay(const char* path, std::string& error);
// Starts playing the loaded record from the game as start-up left it.
void startReplay();
// Plays every event whose time has come after `seconds` more of the replay (none while paused).
// A record that does not fit the game ends the program with status 2 and a line naming the
// record's line and the shot.
void advanceReplay(double seconds);
// Keys during a replay: Escape quits, p pauses and resumes, Up and Down turn the view and z and x
// zoom; every other key is ignored.
void replayKeyboard(unsigned char key, int x, int y);
void replaySpecial(int key, int x, int y);
// The mouse during a replay: the wheel zooms; every other button is ignored.
void replayMouse(int button, int state, int x, int y);
// Whether every event of the record has been played.
bool replayFinished();
