// The mixer's voices, cap and limiter.
#include "audio/mixer.h"

#include <algorithm>
#include <cmath>

namespace {
const float RELEASE_PER_FRAME =
    float(1.0 - std::exp(-1.0 / (LIMITER_RELEASE_SECONDS * SAMPLE_RATE)));
constexpr float INT16_FULL_SCALE = 32767.0f;
} // namespace

void Mixer::play(const Sound& sound, float gain, std::int64_t startFrame) {
    std::function<void()> listener;
    {
        std::lock_guard<std::mutex> guard(lock);
        if (gain <= 0.0f || sound.samples.empty() || waiting.size() >= MAX_WAITING) return;
        const Voice voice{&sound, std::min(gain, 1.0f), std::max(startFrame, streamNow()), 0};
        // Voices of one start frame keep the order they were asked for in.
        const auto at = std::upper_bound(
            waiting.begin(), waiting.end(), voice,
            [](const Voice& a, const Voice& b) { return a.startFrame < b.startFrame; });
        waiting.insert(at, voice);
        listener = playListener;
    }
    if (listener) listener();
}

// A voice beyond the cap takes the place of the quietest sounding one if it is louder than it
// is now; otherwise it is never heard.
void Mixer::start(const Voice& voice) {
    if (int(voices.size()) < MAX_VOICES) {
        voices.push_back(voice);
        return;
    }
    const auto quietest =
        std::min_element(voices.begin(), voices.end(), [](const Voice& a, const Voice& b) {
            return a.loudness() < b.loudness();
        });
    if (quietest->loudness() < voice.loudness()) *quietest = voice;
}

void Mixer::startDueVoices() {
    std::size_t due = 0;
    while (due < waiting.size() && waiting[due].startFrame <= cursor) start(waiting[due++]);
    waiting.erase(waiting.begin(), waiting.begin() + due);
}

// The limiter cuts its gain at once to what keeps the frame under the ceiling (so nothing ever
// clips) and lets it recover smoothly.
float Mixer::mixFrame() {
    float sum = 0.0f;
    for (Voice& voice : voices) sum += voice.gain * voice.sound->samples[voice.position++];
    voices.erase(
        std::remove_if(voices.begin(), voices.end(),
                       [](const Voice& v) { return v.position >= v.sound->samples.size(); }),
        voices.end());
    limiterGain += (1.0f - limiterGain) * RELEASE_PER_FRAME;
    const float level = std::fabs(sum) * limiterGain;
    if (level > LIMITER_CEILING) limiterGain *= LIMITER_CEILING / level;
    return sum * limiterGain;
}

std::int64_t Mixer::render(std::int16_t* out, int frames) {
    std::lock_guard<std::mutex> guard(lock);
    cursor = streamNow();
    stopped = false;
    const std::int64_t first = cursor;
    for (int i = 0; i < frames; ++i, ++cursor) {
        if (!waiting.empty() && waiting.front().startFrame <= cursor) startDueVoices();
        out[i] = std::int16_t(std::lround(mixFrame() * INT16_FULL_SCALE));
    }
    return first;
}

// Stopped again before any render, the stream already keeps pace from the first stop: a later
// time would lose the frames between.
void Mixer::stop(std::chrono::steady_clock::time_point at) {
    std::lock_guard<std::mutex> guard(lock);
    if (stopped) return;
    stopped = true;
    stoppedAt = at;
}

std::int64_t Mixer::streamNow() const {
    if (!stopped) return cursor;
    const std::chrono::duration<double> since = std::chrono::steady_clock::now() - stoppedAt;
    return cursor + std::max<std::int64_t>(0, std::llround(since.count() * SAMPLE_RATE));
}

std::int64_t Mixer::renderedFrames() const {
    std::lock_guard<std::mutex> guard(lock);
    return streamNow();
}

bool Mixer::idle() const {
    std::lock_guard<std::mutex> guard(lock);
    return voices.empty() && waiting.empty();
}

void Mixer::setPlayListener(std::function<void()> listener) {
    std::lock_guard<std::mutex> guard(lock);
    playListener = std::move(listener);
}
