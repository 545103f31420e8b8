// The engine's records with New's song and a built stream on a virtual sound device, for tests.
#pragma once

#include "engine/playback_waveform.h"
#include "engine/recorder.h"
#include "engine/stream.h"
#include "engine/virtual_sound_device.h"
#include "tests/engine/engine_rig.h"
#include "tools/clipboards.h"
#include "tools/reset_song.h"

#include <cstring>
#include <memory>
#include <vector>

// New's song: the defaults and the preset waveforms, each slot's playback form rebuilt.
inline void resetRigSong(EngineRig& rig) {
    Clipboards clipboards;
    resetSong(rig.song, clipboards, rig.currentInstrument);
    for (int slot = 0; slot < kWaveformSlotCount; ++slot)
        rebuildPlaybackWaveform(rig.song, slot, rig.engine.playbackWaveforms);
}

struct StreamTestRig {
    VirtualSoundDevice device;
    std::unique_ptr<EngineRig> rig = std::make_unique<EngineRig>();

    StreamTestRig() {
        resetRigSong(*rig);
        rig->stream.device = &device;
        rebuildStream(rig->song, rig->engine, rig->stream, nullptr);
    }

    int chunkFrames() const { return rig->engine.chunkFrames; }
    int chunkBytes() const { return 4 * rig->engine.chunkFrames; }

    // Sample `index` (interleaved, even = left) of the stream buffer as the device would play it.
    int16_t streamSample(int index) const {
        int16_t sample;
        std::memcpy(&sample, device.bufferBytes() + 2 * index, sizeof sample);
        return sample;
    }
};

// A recorder that keeps the chunks it is handed in memory and starts and stops as the recording
// file does: an armed start, then a requested stop, at instrument 0's measure end.
struct MemoryRecorder final : Recorder {
    bool active = false;
    bool startArmed = false;
    bool stopRequested = false;
    int startRate = 0;        // stream rate handed to the last start
    int startChunkFrames = 0; // chunk length handed to the last start
    std::vector<std::vector<int16_t>> chunks;

    bool isRecording() const override { return active; }
    bool waitsForMeasureEnd() const override { return startArmed || stopRequested; }
    bool atMeasureEnd(int streamRate, int chunkFrames) override {
        if (startArmed) {
            startArmed = false;
            active = true;
            startRate = streamRate;
            startChunkFrames = chunkFrames;
        }
        if (stopRequested) {
            stopRequested = false;
            active = false;
        }
        return true;
    }
    void appendChunk(const int16_t* samples, int sampleCount) override {
        chunks.emplace_back(samples, samples + sampleCount);
    }
    void endRecording() override { active = false; }
};

// Writes a note of `length` steps on one row, starting at absolute step `step`.
inline void placeNote(Song& song, int instrument, int step, int row, int length) {
    NoteGrid& grid = song.noteGrid[instrument];
    for (int k = 0; k < length; ++k) {
        grid.notePosition[step + k][row] = k + 1;
        grid.noteLength[step + k][row] = length;
        grid.nextRow[step + k][row] = k + 1 < length ? row : -1;
    }
}
