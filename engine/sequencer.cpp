// Note-bank sequencer: pattern-stack moves, the per-step advance and the pre-roll of playback.
#include "engine/sequencer.h"

#include "base/safe_convert.h"
#include "engine/voice.h"

namespace {

constexpr int kEmpty = -1;

// A bank the counters may be computed from; anything else counts as "no bank".
int playableOrNone(int bank) {
    return isPlayableBank(bank) ? bank : kEmpty;
}

} // namespace

bool isPlayableBank(int bank) {
    return inRange(bank, kBankCount);
}

int measureSteps(const Song& song, int instrument) {
    return clampInt(song.BPMsr[instrument], 1, kStepsPerBank);
}

void appendBank(Song& song, int instrument, int bank, int from) {
    if (!inRange(instrument, kInstrumentCount) || !isPlayableBank(bank)) return;
    int32_t* e = song.PatternStack[instrument].entries;
    for (int k = from < 0 ? 0 : from; k < kStackEntries; ++k) {
        if (e[k] == kEmpty) {
            e[k] = bank;
            return;
        }
    }
}

int nextBank(Song& song, int instrument) {
    if (!inRange(instrument, kInstrumentCount)) return kEmpty;
    BankStack& stack = song.PatternStack[instrument];
    int32_t* e = stack.entries;
    if (stack.stackMode != kStackRotate && stack.stackMode != kStackConsume) return e[0];
    const int head = e[0];
    for (int k = 0; k < kStackEntries - 1; ++k) e[k] = e[k + 1];
    e[kStackEntries - 1] = kEmpty;
    if (stack.stackMode == kStackRotate) appendBank(song, instrument, head, 0);
    return e[0];
}

int previousBank(Song& song, int instrument) {
    if (!inRange(instrument, kInstrumentCount)) return kEmpty;
    BankStack& stack = song.PatternStack[instrument];
    int32_t* e = stack.entries;
    if (stack.stackMode == kStackRotate) {
        int last = kStackEntries - 1;
        while (last >= 0 && e[last] == kEmpty) --last;
        if (last > 0) {
            const int bank = e[last];
            for (int k = last; k > 0; --k) e[k] = e[k - 1];
            e[0] = kEmpty;
            appendBank(song, instrument, bank, 0);
        }
    } else if (stack.stackMode == kStackConsume) {
        for (int k = kStackEntries - 1; k > 0; --k) e[k] = e[k - 1];
        e[0] = kEmpty;
    }
    return e[0];
}

void advanceStepCounters(EngineState& engine) {
    for (int& counter : engine.stepCounter) ++counter;
    engine.chunkIndex = wrapIndex(static_cast<long long>(engine.chunkIndex) + 1, kRingChunks);
}

bool advanceBanks(Song& song, EngineState& engine) {
    bool changed = false;
    for (int i = 0; i < kInstrumentCount; ++i) {
        // Past the measure when the step to render would be step BPMsr or later of the bank.
        const long long measureEnd =
            measureSteps(song, i) + 16LL * playableOrNone(song.PatternIdx[i]) - engine.noteLatency;
        if (engine.stepCounter[i] < measureEnd) continue;
        if (engine.pendingMuteToggle[i]) {
            song.Mute[i] = song.Mute[i] ? 0 : 1;
            engine.pendingMuteToggle[i] = 0;
        }
        const int bank = playableOrNone(nextBank(song, i));
        song.PatternIdx[i] = bank;
        // With no bank the counter stays, so the test fires again at every following step.
        if (bank != kEmpty) engine.stepCounter[i] = kStepsPerBank * bank - engine.noteLatency;
        changed = true;
    }
    return changed;
}

void preRollRender(const Song& song, EngineState& engine) {
    const int latency = engine.noteLatency;
    int chunk = kRingChunks - latency;
    for (int n = latency; n >= 1; --n, ++chunk) {
        engine.chunkIndex = wrapIndex(chunk, kRingChunks);
        for (int i = 0; i < kInstrumentCount; ++i) {
            // A pre-roll longer than the measure repeats step 0 for the extra steps.
            const int k = latency - n + 1 > measureSteps(song, i) ? latency : n;
            const int bank = playableOrNone(song.PatternIdx[i]);
            engine.stepCounter[i] = kStepsPerBank * (bank + 1) - k;
            renderInstrumentChunk(song, engine, i);
        }
    }
}

void setCountersAfterPreRoll(const Song& song, EngineState& engine) {
    for (int i = 0; i < kInstrumentCount; ++i) {
        const int bank = playableOrNone(song.PatternIdx[i]);
        engine.stepCounter[i] = bank == kEmpty ? 0 : kStepsPerBank * bank - 1;
    }
}
