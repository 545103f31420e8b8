// The master mix: knob stages, delays, volumes, clipping, 16-bit conversion and the stream write.
#include "engine/mixer.h"

#include "engine/delays.h"
#include "engine/knob_stages.h"
#include "engine/recorder.h"
#include "engine/sound_device.h"

#include <cstring>

int16_t outputSample(float mixed, float& clipped) {
    if (mixed != mixed) return 0; // NaN
    if (mixed > 127.0f) {
        mixed = 127.0f;
        clipped = 1.0f;
    }
    if (mixed < -127.0f) {
        mixed = -127.0f;
        clipped = 1.0f;
    }
    return static_cast<int16_t>(mixed * 256.0f);
}

void mixGains(const Song& song, float gains[kInstrumentCount][2]) {
    for (int i = 0; i < kInstrumentCount; ++i) {
        gains[i][0] = song.MainVolume[0] * song.Volume[i];
        gains[i][1] = song.MainVolume[1] * song.Volume[i];
    }
}

void mixAndClip(const Song& song, const EngineState& engine, StreamState& stream, int start,
                int end) {
    float* mix = stream.mixRing.get();
    int16_t* output = stream.outputRing.get();
    const float* rings[kInstrumentCount];
    for (int i = 0; i < kInstrumentCount; ++i) rings[i] = engine.instrumentRing[i].get();
    float gains[kInstrumentCount][2]; // MainVolume (left, right) times Volume
    mixGains(song, gains);
    // One pass sums the instruments in order 0..3 from zero and converts the sum as
    // outputSample does (written so that the compiler need not branch).
    bool anyClipped = false;
    for (int j = start; j < end; ++j) {
        const int ch = j & 1;
        float v = 0.0f;
        for (int i = 0; i < kInstrumentCount; ++i) v += gains[i][ch] * rings[i][j];
        mix[j] = v;
        anyClipped |= (v > 127.0f) | (v < -127.0f);
        v = v == v ? v : 0.0f;
        v = v > 127.0f ? 127.0f : v;
        v = v < -127.0f ? -127.0f : v;
        output[j] = static_cast<int16_t>(static_cast<int>(v * 256.0f));
    }
    if (anyClipped) stream.clipped = 1.0f;
}

namespace {

// Copies ring chunk k of outputRing into the stream buffer. A failed lock leaves that chunk of
// the stream as it was.
void writeChunkToStream(const EngineState& engine, const StreamState& stream, int chunk) {
    SoundDevice* device = stream.device;
    if (device == nullptr) return;
    const int bytes = 4 * engine.chunkFrames;
    uint8_t* region = device->lockRegion(bytes * chunk, bytes);
    if (region == nullptr) return;
    std::memcpy(region, stream.outputRing.get() + 2 * engine.chunkFrames * chunk,
                static_cast<size_t>(bytes));
    device->unlockRegion();
}

} // namespace

void mixChunk(const Song& song, EngineState& engine, StreamState& stream, Recorder* recorder) {
    if (engine.ringSamples <= 0 || !stream.mixRing || !stream.outputRing) return;
    const int chunk =
        ((engine.chunkIndex + engine.noteLatency) % kRingChunks + kRingChunks) % kRingChunks;
    if (engine.playing && stream.device != nullptr &&
        chunk == stream.device->playCursor() / (4 * engine.chunkFrames))
        return; // the chunk being played is never overwritten
    const int start = 2 * engine.chunkFrames * chunk;
    const int end = start + 2 * engine.chunkFrames;
    for (int i = 0; i < kInstrumentCount; ++i)
        if (song.Mute[i] == 0) applyKnobStages(song, engine, stream, i, start, end);
    for (int i = 0; i < kInstrumentCount; ++i) processDelays(engine, stream, i, start, end);
    mixAndClip(song, engine, stream, start, end);
    writeChunkToStream(engine, stream, chunk);
    if (recorder != nullptr && recorder->isRecording())
        recorder->appendChunk(stream.outputRing.get() + start, end - start);
}
