// The master mix: volumes, clipping, 16-bit conversion, the stream write and the recording hook.
#include "engine/mixer.h"
#include "stream_test_rig.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(MixSample, ClipsAtFullScaleAndConvertsToSixteenBits) {
    float clipped = 0.0f;
    EXPECT_EQ(outputSample(127.0f, clipped), 32512);
    EXPECT_EQ(outputSample(-127.0f, clipped), -32512);
    EXPECT_EQ(outputSample(45.72f, clipped), 11704);
    EXPECT_EQ(outputSample(-0.9f / 256.0f, clipped), 0); // truncated toward zero
    EXPECT_EQ(clipped, 0.0f);
    EXPECT_EQ(outputSample(127.01f, clipped), 32512);
    EXPECT_EQ(clipped, 1.0f);
    clipped = 0.0f;
    EXPECT_EQ(outputSample(-127.01f, clipped), -32512);
    EXPECT_EQ(clipped, 1.0f);
    clipped = 0.0f;
    EXPECT_EQ(outputSample(std::numeric_limits<float>::quiet_NaN(), clipped), 0);
    EXPECT_EQ(clipped, 0.0f);
    EXPECT_EQ(outputSample(-std::numeric_limits<float>::infinity(), clipped), -32512);
}

TEST(Mix, DefaultVolumesScaleFullScaleTo45_72AndMainVolumesPickTheChannel) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    float* ring = rig.engine.instrumentRing[2].get();
    ring[0] = 127.0f;
    ring[1] = 127.0f;
    rig.song.MainVolume[1] = 0.3f;
    rig.engine.instrumentRing[3][2] = 10.0f;
    ring[2] = 127.0f;
    rig.song.Volume[3] = 0.5f;
    mixAndClip(rig.song, rig.engine, rig.stream, 0, 4);
    EXPECT_NEAR(rig.stream.mixRing[0], 45.72f, 1e-4f);
    EXPECT_EQ(rig.stream.outputRing[0], 11704);
    EXPECT_NEAR(rig.stream.mixRing[2], 45.72f + 0.6f * 0.5f * 10.0f, 1e-4f);
    EXPECT_NEAR(rig.stream.mixRing[1], 0.3f * 0.6f * 127.0f, 1e-4f);
    EXPECT_EQ(rig.stream.outputRing[1], static_cast<int16_t>(0.3f * 0.6f * 127.0f * 256.0f));
    EXPECT_EQ(rig.stream.clipped, 0.0f);
}

TEST(Mix, ClippingKeepsTheUnclippedMixForTheMeter) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    rig.song.Volume[0] = 1.0f;
    rig.song.MainVolume[0] = 1.0f;
    rig.engine.instrumentRing[0][0] = 127.01f;
    rig.engine.instrumentRing[0][2] = 127.0f;
    mixAndClip(rig.song, rig.engine, rig.stream, 0, 4);
    EXPECT_EQ(rig.stream.mixRing[0], 127.01f);
    EXPECT_EQ(rig.stream.outputRing[0], 32512);
    EXPECT_EQ(rig.stream.outputRing[2], 32512);
    EXPECT_EQ(rig.stream.clipped, 1.0f);
}

TEST(MixChunk, WritesTheChunkAheadAndNeverTheOneUnderTheCursor) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    const int cf = t.chunkFrames();
    rig.song.Volume[0] = 1.0f;
    rig.song.MainVolume[0] = 1.0f;
    rig.song.MainVolume[1] = 1.0f;
    std::fill_n(rig.engine.instrumentRing[0].get(), rig.engine.ringSamples, 100.0f);
    rig.engine.playing = 1;
    rig.engine.noteLatency = 2;
    rig.engine.chunkIndex = 1;          // mixes chunk 3
    t.device.setPlayCursor(3 * 4 * cf); // ... which is being played: left alone
    mixChunk(rig.song, rig.engine, rig.stream, nullptr);
    for (int j = 0; j < rig.engine.ringSamples; ++j) ASSERT_EQ(t.streamSample(j), 0) << j;

    t.device.setPlayCursor(1 * 4 * cf);
    mixChunk(rig.song, rig.engine, rig.stream, nullptr);
    for (int j = 0; j < rig.engine.ringSamples; ++j) {
        const bool inChunk3 = j >= 6 * cf && j < 8 * cf;
        ASSERT_EQ(t.streamSample(j), inChunk3 ? 25600 : 0) << j;
    }
    EXPECT_FALSE(t.device.isLocked());
}

TEST(MixChunk, AppendsEveryMixedChunkToTheRecording) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    MemoryRecorder recorder;
    recorder.active = true;
    rig.engine.instrumentRing[0][0] = -1.5f / 256.0f / 0.36f; // mixes to -1.5/256: sample -1
    rig.engine.chunkIndex = 4;                                // chunk 0
    mixChunk(rig.song, rig.engine, rig.stream, &recorder);
    mixChunk(rig.song, rig.engine, rig.stream, &recorder);
    ASSERT_EQ(recorder.chunks.size(), 2u);
    ASSERT_EQ(recorder.chunks[0].size(), static_cast<size_t>(2 * t.chunkFrames()));
    EXPECT_EQ(recorder.chunks[0][0], -1);
    EXPECT_EQ(recorder.chunks[0][1], 0);

    // Without a recording nothing is handed on.
    recorder.active = false;
    mixChunk(rig.song, rig.engine, rig.stream, &recorder);
    EXPECT_EQ(recorder.chunks.size(), 2u);
}

} // namespace
