// FrameTimer on std::chrono::steady_clock, whose ticks stand in for a performance counter.
#include "app/frame_timer.h"

#include <chrono>

std::int64_t FrameTimer::frequency = 0;
std::int64_t FrameTimer::lastCount = 0;

std::int64_t FrameTimer::readCounter() {
    return std::chrono::steady_clock::now().time_since_epoch().count();
}

void FrameTimer::start() {
    using Period = std::chrono::steady_clock::period;
    frequency = Period::den / Period::num;
    lastCount = readCounter();
}

double FrameTimer::elapsedSeconds() { return elapsedSecondsAt(readCounter()); }

double FrameTimer::elapsedSecondsAt(std::int64_t now) {
    const double seconds = (static_cast<double>(now) - static_cast<double>(lastCount)) /
                           static_cast<double>(frequency);
    lastCount = now;
    return seconds;
}
