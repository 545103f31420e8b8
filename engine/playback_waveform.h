// What the voices play of each waveform slot: its drawing after MIX, HIGH and NOISE.
#pragma once

#include "model/song.h"

// Derived from the song and never saved: the application rebuilds a slot whenever its drawing or
// knobs change, at that moment, because NOISE draws from the program's random generator.
struct PlaybackWaveforms {
    // Per slot 0..7, kWaveformSamples samples (+-127 full scale, more with HIGH or NOISE) and a
    // guard: sample 350 repeats sample 0 so that the voices interpolate past the end.
    float wave[kWaveformSlotCount][kWaveformSamples + 1] = {};
};

// Rebuilds `slot` (0..7; others are ignored) of `waveforms` from the slot's Sound, the Sound of
// the next slot and the slot's three knobs. A drawn slot with NOISE above 0 draws 350 numbers
// from the program's random generator.
void rebuildPlaybackWaveform(const Song& song, int slot, PlaybackWaveforms& waveforms);

// Rebuilds `slot` once for every instrument that plays it (none: no rebuild). A song load calls
// this for every slot once the whole file is read.
void markWaveformUsers(const Song& song, int slot, PlaybackWaveforms& waveforms);
