// 16-bit stereo PCM WAV files: the 44-byte header and the samples in its byte order.
#include "app/wave_file_writer.h"

#include <cstring>

#include "base/little_endian.h"

namespace {

constexpr int kChannels = 2;
constexpr int kBitsPerSample = 16;
constexpr int kBlockAlign = kChannels * kBitsPerSample / 8;

} // namespace

void fillStereoWaveHeader(uint8_t* header, int sampleRate, uint32_t dataBytes) {
    uint8_t* p = header;
    std::memcpy(p, "RIFF", 4);
    p = writeLe32(p + 4, kWaveHeaderBytes - 8 + dataBytes);
    std::memcpy(p, "WAVEfmt ", 8);
    p = writeLe32(p + 8, 16);
    p = writeLe16(p, 1); // PCM
    p = writeLe16(p, kChannels);
    p = writeLe32(p, static_cast<uint32_t>(sampleRate));
    p = writeLe32(p, static_cast<uint32_t>(sampleRate) * kBlockAlign);
    p = writeLe16(p, kBlockAlign);
    p = writeLe16(p, kBitsPerSample);
    std::memcpy(p, "data", 4);
    writeLe32(p + 4, dataBytes);
}

void copySamplesLittleEndian(uint8_t* out, const uint8_t* samples, size_t byteCount) {
    for (size_t i = 0; i + 1 < byteCount; i += 2) {
        int16_t sample;
        std::memcpy(&sample, samples + i, sizeof sample);
        out = writeLe16(out, static_cast<uint16_t>(sample));
    }
}
