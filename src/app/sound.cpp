// The game's sound output, created by startSound and kept until exit.
#include "app/sound.h"

#include <cstdlib>

#include "app/objects.h"
#include "audio/sdl_output.h"

ShotSounds shotSounds(contactLines);

namespace {
AudioOutput* output = nullptr;
} // namespace

void startSound() {
    if (output) return;
    output = new AudioOutput(shotSounds);
    std::atexit(stopSound);
}

bool waitForSound() { return output && output->waitUntilStarted(); }

bool soundDone() { return !output || output->idle(); }

void stopSound() {
    delete output;
    output = nullptr;
}
