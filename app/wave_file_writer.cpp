// 16-bit stereo PCM WAV files: the 44-byte header and the whole-file writer.
#include "app/wave_file_writer.h"

#include <cstring>

#include "base/little_endian.h"
#include "files/safe_file_writer.h"

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

bool writeStereoWaveFile(const std::string& path, int sampleRate,
                         const std::vector<uint8_t>& samples, std::string& error) {
    const uint64_t dataBytes = samples.size();
    if (dataBytes > kMaxWaveDataBytes) {
        error = "too many samples for a WAV file";
        return false;
    }
    std::vector<uint8_t> file(kWaveHeaderBytes + samples.size());
    fillStereoWaveHeader(file.data(), sampleRate, static_cast<uint32_t>(dataBytes));
    copySamplesLittleEndian(file.data() + kWaveHeaderBytes, samples.data(), samples.size());

    SafeFileWriter writer;
    if (!beginSafeFile(writer, path)) {
        error = "cannot create " + path;
        return false;
    }
    writeSafeFile(writer, file.data(), file.size());
    if (!commitSafeFile(writer)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
