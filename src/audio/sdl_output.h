// The machine's audio device, through SDL2's audio: a worker thread synthesises the sounds,
// opens the device, and closes it whenever the mixer has been quiet for a while, so that the
// game waiting for a key takes no processor time; the next sound opens it again. A recording
// gets every sample the device is fed, and the silences between as zeros; without a device the
// worker renders the mixer for it at the clock's pace instead.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "audio/mixer.h"
#include "audio/synth.h"

class ShotSounds;
class WavWriter;

constexpr int DEVICE_BUFFER_FRAMES = 512;     // per call of the device for samples
constexpr double QUIET_CLOSE_SECONDS = 1.0;   // the device closes within this of the last sound
constexpr double CLOCK_TICK_SECONDS = 0.01;   // without a device, the mixer renders this often
constexpr double SILENCE_WRITE_SECONDS = 1.0; // a recording's silence is written out this often

class AudioOutput {
public:
    // Starts the worker. Once the device (if `device`) plays, `shot` is heard, and recorded into
    // `recording` unless that is null. A device that is missing or goes away is said once on the
    // error stream; the game is silent from then on, and a recording goes on.
    AudioOutput(ShotSounds& shot, bool device, WavWriter* recording);
    // Closes the device, brings the recording's silence up to now and ends the worker.
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Blocks until the device plays or the recording runs (true), or neither can (false).
    bool waitUntilStarted();
    // Every sound asked for has been played.
    bool idle() const { return mixer.idle(); }

private:
    enum class State { Starting, Closed, Open, Off };

    void run();
    bool start();
    bool openDevice();
    bool fallBack(const char* trouble);
    void startClock();
    void tick();
    void close();
    void serve(std::unique_lock<std::mutex>& guard);
    void serveOpen(std::unique_lock<std::mutex>& guard);
    void serveClosed(std::unique_lock<std::mutex>& guard);
    void recordSilence();
    void wake();
    void fill(std::uint8_t* stream, int bytes);
    void record(std::int64_t firstFrame, const std::int16_t* samples, int frames);

    ShotSounds& shot;
    const bool deviceWanted;
    WavWriter* const recording; // null when not recording
    bool devicePlays;           // the device is wanted and has not failed
    SoundBank bank;
    Mixer mixer;
    std::uint32_t device = 0; // SDL's id, 0 while closed
    bool clockRuns = false;   // the worker renders for the recording, without a device
    std::chrono::steady_clock::time_point clockStart, tickedAt;
    std::int64_t clockStartFrame = 0; // the stream frame at clockStart
    std::mutex stateLock;
    std::condition_variable changed;
    State state = State::Starting;
    bool wanted = false; // a sound was asked for since the output closed
    bool stopping = false;
    std::thread worker; // last: starts once the rest is built
};
