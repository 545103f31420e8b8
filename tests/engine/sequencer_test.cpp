// Pattern-stack modes, the per-step advance, mute toggles at measure ends and the pre-roll.
#include "engine/sequencer.h"

#include "engine/voice.h"
#include "tests/engine/voice_test_rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

using BankStep = std::pair<int, int>; // bank rendered, step of the bank

void setStack(EngineRig& rig, int instrument, std::vector<int> banks, int mode) {
    BankStack& stack = rig.song.PatternStack[instrument];
    for (int k = 0; k < kStackEntries; ++k)
        stack.entries[k] = k < static_cast<int>(banks.size()) ? banks[k] : -1;
    stack.stackMode = mode;
}

std::vector<int> stackEntries(const EngineRig& rig, int instrument) {
    const BankStack& stack = rig.song.PatternStack[instrument];
    return {stack.entries, stack.entries + kStackEntries};
}

// What playback start does with the sequencer: heads of the stacks, pre-roll, counters.
void startSequencer(EngineRig& rig) {
    for (int i = 0; i < kInstrumentCount; ++i)
        rig.song.PatternIdx[i] = rig.song.PatternStack[i].entries[0];
    preRollRender(rig.song, rig.engine);
    setCountersAfterPreRoll(rig.song, rig.engine);
}

// The bank and step the instrument renders now, as the voice renderer computes it.
BankStep renderedStep(const EngineRig& rig, int instrument) {
    const int s = (rig.engine.stepCounter[instrument] + rig.engine.noteLatency) % 16;
    return {rig.song.PatternIdx[instrument], (s + 16) % 16};
}

// Runs `steps` pump steps; returns what the instrument renders at each.
std::vector<BankStep> playSteps(EngineRig& rig, int instrument, int steps) {
    std::vector<BankStep> out;
    for (int n = 0; n < steps; ++n) {
        advanceStepCounters(rig.engine);
        advanceBanks(rig.song, rig.engine);
        out.push_back(renderedStep(rig, instrument));
    }
    return out;
}

// The banks in the order they start playing (step 0 rendered), -1 for silent steps.
std::vector<int> bankStarts(const std::vector<BankStep>& steps) {
    std::vector<int> out;
    for (const auto& [bank, step] : steps)
        if (bank == -1 || step == 0) out.push_back(bank);
    return out;
}

} // namespace

TEST(StepLength, DoublePrecisionTruncatedFormula) {
    EXPECT_EQ(chunkFramesFor(70.0, 22050), 4725);
    EXPECT_EQ(chunkFramesFor(70.0, 44100), 9450);
    EXPECT_EQ(chunkFramesFor(120.0, 22050), 2756);
}

TEST(StepLength, HostileTemposAreClampedToAUsableLength) {
    const int slowest = chunkFramesFor(kMinBpm, 22050);
    const int fastest = chunkFramesFor(kMaxBpm, 22050);
    EXPECT_EQ(chunkFramesFor(std::numeric_limits<double>::quiet_NaN(), 22050), slowest);
    EXPECT_EQ(chunkFramesFor(0.0, 22050), slowest);
    EXPECT_EQ(chunkFramesFor(-70.0, 22050), slowest);
    EXPECT_EQ(chunkFramesFor(std::numeric_limits<double>::infinity(), 22050), fastest);
    EXPECT_EQ(chunkFramesFor(1e30, 22050), fastest);
    EXPECT_GT(fastest, 0);
    EXPECT_EQ(chunkFramesFor(70.0, 0), 4725);
}

TEST(StackMoves, RotateConsumeAndHold) {
    auto rig = voiceTestRig();
    setStack(*rig, 0, {2, 5}, kStackRotate);
    EXPECT_EQ(nextBank(rig->song, 0), 5);
    EXPECT_EQ(nextBank(rig->song, 0), 2);
    EXPECT_EQ(stackEntries(*rig, 0), (std::vector<int>{2, 5, -1, -1, -1, -1, -1, -1}));

    setStack(*rig, 1, {2, 5}, kStackConsume);
    EXPECT_EQ(nextBank(rig->song, 1), 5);
    EXPECT_EQ(nextBank(rig->song, 1), -1);
    EXPECT_EQ(nextBank(rig->song, 1), -1);

    setStack(*rig, 2, {2, 5}, 7);
    for (int n = 0; n < 5; ++n) EXPECT_EQ(nextBank(rig->song, 2), 2);
    EXPECT_EQ(stackEntries(*rig, 2), (std::vector<int>{2, 5, -1, -1, -1, -1, -1, -1}));
}

TEST(StackMoves, RotateDropsARemovedHead) {
    auto rig = voiceTestRig();
    setStack(*rig, 0, {2, 5, 7}, kStackRotate);
    removeStackEntry(rig->song.PatternStack[0], 0);
    EXPECT_EQ(nextBank(rig->song, 0), 5);
    EXPECT_EQ(stackEntries(*rig, 0), (std::vector<int>{5, 7, -1, -1, -1, -1, -1, -1}));
}

TEST(StackMoves, PreviousBankRotatesBackOrRefillsTheHead) {
    auto rig = voiceTestRig();
    setStack(*rig, 0, {2, 5, 7}, kStackRotate);
    EXPECT_EQ(previousBank(rig->song, 0), 7);
    EXPECT_EQ(stackEntries(*rig, 0), (std::vector<int>{7, 2, 5, -1, -1, -1, -1, -1}));

    setStack(*rig, 1, {4}, kStackRotate);
    EXPECT_EQ(previousBank(rig->song, 1), 4);
    setStack(*rig, 1, {}, kStackRotate);
    EXPECT_EQ(previousBank(rig->song, 1), -1);

    setStack(*rig, 2, {2, 5}, kStackConsume);
    EXPECT_EQ(previousBank(rig->song, 2), -1);
    EXPECT_EQ(stackEntries(*rig, 2), (std::vector<int>{-1, 2, 5, -1, -1, -1, -1, -1}));

    setStack(*rig, 3, {2, 5}, 2);
    EXPECT_EQ(previousBank(rig->song, 3), 2);
}

TEST(StackMoves, AppendFillsTheFirstEmptyEntryFromAPosition) {
    auto rig = voiceTestRig();
    setStack(*rig, 0, {-1, 3}, kStackRotate);
    appendBank(rig->song, 0, 9, 1);
    EXPECT_EQ(stackEntries(*rig, 0), (std::vector<int>{-1, 3, 9, -1, -1, -1, -1, -1}));
    appendBank(rig->song, 0, 4, 0);
    EXPECT_EQ(stackEntries(*rig, 0), (std::vector<int>{4, 3, 9, -1, -1, -1, -1, -1}));
    setStack(*rig, 1, {0, 1, 2, 3, 4, 5, 6, 7}, kStackRotate);
    appendBank(rig->song, 1, 8, 0);
    EXPECT_EQ(stackEntries(*rig, 1), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    // Only banks the grid holds are queued.
    setStack(*rig, 2, {}, kStackRotate);
    appendBank(rig->song, 2, 16, 0);
    appendBank(rig->song, 2, -7, 0);
    appendBank(rig->song, 2, 1, 99);
    EXPECT_EQ(stackEntries(*rig, 2)[0], -1);
}

TEST(PerStepAdvance, RotatingStackPlaysEveryStepOfEachBankInTurn) {
    auto rig = voiceTestRig();
    setStack(*rig, 0, {2, 5}, kStackRotate);
    startSequencer(*rig);
    const auto steps = playSteps(*rig, 0, 16 * 6 - 1);
    // The pre-roll rendered step 0 of bank 2; the pump goes on from step 1.
    for (int n = 0; n < static_cast<int>(steps.size()); ++n) {
        const int played = n + 1;
        EXPECT_EQ(steps[n], (BankStep{(played / 16) % 2 == 0 ? 2 : 5, played % 16})) << n;
    }
}

TEST(PerStepAdvance, ConsumedStackFallsSilentUntilADigitQueuesABank) {
    auto rig = voiceTestRig();
    setStack(*rig, 0, {2, 5}, kStackConsume);
    startSequencer(*rig);
    rig->engine.playing = 1;
    auto steps = playSteps(*rig, 0, 15 + 16 + 10);
    EXPECT_EQ(bankStarts(steps), (std::vector<int>{5, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    // While playing a digit appends from position 1; the silent instrument starts it next step.
    appendBank(rig->song, 0, 7, 1);
    steps = playSteps(*rig, 0, 3);
    EXPECT_EQ(steps, (std::vector<BankStep>{{7, 0}, {7, 1}, {7, 2}}));
}

TEST(PerStepAdvance, HoldRepeatsTheHeadBank) {
    auto rig = voiceTestRig();
    setStack(*rig, 0, {3, 4}, 5);
    startSequencer(*rig);
    const auto steps = playSteps(*rig, 0, 16 * 4);
    for (const auto& [bank, step] : steps) EXPECT_EQ(bank, 3);
}

TEST(PerStepAdvance, ShortMeasureSkipsTheLastSteps) {
    auto rig = voiceTestRig();
    rig->song.BPMsr[0] = 12;
    setStack(*rig, 0, {1}, kStackRotate);
    startSequencer(*rig);
    const auto steps = playSteps(*rig, 0, 12 * 5);
    for (int n = 0; n < static_cast<int>(steps.size()); ++n)
        EXPECT_EQ(steps[n], (BankStep{1, (n + 1) % 12})) << n;
}

TEST(PerStepAdvance, InstrumentsWithDifferentMeasuresChangeBanksAtDifferentSteps) {
    auto rig = voiceTestRig();
    rig->song.BPMsr[0] = 16;
    rig->song.BPMsr[1] = 6;
    setStack(*rig, 0, {0, 1}, kStackRotate);
    setStack(*rig, 1, {0, 1}, kStackRotate);
    startSequencer(*rig);
    std::vector<int> changes0, changes1;
    for (int n = 1; n <= 48; ++n) {
        advanceStepCounters(rig->engine);
        advanceBanks(rig->song, rig->engine);
        if (renderedStep(*rig, 0).second == 0) changes0.push_back(n);
        if (renderedStep(*rig, 1).second == 0) changes1.push_back(n);
    }
    EXPECT_EQ(changes0, (std::vector<int>{16, 32, 48}));
    EXPECT_EQ(changes1, (std::vector<int>{6, 12, 18, 24, 30, 36, 42, 48}));
    EXPECT_EQ(renderedStep(*rig, 0).first, 1);
    EXPECT_EQ(renderedStep(*rig, 1).first, 0);
}

TEST(PerStepAdvance, PendingMuteTogglesExactlyAtTheMeasureEnd) {
    auto rig = voiceTestRig();
    rig->song.BPMsr[2] = 4;
    startSequencer(*rig);
    playSteps(*rig, 2, 1);
    rig->engine.pendingMuteToggle[2] = 1;
    for (int n = 0; n < 2; ++n) {
        advanceStepCounters(rig->engine);
        EXPECT_FALSE(advanceBanks(rig->song, rig->engine));
        EXPECT_EQ(rig->song.Mute[2], 0);
    }
    advanceStepCounters(rig->engine);
    EXPECT_TRUE(advanceBanks(rig->song, rig->engine));
    EXPECT_EQ(renderedStep(*rig, 2), (BankStep{0, 0}));
    EXPECT_EQ(rig->song.Mute[2], 1);
    EXPECT_EQ(rig->engine.pendingMuteToggle[2], 0);
    EXPECT_EQ(rig->song.Mute[0], 0);
}

TEST(PerStepAdvance, CountersKeepTheInvariantWithLatency) {
    auto rig = voiceTestRig();
    rig->engine.noteLatency = 2;
    setStack(*rig, 0, {3, 6}, kStackRotate);
    startSequencer(*rig);
    EXPECT_EQ(rig->engine.chunkIndex, 4);
    for (int n = 0; n < 40; ++n) {
        advanceStepCounters(rig->engine);
        advanceBanks(rig->song, rig->engine);
        const auto [bank, step] = renderedStep(*rig, 0);
        EXPECT_EQ(rig->engine.stepCounter[0] + 2, 16 * bank + step);
        EXPECT_EQ(rig->engine.chunkIndex, n % 5);
    }
}

TEST(PreRoll, LongLatencyOnAShortMeasureRepeatsStepZero) {
    auto rig = voiceTestRig();
    rig->engine.noteLatency = 3;
    rig->song.BPMsr[0] = 2;
    putNote(*rig, 0, 0, {0});
    putNote(*rig, 0, 1, {12});
    startSequencer(*rig);
    const auto step0 = chunkChannel(*rig, 0, 0, 0);
    const auto step1 = chunkChannel(*rig, 0, 1, 0);
    const auto again = chunkChannel(*rig, 0, 2, 0);
    EXPECT_NE(step0, step1);
    EXPECT_EQ(step0, again);
    EXPECT_NE(step0, std::vector<float>(step0.size(), 0.0f));
    EXPECT_EQ(rig->engine.chunkIndex, 4);
    EXPECT_EQ(rig->engine.stepCounter[0], -1);
}

TEST(PreRoll, CountersAfterThePreRoll) {
    auto rig = voiceTestRig();
    setStack(*rig, 1, {4}, kStackRotate);
    setStack(*rig, 2, {}, kStackRotate);
    startSequencer(*rig);
    EXPECT_EQ(rig->engine.stepCounter[0], -1);
    EXPECT_EQ(rig->engine.stepCounter[1], 63);
    EXPECT_EQ(rig->engine.stepCounter[2], 0);
    // The first pump step renders step 1 (latency 1) of bank 4.
    advanceStepCounters(rig->engine);
    advanceBanks(rig->song, rig->engine);
    EXPECT_EQ(renderedStep(*rig, 1), (BankStep{4, 1}));
    EXPECT_EQ(rig->engine.chunkIndex, 0);
}

TEST(PerStepAdvance, DamagedStackAndMeasureValuesStaySilentAndInRange) {
    auto rig = voiceTestRig();
    rig->song.PatternStack[0].entries[0] = 1000000;
    rig->song.PatternStack[0].stackMode = 9; // hold the damaged head
    rig->song.BPMsr[0] = -2147483647;
    rig->song.BPMsr[1] = 2147483647;
    startSequencer(*rig);
    for (int n = 0; n < 40; ++n) {
        advanceStepCounters(rig->engine);
        advanceBanks(rig->song, rig->engine);
        EXPECT_EQ(rig->song.PatternIdx[0], -1);
        for (int i = 0; i < 4; ++i) renderInstrumentChunk(rig->song, rig->engine, i);
    }
    EXPECT_EQ(rig->song.PatternIdx[1], 0);
}
