// The frame timer: seconds between readings of the monotonic counter.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/frame_timer.h"

TEST(FrameTimer, MeasuresFromThePreviousReading) {
    FrameTimer::start();
    FrameTimer::frequency = 1000000000; // nanosecond ticks
    FrameTimer::lastCount = 5000000000;
    EXPECT_EQ(FrameTimer::elapsedSecondsAt(5000000000), 0.0);
    EXPECT_DOUBLE_EQ(FrameTimer::elapsedSecondsAt(5016700000), 0.0167);
    EXPECT_DOUBLE_EQ(FrameTimer::elapsedSecondsAt(5020000000), 0.0033);
    // No clamp: a long pause is one long step.
    EXPECT_DOUBLE_EQ(FrameTimer::elapsedSecondsAt(65020000000), 60.0);
}

TEST(FrameTimer, RunsOnTheRealClock) {
    FrameTimer::start();
    EXPECT_GT(FrameTimer::frequency, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double first = FrameTimer::elapsedSeconds();
    EXPECT_GE(first, 0.02);
    EXPECT_LT(first, 5.0);
    const double second = FrameTimer::elapsedSeconds();
    EXPECT_GE(second, 0.0);
    EXPECT_LT(second, first);
}
