// The sounds, the mixer (start frames, voice cap, limiter) and a shot's sounds on the stream.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/mixer.h"
#include "audio/shot_sounds.h"
#include "audio/synth.h"

namespace {
// A sound that holds `value` for `frames` frames (scaled to a peak of 1).
Sound steady(int frames) { return Sound::fromSamples(std::vector<float>(frames, 0.25f)); }

std::vector<std::int16_t> render(Mixer& mixer, int frames) {
    std::vector<std::int16_t> out(frames);
    mixer.render(out.data(), frames);
    return out;
}

int firstSound(const std::vector<std::int16_t>& out) {
    for (size_t i = 0; i < out.size(); ++i)
        if (out[i] != 0) return int(i);
    return -1;
}

int peak(const std::vector<std::int16_t>& out, size_t from = 0, size_t to = SIZE_MAX) {
    int loudest = 0;
    for (size_t i = from; i < out.size() && i < to; ++i) loudest = std::max(loudest, std::abs(int(out[i])));
    return loudest;
}

TEST(SoundTest, ScaledToAPeakOfOneWithThePeakOfWhatRemainsPerBlock) {
    std::vector<float> samples(200, 0.0f);
    samples[10] = -0.5f;  // block 0
    samples[70] = 0.25f;  // block 1
    samples[150] = 0.1f;  // block 2
    const Sound sound = Sound::fromSamples(samples);
    EXPECT_FLOAT_EQ(sound.samples[10], -1.0f);
    EXPECT_FLOAT_EQ(sound.samples[70], 0.5f);
    ASSERT_EQ(sound.remainingPeak.size(), 4u); // 200 frames in blocks of 64
    for (auto [frame, expected] : {std::pair{0, 1.0f}, std::pair{63, 1.0f}, std::pair{64, 0.5f},
                                   std::pair{128, 0.2f}, std::pair{192, 0.0f}, std::pair{500, 0.0f}})
        EXPECT_FLOAT_EQ(sound.peakFrom(frame), expected) << "frame " << frame;
}

TEST(MixerTest, AVoiceStartsOnItsFrameOrAtOnceWhenThatHasPassed) {
    const Sound sound = steady(100);
    for (auto [rendered, startFrame, firstHeard] :
         {std::tuple{0, 0, 0}, std::tuple{0, 700, 700}, std::tuple{500, 300, 0}, std::tuple{500, 900, 400}}) {
        Mixer mixer;
        render(mixer, rendered);
        mixer.play(sound, 0.5f, startFrame);
        EXPECT_EQ(firstSound(render(mixer, 2000)), firstHeard) << "start frame " << startFrame;
        EXPECT_EQ(mixer.renderedFrames(), rendered + 2000);
    }
}

// Stopped a second ago, the stream stands at least 44100 frames further on; a voice asked for
// from there is heard at the first frame of the next render.
TEST(MixerTest, AStoppedStreamKeepsPaceWithTheClock) {
    const Sound sound = steady(100);
    Mixer mixer;
    render(mixer, 1000);
    mixer.stop(std::chrono::steady_clock::now() - std::chrono::seconds(1));
    const std::int64_t now = mixer.renderedFrames();
    EXPECT_GE(now, 1000 + 44100);
    mixer.play(sound, 0.5f, 2000); // passed over while stopped
    mixer.play(sound, 0.5f, now + 300);
    const std::vector<std::int16_t> out = render(mixer, 1000);
    EXPECT_EQ(firstSound(out), 0);
    EXPECT_GE(mixer.renderedFrames(), now + 1000);
}

TEST(MixerTest, IdleOnlyWhenNothingSoundsOrWaits) {
    const Sound sound = steady(100);
    Mixer mixer;
    EXPECT_TRUE(mixer.idle());
    int listened = 0;
    mixer.setPlayListener([&] { ++listened; });
    mixer.play(sound, 0.5f, 1000);
    EXPECT_EQ(listened, 1);
    EXPECT_FALSE(mixer.idle());
    render(mixer, 1050); // sounding
    EXPECT_FALSE(mixer.idle());
    render(mixer, 50);
    EXPECT_TRUE(mixer.idle());
    mixer.play(sound, 0.0f, 0); // silent: never scheduled
    EXPECT_TRUE(mixer.idle());
}

// Nine voices of one start frame: the eight loudest sound, whatever order they came in.
TEST(MixerTest, TheCapKeepsTheLoudestVoices) {
    const Sound sound = steady(100);
    for (bool loudestFirst : {false, true}) {
        Mixer mixer;
        for (int i = 1; i <= 9; ++i) mixer.play(sound, 0.01f * float(loudestFirst ? 10 - i : i), 0);
        // 0.02 + 0.03 + ... + 0.09 of full scale = 0.44
        EXPECT_NEAR(render(mixer, 10)[5], 0.44 * 32767, 2) << "loudest first " << loudestFirst;
    }
}

TEST(MixerTest, AFadedVoiceGivesWayToALouderNewOne) {
    std::vector<float> fading(30000, 0.0f);
    fading[0] = 1.0f; // a click, then silence
    const Sound click = Sound::fromSamples(fading);
    const Sound sound = steady(100);
    Mixer mixer;
    for (int i = 0; i < 8; ++i) mixer.play(click, 1.0f, 0);
    mixer.play(sound, 0.1f, 20000); // once the limiter has let go of the clicks
    EXPECT_NEAR(render(mixer, 20100)[20050], 0.1 * 32767, 2);
}

TEST(MixerTest, TheLimiterKeepsEightFullVoicesUnderTheCeilingAndRecovers) {
    const Sound loud = steady(4410);
    const Sound quiet = steady(100);
    Mixer mixer;
    for (int i = 0; i < 8; ++i) mixer.play(loud, 1.0f, 0);
    mixer.play(quiet, 0.2f, 44100); // a second after the loud part
    const std::vector<std::int16_t> out = render(mixer, 44200);
    EXPECT_LE(peak(out), 29163); // 0.89 of full scale
    EXPECT_GE(peak(out, 0, 4410), 29000);
    EXPECT_NEAR(out[44150], 0.2 * 32767, 40); // the gain is back
}

TEST(ImpactLevelTest, FromTheQuietestToFullInProportionToSpeed) {
    for (auto [speed, level] : {std::pair{-3.0, 0.05}, std::pair{0.0, 0.05}, std::pair{50.0, 0.525},
                                std::pair{100.0, 1.0}, std::pair{250.0, 1.0}})
        EXPECT_NEAR(impactLevel(speed), level, 1e-12) << "speed " << speed;
}

// Features of each sound's character, from its samples.
struct Character {
    double crossingsPerMs; // zero crossings: twice the dominant frequency in kHz
    double lastLoudMs;     // where the sound last reaches 10% of its peak
    double lengthMs;
};

Character character(const Sound& sound) {
    Character c{0.0, 0.0, sound.samples.size() * 1000.0 / 44100.0};
    int crossings = 0;
    for (size_t i = 1; i < sound.samples.size(); ++i) {
        if ((sound.samples[i - 1] < 0.0f) != (sound.samples[i] < 0.0f)) ++crossings;
        if (std::fabs(sound.samples[i]) >= 0.1f) c.lastLoudMs = i * 1000.0 / 44100.0;
    }
    c.crossingsPerMs = crossings / c.lengthMs;
    return c;
}

TEST(SynthTest, EachSoundIsShapedLikeItsCause) {
    const SoundBank bank = SoundBank::synthesise();
    const Character click = character(bank.click), thump = character(bank.thump),
                    drop = character(bank.drop), strike = character(bank.strike);
    for (auto [name, c] : {std::pair{"strike", strike}, std::pair{"click", click},
                           std::pair{"thump", thump}, std::pair{"drop", drop}}) {
        EXPECT_GE(c.lengthMs, 20.0) << name;
        EXPECT_LE(c.lengthMs, 120.0) << name; // a few tens of milliseconds
    }
    EXPECT_GT(click.crossingsPerMs, 4.0);  // a click rings above 2 kHz
    EXPECT_LT(thump.crossingsPerMs, 1.0);  // a thump stays below 500 Hz
    EXPECT_LT(strike.crossingsPerMs, click.crossingsPerMs);
    EXPECT_GT(drop.lastLoudMs, 25.0);      // the rattle goes on after the knock
    EXPECT_LT(click.lastLoudMs, 15.0);     // the click is over at once
}

// Hears the contacts handed on.
class Lines final : public ContactHook {
public:
    std::vector<int> balls;
    void contact(const Contact& c) override { balls.push_back(c.ball); }
};

TEST(ShotSoundsTest, ContactsAreHandedOnAndSilentUntilSoundIsAttached) {
    Lines lines;
    ShotSounds sounds(lines);
    sounds.strike(100.0);
    sounds.contact({3, 4, ContactKind::Ball, 50.0, 50.0});
    EXPECT_EQ(lines.balls, std::vector<int>{3});
}

// The strike 1024 frames after the stream's position at the time, each contact at its time in
// the shot after it.
TEST(ShotSoundsTest, EachSoundLandsAtItsTimeInTheShotLouderForFasterImpacts) {
    const SoundBank bank = SoundBank::synthesise();
    Lines lines;
    ShotSounds sounds(lines);
    Mixer mixer;
    sounds.attach(mixer, bank);
    render(mixer, 3000);
    sounds.strike(40.0);
    sounds.advance(0.25);
    sounds.contact({0, 1, ContactKind::Ball, 80.0, 80.0});
    sounds.advance(0.25);
    sounds.contact({1, 2, ContactKind::Ball, 20.0, 20.0});
    sounds.advance(0.25);
    sounds.contact({2, 40, ContactKind::Pocket, 20.0, 0.0});
    const std::vector<std::int16_t> out = render(mixer, 44100);
    EXPECT_EQ(firstSound(out), 1024);
    for (int at : {1024 + 11025, 1024 + 22050, 1024 + 33075}) {
        EXPECT_EQ(peak(out, at - 500, at), 0) << "before " << at;
        EXPECT_GT(peak(out, at, at + 100), 500) << "at " << at;
    }
    EXPECT_GT(peak(out, 12049, 13049), 2 * peak(out, 23074, 24074)); // 80 against 20 units/s
    EXPECT_EQ(lines.balls, (std::vector<int>{0, 1, 2}));
}
} // namespace
