// File > Save Recorded Wave and File > Import Wave: their dialogs around the conversions.
#pragma once

struct AppState;
class Platform;

// The Save dialog for the recording ("out.wav", asking before replacing a file), then the
// conversion. The caller has stopped playback and checked that chunks were recorded. Returns
// true when a file was written.
bool saveRecordedWave(AppState& app, Platform& platform);

// The Open dialog for a WAV file ("out.wav"), then the import into `slot` (the current
// instrument's waveform slot; a slot outside 0..7 imports nothing). Returns true when an
// import ran to its end; the caller redraws the wave editor and buttons either way.
bool importWaveFile(AppState& app, Platform& platform, int slot);
