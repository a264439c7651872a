// The frame timer: seconds between readings of a counter that ticks in nanoseconds.
#include <gtest/gtest.h>

#include "app/frame_timer.h"

TEST(FrameTimer, MeasuresFromThePreviousReadingWithoutAClamp) {
    FrameTimer::start();
    EXPECT_EQ(FrameTimer::frequency, 1000000000);
    EXPECT_LE(FrameTimer::lastCount, FrameTimer::readCounter());
    FrameTimer::lastCount = 5000000000;
    const struct { std::int64_t now; double seconds; } readings[] = {
        {5000000000, 0}, {5016700000, 0.0167}, {5020000000, 0.0033}, {65020000000, 60}};
    for (const auto& r : readings) EXPECT_DOUBLE_EQ(FrameTimer::elapsedSecondsAt(r.now), r.seconds) << r.now;
}
