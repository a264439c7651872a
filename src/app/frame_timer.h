// FrameTimer: wall-clock seconds between simulation frames, on a monotonic clock.
#pragma once

#include <chrono>

// Started at a strike, read once per frame of the shot: each reading is the next frame's time.
class FrameTimer {
public:
    using Clock = std::chrono::steady_clock;

    void start(Clock::time_point now = Clock::now()) { last = now; }
    // Seconds since the previous reading (or the start); no clamp, a long pause is one long step.
    double lap(Clock::time_point now = Clock::now()) {
        const double seconds = std::chrono::duration<double>(now - last).count();
        last = now;
        return seconds;
    }

private:
    Clock::time_point last;
};
