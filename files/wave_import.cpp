// WAV import: find the format, check it, convert the bytes after it into the slot's samples.
#include "files/wave_import.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unistd.h>
#include <vector>

#include "base/little_endian.h"
#include "files/file_bytes.h"
#include "model/song.h"

namespace {

constexpr size_t kSkippedBytes = 18;         // "data" header and five samples of a canonical file
constexpr uint64_t kMaxImportBytes = 800000; // bytes after the format that are read at most
// A WAV file has a handful of chunks before its format; beyond this many the file is damaged,
// and walking on could take as long as the file is large.
constexpr int kMaxChunksBeforeFormat = 4096;

struct WaveFormat {
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t blockAlign = 0;
    uint64_t afterFormat = 0; // offset of the first byte after the "fmt " chunk
    uint32_t riffSize = 0;    // size the RIFF header declares
};

bool hasTag(const uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

// Where an import's bytes come from: a buffer, or a file read only at the places needed, so
// that a huge file costs no more than a small one.
struct WaveSource {
    const uint8_t* bytes = nullptr; // the whole file, or nullptr to read `fd`
    int fd = -1;
    uint64_t size = 0;

    bool read(uint64_t offset, void* out, size_t count) const {
        if (offset > size || count > size - offset) return false;
        if (count == 0) return true; // `out` may be an empty buffer's null pointer
        if (bytes == nullptr) return readFileAt(fd, offset, out, count);
        std::memcpy(out, bytes + offset, count);
        return true;
    }
};

// The RIFF "WAVE" form and its "fmt " chunk. No size in the file is trusted: every chunk must
// lie inside both the file and the RIFF chunk.
bool findFormat(const WaveSource& source, WaveFormat& format) {
    const uint64_t size = source.size;
    uint8_t head[12];
    if (!source.read(0, head, 12) || !hasTag(head, "RIFF") || !hasTag(head + 8, "WAVE"))
        return false;
    format.riffSize = readLe32(head + 4);
    const uint64_t riffEnd = std::min<uint64_t>(uint64_t{8} + format.riffSize, size);
    uint64_t chunk = 12;
    for (int examined = 0; chunk + 8 <= riffEnd && examined < kMaxChunksBeforeFormat; ++examined) {
        if (!source.read(chunk, head, 8)) return false;
        const uint32_t chunkSize = readLe32(head + 4);
        const uint64_t data = chunk + 8;
        if (hasTag(head, "fmt ")) {
            uint8_t fmt[18];
            if (chunkSize < 16 || !source.read(data, fmt, 16)) return false;
            if (readLe16(fmt) != 1) {
                // Not PCM: the extra-size field and that many bytes must be there to read.
                if (!source.read(data + 16, fmt + 16, 2)) return false;
                if (data + 18 + readLe16(fmt + 16) > size) return false;
            }
            format.channels = readLe16(fmt + 2);
            format.sampleRate = readLe32(fmt + 4);
            format.blockAlign = readLe16(fmt + 12);
            const uint64_t after = data + chunkSize + (chunkSize & 1); // past the pad byte
            format.afterFormat = std::min<uint64_t>(after, size);
            return true;
        }
        chunk = data + chunkSize + (chunkSize & 1);
    }
    return false;
}

// Converts the bytes after the format (`raw`, `rawBytes` of them) into the slot's samples.
void storeSamples(Song& song, int slot, const WaveFormat& format, const uint8_t* raw,
                  size_t rawBytes) {
    FileSamples& file = song.SoundFileVals[slot];
    std::shared_ptr<float[]> samples = newFileSampleBuffer();
    const size_t count = (rawBytes - kSkippedBytes) / 2; // at most kMaxFileSamples - 9
    for (size_t k = 0; k < count; ++k) {
        const int16_t value = static_cast<int16_t>(readLe16(raw + kSkippedBytes + 2 * k));
        float sample = value / 256.0f;
        samples[k] = sample > 127.0f ? 127.0f : (sample < -127.0f ? -127.0f : sample);
    }
    keepFileSamplesFrom(file, samples.get(), static_cast<int>(count));
    file.fileSamples = std::move(samples);
    file.fileSampleCount = static_cast<int32_t>(count);
    song.SoundFileParams[slot].fileSampleRate = static_cast<int32_t>(format.sampleRate);
    song.SoundFileParams[slot].fileChannels = format.channels;
    song.SoundType[slot] = 1;
    song.SoundEffect[slot][kKnobMix].value = 0.5f;
    song.SoundEffect[slot][kKnobHigh].value = 0.0f;
    song.SoundEffect[slot][kKnobNoise].value = 0.0f;
}

// The checks in order, then the bytes after the format read and converted into the slot.
WaveImportError importWave(Song& song, int slot, const WaveSource& source) {
    if (slot < 0 || slot >= kWaveformSlotCount) return WaveImportError::NoSlot;
    WaveFormat format;
    if (!findFormat(source, format)) return WaveImportError::NotAWave;
    if (format.channels != 1 && format.channels != 2) return WaveImportError::NotMonoOrStereo;
    if (format.sampleRate != 22050 && format.sampleRate != 44100) return WaveImportError::WrongRate;
    // From here on even a refusal leaves the slot with a sample buffer, as it always has.
    FileSamples& file = song.SoundFileVals[slot];
    if (!file.fileSamples) {
        std::shared_ptr<float[]> zeros = newFileSampleBuffer();
        keepFileSamplesFrom(file, zeros.get(), 0);
        file.fileSamples = std::move(zeros);
    }
    const size_t rawBytes = static_cast<size_t>(
        std::min<uint64_t>({kMaxImportBytes, format.riffSize, source.size - format.afterFormat}));
    std::vector<uint8_t> raw(rawBytes);
    if (!source.read(format.afterFormat, raw.data(), rawBytes)) return WaveImportError::ReadFailed;
    // Too few bytes for even one sample past the skipped ones counts as no data.
    if (rawBytes < kSkippedBytes + 2) return WaveImportError::NoData;
    if (format.blockAlign / format.channels != 2) return WaveImportError::WrongSampleSize;
    storeSamples(song, slot, format, raw.data(), rawBytes);
    return WaveImportError::None;
}

} // namespace

WaveImportError importWaveSamples(Song& song, int slot, const uint8_t* bytes, size_t size) {
    WaveSource source;
    source.bytes = bytes;
    source.size = size;
    return importWave(song, slot, source);
}

WaveImportError importWaveFileSamples(Song& song, int slot, const std::string& path) {
    WaveSource source;
    source.fd = openRegularFile(path, source.size);
    if (source.fd < 0) return WaveImportError::CannotOpen;
    const WaveImportError error = importWave(song, slot, source);
    close(source.fd);
    return error;
}
