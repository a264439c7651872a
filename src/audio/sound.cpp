// Sounds scaled to full scale, with the peak of what remains of them block by block.
#include "audio/sound.h"

#include <algorithm>
#include <cmath>

Sound Sound::fromSamples(std::vector<float> samples) {
    float peak = 0.0f;
    for (float s : samples) peak = std::max(peak, std::fabs(s));
    if (peak > 0.0f)
        for (float& s : samples) s /= peak;
    Sound sound;
    sound.samples = std::move(samples);
    const std::size_t blocks = (sound.samples.size() + LOUDNESS_BLOCK - 1) / LOUDNESS_BLOCK;
    sound.remainingPeak.assign(blocks, 0.0f);
    float after = 0.0f; // the peak of every later block
    for (std::size_t b = blocks; b-- > 0;) {
        const std::size_t end = std::min(sound.samples.size(), (b + 1) * LOUDNESS_BLOCK);
        for (std::size_t i = b * LOUDNESS_BLOCK; i < end; ++i)
            after = std::max(after, std::fabs(sound.samples[i]));
        sound.remainingPeak[b] = after;
    }
    return sound;
}

float Sound::peakFrom(std::size_t frame) const {
    const std::size_t block = frame / LOUDNESS_BLOCK;
    return block < remainingPeak.size() ? remainingPeak[block] : 0.0f;
}
