// The game's sounds, synthesised at start-up from damped tones and noise.
#pragma once

#include "audio/sound.h"

struct SoundBank {
    Sound strike; // the cue's leather tip on the cue ball: a soft, short tock
    Sound click;  // ball on ball: a sharp, bright click
    Sound thump;  // ball on a cushion or a cushion end: a dull, low thump
    Sound drop;   // ball into a pocket: a wooden knock and a short rattle

    static SoundBank synthesise();
};
