// Selections that the keyboard, the menus and the panels share, with their start values.
#pragma once

struct UiState {
    int currentInstrument = 0;    // 0..3, the instrument the per-instrument panels show
    int envelopeCurve = 0;        // 0..3: amplitude, pitch, cutoff, ratio
    int slidingAllowed = 1;       // a note drawn across rows becomes a slide
    int resetWaveformCycle = 0;   // 0..3, the generator the next Reset Waveform uses
    int bpmDigitSelected[5] = {}; // which BPM digit receives typed digits

    // The window background, blue green red 0..255; frames round their corners toward it.
    float backgroundColour[3] = {90, 45, 26};
};
