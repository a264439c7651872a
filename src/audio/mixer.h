// The mixer: voices started at exact frames of the output stream, a cap on how many sound at
// once that keeps the loudest, and a limiter that keeps the sum off full scale. Safe to feed
// from the game's thread while the device's thread renders.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "audio/sound.h"

constexpr int MAX_VOICES = 8;                    // sounding at once
constexpr std::size_t MAX_WAITING = 256;         // voices scheduled for later frames
constexpr float LIMITER_CEILING = 0.89f;         // of full scale (-1 dBFS): no sample goes above it
constexpr double LIMITER_RELEASE_SECONDS = 0.05; // gain's recovery to 1/e of its cut

class Mixer {
public:
    // Plays `sound` scaled by `gain` (0 to 1) from stream frame `startFrame`, or at the next
    // frame rendered when that one has passed. `sound` must outlive the mixer.
    void play(const Sound& sound, float gain, std::int64_t startFrame);
    // Mixes the next `frames` frames of the stream into `out` as signed 16-bit samples; returns
    // the stream frame of out[0]. With no frames, a stopped stream is taken up where it stands.
    std::int64_t render(std::int16_t* out, int frames);
    // The device stopped asking for samples at `at`: until the next render the stream keeps
    // pace with the clock as if it still played, so that sounds scheduled meanwhile keep their
    // distances; a voice whose start frame is passed over starts at the next render.
    void stop(std::chrono::steady_clock::time_point at);
    // The stream frame the next render starts at (now, while stopped).
    std::int64_t renderedFrames() const;
    // Nothing sounds and nothing waits to.
    bool idle() const;
    // Called (outside the mixer's lock) after every play, e.g. to wake a closed device.
    void setPlayListener(std::function<void()> listener);

private:
    struct Voice {
        const Sound* sound;
        float gain;
        std::int64_t startFrame;
        std::size_t position; // frames played
        float loudness() const { return gain * sound->peakFrom(position); }
    };

    void startDueVoices();
    void start(const Voice& voice);
    float mixFrame();
    std::int64_t streamNow() const; // under the lock

    mutable std::mutex lock;
    std::vector<Voice> voices;  // sounding
    std::vector<Voice> waiting; // by start frame, earliest first
    std::int64_t cursor = 0;    // stream frame of the next sample rendered
    float limiterGain = 1.0f;
    bool stopped = false;
    std::chrono::steady_clock::time_point stoppedAt;
    std::function<void()> playListener;
};
