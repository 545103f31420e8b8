// The amplitude and filter stage of the voices: envelope, per-note filter, pan, velocity,
// attack and fade, one row at a time or four rows side by side.
#include "base/safe_convert.h"
#include "engine/envelope.h"
#include "engine/voice.h"
#include "model/random.h"

#include <algorithm>

namespace {

constexpr float kBaseAttack = 175.0f; // samples of the shortest attack ramp

// What a row's amplitude stage starts from: gains of the note's first step, the envelope at
// the chunk start, the filter state and the attack ramp (drawn here for a starting note).
struct NoteAmplitudeStart {
    float leftGain, rightGain;
    EnvelopeReading env;
    NoteFilterState state;
    float attack; // frames of the attack ramp, 0 once the note is under way
    double fadeStart;
};

NoteAmplitudeStart beginNoteAmplitude(const Song& song, const EngineState& engine,
                                      const VoiceChunk& chunk, const NoteCell& cell) {
    const int instrument = chunk.instrument;
    const int frames = chunk.frames;
    const int k = cell.position - 1;
    NoteAmplitudeStart start{};
    // Pan and velocity of the note's first step.
    const int first =
        wrapIndex(static_cast<long long>(chunk.absoluteStep) - k + kGridSteps, kGridSteps);
    const float pan = song.Pan[instrument][first], velocity = song.Vel[instrument][first];
    start.leftGain = (pan > 0.5f ? 1.0f : 2 * pan) * velocity;
    start.rightGain = (pan > 0.5f ? 2 * (1 - pan) : 1.0f) * velocity;
    start.env = evaluateEnvelope(song, chunk.frames, instrument, k, 0, cell.length, false);
    if (k > 0) {
        start.state = engine.noteFilterState[instrument][cell.row];
    } else {
        const float u = nextUniform();
        const int g = chunk.absoluteStep % 2 == 0 ? 23 - cell.row : cell.row;
        const float attack = kBaseAttack +
                             u * u * frames * song.Effect[instrument][kKnobRandomAttack].value +
                             song.Effect[instrument][kKnobShiftAttack].value * frames * g / 24;
        start.attack = std::min(attack, static_cast<float>(frames));
    }
    start.fadeStart = fadeStartOf(song, chunk, cell);
    return start;
}

void handOnFilter(const NoteCell& cell, const NoteFilterState& state, NoteHandOver& handOver) {
    if (cell.nextRow == -1) return;
    handOver.filter[cell.nextRow] = state;
    handOver.filterWritten[cell.nextRow] = true;
}

} // namespace

void applyNoteAmplitude(const Song& song, const EngineState& engine, const VoiceChunk& chunk,
                        const NoteCell& cell, float increment, const float* left,
                        const float* right, int stride, NoteHandOver& handOver) {
    const int instrument = chunk.instrument;
    const int frames = chunk.frames;
    const int k = cell.position - 1;
    const NoteAmplitudeStart begin = beginNoteAmplitude(song, engine, chunk, cell);
    const float leftGain = begin.leftGain, rightGain = begin.rightGain;
    EnvelopeReading env = begin.env;
    const NoteFilterState state = begin.state;
    const float attack = begin.attack;
    const double fadeStart = begin.fadeStart;
    const double fadeLength = 0.01 * frames;

    float amp = env.value[kEnvelopeAmplitude], cutoff = env.value[kEnvelopeCutoff],
          ratio = env.value[kEnvelopeRatio];
    float ampSlope = env.slope[kEnvelopeAmplitude], cutoffSlope = env.slope[kEnvelopeCutoff],
          ratioSlope = env.slope[kEnvelopeRatio];
    float lowL = state.lowLeft, bandL = state.bandLeft;
    float lowR = state.lowRight, bandR = state.bandRight;
    float* out = chunk.ring;
    for (int i = 0; i < frames; ++i) {
        const float hiGain = std::min(1.0f, 2 * ratio);
        const float loGain = std::min(1.0f, 2 * (1 - ratio));
        // Kept at 0 or above: a negative coefficient (a damaged cutoff curve or file rate)
        // would make the filter run away.
        const float w = std::max(0.0f, std::min(1.0f, cutoff * increment * 0.25f));
        const float xL = amp * left[i * stride] * leftGain;
        bandL = w * (xL - lowL) + (1 - w) * bandL;
        lowL = lowL + w * bandL;
        float yL = hiGain * (xL - lowL) + loGain * lowL;
        const float xR = amp * right[i * stride] * rightGain;
        bandR = w * (xR - lowR) + (1 - w) * bandR;
        lowR = lowR + w * bandR;
        float yR = hiGain * (xR - lowR) + loGain * lowR;
        if (i > fadeStart) {
            const float fade = static_cast<float>(1 - (i - fadeStart) / fadeLength);
            yL *= fade;
            yR *= fade;
        }
        if (i < attack) {
            yL *= i / attack;
            yR *= i / attack;
        }
        out[2 * i] += yL;
        out[2 * i + 1] += yR;
        amp += ampSlope;
        cutoff += cutoffSlope;
        ratio += ratioSlope;
        if (i == env.nextEvaluation) {
            env = evaluateEnvelope(song, chunk.frames, instrument, k, i, cell.length, false);
            amp = env.value[kEnvelopeAmplitude];
            cutoff = env.value[kEnvelopeCutoff];
            ratio = env.value[kEnvelopeRatio];
            ampSlope = env.slope[kEnvelopeAmplitude];
            cutoffSlope = env.slope[kEnvelopeCutoff];
            ratioSlope = env.slope[kEnvelopeRatio];
        }
    }
    handOnFilter(cell, {lowL, bandL, lowR, bandR}, handOver);
}

namespace {

using Float4 = float __attribute__((vector_size(16)));
using Int4 = int __attribute__((vector_size(16)));
constexpr int kLanes = 4;

// The amplitude stage of up to four rows at once, one row per lane: every lane performs the
// single-precision operations of applyNoteAmplitude, and each frame adds the rows into the ring
// in row order. The rows' filters are independent, so their recurrences overlap. Drawn rows
// only: the input of row n is the mono output in[n].
void applyLanes(const Song& song, const EngineState& engine, const VoiceChunk& chunk,
                const NoteCell* cells, int count, const float* increments, float* const* in,
                NoteHandOver& handOver) {
    const int frames = chunk.frames;
    const double fadeLength = 0.01 * frames;
    const float* input[kLanes] = {};
    EnvelopeReading env[kLanes];
    int next[kLanes];
    Float4 amp{}, cutoff{}, ratio{}, ampSlope{}, cutoffSlope{}, ratioSlope{};
    Float4 gainL{}, gainR{}, inc{}, attack{}, lowL{}, bandL{}, lowR{}, bandR{};
    Int4 fades{};
    double fadeStart = frames;
    for (int l = 0; l < kLanes; ++l) {
        // A lane without a row reads the first row's input with zero gains and is never added.
        input[l] = in[0];
        next[l] = -1;
        if (l >= count) continue;
        const NoteAmplitudeStart begin = beginNoteAmplitude(song, engine, chunk, cells[l]);
        input[l] = in[l];
        env[l] = begin.env;
        next[l] = begin.env.nextEvaluation;
        amp[l] = begin.env.value[kEnvelopeAmplitude];
        cutoff[l] = begin.env.value[kEnvelopeCutoff];
        ratio[l] = begin.env.value[kEnvelopeRatio];
        ampSlope[l] = begin.env.slope[kEnvelopeAmplitude];
        cutoffSlope[l] = begin.env.slope[kEnvelopeCutoff];
        ratioSlope[l] = begin.env.slope[kEnvelopeRatio];
        gainL[l] = begin.leftGain;
        gainR[l] = begin.rightGain;
        inc[l] = increments[l];
        attack[l] = begin.attack;
        lowL[l] = begin.state.lowLeft;
        bandL[l] = begin.state.bandLeft;
        lowR[l] = begin.state.lowRight;
        bandR[l] = begin.state.bandRight;
        fades[l] = begin.fadeStart < frames ? -1 : 0;
        if (begin.fadeStart < frames) fadeStart = begin.fadeStart;
    }
    const Float4 one = {1, 1, 1, 1}, zero = {0, 0, 0, 0};
    float* out = chunk.ring;
    for (int i = 0; i < frames; ++i) {
        const Float4 twiceRatio = 2 * ratio, twiceRest = 2 * (1 - ratio);
        const Float4 hiGain = twiceRatio < one ? twiceRatio : one;
        const Float4 loGain = twiceRest < one ? twiceRest : one;
        const Float4 raw = cutoff * inc * 0.25f;
        const Float4 capped = raw < one ? raw : one;
        const Float4 w = zero < capped ? capped : zero;
        const Float4 source = {input[0][i], input[1][i], input[2][i], input[3][i]};
        const Float4 xL = amp * source * gainL;
        bandL = w * (xL - lowL) + (1 - w) * bandL;
        lowL = lowL + w * bandL;
        Float4 yL = hiGain * (xL - lowL) + loGain * lowL;
        const Float4 xR = amp * source * gainR;
        bandR = w * (xR - lowR) + (1 - w) * bandR;
        lowR = lowR + w * bandR;
        Float4 yR = hiGain * (xR - lowR) + loGain * lowR;
        if (i > fadeStart) {
            const float fade = static_cast<float>(1 - (i - fadeStart) / fadeLength);
            yL = fades ? yL * fade : yL;
            yR = fades ? yR * fade : yR;
        }
        const float at = static_cast<float>(i);
        const Int4 ramping = at < attack;
        if (ramping[0] | ramping[1] | ramping[2] | ramping[3]) {
            const Float4 ramp = at / attack;
            yL = ramping ? yL * ramp : yL;
            yR = ramping ? yR * ramp : yR;
        }
        for (int l = 0; l < count && l < kLanes; ++l) {
            out[2 * i] += yL[l];
            out[2 * i + 1] += yR[l];
        }
        amp += ampSlope;
        cutoff += cutoffSlope;
        ratio += ratioSlope;
        for (int l = 0; l < count && l < kLanes; ++l) {
            if (i != next[l]) continue;
            env[l] = evaluateEnvelope(song, chunk.frames, chunk.instrument, cells[l].position - 1,
                                      i, cells[l].length, false);
            next[l] = env[l].nextEvaluation;
            amp[l] = env[l].value[kEnvelopeAmplitude];
            cutoff[l] = env[l].value[kEnvelopeCutoff];
            ratio[l] = env[l].value[kEnvelopeRatio];
            ampSlope[l] = env[l].slope[kEnvelopeAmplitude];
            cutoffSlope[l] = env[l].slope[kEnvelopeCutoff];
            ratioSlope[l] = env[l].slope[kEnvelopeRatio];
        }
    }
    for (int l = 0; l < count && l < kLanes; ++l)
        handOnFilter(cells[l], {lowL[l], bandL[l], lowR[l], bandR[l]}, handOver);
}

} // namespace

// The amplitude stages of all rows, four at a time, in row order.
void applyNoteAmplitudes(const Song& song, const EngineState& engine, const VoiceChunk& chunk,
                         const NoteCell* cells, int count, const float* increments,
                         float* const* in, NoteHandOver& handOver) {
    for (int n = 0; n < count; n += kLanes)
        applyLanes(song, engine, chunk, cells + n, std::min(kLanes, count - n), increments + n,
                   in + n, handOver);
}
