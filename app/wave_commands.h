// File > Save Recorded Wave and File > Import Wave: their dialogs and messages around the
// conversions of files/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct AppState;
class Platform;

// Writes the WAV file for the last recording: recordedChunks chunks of the chunk length and
// rate the recording was made with. A recording still running is flushed first. Reports
// "Couldn't Open Temp File" and "Problem writing Wave file"; an existing file at `path` is
// replaced only by a complete new one. Returns true when the file was written.
bool writeRecordedWave(AppState& app, const std::string& path, Platform& platform);

// The Save dialog for the recording ("out.wav", asking before replacing a file), then the
// conversion. The caller has stopped playback and checked that chunks were recorded. Returns
// true when a file was written.
bool saveRecordedWave(AppState& app, Platform& platform);

// Imports the WAV file held in `bytes` into `slot` (0..7) and rebuilds the slot's playback
// waveform. Refusals show their message and leave the slot's values as they were. Returns true
// when the import ran to its end.
bool importWaveBytes(AppState& app, int slot, const uint8_t* bytes, size_t size,
                     Platform& platform);

// The same for a file on disk, of which only the header and the bytes kept are read: "Couldn't
// Open File " when it cannot be opened or is no regular file, "Couldn't Read File " when reading
// the kept bytes fails.
bool importWaveFromPath(AppState& app, int slot, const std::string& path, Platform& platform);

// The Open dialog for a WAV file ("out.wav"), then the import into `slot` (the current
// instrument's waveform slot; a slot outside 0..7 imports nothing). Returns true when an
// import ran to its end; the caller redraws the wave editor and buttons either way.
bool importWaveFile(AppState& app, Platform& platform, int slot);
