// 16-bit stereo PCM WAV files: the 44-byte header and the samples in its byte order.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kWaveHeaderBytes = 44;
constexpr uint32_t kMaxWaveDataBytes = 0xFFFFFFFFu - kWaveHeaderBytes; // the RIFF size must fit

// Fills `header` (kWaveHeaderBytes bytes) for 16-bit stereo PCM at `sampleRate` Hz followed by
// `dataBytes` bytes of samples.
void fillStereoWaveHeader(uint8_t* header, int sampleRate, uint32_t dataBytes);

// Copies `byteCount` bytes of 16-bit samples in the machine's byte order to `out` as
// little-endian samples (a trailing odd byte is left out).
void copySamplesLittleEndian(uint8_t* out, const uint8_t* samples, size_t byteCount);
