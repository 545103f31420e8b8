// Whole-waveform edits of a waveform slot: Average, Amplify and Reduce.
#pragma once

#include "model/song.h"

// Replaces every Sound sample of `slot` by the circular mean of the 2 radius + 1 samples around
// it (radius 2 from the key). Only Sound changes, also on a slot that plays a sound file. A
// negative radius or a bad slot does nothing.
void averageWaveform(Song& song, int slot, int radius);

// Multiplies the slot's Sound (drawn slot) or its sound-file samples (SoundType 1) by `factor`,
// without clamping. 1.2 amplifies, 0.8333333 reduces.
//
// After either edit the caller rebuilds the slot's playback form (engine/playback_waveform.h).
void scaleWaveform(Song& song, int slot, float factor);
