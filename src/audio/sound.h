// A sound as the mixer plays it: mono samples at the game's sample rate, and how loud what is
// left of it still is, so the mixer can keep the loudest voices.
#pragma once

#include <cstddef>
#include <vector>

constexpr int SAMPLE_RATE = 44100; // frames per second
constexpr int LOUDNESS_BLOCK = 64; // frames per entry of Sound::remainingPeak

struct Sound {
    std::vector<float> samples;       // full scale is 1
    std::vector<float> remainingPeak; // per block of LOUDNESS_BLOCK frames: the largest |sample|
                                      // from the block's start to the sound's end

    // Takes the samples, scales them to a peak of 1 and works out remainingPeak.
    static Sound fromSamples(std::vector<float> samples);
    // The loudest |sample| from `frame` on (0 past the end).
    float peakFrom(std::size_t frame) const;
};
