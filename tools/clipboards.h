// The four Edit-menu clipboards: a note bank, an envelope curve, a waveform and effect settings.
#pragma once

#include <cstdint>

#include "model/song.h"

// One note bank: the three grid values of every cell, then pan and velocity of its steps.
struct PatternClipboard {
    int32_t cells[kStepsPerBank][kNoteRows][3]; // notePosition, nextRow, noteLength
    float panVel[kStepsPerBank][2];             // pan, velocity of each step
};

// Values only: nothing records which instrument, bank, curve or slot they came from. All zeros
// in a fresh record, so a paste before any copy writes zeros.
struct Clipboards {
    PatternClipboard patternClipboard;
    float envelopeClipboard[kEnvelopePoints]; // points 0..300 of a curve
    float waveformClipboard[kWaveformSamples];
    float effectsClipboard[kEffectKnobCount]; // knob values 0..1
};
