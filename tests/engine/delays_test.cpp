// DELAY/REVERB: the recirculating delays, their automation and extreme delay values.
#include "engine/delay_line.h"
#include "engine/delays.h"
#include "engine/mixer.h"
#include "stream_test_rig.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {

// 18 values with delay 0 set as given and delays 1 and 2 silent.
struct DelayValues {
    float v[kDelayAutomationValues] = {1,    4.1f, 0,    0.5f, 0,    0.5f, 1,    4.1f, 0,
                                       0.5f, 0,    0.5f, 1,    4.1f, 0,    0.5f, 0,    0.5f};
    DelayValues(float offset, float feedback, float lowPass, float pan, float fineTune) {
        v[kDelayOffset] = offset;
        v[kDelayFeedback] = feedback;
        v[kDelayLowPass] = lowPass;
        v[kDelayPan] = pan;
        v[kDelayFineTune] = fineTune;
    }
};

constexpr float kFullFeedbackCoefficient = 0.9905f; // low pass 0: 0.95 * 0.99 + 0.05

TEST(Delays, FeedbackAtMostOneHundredthDoesNothing) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    float* ring = rig.engine.instrumentRing[0].get();
    const int rs = rig.engine.ringSamples;
    for (int j = 0; j < rs; ++j) ring[j] = static_cast<float>(j % 97) - 48.0f;
    std::vector<float> before(ring, ring + rs);
    const DelayValues quiet(0.0f, 0.01f, 0.0f, 0.0f, 0.5f);
    applyDelays(rig.engine, rig.stream, 0, 0, rs, quiet.v, quiet.v);
    for (int j = 0; j < rs; ++j) ASSERT_EQ(ring[j], before[j]) << j;
    // A ramp that leaves 0.01 runs the delay.
    const DelayValues louder(0.0f, 0.02f, 0.0f, 0.0f, 0.5f);
    applyDelays(rig.engine, rig.stream, 0, 0, rs, quiet.v, louder.v);
    int changed = 0;
    for (int j = 0; j < rs; ++j) changed += ring[j] != before[j];
    EXPECT_GT(changed, 0);
}

TEST(Delays, OffsetZeroReadsTheSampleBeingWritten) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    float* ring = rig.engine.instrumentRing[0].get();
    ring[100] = 80.0f;
    const DelayValues echo(0.0f, 1.0f, 0.0f, 0.0f, 0.5f); // D = 0, gain 1
    applyDelays(rig.engine, rig.stream, 0, 0, 2 * t.chunkFrames(), echo.v, echo.v);
    for (int j = 0; j < 100; ++j) ASSERT_EQ(ring[j], 0.0f);
    const float b = kFullFeedbackCoefficient;
    EXPECT_NEAR(ring[100], 80.0f * (1.0f + b * b), 1e-3f);
    EXPECT_NE(ring[102], 0.0f); // the echo keeps ringing in the left channel
    EXPECT_EQ(ring[101], 0.0f); // and never reaches the right one
}

TEST(Delays, PanOneTakesTheOtherChannel) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    const int cf = t.chunkFrames();
    float* ring = rig.engine.instrumentRing[0].get();
    ring[20] = 100.0f;                                       // left sample of frame 10 of chunk 0
    const DelayValues crossed(1.0f, 1.0f, 0.0f, 1.0f, 0.5f); // one step, the other channel
    applyDelays(rig.engine, rig.stream, 0, 2 * cf, 4 * cf, crossed.v, crossed.v);
    // Right samples read the left sample of the next tapped frame: the echo lands on the right
    // of frame 9; the left channel hears only the (silent) right channel.
    const float b = kFullFeedbackCoefficient;
    EXPECT_NEAR(ring[2 * cf + 19], 100.0f * b * b, 1e-3f);
    for (int j = 2 * cf; j < 4 * cf; j += 2) ASSERT_EQ(ring[j], 0.0f) << j;
    for (int j = 2 * cf + 1; j < 2 * cf + 19; j += 2) ASSERT_EQ(ring[j], 0.0f) << j;

    // Pan 0 puts the same echo on the left of frame 10.
    StreamTestRig u;
    float* same = u.rig->engine.instrumentRing[0].get();
    same[20] = 100.0f;
    const DelayValues straight(1.0f, 1.0f, 0.0f, 0.0f, 0.5f);
    applyDelays(u.rig->engine, u.rig->stream, 0, 2 * cf, 4 * cf, straight.v, straight.v);
    EXPECT_NEAR(same[2 * cf + 20], 100.0f * b * b, 1e-3f);
    for (int j = 2 * cf + 1; j < 4 * cf; j += 2) ASSERT_EQ(same[j], 0.0f) << j;
}

TEST(DelayLine, StateCarriesAcrossSpansAndResetSilencesIt) {
    const int rs = 1000;
    float values[kDelayValues] = {};
    values[kDelayOffset] = 0.05f; // ten samples
    values[kDelayFeedback] = 0.9f;
    values[kDelayLowPass] = 0.3f;
    values[kDelayPan] = 0.25f;
    values[kDelayFineTune] = 0.5f;
    std::vector<float> whole(rs), split(rs);
    whole[100] = split[100] = 80.0f;
    whole[301] = split[301] = -40.0f;
    DelayLine one, two;
    one.process(whole.data(), rs, 0, 600, values, values);
    two.process(split.data(), rs, 0, 301, values, values);
    two.process(split.data(), rs, 301, 600, values, values);
    for (int j = 0; j < rs; ++j) ASSERT_EQ(whole[j], split[j]) << j;

    // The echo still rings in the line's state; a reset silences it.
    std::vector<float> ringing(rs), silent(rs);
    one.process(ringing.data(), rs, 0, 2, values, values);
    two.reset();
    two.process(silent.data(), rs, 0, 2, values, values);
    EXPECT_NE(ringing[0], 0.0f);
    EXPECT_EQ(silent[0], 0.0f);
    EXPECT_EQ(silent[1], 0.0f);
}

TEST(Delays, TapDistanceStaysOnTheChannelAndInsideTheRing) {
    EXPECT_EQ(delayTapDistance(9450.7f, 47250), 9450);
    EXPECT_EQ(delayTapDistance(9451.2f, 47250), 9450);
    EXPECT_EQ(delayTapDistance(-3.5f, 100), 96); // trunc -3, odd: -4, wrapped
    EXPECT_EQ(delayTapDistance(std::numeric_limits<float>::quiet_NaN(), 100), 0);
    const int huge = delayTapDistance(std::numeric_limits<float>::infinity(), 47250);
    EXPECT_TRUE(huge >= 0 && huge < 47250 && huge % 2 == 0);
    const int hugeNegative = delayTapDistance(-1e30f, 47250);
    EXPECT_TRUE(hugeNegative >= 0 && hugeNegative < 47250 && hugeNegative % 2 == 0);
}

TEST(Delays, DamagedValuesNeitherCrashNorReachTheOutputAsNoise) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    rig.song.DelayParams[0][0][kDelayOffset] = inf;
    rig.song.DelayParams[0][0][kDelayFeedback] = 1.0f;
    rig.song.DelayParams[0][1][kDelayOffset] = 1e30f;
    rig.song.DelayParams[0][1][kDelayFeedback] = 1.0f;
    rig.song.DelayParams[0][2][kDelayFineTune] = nan;
    rig.song.DelayParams[0][2][kDelayFeedback] = nan;
    rig.song.DelayParams[0][2][kDelayLowPass] = -inf;
    rebuildStream(rig.song, rig.engine, rig.stream, nullptr);
    placeNote(rig.song, 0, 0, 5, 2);
    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    for (int step = 1; step < 6; ++step) {
        t.device.setPlayCursor(step % 5 * t.chunkBytes());
        pumpAudio(rig.song, rig.engine, rig.stream, nullptr, rig.currentInstrument);
    }
    // Whatever the ring holds, every output sample is a clipped value or 0.
    for (int j = 0; j < rig.engine.ringSamples; ++j)
        ASSERT_LE(std::abs(static_cast<int>(t.streamSample(j))), 32512);
}

TEST(DelayAutomation, RebuildLoadsTheSongsDelaysAndChangesRampIn) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    const int cf = t.chunkFrames();
    // A song whose delay is on from the start (as after loading a file) echoes at once.
    rig.song.DelayParams[0][0][kDelayFeedback] = 1.0f;
    rebuildStream(rig.song, rig.engine, rig.stream, nullptr);
    const DelayAutomation& ring = rig.stream.delayAutomation[0];
    EXPECT_EQ(ring.values[ring.head][kDelayFeedback], 1.0f);
    rig.engine.instrumentRing[0][20] = 100.0f;
    processDelays(rig.engine, rig.stream, 0, 2 * cf, 4 * cf);
    EXPECT_NE(rig.engine.instrumentRing[0][2 * cf + 20], 0.0f);

    // The first change replaces the head entry; a later one made while stopped is stamped -1
    // and reached at the ring's last sample.
    rig.engine.playing = 1;
    recordDelayChange(rig.song, rig.engine, rig.stream, rig.currentInstrument);
    EXPECT_EQ(ring.valid[0], 1);
    rig.engine.playing = 0;
    rig.song.DelayParams[0][0][kDelayFeedback] = 0.0f;
    recordDelayChange(rig.song, rig.engine, rig.stream, rig.currentInstrument);
    ASSERT_EQ(ring.valid[1], 1);
    EXPECT_EQ(ring.stamp[1], -1);
    processDelays(rig.engine, rig.stream, 0, 0, 2 * cf);
    const float expected = 1.0f - 2.0f * cf / (rig.engine.ringSamples - 1.0f);
    EXPECT_NEAR(ring.values[ring.head][kDelayFeedback], expected, 1e-5f);
    processDelays(rig.engine, rig.stream, 0, 2 * cf, rig.engine.ringSamples);
    EXPECT_EQ(ring.head, 1);
    EXPECT_EQ(ring.values[ring.head][kDelayFeedback], 0.0f);
}

TEST(Delays, MutedInstrumentKeepsEchoingItsRing) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    const int cf = t.chunkFrames();
    rig.song.DelayParams[0][0][kDelayFeedback] = 1.0f;
    rig.song.Mute[0] = 1;
    rebuildStream(rig.song, rig.engine, rig.stream, nullptr);
    rig.engine.instrumentRing[0][20] = 100.0f; // left of frame 10, chunk 0
    rig.engine.chunkIndex = 0;                 // mixes chunk 1
    mixChunk(rig.song, rig.engine, rig.stream, nullptr);
    EXPECT_GT(t.streamSample(2 * cf + 20), 0);
}

} // namespace
