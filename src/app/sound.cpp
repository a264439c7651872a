// The game's sound output and its recording, created at start-up and kept until exit.
#include "app/sound.h"

#include <csignal>
#include <cstdlib>
#include <memory>

#include "app/objects.h"
#include "audio/sdl_output.h"
#include "audio/wav_writer.h"

ShotSounds shotSounds(contactLines);

namespace {
std::unique_ptr<WavWriter> recording;
std::unique_ptr<AudioOutput> output;

// Escape ends the game with exit(): the recording's last samples are written out then.
void stopSoundAtExit() {
    static bool registered = false;
    if (!registered) std::atexit(stopSound);
    registered = true;
}
} // namespace

// A write past the limit on a file's size (ulimit -f) then fails as on a full disk, instead of
// ending the game.
bool recordSound(const std::string& path, std::string& error) {
    std::signal(SIGXFSZ, SIG_IGN);
    auto file = std::make_unique<WavWriter>();
    if (!file->open(path, error)) return false;
    recording = std::move(file);
    stopSoundAtExit();
    return true;
}

void startSound(bool device) {
    if (output) return;
    output = std::make_unique<AudioOutput>(shotSounds, device, recording.get());
    stopSoundAtExit();
}

bool waitForSound() { return output && output->waitUntilStarted(); }

bool soundDone() { return !output || output->idle(); }

// The output first: its worker writes the recording's last silence.
void stopSound() {
    output.reset();
    recording.reset();
}
