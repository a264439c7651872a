// Two breaks as heard, more than a second of quiet apart: the game records its sound to a WAV
// file, through SDL's dummy device and muted, checked against the real time of each strike and
// the contact lines the console printed.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/keyboard.h"
#include "app/objects.h"
#include "app/shell.h"
#include "app/shot.h"
#include "app/sound.h"
#include "audio/sdl_output.h"
#include "audio/shot_sounds.h"
#include "render/cue.h"
#include "sim/game.h"
#include "wav_test_util.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr double RATE = SAMPLE_RATE; // samples per second
constexpr double FRAME_SECONDS = 1.0 / 60.0;
constexpr long FRAME_SAMPLES = 735;    // 44100 frames per second, 60 frames of play per second
constexpr int WINDOW = 64;             // samples per step of the loudness envelope
constexpr int ISOLATION_FRAMES = 6;    // a contact this far from any other is heard alone
constexpr double TIME_TOLERANCE = 0.1; // seconds: the clock's tick, the worker's lateness
// Between the shots the device closes (within two quiet seconds) and opens again.
constexpr auto QUIET_BETWEEN = std::chrono::duration<double>(2 * QUIET_CLOSE_SECONDS + 0.5);

struct Line {
    std::string text;
    int frame; // of the shot, from 0, in which the console printed it
};

struct Shot {
    Clock::time_point struck;
    std::vector<Line> lines;
    int frames = 0; // played at FRAME_SECONDS
};

struct Recording {
    Clock::time_point started, ready, stopping, stopped; // around startSound and stopSound
    Shot shots[2];
    std::vector<std::int16_t> samples;
};

class Recorder final : public ContactHook {
public:
    std::vector<Contact> contacts;
    void contact(const Contact& c) override { contacts.push_back(c); }
};

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Sample positions where the envelope (peak |sample| per window) leaps above -50 dBFS and past
// twice the loudest of the previous 8 windows (11.6 ms), at most one per 6 windows.
std::vector<long> onsets(const std::vector<std::int16_t>& samples) {
    std::vector<int> peaks(samples.size() / WINDOW, 0);
    for (size_t i = 0; i < peaks.size() * WINDOW; ++i)
        peaks[i / WINDOW] = std::max(peaks[i / WINDOW], std::abs(int(samples[i])));
    std::vector<long> found;
    for (size_t w = 8; w < peaks.size(); ++w) {
        const int before = *std::max_element(peaks.begin() + long(w) - 8, peaks.begin() + long(w));
        if (peaks[w] < 100 || peaks[w] <= 2 * before) continue;
        if (!found.empty() && long(w) * WINDOW - found.back() < 6 * WINDOW) continue;
        found.push_back(long(w) * WINDOW);
    }
    return found;
}

// The break (F10 and F8) heard to its last sound, each console line with the frame printing it.
Shot playBreak() {
    special(GLUT_KEY_F10, 0, 0);
    Shot shot;
    shot.struck = Clock::now();
    special(GLUT_KEY_F8, 0, 0);
    for (; installedIdle() && shot.frames < 5000; ++shot.frames) {
        testing::internal::CaptureStdout();
        playFrame(FRAME_SECONDS);
        std::istringstream printed(testing::internal::GetCapturedStdout());
        for (std::string text; std::getline(printed, text);)
            shot.lines.push_back({text + "\n", shot.frames});
    }
    for (int wait = 0; !soundDone() && wait < 1200; ++wait) // a minute at most
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return shot;
}

// Two breaks with a quiet longer than a second between, recorded by the game, muted.
Recording recordTwoShots() {
    const std::string path = testing::TempDir() + "pool_shots_" + std::to_string(getpid()) + ".wav";
    std::string error;
    EXPECT_TRUE(recordSound(path, error)) << error;
    init();
    Recording recording;
    recording.started = Clock::now();
    startSound(false);
    EXPECT_TRUE(waitForSound());
    recording.ready = Clock::now();
    recording.shots[0] = playBreak();
    std::this_thread::sleep_for(QUIET_BETWEEN);
    recording.shots[1] = playBreak();
    recording.stopping = Clock::now();
    stopSound();
    recording.stopped = Clock::now();
    recording.samples = wavSamples(path);
    std::remove(path.c_str());
    return recording;
}

std::string lineOf(const Contact& c) {
    static const char* const WHAT[] = {"ball  ", "wall  ", "corner", "pocket"};
    char text[64];
    std::snprintf(text, sizeof text, "Ball %2d collided with %s %2d\n", c.ball, WHAT[int(c.kind)],
                  c.other);
    return text;
}

ContactKind soundOf(ContactKind k) { return k == ContactKind::Corner ? ContactKind::Cushion : k; }

// Each line sounds within a frame of the end of the frame that printed it, counted from the
// strike's onset, and in the console's order.
std::vector<long> expectLinesHeard(const std::vector<long>& found, long strike, const Shot& shot) {
    std::vector<long> expected;
    long previous = strike;
    for (const Line& line : shot.lines) {
        expected.push_back(strike + (line.frame + 1) * FRAME_SAMPLES);
        const long onset = *std::min_element(found.begin(), found.end(), [&](long a, long b) {
            return std::labs(a - expected.back()) < std::labs(b - expected.back());
        });
        EXPECT_LE(std::labs(onset - expected.back()), FRAME_SAMPLES)
            << line.text << "expected at sample " << expected.back() << ", heard at " << onset;
        EXPECT_GE(onset, previous) << line.text << "heard before the line above it";
        previous = onset;
    }
    return expected;
}

// Among contacts heard alone, of the same kind of sound, the faster one is the louder: the
// loudest sample from just before each to two frames after it. The speeds come from the break
// replayed without sound on a new game, frame by frame as the game played it.
void expectFasterLouder(const std::vector<std::int16_t>& samples, const Shot& shot,
                        const std::vector<long>& expected) {
    Game copy;
    copy.strike(cue->angle, 100.0);
    Recorder replay;
    for (int frame = 0; frame < shot.frames; ++frame) copy.playFrame(FRAME_SECONDS, replay);
    const std::vector<Contact>& replayed = replay.contacts;
    const std::vector<Line>& lines = shot.lines;
    ASSERT_EQ(replayed.size(), lines.size());
    const auto peakAt = [&](long at) {
        int peak = 0;
        for (long i = at - WINDOW; i < at + 2 * FRAME_SAMPLES; ++i)
            peak = std::max(peak, std::abs(int(samples.at(size_t(i)))));
        return peak;
    };
    std::vector<size_t> alone;
    for (size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lineOf(replayed[i]), lines[i].text) << "the replay differs at line " << i;
        const auto near = std::count_if(lines.begin(), lines.end(), [&](const Line& other) {
            return std::abs(other.frame - lines[i].frame) <= ISOLATION_FRAMES;
        });
        if (near == 1 && lines[i].frame > 2 * ISOLATION_FRAMES) alone.push_back(i);
    }
    int compared = 0;
    for (size_t a : alone)
        for (size_t b : alone) {
            if (soundOf(replayed[a].kind) != soundOf(replayed[b].kind)) continue;
            if (replayed[a].speedBefore < 1.3 * replayed[b].speedBefore + 0.5) continue;
            ++compared;
            EXPECT_GT(peakAt(expected[a]), peakAt(expected[b]))
                << lines[a].text << "at " << replayed[a].speedBefore << " units/s, louder than "
                << lines[b].text;
        }
    EXPECT_GT(compared, 5);
}

// `sample` lies `from` to `to` seconds into the file, give or take the tolerance.
void expectAt(long sample, double from, double to, const char* what) {
    EXPECT_GE(sample / RATE, from - TIME_TOLERANCE) << what;
    EXPECT_LE(sample / RATE, to + TIME_TOLERANCE) << what;
}

// The file spans the game's time from the start of sound to its stop, and the first strike
// sounds at its time. The second is the first sound after two seconds of zeros (the output closed
// and opened again meanwhile), as long after the first as it was struck. Each shot's lines follow
// its strike as the console printed them. The break is loud, but no sample reaches full scale.
void expectTwoShotsHeard(const Recording& recording) {
    const std::vector<std::int16_t>& samples = recording.samples;
    const std::vector<long> found = onsets(samples);
    ASSERT_FALSE(found.empty());
    expectAt(long(samples.size()), secondsBetween(recording.ready, recording.stopping),
             secondsBetween(recording.started, recording.stopped), "the file's length");
    const Shot& first = recording.shots[0];
    const Shot& second = recording.shots[1];
    const double lead = STRIKE_LEAD_FRAMES / RATE;
    expectAt(found.front(), secondsBetween(recording.ready, first.struck) + lead,
             secondsBetween(recording.started, first.struck) + lead, "the break's strike");
    const auto afterQuiet = std::find_if(found.begin() + 1, found.end(), [&](long start) {
        while (start > 0 && samples[size_t(start) - 1] != 0) --start; // back to the zeros
        long end = start;
        while (end > 0 && samples[size_t(end) - 1] == 0) --end;
        return start - end > long(2 * QUIET_CLOSE_SECONDS * RATE);
    });
    ASSERT_NE(afterQuiet, found.end()) << "no sound after the quiet between the shots";
    const long secondStrike = *afterQuiet;
    const double apart = secondsBetween(first.struck, second.struck);
    expectAt(secondStrike - found.front(), apart, apart, "the second strike");

    const std::vector<long> expected = expectLinesHeard(found, found.front(), first);
    expectLinesHeard(found, secondStrike, second);
    expectFasterLouder(samples, first, expected);
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    const int loudest = std::max(-int(*low), int(*high));
    EXPECT_LT(loudest, 32767);
    EXPECT_GT(loudest, 16384);
}

// Muted, the clock paces the mixer: the file keeps the game's real time. (Through SDL's dummy
// device the stream keeps the device's own pace, which a busy machine bends by tens of
// milliseconds: too loose for a test that counts samples.)
TEST(RecordingTest, TwoShotsApartRecordedMuted) { expectTwoShotsHeard(recordTwoShots()); }
} // namespace
