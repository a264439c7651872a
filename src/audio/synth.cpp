// Synthesis of the game's sounds. Each is a sum of exponentially damped sine partials (the
// ringing of a struck body) over a short burst of noise (the impact itself).
#include "audio/synth.h"

#include <cmath>
#include <cstdint>

namespace {
constexpr double PI = 3.14159265358979323846;

struct Partial {
    double hertz;
    double amplitude;
    double decaySeconds; // time for the partial to fall to 1/e
};

// A small fixed-seed generator, so that every start of the game makes the same sounds.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed) {}
    double next() { // -1 to 1
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 23) - 1.0;
    }

private:
    std::uint32_t state;
};

int framesOf(double seconds) { return int(std::lround(seconds * SAMPLE_RATE)); }

// Adds damped partials starting at `startSeconds`.
void addPartials(std::vector<float>& out, double startSeconds, const Partial* partials, int count,
                 double scale) {
    const int start = framesOf(startSeconds);
    for (int p = 0; p < count; ++p) {
        const Partial& partial = partials[p];
        for (int i = start; i < int(out.size()); ++i) {
            const double t = double(i - start) / SAMPLE_RATE;
            out[i] += float(scale * partial.amplitude * std::exp(-t / partial.decaySeconds) *
                            std::sin(2.0 * PI * partial.hertz * t));
        }
    }
}

// Adds a burst of noise, smoothed by a one-pole low-pass (`smoothing` 0 keeps it white, near 1
// makes it dull), falling to 1/e in decaySeconds.
void addNoiseBurst(std::vector<float>& out, double startSeconds, double amplitude,
                   double decaySeconds, double smoothing, std::uint32_t seed) {
    Noise noise(seed);
    double filtered = 0.0;
    const int start = framesOf(startSeconds);
    for (int i = start; i < int(out.size()); ++i) {
        const double t = double(i - start) / SAMPLE_RATE;
        filtered = smoothing * filtered + (1.0 - smoothing) * noise.next();
        out[i] += float(amplitude * std::exp(-t / decaySeconds) * filtered);
    }
}

// A few milliseconds of fade at the end, so that no sound stops on a step.
void fadeOut(std::vector<float>& out) {
    const int fade = framesOf(0.003);
    for (int i = 0; i < fade && i < int(out.size()); ++i)
        out[out.size() - 1 - i] *= float(i) / fade;
}

Sound finish(std::vector<float> samples) {
    fadeOut(samples);
    return Sound::fromSamples(std::move(samples));
}

// One struck body: a burst of noise, then its ringing partials.
struct Impact {
    double seconds;
    double noiseAmplitude, noiseDecaySeconds, noiseSmoothing;
    std::uint32_t noiseSeed;
    const Partial* partials;
    int partialCount;
};

std::vector<float> impact(const Impact& body) {
    std::vector<float> out(framesOf(body.seconds), 0.0f);
    addNoiseBurst(out, 0.0, body.noiseAmplitude, body.noiseDecaySeconds, body.noiseSmoothing,
                  body.noiseSeed);
    addPartials(out, 0.0, body.partials, body.partialCount, 1.0);
    return out;
}

// The leather tip on the cue ball: a soft, short tock.
constexpr Partial TIP[] = {{240.0, 0.6, 0.006}, {1150.0, 0.5, 0.004}, {2300.0, 0.25, 0.003}};
// Two hard phenolic balls ring high and briefly.
constexpr Partial RESIN[] = {{2750.0, 0.8, 0.005}, {4150.0, 0.5, 0.0035}, {6300.0, 0.3, 0.0025}};
// The rubber cushion swallows the high partials: a low, soft thud.
constexpr Partial RUBBER[] = {{135.0, 1.0, 0.011}, {310.0, 0.35, 0.006}};

// The ball knocks on the pocket's wooden lip, then rattles briefly in the net, each tap quieter.
Sound dropSound() {
    static constexpr Partial WOOD[] = {{330.0, 1.0, 0.008}, {890.0, 0.5, 0.005}};
    static constexpr Partial TAP[] = {{1700.0, 1.0, 0.003}, {2600.0, 0.5, 0.002}};
    static constexpr double TAP_SECONDS[] = {0.030, 0.047, 0.068, 0.082};
    static constexpr double TAP_LEVEL[] = {0.22, 0.16, 0.11, 0.07}; // of the knock
    std::vector<float> out = impact({0.1, 0.4, 0.002, 0.8, 41, WOOD, 2});
    for (int i = 0; i < 4; ++i) addPartials(out, TAP_SECONDS[i], TAP, 2, TAP_LEVEL[i]);
    return finish(std::move(out));
}
} // namespace

SoundBank SoundBank::synthesise() {
    return {finish(impact({0.035, 0.5, 0.0015, 0.6, 11, TIP, 3})),
            finish(impact({0.035, 0.6, 0.0008, 0.0, 23, RESIN, 3})),
            finish(impact({0.06, 0.5, 0.004, 0.93, 37, RUBBER, 2})), dropSound()};
}
