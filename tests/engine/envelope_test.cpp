// Envelope curves followed through whole notes: plain, looped, stretched and silent sustain.
#include "engine/envelope.h"

#include "tests/engine/voice_test_rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The curve value at every sample of a note of `len` steps, advanced the way the voice renderer
// advances it: add the slope after each sample, evaluate again at the returned sample.
std::vector<float> traceNote(const EngineRig& rig, int len, int curve, bool pitchOnly) {
    const int frames = rig.engine.chunkFrames;
    std::vector<float> out;
    for (int k = 0; k < len; ++k) {
        EnvelopeReading r =
            evaluateEnvelope(rig.song, rig.engine.chunkFrames, 0, k, 0, len, pitchOnly);
        float value = r.value[curve], slope = r.slope[curve];
        for (int i = 0; i < frames; ++i) {
            out.push_back(value);
            value += slope;
            if (i == r.nextEvaluation) {
                r = evaluateEnvelope(rig.song, rig.engine.chunkFrames, 0, k, i, len, pitchOnly);
                value = r.value[curve];
                slope = r.slope[curve];
            }
        }
    }
    return out;
}

// Value of the default amplitude curve (1 at point 0, falling by 1/300 a point) at a point.
double defaultAmplitude(double point) {
    return 1.0 - point * 0.0033333334;
}

} // namespace

TEST(EnvelopeTrace, OneStepNoteFallsFromOneToThreeQuarters) {
    auto rig = voiceTestRig();
    const auto trace = traceNote(*rig, 1, kEnvelopeAmplitude, false);
    EXPECT_FLOAT_EQ(trace.front(), 1.0f);
    EXPECT_NEAR(trace.back(), 0.75, 1e-3);
    const int frames = rig->engine.chunkFrames;
    for (int i = 0; i < frames; i += 97)
        EXPECT_NEAR(trace[i], defaultAmplitude(75.0 * i / frames), 1e-3) << i;
}

TEST(EnvelopeTrace, LoopedSixteenStepNoteHoldsTheSustainPoint) {
    auto rig = voiceTestRig();
    const int frames = rig->engine.chunkFrames;
    const auto trace = traceNote(*rig, 16, kEnvelopeAmplitude, false);
    // Points 0..150 over the first two steps.
    EXPECT_FLOAT_EQ(trace[0], 1.0f);
    EXPECT_NEAR(trace[frames], defaultAmplitude(75), 1e-3);
    // Point 150 held from step 2 to step 14.
    for (int i = 2 * frames + 100; i < 14 * frames; i += 501) EXPECT_NEAR(trace[i], 0.5, 1e-3);
    // Points 150..300 over the last two steps, reaching 0 as the note ends.
    EXPECT_NEAR(trace[15 * frames], defaultAmplitude(225), 2e-3);
    EXPECT_NEAR(trace.back(), 0.0, 2e-3);
}

TEST(EnvelopeTrace, StretchedSustainSpreadsOverTheHeldTime) {
    auto rig = voiceTestRig();
    rig->song.EnvelopeParams[0] = {100, 200, 299, 1};
    const int frames = rig->engine.chunkFrames;
    const auto trace = traceNote(*rig, 8, kEnvelopeAmplitude, false);
    const double sustainStart = 100.0 / 75, releaseStart = 8 - 100.0 / 75;
    for (double t : {0.5, 1.0, 2.0, 4.0, 6.0, 6.5, 7.0, 7.5, 7.99}) {
        double point = t * 75;
        if (t >= releaseStart)
            point = 200 + (t - releaseStart) * 75;
        else if (t >= sustainStart)
            point = 100 + (t - sustainStart) / (releaseStart - sustainStart) * 100;
        EXPECT_NEAR(trace[static_cast<size_t>(t * frames)], defaultAmplitude(point), 3e-3) << t;
    }
}

TEST(EnvelopeTrace, LoopedSustainRepeatsItsPoints) {
    auto rig = voiceTestRig();
    float* amp = rig->song.Envelope[0];
    for (int p = 0; p < kEnvelopePoints; ++p) amp[p] = p % 2 == 0 ? 0.2f : 0.8f;
    rig->song.EnvelopeParams[0] = {10, 11, 299, 0};
    const int frames = rig->engine.chunkFrames;
    const auto trace = traceNote(*rig, 12, kEnvelopeAmplitude, false);
    // Inside the sustain the value swings between the two points, once per point length.
    float low = 1, high = 0;
    for (int i = 3 * frames; i < 6 * frames; ++i) {
        low = std::min(low, trace[i]);
        high = std::max(high, trace[i]);
    }
    EXPECT_NEAR(low, 0.2f, 0.02f);
    EXPECT_NEAR(high, 0.8f, 0.02f);
}

TEST(EnvelopeTrace, UnknownModeSilencesTheSustainButPlaysTheRelease) {
    auto rig = voiceTestRig();
    rig->song.EnvelopeParams[0] = {100, 200, 299, 4};
    const int frames = rig->engine.chunkFrames;
    const auto trace = traceNote(*rig, 8, kEnvelopeAmplitude, false);
    EXPECT_NEAR(trace[frames / 2], defaultAmplitude(37.5), 1e-3);
    EXPECT_EQ(trace[3 * frames], 0.0f);
    EXPECT_NEAR(trace[static_cast<size_t>(7.5 * frames)],
                defaultAmplitude(200 + (7.5 - (8 - 100.0 / 75)) * 75), 3e-3);
}

TEST(EnvelopeTrace, PitchOnlyReadsThePitchCurveAndOtherCurvesTheirOwn) {
    auto rig = voiceTestRig();
    for (int p = 0; p < kEnvelopePoints; ++p) {
        rig->song.Pitch[0][p] = 0.9f;
        rig->song.Cutoff[0][p] = 0.3f;
        rig->song.Ratio[0][p] = 0.1f;
    }
    EnvelopeReading pitch = evaluateEnvelope(rig->song, rig->engine.chunkFrames, 0, 0, 10, 4, true);
    EnvelopeReading rest = evaluateEnvelope(rig->song, rig->engine.chunkFrames, 0, 0, 10, 4, false);
    EXPECT_FLOAT_EQ(pitch.value[kEnvelopePitch], 0.9f);
    EXPECT_FLOAT_EQ(rest.value[kEnvelopeCutoff], 0.3f);
    EXPECT_FLOAT_EQ(rest.value[kEnvelopeRatio], 0.1f);
    EXPECT_FLOAT_EQ(pitch.slope[kEnvelopePitch], 0.0f);
    // One point lasts 63 samples at 4725 frames: the next boundary after sample 10 is
    // trunc(63 * (1 - 10 / 63)) + 10 + 1.
    EXPECT_EQ(pitch.nextEvaluation, 64);
}

TEST(EnvelopeTrace, DamagedParametersStayInsideTheCurves) {
    auto rig = voiceTestRig();
    rig->song.EnvIdx[0] = 77;
    rig->song.EnvelopeParams[7] = {250, 20, -40, 1};
    for (int len : {-3, 0, 1, 2, 40, 2147483647}) {
        for (int k : {0, 5, 2147483646}) {
            EnvelopeReading r =
                evaluateEnvelope(rig->song, rig->engine.chunkFrames, 0, k, 17, len, false);
            EXPECT_TRUE(std::isfinite(r.value[0])) << len << " " << k;
        }
    }
    rig->song.EnvelopeParams[7] = {150, 149, 299, 0};
    const auto trace = traceNote(*rig, 16, kEnvelopeAmplitude, false);
    for (float v : trace) ASSERT_TRUE(std::isfinite(v));
}
