// The frame timer: seconds between readings of a monotonic clock.
#include <gtest/gtest.h>

#include "app/frame_timer.h"

TEST(FrameTimer, MeasuresFromThePreviousReadingWithoutAClamp) {
    using std::chrono::nanoseconds;
    const FrameTimer::Clock::time_point start{nanoseconds(5000000000)};
    FrameTimer timer;
    timer.start(start);
    const struct {
        long long now;
        double seconds;
    } readings[] = {{5000000000, 0}, {5016700000, 0.0167}, {5020000000, 0.0033}, {65020000000, 60}};
    for (const auto& r : readings)
        EXPECT_DOUBLE_EQ(timer.lap(FrameTimer::Clock::time_point{nanoseconds(r.now)}), r.seconds)
            << r.now;
}
