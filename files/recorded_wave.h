// Converting the temporary recording into a 16-bit stereo WAV file.
#pragma once

#include <cstdint>
#include <string>

inline constexpr uint32_t kRecordedWaveHeaderBytes = 56; // RIFF, "fmt ", "fact", "data" headers

// What the recording was made with.
struct RecordedTake {
    int chunks = 0;      // chunks in the temporary file
    int chunkFrames = 0; // frames of one chunk
    int rate = 0;        // samples per second
};

enum class RecordedWaveWrite {
    Written,    // the WAV file holds the recording
    NoTempFile, // the temporary file could not be opened
    NotWritten, // the WAV file could not be written (or would exceed 4 GB)
};

// Writes the WAV file for a take: chunks * chunkFrames stereo frames at the take's rate, read
// from the temporary file's text; when the text ends early its last value fills the rest. An
// existing file at `path` is replaced only by a complete new one.
RecordedWaveWrite writeRecordedWaveFile(const RecordedTake& take, const std::string& path);
