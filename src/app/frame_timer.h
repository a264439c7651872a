// FrameTimer: wall-clock seconds between simulation frames, on a monotonic counter.
#pragma once

#include <cstdint>

// One program-wide timer: started at every strike, read once per simulation frame.
struct FrameTimer {
    static std::int64_t frequency; // counter ticks per second
    static std::int64_t lastCount; // counter value at the previous reading

    // Reads the tick rate, then the counter.
    static void start();
    // Seconds since the previous reading (or the start); no clamp, a long pause is one long step.
    static double elapsedSeconds();
    // The same, for a counter value read elsewhere.
    static double elapsedSecondsAt(std::int64_t now);
    static std::int64_t readCounter();
};
