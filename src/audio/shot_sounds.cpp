// The shot's sounds on the output stream.
#include "audio/shot_sounds.h"

#include <algorithm>
#include <cmath>

#include "audio/mixer.h"
#include "audio/synth.h"

double impactLevel(double speed) {
    const double share = std::clamp(speed / FULL_IMPACT_SPEED, 0.0, 1.0);
    return QUIETEST_LEVEL + (1.0 - QUIETEST_LEVEL) * share;
}

ShotSounds::ShotSounds(ContactHook& lines) : lines(lines) {}

void ShotSounds::attach(Mixer& output, const SoundBank& sounds) {
    bank.store(&sounds, std::memory_order_release);
    mixer.store(&output, std::memory_order_release);
}

void ShotSounds::strike(double power) {
    shotSeconds = 0.0;
    Mixer* output = mixer.load(std::memory_order_acquire);
    heard = output != nullptr;
    if (!heard) return;
    strikeFrame = output->renderedFrames() + STRIKE_LEAD_FRAMES;
    play(bank.load(std::memory_order_acquire)->strike, STRIKE_GAIN * float(impactLevel(power)));
}

void ShotSounds::advance(double seconds) { shotSeconds += seconds; }

// A contact is heard at the end of the frame it happened in, when that frame is shown.
void ShotSounds::contact(const Contact& contact) {
    lines.contact(contact);
    if (!heard) return;
    const SoundBank* sounds = bank.load(std::memory_order_acquire);
    const float level = float(impactLevel(contact.speedBefore));
    switch (contact.kind) {
    case ContactKind::Ball: play(sounds->click, CLICK_GAIN * level); break;
    case ContactKind::Cushion:
    case ContactKind::Corner: play(sounds->thump, THUMP_GAIN * level); break;
    case ContactKind::Pocket: play(sounds->drop, DROP_GAIN * level); break;
    }
}

void ShotSounds::play(const Sound& sound, float gain) const {
    Mixer* output = mixer.load(std::memory_order_acquire);
    output->play(sound, gain, strikeFrame + std::llround(shotSeconds * SAMPLE_RATE));
}
