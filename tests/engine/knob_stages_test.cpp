// Effect units and knob automation: filter, amplitude cutoff, ramps and stamps.
#include "engine/amplitude_cutoff.h"
#include "engine/knob_automation.h"
#include "engine/knob_stages.h"
#include "engine/mixer.h"
#include "engine/resonant_filter.h"
#include "stream_test_rig.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

void fillRing(EngineRig& rig, int instrument, float value) {
    std::fill_n(rig.engine.instrumentRing[instrument].get(), rig.engine.ringSamples, value);
}

constexpr int kRingSamples = 47250; // five steps at 70 BPM and 22050 Hz
constexpr float kDefaultResOver = 0.4f;

TEST(ResonantFilter, FullCutoffWithoutResonancePassesTheSignal) {
    std::vector<float> samples(kRingSamples);
    float* ring = samples.data();
    const int n = 2 * 4725;
    for (int j = 0; j < n; ++j) ring[j] = 90.0f * std::sin(0.01f * static_cast<float>(j / 2));
    std::vector<float> input(ring, ring + n);
    ResonantFilter filter;
    filter.process(ring, kRingSamples, 0, n, {1.0f, 1.0f}, {0.0f, 0.0f}, kDefaultResOver);
    for (int j = 0; j < n; ++j) ASSERT_NEAR(ring[j], input[j], 1e-4f) << j;
}

// The filter exactly as its formula reads, one sample at a time, for comparison.
struct ReferenceFilter {
    float low[2] = {}, band[2] = {}, y[2] = {}, g[2] = {};

    void run(std::vector<float>& ring, int start, int end, float c0, float c1, float q0, float q1,
             float resOver) {
        auto coefficient = [](float c) { return std::clamp(c * c * 0.98f + 0.02f, 0.005f, 1.0f); };
        const float n = static_cast<float>(end - start);
        float a = coefficient(c0);
        const float aStep = (coefficient(c1) - a) / n;
        float q = 1.2f * q0;
        const float qStep = (1.2f * q1 - q) / n;
        const float limit = 40.0f * resOver + 2.0f;
        for (int j = start; j < end; ++j) {
            const int c = j & 1;
            const float x = ring[j];
            band[c] = band[c] * (1.0f - a) + (x - y[c]) * a;
            low[c] = low[c] * (1.0f - a) + band[c] * a;
            y[c] = y[c] + low[c];
            low[c] = low[c] * g[c] * q;
            if (x == 0.0f && ring[(j + 1) % ring.size()] == 0.0f) low[c] = band[c] = 0.0f;
            g[c] = g[c] + ((1.0f - std::min(1.0f, std::fabs(low[c]) / limit)) - g[c]) * 0.02f;
            if (y[c] > 508.0f || y[c] < -508.0f) {
                low[c] *= 0.5f;
                band[c] *= 0.5f;
            }
            ring[j] = y[c];
            a += aStep;
            q += qStep;
        }
    }
};

TEST(ResonantFilter, MatchesItsFormulaBitForBitOnEveryPath) {
    std::vector<float> samples(kRingSamples);
    float* ring = samples.data();
    const int rs = kRingSamples;
    ResonantFilter filter;
    for (int j = 0; j < rs; ++j) // a loud tone, gaps of silence, a few runaway samples
        ring[j] = (j / 2000) % 3 == 1 ? 0.0f
                                      : 300.0f * std::sin(0.003f * static_cast<float>(j)) +
                                            (j % 7919 == 0 ? 900.0f : 0.0f);
    std::vector<float> expected(ring, ring + rs);
    ReferenceFilter reference;
    // Spans: settled defaults (the pass-through path), a ramp to resonance, resonance held,
    // a span starting on a right sample, and back to the defaults.
    const struct {
        int start, end;
        float c0, c1, q0, q1;
    } spans[] = {{0, 9000, 1, 1, 0, 0},
                 {9000, 20001, 1, 0.4f, 0, 0.9f},
                 {20001, 30000, 0.4f, 0.4f, 0.9f, 0.9f},
                 {30000, 36000, 0.4f, 1, 0.9f, 0},
                 {36000, rs, 1, 1, 0, 0}};
    for (const auto& span : spans) {
        filter.process(ring, rs, span.start, span.end, {span.c0, span.c1}, {span.q0, span.q1},
                       0.3f);
        reference.run(expected, span.start, span.end, span.c0, span.c1, span.q0, span.q1, 0.3f);
    }
    for (int j = 0; j < rs; ++j) ASSERT_EQ(ring[j], expected[j]) << j;
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(filter.channel(c).gain, reference.g[c]);
        EXPECT_EQ(filter.channel(c).band, reference.band[c]);
    }
    // A reset starts from silence again.
    filter.reset();
    EXPECT_EQ(filter.channel(0).gain, 0.0f);
    EXPECT_EQ(filter.channel(1).y, 0.0f);
}

TEST(ResonantFilter, ZeroCutoffIsAStrongLowPassAndStateCarriesPerChannel) {
    std::vector<float> samples(kRingSamples);
    float* ring = samples.data();
    const int n = 2 * 4725;
    ResonantFilter filter;
    // Left: a tone alternating every frame; right: a constant level.
    for (int j = 0; j < n; j += 2) {
        ring[j] = (j / 2) % 2 ? 100.0f : -100.0f;
        ring[j + 1] = 50.0f;
    }
    // Two spans (split at an odd sample), one filter.
    filter.process(ring, kRingSamples, 0, n / 2, {0.0f, 0.0f}, {0.0f, 0.0f}, kDefaultResOver);
    filter.process(ring, kRingSamples, n / 2, n, {0.0f, 0.0f}, {0.0f, 0.0f}, kDefaultResOver);
    float leftPeak = 0.0f;
    for (int j = n / 2 + 1; j < n; j += 2) leftPeak = std::max(leftPeak, std::fabs(ring[j]));
    EXPECT_LT(leftPeak, 5.0f);
    EXPECT_NEAR(ring[n - 1], 50.0f, 0.5f); // the constant gets through
}

TEST(AmplitudeCutoff, DistortOneSilencesEverythingBelowFullScale) {
    float ring[] = {126.9f, -126.9f, 1.0f, -50.0f, 127.5f, -127.5f, 0.0f, 200.0f};
    AmplitudeCutoff cutoff;
    cutoff.process(ring, 0, 8, {1.0f, 1.0f}, {0.0f, 0.0f});
    const float expected[] = {0, 0, 0, 0, 127.5f, -127.5f, 0, 200.0f};
    for (int j = 0; j < 8; ++j) EXPECT_EQ(ring[j], expected[j]) << j;
}

TEST(AmplitudeCutoff, DistortZeroLeavesTheSignalAndDragLowersTheThreshold) {
    std::vector<float> samples(1004, 30.0f);
    float* ring = samples.data();
    AmplitudeCutoff cutoff;
    cutoff.process(ring, 0, 1000, {0.0f, 0.0f}, {2.0f, 2.0f});
    for (int j = 0; j < 1000; ++j) ASSERT_EQ(ring[j], 30.0f);
    EXPECT_EQ(cutoff.follower(0), 30.0f);
    // DISTORT 0.5 gives a threshold of 31.75 with a quiet follower; DSTDRAG 2 (rate 1) makes
    // the follower track |x| at once: 2 * 30 lowers the threshold below 0.
    cutoff.process(ring, 1000, 1002, {0.5f, 0.5f}, {2.0f, 2.0f});
    EXPECT_EQ(ring[1000], 30.0f);
    cutoff.reset();
    EXPECT_EQ(cutoff.follower(1), 0.0f);
    cutoff.process(ring, 1002, 1004, {0.5f, 0.5f}, {0.0f, 0.0f});
    EXPECT_EQ(ring[1002], 0.0f);
}

TEST(KnobAutomation, ChangeWhileStoppedTakesEffectFromTheFirstSample) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    Song& song = rig.song;
    placeNote(song, 0, 0, 12, 4);
    song.Effect[0][kKnobDistort].value = 1.0f; // silences all but full-scale samples
    recordKnobChange(rig.song, rig.engine, rig.stream, rig.currentInstrument);
    EXPECT_EQ(rig.stream.knobAutomation[0].stamp[0], -1);
    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    EXPECT_EQ(rig.stream.knobAutomation[0].values[0][kKnobDistort], 1.0f);
    for (int j = 0; j < 2 * t.chunkFrames(); ++j) ASSERT_EQ(t.streamSample(j), 0) << j;

    // The same note without distortion is heard in the first chunk.
    song.Effect[0][kKnobDistort].value = 0.0f;
    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    int loud = 0;
    for (int j = 0; j < 2 * t.chunkFrames(); ++j) loud += t.streamSample(j) != 0;
    EXPECT_GT(loud, t.chunkFrames());
}

TEST(KnobAutomation, ChangeWhilePlayingRampsAndArrivesAtItsStamp) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    const int cf = t.chunkFrames(); // 4725
    const int rs = rig.engine.ringSamples;
    KnobRecord* knobs = rig.song.Effect[0];
    resetKnobAutomation(rig.song, rig.stream, 0);
    rig.engine.playing = 1;
    rig.engine.noteLatency = 1;
    t.device.setPlayCursor(2 * 4 * cf); // chunk 2
    recordKnobChange(rig.song, rig.engine, rig.stream,
                     rig.currentInstrument); // first change after a start: replaces the head
    knobs[kKnobDistort].value = 1.0f;
    recordKnobChange(rig.song, rig.engine, rig.stream, rig.currentInstrument);
    const KnobAutomation& ring = rig.stream.knobAutomation[0];
    ASSERT_EQ(ring.valid[1], 1);
    EXPECT_EQ(ring.stamp[1], 2 * cf); // cursor sample 4 cf minus one chunk of 2 cf samples

    // Mixing chunk 3, then 4, then 0 ramps DISTORT linearly from 0 at the start of chunk 3 to
    // 1 at the stamp, one lap later.
    fillRing(rig, 0, 100.0f);
    applyKnobStages(rig.song, rig.engine, rig.stream, 0, 6 * cf, 8 * cf);
    EXPECT_NEAR(ring.values[ring.head][kKnobDistort], 1.0f / 3.0f, 1e-6f);
    applyKnobStages(rig.song, rig.engine, rig.stream, 0, 8 * cf, rs);
    EXPECT_NEAR(ring.values[ring.head][kKnobDistort], 2.0f / 3.0f, 1e-6f);
    applyKnobStages(rig.song, rig.engine, rig.stream, 0, 0, 2 * cf);
    EXPECT_EQ(ring.head, 1);
    EXPECT_EQ(ring.valid[0], 0);
    EXPECT_EQ(ring.values[ring.head][kKnobDistort], 1.0f);

    // 100 is silenced once 127 d^2 > 100, d > 0.8874: 88.74 % of the 3-chunk ramp, which is
    // sample 0.6622 * 2 cf of chunk 0.
    const float* samples = rig.engine.instrumentRing[0].get();
    for (int j = 6 * cf; j < rs; ++j) ASSERT_EQ(samples[j], 100.0f) << j;
    const int silentFrom = static_cast<int>(0.8874 * 6 * cf) - 4 * cf;
    for (int j = 0; j < silentFrom - 20; ++j) ASSERT_EQ(samples[j], 100.0f) << j;
    for (int j = silentFrom + 20; j < 2 * cf; ++j) ASSERT_EQ(samples[j], 0.0f) << j;
}

TEST(KnobAutomation, FullRingDropsTheChangeAndStoppedChangesReuseTheirSlot) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    resetKnobAutomation(rig.song, rig.stream, 0);
    KnobAutomation& ring = rig.stream.knobAutomation[0];
    KnobRecord& cutoff = rig.song.Effect[0][kKnobCutoff];

    cutoff.value = 0.3f;
    recordKnobChange(rig.song, rig.engine, rig.stream,
                     rig.currentInstrument); // stopped: stamped -1 into the head entry
    cutoff.value = 0.4f;
    recordKnobChange(rig.song, rig.engine, rig.stream, rig.currentInstrument); // replaces it
    EXPECT_EQ(ring.valid[1], 0);
    EXPECT_EQ(ring.values[0][kKnobCutoff], 0.4f);

    rig.engine.playing = 1;
    for (int e = 0; e < kAutomationEntries; ++e) {
        cutoff.value = static_cast<float>(e) / kAutomationEntries;
        recordKnobChange(rig.song, rig.engine, rig.stream, rig.currentInstrument);
    }
    for (int e = 0; e < kAutomationEntries; ++e) ASSERT_EQ(ring.valid[e], 1);
    cutoff.value = 0.99f;
    recordKnobChange(rig.song, rig.engine, rig.stream, rig.currentInstrument); // no slot left
    for (int e = 0; e < kAutomationEntries; ++e)
        ASSERT_EQ(ring.values[e][kKnobCutoff], static_cast<float>(e) / kAutomationEntries);
}

TEST(KnobStages, MutedInstrumentsSkipTheStagesInTheMix) {
    StreamTestRig t;
    EngineRig& rig = *t.rig;
    startPlayback(rig.song, rig.engine, rig.stream, nullptr);
    rig.engine.playing = 0; // mix freely
    rig.song.Effect[0][kKnobDistort].value = 1.0f;
    rig.song.Effect[1][kKnobDistort].value = 1.0f;
    resetKnobAutomation(rig.song, rig.stream, 0);
    resetKnobAutomation(rig.song, rig.stream, 1);
    rig.song.Mute[1] = 1;
    fillRing(rig, 0, 60.0f);
    fillRing(rig, 1, 60.0f);
    rig.engine.chunkIndex = 0;
    mixChunk(rig.song, rig.engine, rig.stream, nullptr); // chunk 1
    const int sample = 2 * t.chunkFrames() + 10;
    EXPECT_EQ(rig.engine.instrumentRing[0][sample], 0.0f);
    EXPECT_EQ(rig.engine.instrumentRing[1][sample], 60.0f);
}

} // namespace
