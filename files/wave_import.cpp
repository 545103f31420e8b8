// WAV import: find the format, check it, convert the bytes after it into the slot's samples.
#include "files/wave_import.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "app/app_state.h"
#include "app/platform.h"
#include "base/little_endian.h"
#include "files/file_bytes.h"
#include "tools/playback_waveform.h"

namespace {

constexpr size_t kSkippedBytes = 18; // "data" header and five samples of a canonical file

struct WaveFormat {
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t blockAlign = 0;
    size_t afterFormat = 0; // offset of the first byte after the "fmt " chunk
    uint32_t riffSize = 0;  // size the RIFF header declares
};

bool hasTag(const uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

// The RIFF "WAVE" form and its "fmt " chunk. No size in the file is trusted: every chunk must
// lie inside both the file and the RIFF chunk.
bool findFormat(const uint8_t* bytes, size_t size, WaveFormat& format) {
    if (size < 12 || !hasTag(bytes, "RIFF") || !hasTag(bytes + 8, "WAVE")) return false;
    format.riffSize = readLe32(bytes + 4);
    const uint64_t riffEnd = std::min<uint64_t>(uint64_t{8} + format.riffSize, size);
    uint64_t chunk = 12;
    while (chunk + 8 <= riffEnd) {
        const uint32_t chunkSize = readLe32(bytes + chunk + 4);
        const uint64_t data = chunk + 8;
        if (hasTag(bytes + chunk, "fmt ")) {
            if (chunkSize < 16 || data + 16 > size) return false;
            const uint8_t* fmt = bytes + data;
            if (readLe16(fmt) != 1) {
                // Not PCM: the extra-size field and that many bytes must be there to read.
                if (data + 18 > size) return false;
                if (data + 18 + readLe16(fmt + 16) > size) return false;
            }
            format.channels = readLe16(fmt + 2);
            format.sampleRate = readLe32(fmt + 4);
            format.blockAlign = readLe16(fmt + 12);
            const uint64_t after = data + chunkSize + (chunkSize & 1); // past the pad byte
            format.afterFormat = static_cast<size_t>(std::min<uint64_t>(after, size));
            return true;
        }
        chunk = data + chunkSize + (chunkSize & 1);
    }
    return false;
}

void storeSamples(Song& song, int slot, const WaveFormat& format, size_t rawBytes) {
    const uint8_t* raw = song.rawImportBuffer[slot].get();
    float* samples = song.SoundFileVals[slot].fileSamples.get();
    const size_t count = (rawBytes - kSkippedBytes) / 2;
    for (size_t k = 0; k < count; ++k) {
        const int16_t value = static_cast<int16_t>(readLe16(raw + kSkippedBytes + 2 * k));
        float sample = value / 256.0f;
        samples[k] = sample > 127.0f ? 127.0f : (sample < -127.0f ? -127.0f : sample);
    }
    song.SoundFileVals[slot].fileSampleCount = static_cast<int32_t>(count);
    song.SoundFileParams[slot].fileSampleRate = static_cast<int32_t>(format.sampleRate);
    song.SoundFileParams[slot].fileChannels = format.channels;
    song.SoundType[slot] = 1;
    song.SoundEffect[slot][kKnobMix].value = 0.5f;
    song.SoundEffect[slot][kKnobHigh].value = 0.0f;
    song.SoundEffect[slot][kKnobNoise].value = 0.0f;
}

} // namespace

bool importWaveBytes(AppState& app, int slot, const uint8_t* bytes, size_t size, Platform& platform,
                     bool readFailed) {
    if (slot < 0 || slot >= kWaveformSlotCount) return false;
    WaveFormat format;
    if (!findFormat(bytes, size, format)) {
        showWarning(platform, "Couldn't Open File ");
        return false;
    }
    if (format.channels != 1 && format.channels != 2) {
        showWarning(platform, "Must be Stereo or Mono Sound File ");
        return false;
    }
    if (format.sampleRate != 22050 && format.sampleRate != 44100) {
        showWarning(platform, "Must be 44100 or 22050 Samples per Second ");
        return false;
    }
    Song& song = app.song;
    if (!song.rawImportBuffer[slot])
        song.rawImportBuffer[slot] = std::make_unique<uint8_t[]>(kRawImportBytes);
    if (!song.SoundFileVals[slot].fileSamples)
        song.SoundFileVals[slot].fileSamples = std::make_unique<float[]>(kMaxFileSamples);

    size_t rawBytes = std::min<size_t>(
        {static_cast<size_t>(kRawImportBytes), format.riffSize, size - format.afterFormat});
    if (readFailed && rawBytes == size - format.afterFormat) {
        showWarning(platform, "Couldn't Read File ");
        rawBytes = 0;
    }
    std::memcpy(song.rawImportBuffer[slot].get(), bytes + format.afterFormat, rawBytes);
    // Too few bytes for even one sample past the skipped ones counts as no data.
    if (rawBytes < kSkippedBytes + 2) {
        showWarning(platform, "No Data Found");
        return false;
    }
    if (format.blockAlign / format.channels != 2) {
        showWarning(platform, "Wrong number of bytes per sample ");
        return false;
    }
    storeSamples(song, slot, format, rawBytes);
    rebuildPlaybackWaveform(app, slot); // the slot's knobs changed
    return true;
}

bool importWaveFromPath(AppState& app, int slot, const std::string& path, Platform& platform) {
    FileBytes file;
    if (openFileBytes(path, file, SIZE_MAX) != FileOpenResult::Opened) {
        showWarning(platform, "Couldn't Open File ");
        return false;
    }
    const bool imported =
        importWaveBytes(app, slot, file.data, file.size, platform, file.readFailed);
    closeFileBytes(file);
    return imported;
}
