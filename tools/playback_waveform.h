// Rebuilds the form of a waveform slot that the voices play: Sound after MIX, HIGH and NOISE.
#pragma once

#include "model/song.h"

// Rebuilds playbackWaveform of `slot` (0..7; others are ignored) from its Sound, the Sound of
// the next slot and the slot's three knobs. Call after every change of a slot's Sound or knobs.
// Sample 350 is left equal to sample 0 so that the voices interpolate past the end.
void rebuildPlaybackWaveform(Song& song, int slot);

// Rebuilds `slot` once for every instrument that plays it (none: no rebuild). The song loader
// calls this for every slot once the whole file is read.
void markWaveformUsers(Song& song, int slot);
