// The master mix: volumes, clipping, 16-bit conversion, the stream write and the recording hook.
#include "engine/mixer.h"
#include "stream_test_app.h"

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
    StreamTestApp t;
    AppState& app = *t.app;
    float* ring = app.engine.instrumentRing[2].get();
    ring[0] = 127.0f;
    ring[1] = 127.0f;
    app.song.MainVolume[1] = 0.3f;
    app.engine.instrumentRing[3][2] = 10.0f;
    ring[2] = 127.0f;
    app.song.Volume[3] = 0.5f;
    mixAndClip(app.song, app.engine, app.stream, 0, 4);
    EXPECT_NEAR(app.stream.mixRing[0], 45.72f, 1e-4f);
    EXPECT_EQ(app.stream.outputRing[0], 11704);
    EXPECT_NEAR(app.stream.mixRing[2], 45.72f + 0.6f * 0.5f * 10.0f, 1e-4f);
    EXPECT_NEAR(app.stream.mixRing[1], 0.3f * 0.6f * 127.0f, 1e-4f);
    EXPECT_EQ(app.stream.outputRing[1], static_cast<int16_t>(0.3f * 0.6f * 127.0f * 256.0f));
    EXPECT_EQ(app.stream.clipped, 0.0f);
}

TEST(Mix, ClippingKeepsTheUnclippedMixForTheMeter) {
    StreamTestApp t;
    AppState& app = *t.app;
    app.song.Volume[0] = 1.0f;
    app.song.MainVolume[0] = 1.0f;
    app.engine.instrumentRing[0][0] = 127.01f;
    app.engine.instrumentRing[0][2] = 127.0f;
    mixAndClip(app.song, app.engine, app.stream, 0, 4);
    EXPECT_EQ(app.stream.mixRing[0], 127.01f);
    EXPECT_EQ(app.stream.outputRing[0], 32512);
    EXPECT_EQ(app.stream.outputRing[2], 32512);
    EXPECT_EQ(app.stream.clipped, 1.0f);
}

TEST(MixChunk, WritesTheChunkAheadAndNeverTheOneUnderTheCursor) {
    StreamTestApp t;
    AppState& app = *t.app;
    const int cf = t.chunkFrames();
    app.song.Volume[0] = 1.0f;
    app.song.MainVolume[0] = 1.0f;
    app.song.MainVolume[1] = 1.0f;
    std::fill_n(app.engine.instrumentRing[0].get(), app.engine.ringSamples, 100.0f);
    app.engine.playing = 1;
    app.engine.noteLatency = 2;
    app.engine.chunkIndex = 1;          // mixes chunk 3
    t.device.setPlayCursor(3 * 4 * cf); // ... which is being played: left alone
    mixChunk(app.song, app.engine, app.stream, nullptr);
    for (int j = 0; j < app.engine.ringSamples; ++j) ASSERT_EQ(t.streamSample(j), 0) << j;

    t.device.setPlayCursor(1 * 4 * cf);
    mixChunk(app.song, app.engine, app.stream, nullptr);
    for (int j = 0; j < app.engine.ringSamples; ++j) {
        const bool inChunk3 = j >= 6 * cf && j < 8 * cf;
        ASSERT_EQ(t.streamSample(j), inChunk3 ? 25600 : 0) << j;
    }
    EXPECT_FALSE(t.device.isLocked());
}

TEST(MixChunk, AppendsEveryMixedChunkToTheRecording) {
    StreamTestApp t;
    AppState& app = *t.app;
    MemoryRecorder recorder;
    recorder.active = true;
    app.engine.instrumentRing[0][0] = -1.5f / 256.0f / 0.36f; // mixes to -1.5/256: sample -1
    app.engine.chunkIndex = 4;                                // chunk 0
    mixChunk(app.song, app.engine, app.stream, &recorder);
    mixChunk(app.song, app.engine, app.stream, &recorder);
    ASSERT_EQ(recorder.chunks.size(), 2u);
    ASSERT_EQ(recorder.chunks[0].size(), static_cast<size_t>(2 * t.chunkFrames()));
    EXPECT_EQ(recorder.chunks[0][0], -1);
    EXPECT_EQ(recorder.chunks[0][1], 0);

    // Without a recording nothing is handed on.
    recorder.active = false;
    mixChunk(app.song, app.engine, app.stream, &recorder);
    EXPECT_EQ(recorder.chunks.size(), 2u);
}

} // namespace
