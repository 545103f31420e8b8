// The preset waveform generators, and Reset Waveform which cycles through them.
#pragma once

struct AppState;

// Each writes all 350 samples of Sound of `slot` (0..7; others are ignored), amplitude 50,
// then rebuilds the slot's playbackWaveform.
void generateSine(AppState& app, int slot);       // two cycles, starting at phase -2 pi
void generateSineOctave(AppState& app, int slot); // one cycle plus its octave, 25 each
void generateSaw(AppState& app, int slot);        // two rising ramps from -50
void generateSquare(AppState& app, int slot);     // two cycles, starting low

// Runs on the current instrument's slot the generator ui.resetWaveformCycle chooses (0 sine,
// 1 sine plus octave, 2 saw, 3 square), then advances the cycle, shared by every slot.
void resetWaveform(AppState& app);
