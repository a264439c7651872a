// The sounds, the mixer (start frames, voice cap, limiter) and an impact's level.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

#include "audio/mixer.h"
#include "audio/shot_sounds.h"
#include "audio/synth.h"

namespace {
std::vector<std::int16_t> render(Mixer& mixer, int frames) {
    std::vector<std::int16_t> out(frames);
    mixer.render(out.data(), frames);
    return out;
}

int peak(const std::vector<std::int16_t>& out, size_t from, size_t to) {
    int loudest = 0;
    for (size_t i = from; i < to; ++i) loudest = std::max(loudest, std::abs(int(out[i])));
    return loudest;
}

// The mixer is idle only when nothing sounds or waits to. Stopped a second ago (and stopped again
// now, before any render), the stream stands at least 44100 frames further on; a voice whose
// start frame was passed over meanwhile is heard at the first frame of the next render.
TEST(MixerTest, AVoiceStartsOnItsFrameOrAtOnceWhenThatHasPassed) {
    const Sound sound = Sound::fromSamples(std::vector<float>(100, 0.25f));
    for (auto [rendered, startFrame, firstHeard] :
         {std::tuple{0, 700, 700}, std::tuple{500, 300, 0}, std::tuple{500, 900, 400}}) {
        Mixer mixer;
        render(mixer, rendered);
        mixer.play(sound, 0.5f, startFrame);
        EXPECT_FALSE(mixer.idle());
        const std::vector<std::int16_t> out = render(mixer, 2000);
        EXPECT_EQ(peak(out, 0, firstHeard), 0) << "start frame " << startFrame;
        EXPECT_NE(out[firstHeard], 0) << "start frame " << startFrame;
        mixer.play(sound, 0.0f, 0); // silent: never scheduled
        EXPECT_TRUE(mixer.idle());
    }
    Mixer mixer;
    mixer.stop(std::chrono::steady_clock::now() - std::chrono::seconds(1));
    mixer.stop(std::chrono::steady_clock::now());
    EXPECT_GE(mixer.renderedFrames(), 44100);
    mixer.play(sound, 0.5f, 2000);
    EXPECT_NE(render(mixer, 1000)[0], 0);
}

// Nine voices of one start frame: the eight loudest sound, whatever order they came in.
TEST(MixerTest, TheCapKeepsTheLoudestVoices) {
    const Sound sound = Sound::fromSamples(std::vector<float>(100, 0.25f));
    for (bool loudestFirst : {false, true}) {
        Mixer mixer;
        int plays = 0;
        mixer.setPlayListener([&] { ++plays; });
        for (int i = 1; i <= 9; ++i) mixer.play(sound, 0.01f * float(loudestFirst ? 10 - i : i), 0);
        // 0.02 + 0.03 + ... + 0.09 of full scale = 0.44
        EXPECT_NEAR(render(mixer, 10)[5], 0.44 * 32767, 2) << "loudest first " << loudestFirst;
        EXPECT_FALSE(mixer.idle()); // sounding
        EXPECT_EQ(plays, 9);
    }
}

// A sound scaled to a peak of 1 knows the peak of what remains from each block of 64 frames.
// Eight voices of it at full level for 0.1 s, then all but silent to 0.68 s: a quiet voice after
// the loud part takes the place of a faded one and is heard at its own level again.
TEST(MixerTest, TheLimiterKeepsEightFullVoicesUnderTheCeilingAndRecovers) {
    std::vector<float> samples(30000, 0.0f);
    std::fill_n(samples.begin(), 4410, 0.5f);
    samples[5000] = -0.05f;
    const Sound loud = Sound::fromSamples(samples);
    for (auto [frame, expected] : {std::pair{4415, 1.0f}, std::pair{4416, 0.1f},
                                   std::pair{5056, 0.0f}, std::pair{40000, 0.0f}})
        EXPECT_FLOAT_EQ(loud.peakFrom(frame), expected) << "frame " << frame;
    Mixer mixer;
    for (int i = 0; i < 8; ++i) mixer.play(loud, 1.0f, 0);
    mixer.play(loud, 0.2f, 20000);
    const std::vector<std::int16_t> out = render(mixer, 20100);
    EXPECT_LE(peak(out, 0, out.size()), 29163); // 0.89 of full scale
    EXPECT_GE(peak(out, 0, 4410), 29000);
    EXPECT_NEAR(out[20050], 0.2 * 32767, 40);
}

// Zero crossings per ms (twice the dominant frequency in kHz) and where the sound last reaches
// 10% of its peak; every sound lasts a few tens of milliseconds.
struct Character {
    double crossingsPerMs, lastLoudMs;
};

Character character(const char* name, const Sound& sound) {
    const double lengthMs = sound.samples.size() * 1000.0 / 44100.0;
    EXPECT_GE(lengthMs, 20.0) << name;
    EXPECT_LE(lengthMs, 120.0) << name;
    int crossings = 0;
    size_t lastLoud = 0;
    for (size_t i = 1; i < sound.samples.size(); ++i) {
        if ((sound.samples[i - 1] < 0.0f) != (sound.samples[i] < 0.0f)) ++crossings;
        if (std::fabs(sound.samples[i]) >= 0.1f) lastLoud = i;
    }
    return {crossings / lengthMs, lastLoud * 1000.0 / 44100.0};
}

TEST(SynthTest, EachSoundIsShapedLikeItsCause) {
    const SoundBank bank = SoundBank::synthesise();
    const Character click = character("click", bank.click), thump = character("thump", bank.thump),
                    drop = character("drop", bank.drop), strike = character("strike", bank.strike);
    EXPECT_GT(click.crossingsPerMs, 4.0); // a click rings above 2 kHz
    EXPECT_LT(thump.crossingsPerMs, 1.0); // a thump stays below 500 Hz
    EXPECT_LT(strike.crossingsPerMs, click.crossingsPerMs);
    EXPECT_GT(drop.lastLoudMs, 25.0);  // the rattle goes on after the knock
    EXPECT_LT(click.lastLoudMs, 15.0); // the click is over at once
}

// An impact's level goes from the quietest to full in proportion to its speed.
TEST(ShotSoundsTest, LouderForFasterImpactsUpToFull) {
    for (auto [speed, level] : {std::pair{-3.0, 0.05}, std::pair{0.0, 0.05}, std::pair{50.0, 0.525},
                                std::pair{100.0, 1.0}, std::pair{250.0, 1.0}})
        EXPECT_NEAR(impactLevel(speed), level, 1e-12) << "speed " << speed;
}
} // namespace
