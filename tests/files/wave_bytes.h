// WAV files built byte by byte for the import tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

inline void put16(std::vector<uint8_t>& bytes, uint16_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
}

inline void put32(std::vector<uint8_t>& bytes, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline void putTag(std::vector<uint8_t>& bytes, const char* tag) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(tag[i]));
}

struct WaveSpec {
    int channels = 1;
    uint32_t rate = 22050;
    int bytesPerSample = 2;
    uint16_t formatTag = 1;
    std::vector<uint8_t> extraChunk; // a whole chunk placed between "fmt " and "data"
};

// A WAV file whose data chunk holds `values` (bytesPerSample each, little-endian).
inline std::vector<uint8_t> makeWave(const WaveSpec& spec, const std::vector<int32_t>& values) {
    std::vector<uint8_t> bytes;
    putTag(bytes, "RIFF");
    put32(bytes, 0); // filled in below
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    put32(bytes, 16);
    put16(bytes, spec.formatTag);
    put16(bytes, static_cast<uint16_t>(spec.channels));
    put32(bytes, spec.rate);
    const int blockAlign = spec.channels * spec.bytesPerSample;
    put32(bytes, spec.rate * blockAlign);
    put16(bytes, static_cast<uint16_t>(blockAlign));
    put16(bytes, static_cast<uint16_t>(8 * spec.bytesPerSample));
    bytes.insert(bytes.end(), spec.extraChunk.begin(), spec.extraChunk.end());
    putTag(bytes, "data");
    put32(bytes, static_cast<uint32_t>(values.size() * spec.bytesPerSample));
    for (int32_t v : values)
        for (int b = 0; b < spec.bytesPerSample; ++b)
            bytes.push_back(static_cast<uint8_t>(v >> (8 * b)));
    const uint32_t riffSize = static_cast<uint32_t>(bytes.size() - 8);
    std::memcpy(bytes.data() + 4, &riffSize, 4);
    return bytes;
}
