// Capture of what the stream plays into a 16-bit stereo WAV file (the script's capture command).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct WavCapture {
    std::FILE* file = nullptr;
    int sampleRate = 0;     // Hz, the stream rate when the capture began
    uint32_t dataBytes = 0; // PCM bytes appended so far
};

// Creates the file with a header for 16-bit stereo PCM at `sampleRate`. Returns false when the
// file cannot be created (nothing is captured then).
bool beginWavCapture(WavCapture& capture, const std::string& path, int sampleRate);

// Appends interleaved 16-bit stereo samples in the machine's byte order (a whole number of
// frames); the file holds them little-endian.
void appendWavCapture(WavCapture& capture, const uint8_t* bytes, int byteCount);

// Writes the final sizes into the header and closes the file. Returns false when a write
// failed. Does nothing (true) when no capture is running.
bool endWavCapture(WavCapture& capture);

inline bool capturing(const WavCapture& capture) {
    return capture.file != nullptr;
}
