// A fresh song with sized engine buffers and a sine playback waveform, for the voice tests.
#pragma once

#include "engine/engine_state.h"
#include "model/random.h"
#include "tests/engine/engine_rig.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

// Two cycles of a sine of amplitude 50 in every slot, with the guard sample 350 = sample 0.
inline void fillSineWaveforms(EngineRig& rig) {
    for (auto& wave : rig.engine.playbackWaveforms.wave) {
        for (int i = 0; i < kWaveformSamples; ++i)
            wave[i] =
                static_cast<float>(50.0 * std::sin(4.0 * std::numbers::pi * i / kWaveformSamples));
        wave[kWaveformSamples] = wave[0];
    }
}

inline std::unique_ptr<EngineRig> voiceTestRig(int streamRate = 22050, double bpm = 70.0) {
    auto rig = std::make_unique<EngineRig>();
    setSongDefaults(rig->song);
    rig->song.BPM = static_cast<float>(bpm);
    rig->engine.streamRate = streamRate;
    sizeEngineBuffers(rig->engine, chunkFramesFor(bpm, streamRate));
    fillSineWaveforms(*rig);
    restartRandom();
    return rig;
}

// Writes a note of `rows.size()` steps starting at absolute step `start`, step k on rows[k].
inline void putNote(EngineRig& rig, int instrument, int start, const std::vector<int>& rows) {
    NoteGrid& grid = rig.song.noteGrid[instrument];
    const int n = static_cast<int>(rows.size());
    for (int k = 0; k < n; ++k) {
        grid.notePosition[start + k][rows[k]] = k + 1;
        grid.noteLength[start + k][rows[k]] = n;
        grid.nextRow[start + k][rows[k]] = k + 1 < n ? rows[k + 1] : -1;
    }
}

// Sets the counters so that the next render of `instrument` plays step `step` of its bank
// into ring chunk `chunk`.
inline void aimAtStep(EngineRig& rig, int instrument, int step, int chunk = 0) {
    EngineState& e = rig.engine;
    e.stepCounter[instrument] = 16 * rig.song.PatternIdx[instrument] + step - e.noteLatency;
    e.chunkIndex = ((chunk - e.noteLatency) % 5 + 5) % 5;
}

// Left (channel 0) or right (1) samples of ring chunk `chunk`.
inline std::vector<float> chunkChannel(const EngineRig& rig, int instrument, int chunk,
                                       int channel) {
    const int frames = rig.engine.chunkFrames;
    const float* ring = rig.engine.instrumentRing[instrument].get() + 2 * frames * chunk;
    std::vector<float> out(frames);
    for (int i = 0; i < frames; ++i) out[i] = ring[2 * i + channel];
    return out;
}
