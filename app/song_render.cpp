// Offline renders: a copy of the song played on a virtual device of its own into sound files.
#include "app/song_render.h"

#include <algorithm>
#include <memory>

#include "engine/engine_state.h"
#include "engine/mixer.h"
#include "engine/render_length.h"
#include "engine/stream.h"
#include "engine/stream_state.h"
#include "engine/virtual_sound_device.h"

namespace {

constexpr float kMixFullScale = 128.0f; // a mix sample of 128 is full scale in the files
constexpr float kMixClip = 127.0f;      // the master clip, as the mixer's 16-bit output has it

// The files a render writes: the mix, or one per instrument.
struct RenderFiles {
    AudioFileWriter writers[kInstrumentCount];
    int count = 0;
};

// The render's own playback: the engine and the stream on a virtual device (the stream state
// holds the automation rings, megabytes: it lives on the heap).
struct RenderPlayback {
    VirtualSoundDevice device;
    EngineState engine;
    std::unique_ptr<StreamState> stream = std::make_unique<StreamState>();
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
bool writeChunk(RenderFiles& files, const Song& song, const RenderPlayback& playback, int start,
                int samples, float* scratch, std::string& error) {
    if (files.count == 1) {
        const float* mix = playback.stream->mixRing.get() + start;
        for (int j = 0; j < samples; ++j) {
            const float v = mix[j] == mix[j] ? std::clamp(mix[j], -kMixClip, kMixClip) : 0.0f;
            scratch[j] = v / kMixFullScale;
        }
        return files.writers[0].write(scratch, static_cast<size_t>(samples / 2), error);
    }
    float gains[kInstrumentCount][2];
    mixGains(song, gains);
    for (int i = 0; i < kInstrumentCount; ++i) {
        const float* ring = playback.engine.instrumentRing[i].get() + start;
        for (int j = 0; j < samples; ++j) scratch[j] = gains[i][j & 1] * ring[j] / kMixFullScale;
        if (!files.writers[i].write(scratch, static_cast<size_t>(samples / 2), error)) return false;
    }
    return true;
}

// The stream of the source's rate and latency, built as the Sample Rate menu builds it.
bool startRenderPlayback(RenderSource& source, RenderPlayback& playback) {
    playback.stream->device = &playback.device;
    playback.engine.noteLatency = source.noteLatency;
    playback.engine.playbackWaveforms = source.playbackWaveforms;
    return setSampleRate(source.song, playback.engine, *playback.stream, nullptr,
                         source.sampleRate);
}

// The render itself; its files are complete or gone when it returns.
RenderOutcome renderInto(RenderSource& source, const RenderRequest& request,
                         RenderProgress& progress, std::string& error) {
    Song& song = source.song;
    auto playback = std::make_unique<RenderPlayback>();
    if (!startRenderPlayback(source, *playback)) {
        error = "cannot render at " + std::to_string(source.sampleRate) + " Hz";
        return RenderOutcome::Failed;
    }
    EngineState& engine = playback->engine;
    const int steps = request.once ? onceThroughSteps(song) : request.steps;
    const int frames = engine.chunkFrames;
    const int tailSteps = request.tail ? maxTailSteps(engine.streamRate, frames) : 0;
    progress.stepsMost = steps + tailSteps;
    const uint64_t maxFrames = static_cast<uint64_t>(steps + tailSteps) * frames;
    RenderFiles files;
    if (!openFiles(files, request, engine.streamRate, maxFrames, error))
        return RenderOutcome::Failed;
    const int samples = 2 * frames;
    const auto scratch = std::make_unique<float[]>(static_cast<size_t>(samples));
    // The first pump renders step `latency`, the pump in the loop's pass for step n renders
    // step n + 1 + latency. In a tail no note starts from the first step after the end, and an
    // instrument whose notes have all ended is muted: its filter, fed by its own delays, could
    // otherwise ring on for good, and its delays ring out alone.
    const int latency = engine.noteLatency;
    auto pumpStep = [&](int renderedStep) {
        const bool inTail = request.tail && renderedStep >= steps;
        if (inTail) engine.startsNotes = 0;
        pumpAudio(song, engine, *playback->stream, nullptr, 0);
        for (int i = 0; i < kInstrumentCount && inTail; ++i)
            if (engine.soundingRows[i] == 0) song.Mute[i] = 1;
    };
    continueRandomFrom(source.randomState);
    startPlayback(song, engine, *playback->stream, nullptr);
    playback->device.setPlayCursor(0);
    pumpStep(latency);
    bool quiet = false;
    for (int step = 0; step < steps + tailSteps && !quiet; ++step) {
        if (progress.cancelRequested) return RenderOutcome::Cancelled;
        const int chunk = step % kRingChunks;
        if (!writeChunk(files, song, *playback, samples * chunk, samples, scratch.get(), error))
            return RenderOutcome::Failed;
        if (step >= steps)
            quiet = belowTailThreshold(playback->stream->mixRing.get() + samples * chunk, samples);
        playback->device.setPlayCursor((chunk + 1) % kRingChunks * 4 * frames);
        pumpStep(step + 1 + latency);
        progress.stepsDone = step + 1;
    }
    stopPlayback(song, engine, *playback->stream);
    for (int i = 0; i < files.count; ++i)
        if (!files.writers[i].finish(error)) return RenderOutcome::Failed;
    return RenderOutcome::Written;
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

RenderOutcome renderSongFiles(RenderSource& source, const RenderRequest& request,
                              RenderProgress& progress, std::string& error) {
    const RenderOutcome outcome = renderInto(source, request, progress, error);
    progress.finished = true;
    return outcome;
}
