// Render mode of humbrook-render: the song played through the virtual device into sound files.
#include "cli/render_mode.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "app/app_state.h"
#include "app/playback.h"
#include "engine/mixer.h"
#include "engine/render_length.h"
#include "engine/virtual_sound_device.h"

namespace {

constexpr float kMixFullScale = 128.0f; // a mix sample of 128 is full scale in the files
constexpr float kMixClip = 127.0f;      // the master clip, as the mixer's 16-bit output has it

// The files a render writes: the mix, or one per instrument.
struct RenderFiles {
    AudioFileWriter writers[kInstrumentCount];
    int count = 0;
};

bool openFiles(RenderFiles& files, const RenderRequest& request, int rate, uint64_t maxFrames,
               std::string& error) {
    files.count = request.stems ? kInstrumentCount : 1;
    for (int i = 0; i < files.count; ++i) {
        const std::string path =
            request.stems ? stemPath(request.path, request.format, i) : request.path;
        if (!files.writers[i].open(path, request.format, rate, 2, maxFrames, error)) return false;
    }
    return true;
}

// Writes the played chunk at ring sample `start`: the clipped mix (NaN as 0) or each stem, full
// scale +-1. `scratch` holds one chunk.
bool writeChunk(RenderFiles& files, const AppState& app, int start, int samples, float* scratch,
                std::string& error) {
    if (files.count == 1) {
        const float* mix = app.stream.mixRing.get() + start;
        for (int j = 0; j < samples; ++j) {
            const float v = mix[j] == mix[j] ? std::clamp(mix[j], -kMixClip, kMixClip) : 0.0f;
            scratch[j] = v / kMixFullScale;
        }
        return files.writers[0].write(scratch, static_cast<size_t>(samples / 2), error);
    }
    float gains[kInstrumentCount][2];
    mixGains(app.song, gains);
    for (int i = 0; i < kInstrumentCount; ++i) {
        const float* ring = app.engine.instrumentRing[i].get() + start;
        for (int j = 0; j < samples; ++j) scratch[j] = gains[i][j & 1] * ring[j] / kMixFullScale;
        if (!files.writers[i].write(scratch, static_cast<size_t>(samples / 2), error)) return false;
    }
    return true;
}

} // namespace

std::string stemPath(const std::string& path, AudioFormat format, int instrument) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && dot > (slash == std::string::npos ? 0 : slash + 1);
    const std::string base = hasExtension ? path.substr(0, dot) : path;
    return base + "-" + std::to_string(instrument + 1) + "." + audioFormatExtension(format);
}

bool renderSong(AppState& app, VirtualSoundDevice& device, const RenderRequest& request,
                std::string& error) {
    const int steps = request.once ? onceThroughSteps(app.song) : request.steps;
    const int frames = app.engine.chunkFrames;
    const int tailSteps = request.tail ? maxTailSteps(app.engine.streamRate, frames) : 0;
    const uint64_t maxFrames = static_cast<uint64_t>(steps + tailSteps) * frames;
    RenderFiles files;
    if (!openFiles(files, request, app.engine.streamRate, maxFrames, error)) return false;
    const int samples = 2 * frames;
    const auto scratch = std::make_unique<float[]>(static_cast<size_t>(samples));
    // The first pump renders step `latency`, the pump in the loop's pass for step n renders
    // step n + 1 + latency: a tail mutes the instruments before the first step after the end.
    const int latency = app.engine.noteLatency;
    auto muteAfterTheEnd = [&](int renderedStep) {
        if (request.tail && renderedStep >= steps)
            std::fill(std::begin(app.song.Mute), std::end(app.song.Mute), 1);
    };
    startPlayback(app);
    device.setPlayCursor(0);
    muteAfterTheEnd(latency);
    pumpAudio(app);
    bool quiet = false;
    for (int step = 0; step < steps + tailSteps && !quiet; ++step) {
        const int chunk = step % kRingChunks;
        if (!writeChunk(files, app, samples * chunk, samples, scratch.get(), error)) return false;
        if (step >= steps)
            quiet = belowTailThreshold(app.stream.mixRing.get() + samples * chunk, samples);
        muteAfterTheEnd(step + 1 + latency);
        device.setPlayCursor((chunk + 1) % kRingChunks * 4 * frames);
        pumpAudio(app);
    }
    stopPlayback(app);
    for (int i = 0; i < files.count; ++i)
        if (!files.writers[i].finish(error)) return false;
    return true;
}
