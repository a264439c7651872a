// What a shot sounds like: the cue's strike and every contact, each placed on the output stream
// at its moment in the shot, so that their spacing is the shot's whatever the frame rate.
#pragma once

#include <atomic>
#include <cstdint>

#include "sim/contact.h"
#include "sim/strike.h"

class Mixer;
struct Sound;
struct SoundBank;

// A full-power strike is heard at full level.
constexpr double FULL_IMPACT_SPEED = MAX_SHOT_POWER; // units/s
constexpr double QUIETEST_LEVEL = 0.05; // of full level: a contact at no speed is still heard
// Frames between asking for the strike and hearing it: the device renders ahead by up to this
// much, and every later sound keeps its distance from the strike.
constexpr std::int64_t STRIKE_LEAD_FRAMES = 1024;

// Level (QUIETEST_LEVEL to 1) of an impact at `speed` units/s: in proportion to the speed up to
// FULL_IMPACT_SPEED.
double impactLevel(double speed);

// Level of each cause at full speed, so the strike and the cushions sit under the clicks.
constexpr float STRIKE_GAIN = 0.55f;
constexpr float CLICK_GAIN = 0.7f;
constexpr float THUMP_GAIN = 0.6f;
constexpr float DROP_GAIN = 0.6f;

// Hands every contact on to `lines` (the console's), then sounds it once sound is attached.
class ShotSounds final : public ContactHook {
public:
    explicit ShotSounds(ContactHook& lines);

    // From any thread: contacts are heard from now on, through `mixer` with `bank`'s sounds.
    void attach(Mixer& mixer, const SoundBank& bank);
    // The cue strikes at `power` units/s: the shot's time starts.
    void strike(double power);
    // The shot has run `seconds` further: what follows is heard that much after the strike.
    void advance(double seconds);
    void contact(const Contact& contact) override;

private:
    void play(const Sound& sound, float gain) const;

    ContactHook& lines;
    std::atomic<const SoundBank*> bank{nullptr};
    std::atomic<Mixer*> mixer{nullptr}; // set after bank
    std::int64_t strikeFrame = 0;       // stream frame of the strike
    double shotSeconds = 0.0;           // since the strike
    bool heard = false; // sound was attached at the strike: the shot's contacts are heard too
};
