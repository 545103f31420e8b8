// Drawn-waveform voice: chord keys, chorus, slides, pitch curve and the per-note filter.
#include "engine/voice.h"

#include "app/app_state.h"
#include "engine/envelope.h"
#include "engine/safe_convert.h"
#include "engine/sequencer.h"
#include "model/random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kWaveLength = kWaveformSamples;
constexpr float kAudibleLevel = 0.01f;  // chord keys at or below are silent
constexpr float kChorusOn = 0.001f;     // CHORUS above this plays three oscillators per key
constexpr float kRandomFreqOn = 0.001f; // RDMFREQ above this jitters the phases
constexpr float kBaseAttack = 175.0f;   // samples of the shortest attack ramp

float knobValue(const AppState& app, int instrument, int knob) {
    return app.song.Effect[instrument][knob].value;
}

float octaveFactorOf(int oct) {
    static constexpr float kFactors[4] = {0.5f, 1.0f, 2.0f, 4.0f};
    return kFactors[clampInt(oct, 0, 3)]; // an octave outside 0..3 plays the nearest one
}

bool hasAudibleKey(const ChordKeySet& keys, int count) {
    for (int j = 0; j < count; ++j)
        if (keys.keys[j].level > kAudibleLevel) return true;
    return false;
}

// A phase that left 0..350 by more than one table length, or is not a number, as only a damaged
// song can make it: brought back by fmod, NaN restarts at 0.
double wrapPhaseSlow(double phase) {
    if (!isFiniteValue(phase)) return 0.0;
    phase = std::fmod(phase, kWaveLength);
    if (phase < 0.0) phase += kWaveLength;
    return phase < kWaveLength ? phase : 0.0;
}

// Keeps a phase in 0..350. The usual case is one step past the end: subtracting the table
// length is exact there, so the phase stays what it would have been modulo 350.
inline double keepPhaseInRange(double phase) {
    if (phase >= kWaveLength) phase -= kWaveLength;
    if (phase >= 0.0 && phase < kWaveLength) return phase;
    return wrapPhaseSlow(phase);
}

// W(phase) for a phase in 0..350: sample 350 of the playback waveform repeats sample 0, so the
// second read needs no wrap.
inline double readWave(const float* wave, double phase) {
    const int m = static_cast<int>(phase);
    const double f = phase - m;
    return wave[m] * (1.0 - f) + wave[m + 1] * f;
}

// Increments of the main, lower and upper oscillators.
struct Increments {
    float main, lower, upper;
};

Increments detune(float inc, float lowerFactor, float upperFactor) {
    return {inc, inc * lowerFactor, inc * upperFactor};
}

// One chord key of a row over the chunk; returns the main increment reached at its end.
template <bool kChorus, bool kJitter>
float playDrawnKey(const VoiceChunk& chunk, const float* wave, float level, VoicePhase& phase,
                   Increments start, Increments target) {
    double pm = phase.main, pl = phase.lower, pu = phase.upper;
    float im = start.main, il = start.lower, iu = start.upper;
    const int frames = chunk.frames;
    const int slideStart = chunk.slideStart;
    const float randomFreq = chunk.randomFreq;
    const float* pitch = chunk.pitchCurve; // quartic factor d per frame
    const float* slide = chunk.slideWeight;
    float* out = chunk.scratch;
    for (int i = 0; i < frames; ++i) {
        float sample;
        if constexpr (kChorus)
            sample = static_cast<float>(
                level * (readWave(wave, pu) + readWave(wave, pl) + readWave(wave, pm)) / 3);
        else
            sample = static_cast<float>(level * readWave(wave, pm));
        out[2 * i] += sample;
        out[2 * i + 1] += sample;
        if (i > slideStart) {
            const float q = slide[i];
            im = q * target.main + (1 - q) * start.main;
            il = q * target.lower + (1 - q) * start.lower;
            iu = q * target.upper + (1 - q) * start.upper;
        }
        pm += im;
        if constexpr (kChorus) {
            pl += il;
            pu += iu;
        }
        if constexpr (kJitter) {
            pm += (nextUniform() - 0.5f) * im * randomFreq;
            if constexpr (kChorus) {
                pl += (nextUniform() - 0.5f) * im * randomFreq;
                pu += (nextUniform() - 0.5f) * im * randomFreq;
            }
        }
        const float d = pitch[i];
        pm = keepPhaseInRange(pm + d * im);
        pl = keepPhaseInRange(pl + d * il);
        pu = keepPhaseInRange(pu + d * iu);
    }
    phase = {pm, pl, pu};
    return im;
}

using KeyPlayer = float (*)(const VoiceChunk&, const float*, float, VoicePhase&, Increments,
                            Increments);

KeyPlayer drawnKeyPlayer(bool chorus, bool jitter) {
    if (chorus) return jitter ? playDrawnKey<true, true> : playDrawnKey<true, false>;
    return jitter ? playDrawnKey<false, true> : playDrawnKey<false, false>;
}

// Pitch value P to the quartic phase factor d: P = 1 doubles the frequency, 0 halves it.
void pitchToQuartic(float* pitch, int frames) {
    for (int i = 0; i < frames; ++i) {
        const float p = pitch[i];
        const float e = (p - 0.5f) * 2;
        float d = e * e * e * e;
        if (p < 0.5f) d *= -0.5f;
        pitch[i] = d;
    }
}

// Oscillator stage of one row: every audible chord key into the scratch buffer.
float renderDrawnRow(AppState& app, const VoiceChunk& chunk, const NoteCell& cell,
                     NoteHandOver& handOver) {
    const Song& song = app.song;
    const int instrument = chunk.instrument;
    const float* wave = song.playbackWaveform[chunk.slot];
    const ChordKey* keys = song.Chorus[instrument].keys;
    const float c2 = chunk.chorus * chunk.chorus;
    const KeyPlayer play =
        drawnKeyPlayer(chunk.chorus > kChorusOn, chunk.randomFreq > kRandomFreqOn);
    const bool continues = cell.nextRow != -1;
    float lastIncrement = 0.0f;
    for (int j = 0; j < chunk.keyCount; ++j) {
        const float level = keys[j].level;
        if (!(level > kAudibleLevel)) continue;
        const float inc =
            noteIncrement(app, instrument, j, cell.row) * chunk.octaveFactor * chunk.pitchFactor;
        const float target = continues ? noteIncrement(app, instrument, j, cell.nextRow) *
                                             chunk.octaveFactor * chunk.pitchFactor
                                       : inc;
        const float lowerFactor = 1 - 0.016f * c2, upperFactor = 1 + 0.014f * c2;
        VoicePhase phase =
            cell.position > 1 ? app.engine.voicePhases[instrument][cell.row][j] : VoicePhase{};
        lastIncrement = play(chunk, wave, level, phase, detune(inc, lowerFactor, upperFactor),
                             detune(target, lowerFactor, upperFactor));
        if (continues) {
            handOver.phases[cell.nextRow][j] = phase;
            handOver.phasesWritten[cell.nextRow][j] = true;
        }
    }
    return lastIncrement;
}

} // namespace

float noteIncrement(AppState& app, int instrument, int chordKey, int row) {
    const Song& song = app.song;
    instrument = clampInt(instrument, 0, kInstrumentCount - 1);
    const ChordKey& key = song.Chorus[instrument].keys[clampInt(chordKey, 0, kMaxChordKeys - 1)];
    const long long m = static_cast<long long>(truncToInt(key.semitoneOffset)) + row;
    float f = app.engine.noteFreqTable[wrapIndex(m + 96, kNoteRows)];
    if (m >= 24) f *= 4;
    if (m < 0) f *= 0.25f;
    if (m + 24 < 0) f *= 0.25f;
    const float randomPitch = knobValue(app, instrument, kKnobRandomPitch);
    if (randomPitch > 0.01f) f *= 1 + (nextUniform() - 0.5f) * randomPitch * 0.04f;
    const int rate = app.engine.streamRate > 0 ? app.engine.streamRate : kDefaultStreamRate;
    return 350 * f / (2.0f * rate);
}

void clearHandOver(NoteHandOver& handOver) {
    for (auto& row : handOver.phasesWritten) std::fill(std::begin(row), std::end(row), false);
    std::fill(std::begin(handOver.filterWritten), std::end(handOver.filterWritten), false);
}

void commitHandOver(AppState& app, int instrument, const NoteHandOver& handOver) {
    EngineState& engine = app.engine;
    for (int r = 0; r < kNoteRows; ++r) {
        for (int j = 0; j < kVoiceChordKeys; ++j)
            if (handOver.phasesWritten[r][j])
                engine.voicePhases[instrument][r][j] = handOver.phases[r][j];
        if (handOver.filterWritten[r]) engine.noteFilterState[instrument][r] = handOver.filter[r];
    }
}

bool beginVoiceChunk(AppState& app, int instrument, VoiceChunk& chunk) {
    EngineState& engine = app.engine;
    const Song& song = app.song;
    if (!inRange(instrument, kInstrumentCount)) return false;
    const int frames = engine.chunkFrames;
    float* ring = engine.instrumentRing[instrument].get();
    if (frames <= 0 || !ring || !engine.voiceScratch ||
        engine.ringSamples < 2 * kRingChunks * frames)
        return false;
    const int latency = engine.noteLatency;
    const int ringChunk =
        wrapIndex(static_cast<long long>(engine.chunkIndex) + latency, kRingChunks);
    chunk.ring = ring + 2 * static_cast<size_t>(frames) * ringChunk;
    std::fill(chunk.ring, chunk.ring + 2 * static_cast<size_t>(frames), 0.0f);

    const int bank = song.PatternIdx[instrument];
    chunk.instrument = instrument;
    chunk.slot = song.SoundIdx[instrument];
    chunk.keyCount = clampInt(song.Chorus[instrument].count, 0, kVoiceChordKeys);
    if (song.Mute[instrument] != 0 || !isPlayableBank(bank) ||
        !inRange(chunk.slot, kWaveformSlotCount) ||
        !hasAudibleKey(song.Chorus[instrument], chunk.keyCount))
        return false;

    chunk.frames = frames;
    chunk.step =
        wrapIndex(static_cast<long long>(engine.stepCounter[instrument]) + latency, kStepsPerBank);
    chunk.absoluteStep = kStepsPerBank * bank + chunk.step;
    chunk.octaveFactor = octaveFactorOf(song.Oct[instrument]);
    chunk.pitchFactor = 1 + (knobValue(app, instrument, kKnobPitch) - 0.5f) * 0.05f;
    chunk.chorus = knobValue(app, instrument, kKnobChorus);
    chunk.randomFreq = knobValue(app, instrument, kKnobRandomFreq);
    chunk.slideStart =
        truncClamped((1 - knobValue(app, instrument, kKnobSlide)) * frames, 0, frames);
    float* scratch = engine.voiceScratch.get();
    chunk.scratch = scratch;
    chunk.pitchCurve = scratch + 2 * static_cast<size_t>(frames);
    chunk.slideWeight = scratch + 3 * static_cast<size_t>(frames);
    const float slideFrames = static_cast<float>(frames - chunk.slideStart);
    for (int i = chunk.slideStart + 1; i < frames; ++i)
        chunk.slideWeight[i] = static_cast<float>(i - chunk.slideStart) / slideFrames;
    return true;
}

bool readNoteCell(const AppState& app, const VoiceChunk& chunk, int row, NoteCell& cell) {
    const NoteGrid& grid = app.song.noteGrid[chunk.instrument];
    const int position = grid.notePosition[chunk.absoluteStep][row];
    if (position < 1) return false;
    const int next = grid.nextRow[chunk.absoluteStep][row];
    cell = {row, position, inRange(next, kNoteRows) ? next : -1,
            grid.noteLength[chunk.absoluteStep][row]};
    return true;
}

void tracePitchCurve(const AppState& app, const VoiceChunk& chunk, const NoteCell& cell) {
    const int k = cell.position - 1;
    EnvelopeReading reading = evaluateEnvelope(app, chunk.instrument, k, 0, cell.length, true);
    float value = reading.value[kEnvelopePitch];
    float slope = reading.slope[kEnvelopePitch];
    for (int i = 0; i < chunk.frames; ++i) {
        chunk.pitchCurve[i] = value;
        value += slope;
        if (i == reading.nextEvaluation) {
            reading = evaluateEnvelope(app, chunk.instrument, k, i, cell.length, true);
            value = reading.value[kEnvelopePitch];
            slope = reading.slope[kEnvelopePitch];
        }
    }
}

double fadeStartOf(const AppState& app, const VoiceChunk& chunk, const NoteCell& cell) {
    const bool lastOfNote = cell.position == cell.length;
    const bool lastOfMeasure = chunk.step == measureSteps(app, chunk.instrument) - 1;
    return lastOfNote || lastOfMeasure ? 0.99 * chunk.frames : chunk.frames;
}

void applyNoteAmplitude(AppState& app, const VoiceChunk& chunk, const NoteCell& cell,
                        float increment, NoteHandOver& handOver) {
    const Song& song = app.song;
    const int instrument = chunk.instrument;
    const int frames = chunk.frames;
    const int k = cell.position - 1;

    // Pan and velocity of the note's first step.
    const int first =
        wrapIndex(static_cast<long long>(chunk.absoluteStep) - k + kGridSteps, kGridSteps);
    const float pan = song.Pan[instrument][first], velocity = song.Vel[instrument][first];
    const float leftGain = (pan > 0.5f ? 1.0f : 2 * pan) * velocity;
    const float rightGain = (pan > 0.5f ? 2 * (1 - pan) : 1.0f) * velocity;

    EnvelopeReading env = evaluateEnvelope(app, instrument, k, 0, cell.length, false);
    NoteFilterState state{};
    float attack = 0.0f; // no ramp once the note is under way
    if (k > 0) {
        state = app.engine.noteFilterState[instrument][cell.row];
    } else {
        const float u = nextUniform();
        const int g = chunk.absoluteStep % 2 == 0 ? 23 - cell.row : cell.row;
        attack = kBaseAttack + u * u * frames * knobValue(app, instrument, kKnobRandomAttack) +
                 knobValue(app, instrument, kKnobShiftAttack) * frames * g / 24;
        attack = std::min(attack, static_cast<float>(frames));
    }
    const double fadeStart = fadeStartOf(app, chunk, cell);
    const double fadeLength = 0.01 * frames;

    float amp = env.value[kEnvelopeAmplitude], cutoff = env.value[kEnvelopeCutoff],
          ratio = env.value[kEnvelopeRatio];
    float ampSlope = env.slope[kEnvelopeAmplitude], cutoffSlope = env.slope[kEnvelopeCutoff],
          ratioSlope = env.slope[kEnvelopeRatio];
    float lowL = state.lowLeft, bandL = state.bandLeft;
    float lowR = state.lowRight, bandR = state.bandRight;
    const float* in = chunk.scratch;
    float* out = chunk.ring;
    for (int i = 0; i < frames; ++i) {
        const float hiGain = std::min(1.0f, 2 * ratio);
        const float loGain = std::min(1.0f, 2 * (1 - ratio));
        // Kept at 0 or above: a negative coefficient (a damaged cutoff curve or file rate)
        // would make the filter run away.
        const float w = std::max(0.0f, std::min(1.0f, cutoff * increment * 0.25f));
        const float xL = amp * in[2 * i] * leftGain;
        bandL = w * (xL - lowL) + (1 - w) * bandL;
        lowL = lowL + w * bandL;
        float yL = hiGain * (xL - lowL) + loGain * lowL;
        const float xR = amp * in[2 * i + 1] * rightGain;
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
            env = evaluateEnvelope(app, instrument, k, i, cell.length, false);
            amp = env.value[kEnvelopeAmplitude];
            cutoff = env.value[kEnvelopeCutoff];
            ratio = env.value[kEnvelopeRatio];
            ampSlope = env.slope[kEnvelopeAmplitude];
            cutoffSlope = env.slope[kEnvelopeCutoff];
            ratioSlope = env.slope[kEnvelopeRatio];
        }
    }
    if (cell.nextRow != -1) {
        handOver.filter[cell.nextRow] = {lowL, bandL, lowR, bandR};
        handOver.filterWritten[cell.nextRow] = true;
    }
}

void renderInstrumentChunk(AppState& app, int instrument) {
    if (!inRange(instrument, kInstrumentCount)) return;
    const int slot = app.song.SoundIdx[instrument];
    if (inRange(slot, kWaveformSlotCount) && app.song.SoundType[slot] == 1) {
        renderSampledChunk(app, instrument);
        return;
    }
    VoiceChunk chunk;
    if (!beginVoiceChunk(app, instrument, chunk)) return;
    NoteHandOver handOver;
    clearHandOver(handOver);
    for (int row = 0; row < kNoteRows; ++row) {
        NoteCell cell;
        if (!readNoteCell(app, chunk, row, cell)) continue;
        std::fill(chunk.scratch, chunk.scratch + 2 * static_cast<size_t>(chunk.frames), 0.0f);
        tracePitchCurve(app, chunk, cell);
        pitchToQuartic(chunk.pitchCurve, chunk.frames);
        const float increment = renderDrawnRow(app, chunk, cell, handOver);
        applyNoteAmplitude(app, chunk, cell, increment, handOver);
    }
    commitHandOver(app, instrument, handOver);
}
