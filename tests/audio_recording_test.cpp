// Two shots as heard: the game records its sound to a WAV file, once through an audio device
// (SDL's dummy one) and once muted, while it plays the break at a fixed frame time, and again,
// after more than a second of quiet, in a new game. The recording is checked against the real
// time of each strike and the contact lines the console printed.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
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
    std::vector<double> frameSeconds; // as the frame timer counted each frame
};

struct Recording {
    Clock::time_point started, ready, stopping, stopped; // around startSound and stopSound
    std::optional<Game> beforeBreak;
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

long nearest(const std::vector<long>& found, double expected) {
    return *std::min_element(found.begin(), found.end(), [&](long a, long b) {
        return std::fabs(double(a) - expected) < std::fabs(double(b) - expected);
    });
}

// Zero samples just before the sound whose onset is at `onset`.
long quietBefore(const std::vector<std::int16_t>& samples, long onset) {
    long start = onset;
    while (start > 0 && samples[size_t(start) - 1] != 0) --start;
    long end = start;
    while (end > 0 && samples[size_t(end) - 1] == 0) --end;
    return start - end;
}

// The break (F10 and F8), at the fixed frame time, heard to its last sound. The console's lines
// come with the frame each was printed in.
Shot playBreak() {
    special(GLUT_KEY_F10, 0, 0);
    Shot shot;
    shot.struck = Clock::now();
    special(GLUT_KEY_F8, 0, 0);
    for (int frame = 0; installedIdle() && frame < 5000; ++frame) {
        testing::internal::CaptureStdout();
        playFrame(FRAME_SECONDS);
        shot.frameSeconds.push_back(FRAME_SECONDS);
        std::istringstream printed(testing::internal::GetCapturedStdout());
        for (std::string text; std::getline(printed, text);)
            shot.lines.push_back({text + "\n", frame});
    }
    for (int wait = 0; !soundDone() && wait < 1200; ++wait) // a minute at most
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return shot;
}

// Two breaks with a quiet longer than a second between, recorded by the game.
Recording recordTwoShots(bool device) {
    const std::string path = testing::TempDir() + "pool_shots_" + std::to_string(getpid()) + ".wav";
    std::string error;
    EXPECT_TRUE(recordSound(path, error)) << error;
    init();
    Recording recording;
    recording.started = Clock::now();
    startSound(device);
    EXPECT_TRUE(waitForSound());
    recording.ready = Clock::now();
    recording.beforeBreak = game;
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

// The break replayed without sound on a copy of the game, frame by frame as the game played it:
// each contact with its speed.
std::vector<Contact> replayBreak(Game copy, const Shot& shot) {
    copy.strike(cue->angle, 100.0);
    Recorder replay;
    for (const double seconds : shot.frameSeconds) copy.playFrame(seconds, replay);
    return replay.contacts;
}

// Where the recording should sound each line: the strike's onset, then one frame per frame of
// play up to the end of the frame that printed it. Every line has an onset within one frame of
// it, in the same order.
std::vector<long> expectLinesHeard(const std::vector<long>& found, long strike, const Shot& shot) {
    std::vector<long> expected;
    long previous = strike;
    for (const Line& line : shot.lines) {
        expected.push_back(strike + (line.frame + 1) * FRAME_SAMPLES);
        const long onset = nearest(found, double(expected.back()));
        EXPECT_LE(std::labs(onset - expected.back()), FRAME_SAMPLES)
            << line.text << "expected at sample " << expected.back() << ", heard at " << onset;
        EXPECT_GE(onset, previous) << line.text << "heard before the line above it";
        previous = onset;
    }
    return expected;
}

// Among contacts heard alone, of the same kind of sound, the faster one is the louder: the
// loudest sample from just before each to two frames after it.
void expectFasterLouder(const std::vector<std::int16_t>& samples, const Shot& shot,
                        const std::vector<Contact>& replayed, const std::vector<long>& expected) {
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

// `sample` lies `from` to `to` seconds into the file, give or take the tolerance and the output's
// `drift` from real time.
void expectAt(long sample, double from, double to, double drift, const char* what) {
    EXPECT_GE(sample / RATE, from * (1.0 - drift) - TIME_TOLERANCE) << what;
    EXPECT_LE(sample / RATE, to * (1.0 + drift) + TIME_TOLERANCE) << what;
}

// The file spans the game's time from the start of sound to its stop, and the first strike
// sounds at its time. The second is the first sound after two seconds of zeros (the output closed
// and opened again meanwhile), as long after the first as it was struck. Each shot's lines follow
// its strike as the console printed them. The break is loud, but no sample reaches full scale.
void expectTwoShotsHeard(const Recording& recording, double drift) {
    const std::vector<std::int16_t>& samples = recording.samples;
    const std::vector<long> found = onsets(samples);
    ASSERT_FALSE(found.empty());
    expectAt(long(samples.size()), secondsBetween(recording.ready, recording.stopping),
             secondsBetween(recording.started, recording.stopped), drift, "the file's length");
    const Shot& first = recording.shots[0];
    const Shot& second = recording.shots[1];
    const double lead = STRIKE_LEAD_FRAMES / RATE;
    expectAt(found.front(), secondsBetween(recording.ready, first.struck) + lead,
             secondsBetween(recording.started, first.struck) + lead, drift, "the break's strike");
    const auto afterQuiet = std::find_if(found.begin() + 1, found.end(), [&](long onset) {
        return quietBefore(samples, onset) > long(2 * QUIET_CLOSE_SECONDS * RATE);
    });
    ASSERT_NE(afterQuiet, found.end()) << "no sound after the quiet between the shots";
    const long secondStrike = *afterQuiet;
    const double apart = secondsBetween(first.struck, second.struck);
    expectAt(secondStrike - found.front(), apart, apart, drift, "the second strike");

    const std::vector<long> expected = expectLinesHeard(found, found.front(), first);
    expectLinesHeard(found, secondStrike, second);
    expectFasterLouder(samples, first, replayBreak(*recording.beforeBreak, first), expected);
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    const int loudest = std::max(-int(*low), int(*high));
    EXPECT_LT(loudest, 32767);
    EXPECT_GT(loudest, 16384);
}

// Muted, the clock paces the mixer: the file keeps the game's real time.
TEST(RecordingTest, TwoShotsApartRecordedMuted) { expectTwoShotsHeard(recordTwoShots(false), 0.0); }

// SDL's dummy device keeps its own pace, a sleep of whole milliseconds, 11, for each 11.6 ms of
// samples, and longer on a busy machine: while it is open its stream runs 5% fast to some 20%
// slow.
TEST(RecordingTest, TwoShotsApartRecordedFromTheDevice) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    expectTwoShotsHeard(recordTwoShots(true), 0.25);
}
} // namespace
