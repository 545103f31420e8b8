// The audio stream: building it, starting and stopping playback, the pump that feeds it.
#include "engine/stream.h"

#include "engine/delays.h"
#include "engine/knob_automation.h"
#include "engine/mixer.h"
#include "engine/recorder.h"
#include "engine/sequencer.h"
#include "engine/sound_device.h"
#include "engine/voice.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kBytesPerFrame = 4; // 16-bit stereo frames of the stream
// A meter redraws while its level is above this; below it no pixel of it changes any more.
constexpr float kMeterRedrawLevel = 0.01f;

// The play cursor in bytes, a whole frame inside the stream buffer; 0 without a stream.
int readPlayCursor(const EngineState& engine, const StreamState& stream) {
    SoundDevice* device = stream.device;
    const int size = kRingChunks * kBytesPerFrame * engine.chunkFrames;
    if (device == nullptr || size <= 0) return 0;
    int cursor = device->playCursor();
    if (cursor < 0 || cursor >= size) cursor = (cursor % size + size) % size;
    return cursor - cursor % kBytesPerFrame;
}

// True when the step instrument 0 is about to render lies just past its measure: the moment
// its bank advances, where a recording starts or stops.
bool atFirstInstrumentMeasureEnd(const Song& song, const EngineState& engine) {
    // In 64 bits: a damaged song's bank or measure length cannot overflow the sum.
    return int64_t{engine.stepCounter[0]} + engine.noteLatency ==
           int64_t{kStepsPerBank} * song.PatternIdx[0] + song.BPMsr[0];
}

// The level the volume meter takes from a mix sample: its magnitude, kept finite so that a
// damaged song cannot leave the meter at NaN or infinity.
float meterLevel(float mixed) {
    if (mixed != mixed) return 0.0f;
    return std::min(std::fabs(mixed), 1.0e6f);
}

// Hands instrument 0's measure end to a recorder waiting for it. Returns true when a recording
// started or stopped.
bool runRecordingHooks(const Song& song, const EngineState& engine, Recorder* recorder) {
    if (recorder == nullptr || !recorder->waitsForMeasureEnd()) return false;
    if (!atFirstInstrumentMeasureEnd(song, engine)) return false;
    return recorder->atMeasureEnd(engine.streamRate, engine.chunkFrames);
}

// One step of playback: sequencer, recording hooks, bank changes, voices, mix.
void takeStep(Song& song, EngineState& engine, StreamState& stream, Recorder* recorder) {
    // A failed write may end the recording in the mix.
    const bool wasRecording = recorder != nullptr && recorder->isRecording();
    advanceStepCounters(engine);
    const bool recordingChanged = runRecordingHooks(song, engine, recorder);
    const bool bankChanged = advanceBanks(song, engine);
    for (int i = 0; i < kInstrumentCount; ++i) renderInstrumentChunk(song, engine, i);
    mixChunk(song, engine, stream, recorder);
    PumpRedraws& redraws = stream.redraws;
    if (recordingChanged || wasRecording || (recorder != nullptr && recorder->isRecording()))
        redraws.playPanel = true;
    if (bankChanged) redraws.sequencer = true;
}

// How far the cursor had moved into the current chunk when the step was written, smoothed.
void updateCpuLoad(const EngineState& engine, StreamState& stream) {
    const int chunkFrames = engine.chunkFrames;
    const int frame = readPlayCursor(engine, stream) / kBytesPerFrame;
    const int chunkStart = engine.chunkIndex * chunkFrames;
    const int elapsed =
        frame >= chunkStart ? frame - chunkStart : frame + kRingChunks * chunkFrames - chunkStart;
    const float load = 0.8f * static_cast<float>(elapsed) / static_cast<float>(chunkFrames) +
                       0.2f * stream.cpuLoad;
    stream.cpuLoad = std::min(1.0f, load);
}

// An instrument's playing position within its note bank, as a fraction of the strip.
float markerPosition(const Song& song, const EngineState& engine, int instrument, int cursorBytes) {
    const int c = std::clamp(instrument, 0, kInstrumentCount - 1);
    const double chunkFrames = engine.chunkFrames;
    double step = static_cast<double>(engine.stepCounter[c]) -
                  static_cast<double>(kStepsPerBank) * song.PatternIdx[c];
    if (step < 0) step += song.BPMsr[c]; // just after a bank change
    const double frameInChunk = (cursorBytes / kBytesPerFrame) % engine.chunkFrames;
    const double position = (step * chunkFrames + frameInChunk) / (kStepsPerBank * chunkFrames);
    return static_cast<float>(std::clamp(position, 0.0, 1.0));
}

} // namespace

void rebuildStream(const Song& song, EngineState& engine, StreamState& stream, Recorder* recorder) {
    if (stream.device != nullptr) stream.device->releaseBuffer();
    engine.playing = 0;
    // A recording keeps one chunk length.
    if (recorder != nullptr && recorder->isRecording()) recorder->endRecording();
    engine.streamRate = stream.format.sampleRate;
    sizeEngineBuffers(engine, chunkFramesFor(song.BPM, engine.streamRate));
    stream.mixRing = std::make_unique<float[]>(static_cast<size_t>(engine.ringSamples));
    stream.outputRing = std::make_unique<int16_t[]>(static_cast<size_t>(engine.ringSamples));
    if (stream.device != nullptr)
        stream.device->createBuffer(engine.streamRate,
                                    kRingChunks * kBytesPerFrame * engine.chunkFrames);
    for (int i = 0; i < kInstrumentCount; ++i) {
        resetKnobAutomation(song, stream, i);
        resetDelayAutomation(song, stream, i);
    }
}

void stopPlayback(Song& song, EngineState& engine, StreamState& stream) {
    if (stream.device != nullptr) stream.device->stop();
    for (int i = 0; i < kInstrumentCount; ++i) {
        if (engine.pendingMuteToggle[i]) {
            song.Mute[i] = song.Mute[i] ? 0 : 1;
            engine.pendingMuteToggle[i] = 0;
        }
    }
    engine.playing = 0;
}

void startPlayback(Song& song, EngineState& engine, StreamState& stream, Recorder* recorder) {
    stopPlayback(song, engine, stream);
    if (engine.ringSamples <= 0 || !stream.mixRing || !stream.outputRing) return;
    const size_t samples = static_cast<size_t>(engine.ringSamples);
    for (auto& ring : engine.instrumentRing) std::fill_n(ring.get(), samples, 0.0f);
    std::fill_n(stream.outputRing.get(), samples, int16_t{0});
    std::fill_n(stream.mixRing.get(), samples, 0.0f);
    stream.cpuLoad = 0.0f;
    engine.startsNotes = 1;
    for (int i = 0; i < kInstrumentCount; ++i) {
        stream.effects[i].reset();
        song.PatternIdx[i] = song.PatternStack[i].entries[0];
        resetKnobAutomation(song, stream, i);
    }
    preRollRender(song, engine);
    const int latency = engine.noteLatency;
    for (int k = 0; k < latency; ++k) {
        engine.chunkIndex = kRingChunks - latency + k;
        mixChunk(song, engine, stream, recorder);
    }
    setCountersAfterPreRoll(song, engine);
    engine.playing = 1;
    if (stream.device != nullptr) stream.device->playLooping();
    stream.volumeLevel = 0.0f;
}

void pumpAudio(Song& song, EngineState& engine, StreamState& stream, Recorder* recorder,
               int markerInstrument) {
    const bool streamBuilt = engine.chunkFrames > 0 && stream.mixRing != nullptr;
    const int cursor = streamBuilt ? readPlayCursor(engine, stream) : 0;

    if (engine.playing && streamBuilt)
        stream.volumeLevel =
            0.1f * meterLevel(stream.mixRing[cursor / 2]) + 0.9f * stream.volumeLevel;
    else
        stream.volumeLevel = 0.95f * stream.volumeLevel;

    if (engine.playing && streamBuilt &&
        engine.chunkIndex != cursor / kBytesPerFrame / engine.chunkFrames) {
        takeStep(song, engine, stream, recorder);
        updateCpuLoad(engine, stream);
    }
    if (!engine.playing) stream.cpuLoad = 0.95f * stream.cpuLoad;

    PumpRedraws& redraws = stream.redraws;
    if (streamBuilt) redraws.markerX = markerPosition(song, engine, markerInstrument, cursor);
    if (engine.playing) redraws.stepStrip = true;
    if (stream.cpuLoad > kMeterRedrawLevel || stream.volumeLevel > kMeterRedrawLevel)
        redraws.meters = true;
}

bool pumpHasWork(const EngineState& engine, const StreamState& stream) {
    return engine.playing || stream.cpuLoad > kMeterRedrawLevel ||
           stream.volumeLevel > kMeterRedrawLevel;
}

bool setSampleRate(Song& song, EngineState& engine, StreamState& stream, Recorder* recorder,
                   int rate) {
    if (rate != 22050 && rate != 44100) return false;
    stopPlayback(song, engine, stream);
    OutputFormat& format = stream.format;
    format.sampleRate = rate;
    format.blockAlign = format.channels * 2;
    format.avgBytesPerSecond = format.blockAlign * rate;
    format.bitsPerSample = 16;
    rebuildStream(song, engine, stream, recorder);
    stream.redraws.playPanel = true;
    return true;
}
