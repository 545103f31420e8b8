// Whole-waveform edits of the current instrument's slot: Average, Amplify and Reduce.
#pragma once

struct AppState;

// Replaces every Sound sample by the circular mean of the 2 radius + 1 samples around it
// (radius 2 from the key), then rebuilds the slot. Only Sound changes, also on a slot that
// plays a sound file. A negative radius does nothing.
void averageWaveform(AppState& app, int radius);

// Multiplies the slot's Sound (drawn slot) or its sound-file samples (SoundType 1) by `factor`,
// without clamping, then rebuilds the slot. 1.2 amplifies, 0.8333333 reduces.
void scaleWaveform(AppState& app, float factor);
