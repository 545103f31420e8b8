// Capture of what the stream plays into a 16-bit stereo WAV file (the script's capture command).
#pragma once

#include <cstdint>
#include <string>

#include "files/safe_file_writer.h"

// Written like a save: into a temporary file beside the target, renamed over it at the end, so
// a capture that fails leaves the previous file as it was.
struct WavCapture {
    SafeFileWriter writer;
    bool running = false;
    std::string path;       // the file named by the capture command
    int sampleRate = 0;     // Hz, the stream rate when the capture began
    uint32_t dataBytes = 0; // PCM bytes appended so far, at most kMaxWaveDataBytes
};

// Finishes a running capture, then creates the temporary file with a header for 16-bit stereo
// PCM at `sampleRate`. Returns false when it cannot be created (nothing is captured then).
bool beginWavCapture(WavCapture& capture, const std::string& path, int sampleRate);

// Appends interleaved 16-bit stereo samples in the machine's byte order (a whole number of
// frames); the file holds them little-endian. When a write fails, or the bytes would take the
// data past what the header can count, the capture is abandoned and `error` says why.
bool appendWavCapture(WavCapture& capture, const uint8_t* bytes, int byteCount, std::string& error);

// Writes the final sizes into the header and puts the file in place of the target. Returns
// false when that failed. Does nothing (true) when no capture is running.
bool endWavCapture(WavCapture& capture);

inline bool capturing(const WavCapture& capture) {
    return capture.running;
}
