// The machine's audio device, through SDL2's audio: a worker thread synthesises the sounds,
// opens the device, and closes it whenever the mixer has been quiet for a while, so that the
// game waiting for a key takes no processor time; the next sound opens it again.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "audio/mixer.h"
#include "audio/synth.h"

class ShotSounds;

constexpr int DEVICE_BUFFER_FRAMES = 512;    // per call of the device for samples
constexpr double QUIET_CLOSE_SECONDS = 1.0;   // the device closes within this of the last sound

class AudioOutput {
public:
    // Starts the worker. Once the device plays, `shot` is heard; without a device the worker
    // says so once on the error stream and the game stays silent.
    explicit AudioOutput(ShotSounds& shot);
    // Closes the device and ends the worker.
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Blocks until the device plays (true) or was found missing (false).
    bool waitUntilStarted();
    // Every sound asked for has been played.
    bool idle() const { return mixer.idle(); }

private:
    enum class State { Starting, Closed, Open, Off };

    void run();
    bool start();
    bool open();
    void close();
    void serve(std::unique_lock<std::mutex>& guard);
    void wake();
    void fill(std::uint8_t* stream, int bytes);

    ShotSounds& shot;
    SoundBank bank;
    Mixer mixer;
    std::uint32_t device = 0; // SDL's id, 0 while closed
    std::mutex stateLock;
    std::condition_variable changed;
    State state = State::Starting;
    bool wanted = false;   // a sound was asked for since the device closed
    bool stopping = false;
    std::thread worker;   // last: starts once the rest is built
};
