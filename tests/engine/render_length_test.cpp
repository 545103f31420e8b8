// Render lengths: once through the play orders as the sequencer plays them, and the tail's end.
#include "engine/render_length.h"

#include "engine/sequencer.h"
#include "tests/engine/voice_test_rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace {

using BankStep = std::pair<int, int>; // bank rendered, step of the bank

void setStack(Song& song, int instrument, std::vector<int> banks, int mode, int measure) {
    BankStack& stack = song.PatternStack[instrument];
    for (int k = 0; k < kStackEntries; ++k)
        stack.entries[k] = k < static_cast<int>(banks.size()) ? banks[k] : -1;
    stack.stackMode = mode;
    song.BPMsr[instrument] = measure;
}

// What each instrument renders at steps 0..steps-1 of playback: the pre-rolled first step,
// then the sequencer's per-step advance.
std::vector<std::vector<BankStep>> playedSteps(EngineRig& rig, int steps) {
    for (int i = 0; i < kInstrumentCount; ++i)
        rig.song.PatternIdx[i] = rig.song.PatternStack[i].entries[0];
    preRollRender(rig.song, rig.engine);
    setCountersAfterPreRoll(rig.song, rig.engine);
    std::vector<std::vector<BankStep>> played(kInstrumentCount);
    for (int n = 0; n < steps; ++n) {
        if (n > 0) {
            advanceStepCounters(rig.engine);
            advanceBanks(rig.song, rig.engine);
        }
        for (int i = 0; i < kInstrumentCount; ++i) {
            const int s = (rig.engine.stepCounter[i] + rig.engine.noteLatency) % 16;
            const int bank = rig.song.PatternIdx[i];
            played[i].push_back({bank, bank < 0 ? -1 : (s + 16) % 16});
        }
    }
    return played;
}

// The banks that start (step 0 rendered) within the first `steps` steps, in order.
std::vector<int> startsWithin(const std::vector<BankStep>& played, int steps) {
    std::vector<int> banks;
    for (int n = 0; n < steps; ++n)
        if (played[n].first >= 0 && played[n].second == 0) banks.push_back(played[n].first);
    return banks;
}

} // namespace

TEST(RenderLength, OnceThroughCoversTheLongestPlayOrder) {
    auto rig = voiceTestRig();
    Song& song = rig->song;
    setStack(song, 0, {1, 2}, kStackRotate, 16);      // 32 steps
    setStack(song, 1, {3, -1, 7}, kStackConsume, 16); // 16, one silent step, 16: 33
    setStack(song, 2, {4, 5, 6}, kStackRotate, 12);   // 36: the longest
    setStack(song, 3, {8, 9}, 7, 16);                 // holds bank 8: 16
    EXPECT_EQ(playOrderSteps(song, 0), 32);
    EXPECT_EQ(playOrderSteps(song, 1), 33);
    EXPECT_EQ(playOrderSteps(song, 2), 36);
    EXPECT_EQ(playOrderSteps(song, 3), 16);
    const int once = onceThroughSteps(song);
    ASSERT_EQ(once, 36);

    const auto played = playedSteps(*rig, once + 1);
    // Within the render every bank of every order has started and played to its measure end.
    EXPECT_EQ(startsWithin(played[0], once), (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(played[0][31], BankStep(2, 15));
    EXPECT_EQ(startsWithin(played[1], once), (std::vector<int>{3, 7}));
    EXPECT_EQ(played[1][32], BankStep(7, 15));
    EXPECT_EQ(played[1][33], BankStep(-1, -1));
    EXPECT_EQ(startsWithin(played[2], once), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(played[2][once - 1], BankStep(6, 11));
    // The step after it starts the longest order over again.
    EXPECT_EQ(played[2][once], BankStep(4, 0));
    EXPECT_EQ(startsWithin(played[3], once), (std::vector<int>{8, 8, 8}));
}

TEST(RenderLength, EmptyAndHostileOrders) {
    Song song;
    setSongDefaults(song);
    for (int i = 0; i < kInstrumentCount; ++i) setStack(song, i, {}, kStackRotate, 16);
    EXPECT_EQ(playOrderSteps(song, 0), 0);
    EXPECT_EQ(onceThroughSteps(song), 1); // a song with nothing queued still renders a step
    setStack(song, 1, {-1, 99, 2}, kStackConsume, 0); // measure clamped to 1 step
    EXPECT_EQ(playOrderSteps(song, 1), 3);
    setStack(song, 2, {-1, 2}, 5, 16); // holding an empty head plays nothing
    EXPECT_EQ(playOrderSteps(song, 2), 0);
    EXPECT_EQ(playOrderSteps(song, -1), 0);
    EXPECT_EQ(playOrderSteps(song, kInstrumentCount), 0);
}

TEST(RenderLength, TheTailEndsWhenAStepFallsBelowMinus90Dbfs) {
    EXPECT_EQ(maxTailSteps(22050, 4725), 47); // 10 s = 46.7 steps at 70 BPM
    EXPECT_EQ(maxTailSteps(44100, 9450), 47);
    EXPECT_EQ(maxTailSteps(22050, 2205), 100);
    EXPECT_EQ(maxTailSteps(0, 4725), 0);

    // A decaying echo in mix units (128 = full scale): -90 dBFS is 0.00405.
    std::vector<float> step(200);
    float level = 100.0f;
    int quietStep = -1;
    for (int n = 0; n < 100 && quietStep < 0; ++n, level *= 0.5f) {
        for (size_t j = 0; j < step.size(); ++j) step[j] = level * std::sin(0.1f * j);
        if (belowTailThreshold(step.data(), static_cast<int>(step.size()))) quietStep = n;
    }
    // 100 * 0.5^15 = 0.00305 is the first level under 0.00405; 0.5^14 gives 0.0061.
    EXPECT_EQ(quietStep, 15);
    step.assign(200, 0.0f);
    EXPECT_TRUE(belowTailThreshold(step.data(), 200));
    step[199] = -0.0041f; // one sample at -89.9 dBFS keeps the tail going
    EXPECT_FALSE(belowTailThreshold(step.data(), 200));
    step[199] = NAN;
    EXPECT_FALSE(belowTailThreshold(step.data(), 200));
}
