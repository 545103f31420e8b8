// The effect units of one instrument. A new effect is a unit type with reset() and process(),
// a member here, and its place in the mix (engine/mixer.cpp and the stage drivers).
#pragma once

#include "engine/amplitude_cutoff.h"
#include "engine/delay_line.h"
#include "engine/resonant_filter.h"
#include "model/song.h"

struct EffectChain {
    AmplitudeCutoff cutoff;        // DISTORT, DSTDRAG (knob stages, unmuted instruments only)
    ResonantFilter filter;         // CUTOFF, RES, RESOVER (knob stages)
    DelayLine delays[kDelayCount]; // DELAY/REVERB, also for muted instruments

    // Start of playback: every unit back to silence.
    void reset() {
        cutoff.reset();
        filter.reset();
        for (DelayLine& delay : delays) delay.reset();
    }
};
