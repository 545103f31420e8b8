// The preset waveform generators, and Reset Waveform which cycles through them.
#pragma once

#include "model/song.h"

// Each writes all 350 samples of Sound of `slot` (0..7; others are ignored), amplitude 50. The
// caller then rebuilds the slot's playback form (engine/playback_waveform.h).
void generateSine(Song& song, int slot);       // two cycles, starting at phase -2 pi
void generateSineOctave(Song& song, int slot); // one cycle plus its octave, 25 each
void generateSaw(Song& song, int slot);        // two rising ramps from -50
void generateSquare(Song& song, int slot);     // two cycles, starting low

// Runs on `slot` the generator `cycle` chooses (0 sine, 1 sine plus octave, 2 saw, 3 square;
// others sine), then advances the cycle to the next of 0..3. The cycle is shared by every slot.
void resetWaveform(Song& song, int slot, int& cycle);
