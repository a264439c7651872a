// The game's sound: the cue's strike and every contact, heard through the audio device.
#pragma once

#include "audio/shot_sounds.h"

// Hears the shot's contacts: hands each to the console's lines, and sounds it once sound is on.
extern ShotSounds shotSounds;

// Starts sound on a worker thread, so that the first frame never waits for the audio device;
// sound stops at exit. Without a device the game says so once and plays silently.
void startSound();
// Blocks until sound plays (true) or was found impossible (false); false before startSound.
bool waitForSound();
// Every sound asked for has been played (true too when sound is off).
bool soundDone();
// Closes the audio device and ends the worker; nothing is heard afterwards.
void stopSound();
