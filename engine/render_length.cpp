// How long an offline render runs: once through the play orders, and the ring-out tail.
#include "engine/render_length.h"

#include <algorithm>
#include <cmath>

#include "base/safe_convert.h"
#include "engine/sequencer.h"

namespace {

constexpr int kMaxTailSeconds = 10;
constexpr float kMixFullScale = 128.0f;          // a mix sample of 128 is 0 dBFS
constexpr float kTailThreshold = 3.16227766e-5f; // -90 dBFS as a fraction of full scale

} // namespace

int playOrderSteps(const Song& song, int instrument) {
    if (!inRange(instrument, kInstrumentCount)) return 0;
    const BankStack& stack = song.PatternStack[instrument];
    const int measure = clampInt(song.BPMsr[instrument], 1, kStepsPerBank);
    const bool moves = stack.stackMode == kStackRotate || stack.stackMode == kStackConsume;
    const int entries = moves ? kStackEntries : 1;
    int steps = 0;
    int pending = 0; // steps of the unplayable entries since the last playable one
    for (int k = 0; k < entries; ++k) {
        if (isPlayableBank(stack.entries[k])) {
            steps += pending + measure;
            pending = 0;
        } else {
            ++pending;
        }
    }
    return steps;
}

int onceThroughSteps(const Song& song) {
    int steps = 1;
    for (int i = 0; i < kInstrumentCount; ++i) steps = std::max(steps, playOrderSteps(song, i));
    return steps;
}

int maxTailSteps(int sampleRate, int chunkFrames) {
    if (sampleRate <= 0 || chunkFrames <= 0) return 0;
    const long long frames = static_cast<long long>(kMaxTailSeconds) * sampleRate;
    return static_cast<int>((frames + chunkFrames - 1) / chunkFrames);
}

bool belowTailThreshold(const float* mix, int count) {
    for (int j = 0; j < count; ++j)
        if (!(std::fabs(mix[j]) < kTailThreshold * kMixFullScale)) return false;
    return true;
}
