// The names the panels show for the effect and waveform knobs: the program's own, the same for
// every instrument and waveform slot, and never saved in a song.
#pragma once

struct KnobLabel {
    const char* shortName; // at most 9 characters, shown under a knob
    const char* longName;  // shown along an axis of the 2D effect controller
};

// Effect knob 0..15 of an instrument; knobs 12..15 and indices out of range have empty names.
KnobLabel effectKnobLabel(int knob);

// Waveform knob 0..2 (MIX, HIGH, NOISE); indices out of range have empty names.
KnobLabel waveformKnobLabel(int knob);
