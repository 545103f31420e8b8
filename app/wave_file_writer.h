// 16-bit stereo PCM WAV files: the 44-byte header and the whole-file writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kWaveHeaderBytes = 44;
constexpr uint32_t kMaxWaveDataBytes = 0xFFFFFFFFu - kWaveHeaderBytes; // the RIFF size must fit

// Fills `header` (kWaveHeaderBytes bytes) for 16-bit stereo PCM at `sampleRate` Hz followed by
// `dataBytes` bytes of samples.
void fillStereoWaveHeader(uint8_t* header, int sampleRate, uint32_t dataBytes);

// Copies `byteCount` bytes of 16-bit samples in the machine's byte order to `out` as
// little-endian samples (a trailing odd byte is left out).
void copySamplesLittleEndian(uint8_t* out, const uint8_t* samples, size_t byteCount);

// Writes 16-bit stereo samples (machine byte order) as a PCM WAV file, replacing `path` only
// when the whole file was written. Returns false with a message in `error` on failure.
bool writeStereoWaveFile(const std::string& path, int sampleRate,
                         const std::vector<uint8_t>& samples, std::string& error);
