// The game's sound: the cue's strike and every contact, heard through the audio device, and
// recorded to a WAV file when the player asks.
#pragma once

#include <string>

#include "audio/shot_sounds.h"

// Hears the shot's contacts: hands each to the console's lines, and sounds it once sound is on.
extern ShotSounds shotSounds;

// Creates the WAV file `path`, which gets everything played once sound starts, silences
// included, until sound stops. False, with the reason in `error`, when it cannot be created.
bool recordSound(const std::string& path, std::string& error);
// Starts sound on a worker thread, so that the first frame never waits for the audio device;
// sound stops at exit. With `device` the sound is played; without a device the game says so once
// and plays silently. A recording is made either way.
void startSound(bool device);
// Blocks until sound plays or is recorded (true), or neither can be (false); false before
// startSound.
bool waitForSound();
// Every sound asked for has been played (true too when sound is off).
bool soundDone();
// Closes the audio device, ends the worker and completes the recording; nothing is heard or
// recorded afterwards.
void stopSound();
