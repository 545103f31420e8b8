// Render mode of humbrook-render: the song played through the virtual device into a WAV file.
#include "cli/render_mode.h"

#include "app/app_state.h"
#include "engine/stream.h"
#include "engine/virtual_sound_device.h"
#include "files/little_endian.h"
#include "files/safe_file_writer.h"

#include <cstring>

std::vector<uint8_t> renderSteps(AppState& app, VirtualSoundDevice& device, int steps) {
    const int chunkBytes = 4 * app.engine.chunkFrames;
    std::vector<uint8_t> played;
    played.reserve(static_cast<size_t>(steps) * static_cast<size_t>(chunkBytes));
    startPlayback(app);
    device.setPlayCursor(0);
    pumpAudio(app);
    for (int step = 0; step < steps; ++step) {
        const int chunk = step % kRingChunks;
        const uint8_t* heard = device.bufferBytes() + chunk * chunkBytes;
        played.insert(played.end(), heard, heard + chunkBytes);
        device.setPlayCursor((chunk + 1) % kRingChunks * chunkBytes);
        pumpAudio(app);
    }
    stopPlayback(app);
    return played;
}

bool writePcmWave(const std::string& path, int sampleRate, const std::vector<uint8_t>& samples,
                  std::string& error) {
    constexpr uint32_t kHeaderBytes = 44;
    const uint64_t dataBytes = samples.size();
    if (dataBytes > 0xFFFFFFFFu - kHeaderBytes) {
        error = "too many samples for a WAV file";
        return false;
    }
    std::vector<uint8_t> file(kHeaderBytes + samples.size());
    uint8_t* p = file.data();
    std::memcpy(p, "RIFF", 4);
    p = writeLe32(p + 4, static_cast<uint32_t>(kHeaderBytes - 8 + dataBytes));
    std::memcpy(p, "WAVEfmt ", 8);
    p = writeLe32(p + 8, 16);
    p = writeLe16(p, 1); // PCM
    p = writeLe16(p, 2); // channels
    p = writeLe32(p, static_cast<uint32_t>(sampleRate));
    p = writeLe32(p, static_cast<uint32_t>(sampleRate) * 4);
    p = writeLe16(p, 4);  // block align
    p = writeLe16(p, 16); // bits per sample
    std::memcpy(p, "data", 4);
    p = writeLe32(p + 4, static_cast<uint32_t>(dataBytes));
    for (size_t i = 0; i + 1 < samples.size(); i += 2) {
        int16_t sample;
        std::memcpy(&sample, samples.data() + i, sizeof sample);
        p = writeLe16(p, static_cast<uint16_t>(sample));
    }

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
