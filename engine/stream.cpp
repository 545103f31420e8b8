// The audio stream: building it, starting and stopping playback, the pump that feeds it.
#include "engine/stream.h"

#include "app/app_state.h"
#include "engine/delays.h"
#include "engine/knob_automation.h"
#include "engine/mixer.h"
#include "engine/sequencer.h"
#include "engine/sound_device.h"
#include "engine/voice.h"
#include "files/recording.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kBytesPerFrame = 4; // 16-bit stereo frames of the stream
// A meter redraws while its level is above this; below it no pixel of it changes any more.
constexpr float kMeterRedrawLevel = 0.01f;

// The play cursor in bytes, a whole frame inside the stream buffer; 0 without a stream.
int readPlayCursor(AppState& app) {
    SoundDevice* device = app.stream.device;
    const int size = kRingChunks * kBytesPerFrame * app.engine.chunkFrames;
    if (device == nullptr || size <= 0) return 0;
    int cursor = device->playCursor();
    if (cursor < 0 || cursor >= size) cursor = (cursor % size + size) % size;
    return cursor - cursor % kBytesPerFrame;
}

// True when the step instrument 0 is about to render lies just past its measure: the moment
// its bank advances, where a recording starts or stops.
bool atFirstInstrumentMeasureEnd(const AppState& app) {
    // In 64 bits: a damaged song's bank or measure length cannot overflow the sum.
    return int64_t{app.engine.stepCounter[0]} + app.engine.noteLatency ==
           int64_t{kStepsPerBank} * app.song.PatternIdx[0] + app.song.BPMsr[0];
}

// The level the volume meter takes from a mix sample: its magnitude, kept finite so that a
// damaged song cannot leave the meter at NaN or infinity.
float meterLevel(float mixed) {
    if (mixed != mixed) return 0.0f;
    return std::min(std::fabs(mixed), 1.0e6f);
}

// Carries out an armed recording start or a requested stop at instrument 0's measure end.
// Returns true when a recording started or stopped.
bool runRecordingHooks(AppState& app) {
    RecordingState& recording = app.recording;
    if (!recording.startArmed && !recording.stopRequested) return false;
    if (!atFirstInstrumentMeasureEnd(app)) return false;
    bool changed = false;
    if (recording.startArmed) {
        recording.startArmed = 0;
        if (!beginRecordingFile(app)) recording.startFailed = 1;
        changed = true;
    }
    if (recording.stopRequested) {
        recording.stopRequested = 0;
        endRecordingFile(app);
        changed = true;
    }
    return changed;
}

// One step of playback: sequencer, recording hooks, bank changes, voices, mix.
void takeStep(AppState& app) {
    const bool wasRecording = app.recording.active; // a failed write may end it in the mix
    advanceStepCounters(app);
    const bool recordingChanged = runRecordingHooks(app);
    const bool bankChanged = advanceBanks(app);
    for (int i = 0; i < kInstrumentCount; ++i) renderInstrumentChunk(app, i);
    mixChunk(app);
    PumpRedraws& redraws = app.stream.redraws;
    if (recordingChanged || wasRecording || app.recording.active) redraws.playPanel = true;
    if (bankChanged) redraws.sequencer = true;
}

// How far the cursor had moved into the current chunk when the step was written, smoothed.
void updateCpuLoad(AppState& app) {
    const int chunkFrames = app.engine.chunkFrames;
    const int frame = readPlayCursor(app) / kBytesPerFrame;
    const int chunkStart = app.engine.chunkIndex * chunkFrames;
    const int elapsed =
        frame >= chunkStart ? frame - chunkStart : frame + kRingChunks * chunkFrames - chunkStart;
    const float load = 0.8f * static_cast<float>(elapsed) / static_cast<float>(chunkFrames) +
                       0.2f * app.stream.cpuLoad;
    app.stream.cpuLoad = std::min(1.0f, load);
}

// The current instrument's playing position within its note bank, as a fraction of the strip.
float markerPosition(const AppState& app, int cursorBytes) {
    const int c = std::clamp(app.ui.currentInstrument, 0, kInstrumentCount - 1);
    const double chunkFrames = app.engine.chunkFrames;
    double step = static_cast<double>(app.engine.stepCounter[c]) -
                  static_cast<double>(kStepsPerBank) * app.song.PatternIdx[c];
    if (step < 0) step += app.song.BPMsr[c]; // just after a bank change
    const double frameInChunk = (cursorBytes / kBytesPerFrame) % app.engine.chunkFrames;
    const double position = (step * chunkFrames + frameInChunk) / (kStepsPerBank * chunkFrames);
    return static_cast<float>(std::clamp(position, 0.0, 1.0));
}

} // namespace

void rebuildStream(AppState& app) {
    EngineState& engine = app.engine;
    StreamState& stream = app.stream;
    if (stream.device != nullptr) stream.device->releaseBuffer();
    engine.playing = 0;
    if (app.recording.active) endRecordingFile(app); // a recording keeps one chunk length
    engine.streamRate = stream.format.sampleRate;
    sizeEngineBuffers(engine, chunkFramesFor(app.song.BPM, engine.streamRate));
    stream.mixRing = std::make_unique<float[]>(static_cast<size_t>(engine.ringSamples));
    stream.outputRing = std::make_unique<int16_t[]>(static_cast<size_t>(engine.ringSamples));
    if (stream.device != nullptr)
        stream.device->createBuffer(engine.streamRate,
                                    kRingChunks * kBytesPerFrame * engine.chunkFrames);
    for (int i = 0; i < kInstrumentCount; ++i) {
        resetKnobAutomation(app, i);
        resetDelayAutomation(app, i);
    }
}

void stopPlayback(AppState& app) {
    if (app.stream.device != nullptr) app.stream.device->stop();
    for (int i = 0; i < kInstrumentCount; ++i) {
        if (app.song.pendingMuteToggle[i]) {
            app.song.Mute[i] = app.song.Mute[i] ? 0 : 1;
            app.song.pendingMuteToggle[i] = 0;
        }
    }
    app.engine.playing = 0;
}

void startPlayback(AppState& app) {
    stopPlayback(app);
    EngineState& engine = app.engine;
    StreamState& stream = app.stream;
    if (engine.ringSamples <= 0 || !stream.mixRing || !stream.outputRing) return;
    const size_t samples = static_cast<size_t>(engine.ringSamples);
    for (auto& ring : engine.instrumentRing) std::fill_n(ring.get(), samples, 0.0f);
    std::fill_n(stream.outputRing.get(), samples, int16_t{0});
    std::fill_n(stream.mixRing.get(), samples, 0.0f);
    stream.cpuLoad = 0.0f;
    for (int i = 0; i < kInstrumentCount; ++i) {
        for (DelayLineState& line : stream.delayLines[i]) line = DelayLineState{};
        stream.knobStages[i] = KnobStageState{};
        app.song.PatternIdx[i] = app.song.PatternStack[i].entries[0];
        resetKnobAutomation(app, i);
    }
    preRollRender(app);
    const int latency = engine.noteLatency;
    for (int k = 0; k < latency; ++k) {
        engine.chunkIndex = kRingChunks - latency + k;
        mixChunk(app);
    }
    setCountersAfterPreRoll(app);
    engine.playing = 1;
    if (stream.device != nullptr) stream.device->playLooping();
    stream.volumeLevel = 0.0f;
}

void pumpAudio(AppState& app) {
    EngineState& engine = app.engine;
    StreamState& stream = app.stream;
    const bool streamBuilt = engine.chunkFrames > 0 && stream.mixRing != nullptr;
    const int cursor = streamBuilt ? readPlayCursor(app) : 0;

    if (engine.playing && streamBuilt)
        stream.volumeLevel =
            0.1f * meterLevel(stream.mixRing[cursor / 2]) + 0.9f * stream.volumeLevel;
    else
        stream.volumeLevel = 0.95f * stream.volumeLevel;

    if (engine.playing && streamBuilt &&
        engine.chunkIndex != cursor / kBytesPerFrame / engine.chunkFrames) {
        takeStep(app);
        updateCpuLoad(app);
    }
    if (!engine.playing) stream.cpuLoad = 0.95f * stream.cpuLoad;

    PumpRedraws& redraws = stream.redraws;
    if (streamBuilt) redraws.markerX = markerPosition(app, cursor);
    if (engine.playing) redraws.stepStrip = true;
    if (stream.cpuLoad > kMeterRedrawLevel || stream.volumeLevel > kMeterRedrawLevel)
        redraws.meters = true;
}

bool pumpHasWork(const EngineState& engine, const StreamState& stream) {
    return engine.playing || stream.cpuLoad > kMeterRedrawLevel ||
           stream.volumeLevel > kMeterRedrawLevel;
}

bool setSampleRate(AppState& app, int rate) {
    if (rate != 22050 && rate != 44100) return false;
    stopPlayback(app);
    OutputFormat& format = app.stream.format;
    format.sampleRate = rate;
    format.blockAlign = format.channels * 2;
    format.avgBytesPerSecond = format.blockAlign * rate;
    format.bitsPerSample = 16;
    rebuildStream(app);
    app.stream.redraws.playPanel = true;
    return true;
}
