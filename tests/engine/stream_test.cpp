// The stream: building it, start and stop, the pump's steps, meters, marker, recording hooks.
#include "engine/clocked_sound_device.h"
#include "engine/mixer.h"
#include "stream_test_rig.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <thread>
#include <vector>

namespace {

bool chunkIsSilent(const StreamTestRig& t, int chunk) {
    for (int j = 2 * t.chunkFrames() * chunk; j < 2 * t.chunkFrames() * (chunk + 1); ++j)
        if (t.streamSample(j) != 0) return false;
    return true;
}

// Plays like the headless renderer: the chunk under the cursor is what is heard, then the
// cursor moves on to the next chunk and the pump runs once.
std::vector<int16_t> renderSteps(StreamTestRig& t, int steps) {
    std::vector<int16_t> out;
    startPlayback(t.rig->song, t.rig->engine, t.rig->stream, nullptr);
    t.device.setPlayCursor(0);
    pumpAudio(t.rig->song, t.rig->engine, t.rig->stream, nullptr, t.rig->currentInstrument);
    for (int n = 0; n < steps; ++n) {
        const int chunk = n % kRingChunks;
        for (int j = 0; j < 2 * t.chunkFrames(); ++j)
            out.push_back(t.streamSample(2 * t.chunkFrames() * chunk + j));
        t.device.setPlayCursor((n + 1) % kRingChunks * t.chunkBytes());
        pumpAudio(t.rig->song, t.rig->engine, t.rig->stream, nullptr, t.rig->currentInstrument);
    }
    return out;
}

TEST(RebuildStream, SizesTheBufferForTempoAndRate) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    EXPECT_EQ(rig.engine.chunkFrames, 4725);
    EXPECT_EQ(rig.engine.ringSamples, 47250);
    EXPECT_EQ(t.device.bufferSize(), 94500);
    EXPECT_EQ(t.device.sampleRate(), 22050);

    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    rig.engine.pendingMuteToggle[2] = 1;
    rig.stream.redraws.playPanel = false;
    EXPECT_TRUE(setSampleRate(rig.song, rig.engine, rig.stream, nullptr, 44100));
    EXPECT_FALSE(rig.engine.playing);
    EXPECT_EQ(rig.song.Mute[2], 1); // the stop applied the pending toggle
    EXPECT_TRUE(rig.stream.redraws.playPanel);
    EXPECT_EQ(rig.engine.chunkFrames, 9450);
    EXPECT_EQ(t.device.bufferSize(), 189000);
    EXPECT_EQ(t.device.sampleRate(), 44100);
    EXPECT_EQ(rig.stream.format.avgBytesPerSecond, 176400);
    EXPECT_EQ(rig.stream.format.blockAlign, 4);

    EXPECT_FALSE(setSampleRate(rig.song, rig.engine, rig.stream, nullptr, 48000));
    EXPECT_EQ(rig.engine.streamRate, 44100);

    rig.song.BPM = 120.0f;
    rig.engine.pendingMuteToggle[1] = 1;
    rebuildStream(rig.song, rig.engine, rig.stream, nullptr);
    EXPECT_EQ(rig.engine.chunkFrames, 5512);
    EXPECT_EQ(rig.engine.pendingMuteToggle[1], 1); // a rebuild leaves toggles pending
}

TEST(StartPlayback, LatencyOneWritesChunkZeroBeforePlayAndChunkOneOnTheFirstPump) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    placeNote(rig.song, 0, 0, 12, 2);
    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    EXPECT_TRUE(t.device.isPlaying());
    EXPECT_EQ(t.device.playCursor(), 0);
    EXPECT_EQ(rig.engine.chunkIndex, 4);
    EXPECT_FALSE(chunkIsSilent(t, 0));
    EXPECT_TRUE(chunkIsSilent(t, 1));

    pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
    EXPECT_EQ(rig.engine.chunkIndex, 0);
    EXPECT_EQ(rig.engine.stepCounter[0], 0);
    EXPECT_FALSE(chunkIsSilent(t, 1));
    EXPECT_TRUE(chunkIsSilent(t, 2));
    pumpAudio(rig.song, rig.engine, rig.stream, nullptr,
              rig.currentInstrument); // same chunk: no step
    EXPECT_EQ(rig.engine.stepCounter[0], 0);
}

TEST(StartPlayback, LatencyThreePreRollsThreeChunks) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    rig.engine.noteLatency = 3;
    placeNote(rig.song, 0, 0, 12, 4);
    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    EXPECT_FALSE(chunkIsSilent(t, 0));
    EXPECT_FALSE(chunkIsSilent(t, 2));
    EXPECT_TRUE(chunkIsSilent(t, 3));
    pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
    EXPECT_FALSE(chunkIsSilent(t, 3));
}

TEST(PumpAudio, ThreeChunksLateCatchesUpOneStepPerCall) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
    ASSERT_EQ(rig.engine.chunkIndex, 0);
    t.device.setPlayCursor(3 * t.chunkBytes() + 400);
    for (int call = 1; call <= 3; ++call) {
        pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
        EXPECT_EQ(rig.engine.chunkIndex, call);
        EXPECT_EQ(rig.engine.stepCounter[0], call);
    }
    pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
    EXPECT_EQ(rig.engine.stepCounter[0], 3);
}

TEST(PumpAudio, CpuMeterAndMarkerFollowTheCursor) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    const int cf = t.chunkFrames();
    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    t.device.setPlayCursor(4 * 1000); // 1000 frames into chunk 0
    pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
    EXPECT_NEAR(rig.stream.cpuLoad, 0.8f * 1000.0f / cf, 1e-6f);
    EXPECT_NEAR(rig.stream.redraws.markerX, 1000.0f / (16.0f * cf), 1e-6f);
    EXPECT_TRUE(rig.stream.redraws.stepStrip);

    // Just after a bank change the counter is below the bank: the marker adds BPMsr.
    rig.engine.stepCounter[0] = -1;
    rig.song.BPMsr[0] = 12;
    pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
    EXPECT_NEAR(rig.stream.redraws.markerX, (11.0f * cf + 1000.0f) / (16.0f * cf), 1e-6f);
}

TEST(PumpAudio, MetersDecayWhileStoppedUntilTheyNeedNoRedraw) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    rig.stream.volumeLevel = 1.0f;
    rig.stream.cpuLoad = 0.5f;
    pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
    EXPECT_FLOAT_EQ(rig.stream.volumeLevel, 0.95f);
    EXPECT_FLOAT_EQ(rig.stream.cpuLoad, 0.475f);
    EXPECT_TRUE(rig.stream.redraws.meters);
    EXPECT_FALSE(rig.stream.redraws.stepStrip);
    int calls = 1;
    while (rig.stream.volumeLevel > 0.01f) {
        rig.stream.redraws.meters = false;
        pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
        ++calls;
        ASSERT_LT(calls, 200);
    }
    EXPECT_EQ(calls, 90); // 0.95^90 < 0.01 < 0.95^89
    rig.stream.redraws.meters = false;
    pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
    EXPECT_FALSE(rig.stream.redraws.meters);
}

// The loop pumps often only while the pump has work: while playing, and while a meter falls.
TEST(PumpAudio, HasWorkWhilePlayingOrWhileAMeterStillRedraws) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    EXPECT_FALSE(pumpHasWork(rig.engine, rig.stream)) << "stopped and quiet at start";
    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    EXPECT_TRUE(pumpHasWork(rig.engine, rig.stream));
    rig.stream.volumeLevel = 0.0f;
    rig.stream.cpuLoad = 0.0f;
    EXPECT_TRUE(pumpHasWork(rig.engine, rig.stream)) << "playing, even silently";
    stopPlayback(rig.song, rig.engine, rig.stream);
    EXPECT_FALSE(pumpHasWork(rig.engine, rig.stream));

    for (float* level : {&rig.stream.volumeLevel, &rig.stream.cpuLoad}) {
        *level = 0.5f;
        int calls = 0;
        while (pumpHasWork(rig.engine, rig.stream)) {
            rig.stream.redraws.meters = false;
            pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
            ++calls;
            EXPECT_TRUE(rig.stream.redraws.meters || !pumpHasWork(rig.engine, rig.stream))
                << "every pump while there is work redraws the meter, but the last";
            ASSERT_LT(calls, 200);
        }
        EXPECT_EQ(calls, 77); // 0.5 * 0.95^77 < 0.01 < 0.5 * 0.95^76
        rig.stream.redraws.meters = false;
        pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
        EXPECT_FALSE(rig.stream.redraws.meters) << "no redraw is left once the work is done";
    }
}

TEST(PumpAudio, VolumeMeterReadsTheMixAtTheCursor) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    rig.stream.mixRing[2 * 10] = -40.0f; // left sample of frame 10
    t.device.setPlayCursor(4 * 10);
    pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
    EXPECT_FLOAT_EQ(rig.stream.volumeLevel, 4.0f);
    rig.stream.mixRing[2 * 10] = std::numeric_limits<float>::quiet_NaN();
    pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
    EXPECT_FLOAT_EQ(rig.stream.volumeLevel, 3.6f);
}

TEST(PumpAudio, DamagedSongsKeepTheMetersFiniteAndTheOutputClipped) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    Song& song = rig.song;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    song.BPM = nan; // sized as the slowest tempo
    placeNote(song, 0, 0, 3, 4);
    placeNote(song, 1, 0, 7, 4);
    placeNote(song, 2, 0, 9, 4);
    song.Effect[0][kKnobCutoff].value = nan;
    song.Effect[0][kKnobResOver].value = -inf;
    song.Effect[1][kKnobDistDrag].value = inf;
    song.Effect[1][kKnobRes].value = 1e30f;
    song.Volume[2] = inf;
    song.MainVolume[1] = nan;
    song.BPMsr[0] = 2147483647;
    song.PatternStack[3].entries[0] = 1 << 30;
    rebuildStream(rig.song, rig.engine, rig.stream, nullptr);
    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    for (int step = 1; step < 12; ++step) {
        t.device.setPlayCursor(step % kRingChunks * t.chunkBytes());
        pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
        ASSERT_TRUE(std::isfinite(rig.stream.volumeLevel));
        ASSERT_TRUE(std::isfinite(rig.stream.redraws.markerX));
    }
    for (int j = 0; j < rig.engine.ringSamples; ++j)
        ASSERT_LE(std::abs(static_cast<int>(t.streamSample(j))), 32512);
}

TEST(PumpAudio, WithoutAStreamOnlyTheMetersMove) {
    auto rig = std::make_unique<EngineRig>();
    resetRigSong(*rig);
    rig->stream.cpuLoad = 1.0f;
    pumpAudio(rig->song, rig->engine, rig->stream, nullptr, rig->currentInstrument);
    startPlayback(rig->song, rig->engine, rig->stream, nullptr);
    pumpAudio(rig->song, rig->engine, rig->stream, nullptr, rig->currentInstrument);
    EXPECT_FALSE(rig->engine.playing);
    EXPECT_FLOAT_EQ(rig->stream.cpuLoad, 0.95f * 0.95f);
}

TEST(ClockedSoundDevice, CursorFollowsTheClockInWholeFrames) {
    ClockedSoundDevice device;
    EXPECT_FALSE(device.createBuffer(22050, 1001)); // not whole frames
    constexpr int kTenSeconds = 4 * 22050 * 10;
    ASSERT_TRUE(device.createBuffer(22050, kTenSeconds));
    device.playLoopingFrom(kTenSeconds - 6); // wraps to the start within a millisecond
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const int cursor = device.playCursor();
    EXPECT_EQ(cursor % 4, 0);
    EXPECT_GE(cursor, 4 * 22050 * 25 / 1000);
    EXPECT_LT(cursor, kTenSeconds / 2);
    device.stop();
    const int stopped = device.playCursor();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(device.playCursor(), stopped);
    ASSERT_NE(device.lockRegion(0, 4), nullptr);
    EXPECT_EQ(device.lockRegion(8, 4), nullptr); // one lock at a time
    device.unlockRegion();
    EXPECT_EQ(device.lockRegion(kTenSeconds - 4, 8), nullptr);
}

TEST(StopPlayback, AppliesPendingMuteTogglesAndStopsTheDevice) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    rig.engine.pendingMuteToggle[0] = 1;
    rig.song.Mute[3] = 1;
    rig.engine.pendingMuteToggle[3] = 1;
    stopPlayback(rig.song, rig.engine, rig.stream);
    EXPECT_FALSE(t.device.isPlaying());
    EXPECT_EQ(rig.song.Mute[0], 1);
    EXPECT_EQ(rig.song.Mute[3], 0);
    EXPECT_EQ(rig.engine.pendingMuteToggle[0], 0);
    EXPECT_EQ(rig.engine.pendingMuteToggle[3], 0);
}

TEST(Recording, StartsAndStopsAtTheFirstInstrumentsMeasureEnd) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    MemoryRecorder recorder;
    rig.song.BPMsr[0] = 4;
    startPlayback(rig.song, rig.engine, rig.stream, &recorder);
    recorder.startArmed = true;
    for (int step = 0; step < 4; ++step) {
        EXPECT_FALSE(recorder.active) << step;
        rig.stream.redraws.playPanel = false;
        t.device.setPlayCursor(step % kRingChunks * t.chunkBytes());
        pumpAudio(rig.song, rig.engine, rig.stream, &recorder, 0);
    }
    EXPECT_TRUE(recorder.active);
    EXPECT_FALSE(recorder.startArmed);
    EXPECT_EQ(recorder.startRate, rig.engine.streamRate);
    EXPECT_EQ(recorder.startChunkFrames, t.chunkFrames());
    EXPECT_EQ(recorder.chunks.size(), 1u); // the chunk with step 0 of the next measure
    EXPECT_TRUE(rig.stream.redraws.playPanel);

    recorder.stopRequested = true;
    for (int step = 4; step < 8; ++step) {
        EXPECT_TRUE(recorder.active) << step;
        t.device.setPlayCursor(step % kRingChunks * t.chunkBytes());
        pumpAudio(rig.song, rig.engine, rig.stream, &recorder, 0);
    }
    EXPECT_FALSE(recorder.active);
    EXPECT_EQ(recorder.chunks.size(), 4u);

    // A rebuild (another chunk length) ends a running recording at once.
    recorder.active = true;
    rebuildStream(rig.song, rig.engine, rig.stream, &recorder);
    EXPECT_FALSE(recorder.active);
}

TEST(EndToEnd, NotesSoundAtTheirStepsAndPitches) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    placeNote(rig.song, 0, 2, 9, 1);  // 220 Hz at step 2
    placeNote(rig.song, 1, 5, 21, 2); // 440 Hz at steps 5 and 6
    const std::vector<int16_t> out = renderSteps(t, 9);
    const int cf = t.chunkFrames();
    auto stepSamples = [&](int step) {
        return std::vector<int16_t>(out.begin() + 2 * cf * step, out.begin() + 2 * cf * (step + 1));
    };
    auto isSilent = [](const std::vector<int16_t>& samples) {
        for (int16_t s : samples)
            if (s != 0) return false;
        return true;
    };
    // Rising zero crossings of the left channel, over one step of 4725 frames (0.2143 s).
    auto cycles = [](const std::vector<int16_t>& samples) {
        int count = 0;
        for (size_t j = 2; j < samples.size(); j += 2)
            if (samples[j - 2] < 0 && samples[j] >= 0) ++count;
        return count;
    };
    for (int step : {0, 1, 3, 4, 7, 8}) EXPECT_TRUE(isSilent(stepSamples(step))) << step;
    EXPECT_NEAR(cycles(stepSamples(2)), 220.0 * cf / 22050.0, 2.0);
    EXPECT_NEAR(cycles(stepSamples(5)), 440.0 * cf / 22050.0, 2.0);
    EXPECT_NEAR(cycles(stepSamples(6)), 440.0 * cf / 22050.0, 2.0);
    // Default pan is centre: both channels carry the note.
    const std::vector<int16_t> note = stepSamples(2);
    EXPECT_EQ(note[2 * 1000], note[2 * 1000 + 1]);
}

} // namespace
