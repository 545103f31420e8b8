// Converting the temporary recording into a 16-bit stereo WAV file.
#pragma once

#include <cstdint>
#include <string>

struct AppState;
class Platform;

inline constexpr uint32_t kRecordedWaveHeaderBytes = 56; // RIFF, "fmt ", "fact", "data" headers

// Writes the WAV file for the last recording: recordedChunks chunks of the chunk length and
// rate the recording was made with. A recording still running is flushed first. Reports
// "Couldn't Open Temp File" and "Problem writing Wave file"; an existing file at `path` is
// replaced only by a complete new one. Returns true when the file was written.
bool writeRecordedWave(AppState& app, const std::string& path, Platform& platform);
