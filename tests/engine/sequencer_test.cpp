// Pattern-stack modes, the per-step advance, mute toggles at measure ends and the pre-roll.
#include "engine/sequencer.h"

#include "app/app_state.h"
#include "engine/voice.h"
#include "tests/engine/voice_test_app.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

using BankStep = std::pair<int, int>; // bank rendered, step of the bank

void setStack(AppState& app, int instrument, std::vector<int> banks, int mode) {
    BankStack& stack = app.song.PatternStack[instrument];
    for (int k = 0; k < kStackEntries; ++k)
        stack.entries[k] = k < static_cast<int>(banks.size()) ? banks[k] : -1;
    stack.stackMode = mode;
}

std::vector<int> stackEntries(const AppState& app, int instrument) {
    const BankStack& stack = app.song.PatternStack[instrument];
    return {stack.entries, stack.entries + kStackEntries};
}

// What playback start does with the sequencer: heads of the stacks, pre-roll, counters.
void startSequencer(AppState& app) {
    for (int i = 0; i < kInstrumentCount; ++i)
        app.song.PatternIdx[i] = app.song.PatternStack[i].entries[0];
    preRollRender(app.song, app.engine);
    setCountersAfterPreRoll(app.song, app.engine);
}

// The bank and step the instrument renders now, as the voice renderer computes it.
BankStep renderedStep(const AppState& app, int instrument) {
    const int s = (app.engine.stepCounter[instrument] + app.engine.noteLatency) % 16;
    return {app.song.PatternIdx[instrument], (s + 16) % 16};
}

// Runs `steps` pump steps; returns what the instrument renders at each.
std::vector<BankStep> playSteps(AppState& app, int instrument, int steps) {
    std::vector<BankStep> out;
    for (int n = 0; n < steps; ++n) {
        advanceStepCounters(app.engine);
        advanceBanks(app.song, app.engine);
        out.push_back(renderedStep(app, instrument));
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
    auto app = voiceTestApp();
    setStack(*app, 0, {2, 5}, kStackRotate);
    EXPECT_EQ(nextBank(app->song, 0), 5);
    EXPECT_EQ(nextBank(app->song, 0), 2);
    EXPECT_EQ(stackEntries(*app, 0), (std::vector<int>{2, 5, -1, -1, -1, -1, -1, -1}));

    setStack(*app, 1, {2, 5}, kStackConsume);
    EXPECT_EQ(nextBank(app->song, 1), 5);
    EXPECT_EQ(nextBank(app->song, 1), -1);
    EXPECT_EQ(nextBank(app->song, 1), -1);

    setStack(*app, 2, {2, 5}, 7);
    for (int n = 0; n < 5; ++n) EXPECT_EQ(nextBank(app->song, 2), 2);
    EXPECT_EQ(stackEntries(*app, 2), (std::vector<int>{2, 5, -1, -1, -1, -1, -1, -1}));
}

TEST(StackMoves, RotateDropsARemovedHead) {
    auto app = voiceTestApp();
    setStack(*app, 0, {2, 5, 7}, kStackRotate);
    removeStackEntry(app->song.PatternStack[0], 0);
    EXPECT_EQ(nextBank(app->song, 0), 5);
    EXPECT_EQ(stackEntries(*app, 0), (std::vector<int>{5, 7, -1, -1, -1, -1, -1, -1}));
}

TEST(StackMoves, PreviousBankRotatesBackOrRefillsTheHead) {
    auto app = voiceTestApp();
    setStack(*app, 0, {2, 5, 7}, kStackRotate);
    EXPECT_EQ(previousBank(app->song, 0), 7);
    EXPECT_EQ(stackEntries(*app, 0), (std::vector<int>{7, 2, 5, -1, -1, -1, -1, -1}));

    setStack(*app, 1, {4}, kStackRotate);
    EXPECT_EQ(previousBank(app->song, 1), 4);
    setStack(*app, 1, {}, kStackRotate);
    EXPECT_EQ(previousBank(app->song, 1), -1);

    setStack(*app, 2, {2, 5}, kStackConsume);
    EXPECT_EQ(previousBank(app->song, 2), -1);
    EXPECT_EQ(stackEntries(*app, 2), (std::vector<int>{-1, 2, 5, -1, -1, -1, -1, -1}));

    setStack(*app, 3, {2, 5}, 2);
    EXPECT_EQ(previousBank(app->song, 3), 2);
}

TEST(StackMoves, AppendFillsTheFirstEmptyEntryFromAPosition) {
    auto app = voiceTestApp();
    setStack(*app, 0, {-1, 3}, kStackRotate);
    appendBank(app->song, 0, 9, 1);
    EXPECT_EQ(stackEntries(*app, 0), (std::vector<int>{-1, 3, 9, -1, -1, -1, -1, -1}));
    appendBank(app->song, 0, 4, 0);
    EXPECT_EQ(stackEntries(*app, 0), (std::vector<int>{4, 3, 9, -1, -1, -1, -1, -1}));
    setStack(*app, 1, {0, 1, 2, 3, 4, 5, 6, 7}, kStackRotate);
    appendBank(app->song, 1, 8, 0);
    EXPECT_EQ(stackEntries(*app, 1), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    // Only banks the grid holds are queued.
    setStack(*app, 2, {}, kStackRotate);
    appendBank(app->song, 2, 16, 0);
    appendBank(app->song, 2, -7, 0);
    appendBank(app->song, 2, 1, 99);
    EXPECT_EQ(stackEntries(*app, 2)[0], -1);
}

TEST(PerStepAdvance, RotatingStackPlaysEveryStepOfEachBankInTurn) {
    auto app = voiceTestApp();
    setStack(*app, 0, {2, 5}, kStackRotate);
    startSequencer(*app);
    const auto steps = playSteps(*app, 0, 16 * 6 - 1);
    // The pre-roll rendered step 0 of bank 2; the pump goes on from step 1.
    for (int n = 0; n < static_cast<int>(steps.size()); ++n) {
        const int played = n + 1;
        EXPECT_EQ(steps[n], (BankStep{(played / 16) % 2 == 0 ? 2 : 5, played % 16})) << n;
    }
}

TEST(PerStepAdvance, ConsumedStackFallsSilentUntilADigitQueuesABank) {
    auto app = voiceTestApp();
    setStack(*app, 0, {2, 5}, kStackConsume);
    startSequencer(*app);
    app->engine.playing = 1;
    auto steps = playSteps(*app, 0, 15 + 16 + 10);
    EXPECT_EQ(bankStarts(steps), (std::vector<int>{5, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    // While playing a digit appends from position 1; the silent instrument starts it next step.
    appendBank(app->song, 0, 7, 1);
    steps = playSteps(*app, 0, 3);
    EXPECT_EQ(steps, (std::vector<BankStep>{{7, 0}, {7, 1}, {7, 2}}));
}

TEST(PerStepAdvance, HoldRepeatsTheHeadBank) {
    auto app = voiceTestApp();
    setStack(*app, 0, {3, 4}, 5);
    startSequencer(*app);
    const auto steps = playSteps(*app, 0, 16 * 4);
    for (const auto& [bank, step] : steps) EXPECT_EQ(bank, 3);
}

TEST(PerStepAdvance, ShortMeasureSkipsTheLastSteps) {
    auto app = voiceTestApp();
    app->song.BPMsr[0] = 12;
    setStack(*app, 0, {1}, kStackRotate);
    startSequencer(*app);
    const auto steps = playSteps(*app, 0, 12 * 5);
    for (int n = 0; n < static_cast<int>(steps.size()); ++n)
        EXPECT_EQ(steps[n], (BankStep{1, (n + 1) % 12})) << n;
}

TEST(PerStepAdvance, InstrumentsWithDifferentMeasuresChangeBanksAtDifferentSteps) {
    auto app = voiceTestApp();
    app->song.BPMsr[0] = 16;
    app->song.BPMsr[1] = 6;
    setStack(*app, 0, {0, 1}, kStackRotate);
    setStack(*app, 1, {0, 1}, kStackRotate);
    startSequencer(*app);
    std::vector<int> changes0, changes1;
    for (int n = 1; n <= 48; ++n) {
        advanceStepCounters(app->engine);
        advanceBanks(app->song, app->engine);
        if (renderedStep(*app, 0).second == 0) changes0.push_back(n);
        if (renderedStep(*app, 1).second == 0) changes1.push_back(n);
    }
    EXPECT_EQ(changes0, (std::vector<int>{16, 32, 48}));
    EXPECT_EQ(changes1, (std::vector<int>{6, 12, 18, 24, 30, 36, 42, 48}));
    EXPECT_EQ(renderedStep(*app, 0).first, 1);
    EXPECT_EQ(renderedStep(*app, 1).first, 0);
}

TEST(PerStepAdvance, PendingMuteTogglesExactlyAtTheMeasureEnd) {
    auto app = voiceTestApp();
    app->song.BPMsr[2] = 4;
    startSequencer(*app);
    playSteps(*app, 2, 1);
    app->engine.pendingMuteToggle[2] = 1;
    for (int n = 0; n < 2; ++n) {
        advanceStepCounters(app->engine);
        EXPECT_FALSE(advanceBanks(app->song, app->engine));
        EXPECT_EQ(app->song.Mute[2], 0);
    }
    advanceStepCounters(app->engine);
    EXPECT_TRUE(advanceBanks(app->song, app->engine));
    EXPECT_EQ(renderedStep(*app, 2), (BankStep{0, 0}));
    EXPECT_EQ(app->song.Mute[2], 1);
    EXPECT_EQ(app->engine.pendingMuteToggle[2], 0);
    EXPECT_EQ(app->song.Mute[0], 0);
}

TEST(PerStepAdvance, CountersKeepTheInvariantWithLatency) {
    auto app = voiceTestApp();
    app->engine.noteLatency = 2;
    setStack(*app, 0, {3, 6}, kStackRotate);
    startSequencer(*app);
    EXPECT_EQ(app->engine.chunkIndex, 4);
    for (int n = 0; n < 40; ++n) {
        advanceStepCounters(app->engine);
        advanceBanks(app->song, app->engine);
        const auto [bank, step] = renderedStep(*app, 0);
        EXPECT_EQ(app->engine.stepCounter[0] + 2, 16 * bank + step);
        EXPECT_EQ(app->engine.chunkIndex, n % 5);
    }
}

TEST(PreRoll, LongLatencyOnAShortMeasureRepeatsStepZero) {
    auto app = voiceTestApp();
    app->engine.noteLatency = 3;
    app->song.BPMsr[0] = 2;
    putNote(*app, 0, 0, {0});
    putNote(*app, 0, 1, {12});
    startSequencer(*app);
    const auto step0 = chunkChannel(*app, 0, 0, 0);
    const auto step1 = chunkChannel(*app, 0, 1, 0);
    const auto again = chunkChannel(*app, 0, 2, 0);
    EXPECT_NE(step0, step1);
    EXPECT_EQ(step0, again);
    EXPECT_NE(step0, std::vector<float>(step0.size(), 0.0f));
    EXPECT_EQ(app->engine.chunkIndex, 4);
    EXPECT_EQ(app->engine.stepCounter[0], -1);
}

TEST(PreRoll, CountersAfterThePreRoll) {
    auto app = voiceTestApp();
    setStack(*app, 1, {4}, kStackRotate);
    setStack(*app, 2, {}, kStackRotate);
    startSequencer(*app);
    EXPECT_EQ(app->engine.stepCounter[0], -1);
    EXPECT_EQ(app->engine.stepCounter[1], 63);
    EXPECT_EQ(app->engine.stepCounter[2], 0);
    // The first pump step renders step 1 (latency 1) of bank 4.
    advanceStepCounters(app->engine);
    advanceBanks(app->song, app->engine);
    EXPECT_EQ(renderedStep(*app, 1), (BankStep{4, 1}));
    EXPECT_EQ(app->engine.chunkIndex, 0);
}

TEST(PerStepAdvance, DamagedStackAndMeasureValuesStaySilentAndInRange) {
    auto app = voiceTestApp();
    app->song.PatternStack[0].entries[0] = 1000000;
    app->song.PatternStack[0].stackMode = 9; // hold the damaged head
    app->song.BPMsr[0] = -2147483647;
    app->song.BPMsr[1] = 2147483647;
    startSequencer(*app);
    for (int n = 0; n < 40; ++n) {
        advanceStepCounters(app->engine);
        advanceBanks(app->song, app->engine);
        EXPECT_EQ(app->song.PatternIdx[0], -1);
        for (int i = 0; i < 4; ++i) renderInstrumentChunk(app->song, app->engine, i);
    }
    EXPECT_EQ(app->song.PatternIdx[1], 0);
}
