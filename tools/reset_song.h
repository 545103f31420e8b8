// File > New and start-up: the song back to its defaults with the preset waveforms.
#pragma once

struct AppState;

// Gives every song field its default, empties the clipboards, generates the presets into slots
// 0..7 (each rebuilding its playbackWaveform) and finally sets the current instrument's
// SoundIdx to 0. Run on a freshly created AppState: engine and editing state take their start
// values from its value-initialisation, not from here.
void resetSong(AppState& app);
