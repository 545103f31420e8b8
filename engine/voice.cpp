// Drawn-waveform voice: chord keys, chorus, slides and the pitch curve, and the per-step setup
// it shares with the sound-file voice.
#include "engine/voice.h"

#include "base/safe_convert.h"
#include "engine/envelope.h"
#include "engine/sequencer.h"
#include "model/random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kWaveLength = kWaveformSamples;
constexpr float kAudibleLevel = 0.01f;  // chord keys at or below are silent
constexpr float kChorusOn = 0.001f;     // CHORUS above this plays three oscillators per key
constexpr float kRandomFreqOn = 0.001f; // RDMFREQ above this jitters the phases
constexpr float kPitchAtRest = 0.5f;    // pitch-curve value that leaves the frequency alone

float knobValue(const Song& song, int instrument, int knob) {
    return song.Effect[instrument][knob].value;
}

float octaveFactorOf(int oct) {
    static constexpr float kFactors[4] = {0.5f, 1.0f, 2.0f, 4.0f};
    return kFactors[clampInt(oct, 0, 3)]; // an octave outside 0..3 plays the nearest one
}

// True when the pitch curve of the bank holds 0.5 at every point and the bank sustains (looped
// or stretched): every evaluation then gives 0.5 with slope 0, so the pitch stays put.
bool pitchCurveRests(const Song& song, int envIdx) {
    const int bank = clampInt(envIdx, 0, kEnvelopeBankCount - 1);
    const int mode = song.EnvelopeParams[bank].envelopeMode;
    if (mode != 0 && mode != 1) return false;
    for (float p : song.Pitch[bank])
        if (p != kPitchAtRest) return false;
    return true;
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

// The playback waveform widened to double once per call: the products of W are taken in double
// anyway, so the widened copy gives the same values without a conversion per read.
struct WideWave {
    double sample[kWaveformSamples + 1];
};

void widen(const float* wave, WideWave& wide) {
    for (int i = 0; i <= kWaveformSamples; ++i) wide.sample[i] = wave[i];
}

// Increments of the main, lower and upper oscillators.
struct Increments {
    float main, lower, upper;
};

Increments detune(float inc, float lowerFactor, float upperFactor) {
    return {inc, inc * lowerFactor, inc * upperFactor};
}

// One chord key of a row over the chunk with random frequency, which draws numbers for every
// frame, added into the row's output; returns the main increment reached at its end.
template <bool kChorus>
float playDrawnKey(const VoiceChunk& chunk, const float* wave, float level, VoicePhase& phase,
                   Increments start, Increments target, float* out) {
    double pm = phase.main, pl = phase.lower, pu = phase.upper;
    float im = start.main, il = start.lower, iu = start.upper;
    const int frames = chunk.frames;
    const int slideStart = chunk.slideStart;
    const float randomFreq = chunk.randomFreq;
    const float* pitch = chunk.pitchCurve; // quartic factor d per frame
    const float* slide = chunk.slideWeight;
    for (int i = 0; i < frames; ++i) {
        float sample;
        if constexpr (kChorus)
            sample = static_cast<float>(
                level * (readWave(wave, pu) + readWave(wave, pl) + readWave(wave, pm)) / 3);
        else
            sample = static_cast<float>(level * readWave(wave, pm));
        out[i] += sample;
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
        pm += (nextUniform() - 0.5f) * im * randomFreq;
        if constexpr (kChorus) {
            pl += (nextUniform() - 0.5f) * im * randomFreq;
            pu += (nextUniform() - 0.5f) * im * randomFreq;
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
                            Increments, float*);

KeyPlayer drawnKeyPlayer(bool chorus) {
    return chorus ? playDrawnKey<true> : playDrawnKey<false>;
}

// Pitch value P to the quartic phase factor d: P = 1 doubles the frequency, 0 halves it.
struct PitchBend {
    bool bends;   // d is not 0 at some frame (0 leaves every phase exactly as it is)
    bool bounded; // d lies in -0.5..1 at every frame, as it does for P in 0..1
};

PitchBend pitchToQuartic(float* pitch, int frames) {
    PitchBend bend{false, true};
    for (int i = 0; i < frames; ++i) {
        const float p = pitch[i];
        const float e = (p - 0.5f) * 2;
        float d = e * e * e * e;
        if (p < 0.5f) d *= -0.5f;
        pitch[i] = d;
        bend.bends |= d != 0.0f;
        bend.bounded &= d >= -0.5f && d <= 1.0f;
    }
    return bend;
}

// Pairs of doubles, floats and ints: the oscillators run two at a time. Each lane performs
// exactly the scalar operations of the key-by-key pass.
using Double2 = double __attribute__((vector_size(16)));
using Float2 = float __attribute__((vector_size(8)));
using Int2 = int __attribute__((vector_size(8)));

constexpr int kMaxBankKeys = kVoiceChordKeys * kNoteRows;
constexpr int kMaxOscillators = 3 * kMaxBankKeys;

// The oscillators of the audible chord keys of one or more rows, laid out for the paired loop.
struct OscillatorBank {
    // Per oscillator, rows in order and keys in order within a row. With chorus or pitch bend
    // every key has three: main, lower, upper; otherwise only its main oscillator runs. Padded
    // to an even count.
    alignas(16) double phase[kMaxOscillators];
    alignas(16) double inc[kMaxOscillators];   // increments in force (floats, widened)
    alignas(16) float start[kMaxOscillators];  // increments at the start of the step
    alignas(16) float target[kMaxOscillators]; // increments the slide arrives at
    alignas(16) double runs[kMaxOscillators];  // 1 advances by its increment, 0 only bends
    alignas(16) double value[kMaxOscillators]; // W of the oscillator this frame
    float level[kMaxBankKeys];
    int key[kMaxBankKeys];    // chord key index
    int rowEnd[kNoteRows];    // one past the row's last key
    float* rowOut[kNoteRows]; // frames: the row's oscillator output
    int keys;                 // audible chord keys of all rows
    int rows;
    int perKey;      // oscillators per key, 1 or 3
    int oscillators; // keys * perKey rounded up to even
};

// How the bank advances its phases.
enum class PhaseWrap {
    Forward, // every phase moves forward by less than 350: one subtraction keeps it in range
    Bend,    // the bent chorus phases of a key without chorus may move backward by < 350
    General, // any other values (a damaged song): the full wrap lane by lane
};

template <PhaseWrap kWrap> inline Double2 wrapPair(Double2 p) {
    const Double2 length = {kWaveLength, kWaveLength};
    if constexpr (kWrap == PhaseWrap::Forward) {
        return p >= length ? p - length : p;
    } else if constexpr (kWrap == PhaseWrap::Bend) {
        // keepPhaseInRange for phases in -350..700.
        const Double2 zero = {0.0, 0.0};
        p = p >= length ? p - length : p;
        p = p < zero ? p + length : p;
        return p >= length ? zero : p;
    } else {
        return Double2{keepPhaseInRange(p[0]), keepPhaseInRange(p[1])};
    }
}

// W of every oscillator at its phase (phases in 0..350).
inline void readBank(OscillatorBank& bank, const double* wave) {
    for (int n = 0; n < bank.oscillators; n += 2) {
        const Double2 p = *reinterpret_cast<const Double2*>(bank.phase + n);
        const Int2 m = __builtin_convertvector(p, Int2);
        const Double2 f = p - __builtin_convertvector(m, Double2);
        const Double2 a = {wave[m[0]], wave[m[1]]};
        const Double2 b = {wave[m[0] + 1], wave[m[1] + 1]};
        *reinterpret_cast<Double2*>(bank.value + n) = a * (1.0 - f) + b * f;
    }
}

// Frames from..to-1 of the bank. Each frame sums every row's keys in key order and advances
// every phase as the key-by-key pass does; only the independent oscillators overlap.
template <bool kChorus, bool kBend, bool kSliding, PhaseWrap kWrap>
void playBank(const VoiceChunk& chunk, const double* wave, OscillatorBank& bank, int from, int to) {
    const float* pitch = chunk.pitchCurve;
    const float* slide = chunk.slideWeight;
    for (int i = from; i < to; ++i) {
        readBank(bank, wave);
        int j = 0;
        for (int r = 0; r < bank.rows; ++r) {
            float sum = 0.0f;
            for (; j < bank.rowEnd[r]; ++j) {
                const double* v = bank.value + j * bank.perKey;
                if constexpr (kChorus)
                    sum += static_cast<float>(bank.level[j] * (v[2] + v[1] + v[0]) / 3);
                else
                    sum += static_cast<float>(bank.level[j] * v[0]);
            }
            bank.rowOut[r][i] = sum;
        }
        const float d = pitch[i];
        const float q = kSliding ? slide[i] : 0.0f;
        for (int n = 0; n < bank.oscillators; n += 2) {
            Double2& inc = *reinterpret_cast<Double2*>(bank.inc + n);
            if constexpr (kSliding) {
                const Float2 t = {bank.target[n], bank.target[n + 1]};
                const Float2 s = {bank.start[n], bank.start[n + 1]};
                inc = __builtin_convertvector(q * t + (1 - q) * s, Double2);
            }
            Double2& p = *reinterpret_cast<Double2*>(bank.phase + n);
            if constexpr (kChorus)
                p += inc;
            else
                p += inc * *reinterpret_cast<const Double2*>(bank.runs + n);
            if constexpr (kBend)
                p += __builtin_convertvector(d * __builtin_convertvector(inc, Float2), Double2);
            p = wrapPair<kWrap>(p);
        }
    }
}

template <bool kChorus, bool kBend, PhaseWrap kWrap>
void playBankOverChunk(const VoiceChunk& chunk, const double* wave, OscillatorBank& bank) {
    const int steady = std::min(chunk.slideStart + 1, chunk.frames);
    playBank<kChorus, kBend, false, kWrap>(chunk, wave, bank, 0, steady);
    playBank<kChorus, kBend, true, kWrap>(chunk, wave, bank, steady, chunk.frames);
}

using BankPlayer = void (*)(const VoiceChunk&, const double*, OscillatorBank&);

template <PhaseWrap kWrap> BankPlayer bankPlayerFor(bool chorus, bool bend) {
    if (chorus)
        return bend ? playBankOverChunk<true, true, kWrap> : playBankOverChunk<true, false, kWrap>;
    return bend ? playBankOverChunk<false, true, kWrap> : playBankOverChunk<false, false, kWrap>;
}

bool isForwardIncrement(float inc) {
    return inc >= 0.0f && inc < kWaveLength / 2;
}

// Forward when every phase starts in 0..350, every increment at either end of the slide (and
// so every value between) lies in 0..175 and the bend factor d in -0.5..1: a frame then moves a
// phase forward by inc + d * inc, at least inc / 2 and under 350. Below 175 strictly, so that a
// phase just under 350 plus the largest advance stays under 700.
PhaseWrap phaseWrapOf(const OscillatorBank& bank, bool chorus, PitchBend bend) {
    if (!bend.bounded) return PhaseWrap::General;
    for (int n = 0; n < bank.oscillators; ++n)
        if (!isForwardIncrement(bank.start[n]) || !isForwardIncrement(bank.target[n]) ||
            !(bank.phase[n] >= 0.0 && bank.phase[n] < kWaveLength))
            return PhaseWrap::General;
    return bend.bends && !chorus ? PhaseWrap::Bend : PhaseWrap::Forward;
}

BankPlayer bankPlayer(PhaseWrap wrap, bool chorus, bool bend) {
    switch (wrap) {
    case PhaseWrap::Forward:
        return bankPlayerFor<PhaseWrap::Forward>(chorus, bend);
    case PhaseWrap::Bend:
        return bankPlayerFor<PhaseWrap::Bend>(chorus, bend);
    default:
        return bankPlayerFor<PhaseWrap::General>(chorus, bend);
    }
}

// Adds a key's oscillators to the bank.
void addToBank(OscillatorBank& bank, int key, float level, const VoicePhase& phase,
               Increments start, Increments goal) {
    const int j = bank.keys++;
    bank.key[j] = key;
    bank.level[j] = level;
    const double phases[3] = {phase.main, phase.lower, phase.upper};
    const float starts[3] = {start.main, start.lower, start.upper};
    const float goals[3] = {goal.main, goal.lower, goal.upper};
    for (int o = 0; o < bank.perKey; ++o) {
        const int n = j * bank.perKey + o;
        bank.phase[n] = phases[o];
        bank.inc[n] = starts[o];
        bank.start[n] = starts[o];
        bank.target[n] = goals[o];
        bank.runs[n] = o == 0 ? 1.0 : 0.0;
    }
}

// Pads the bank to an even count with a still oscillator that nothing reads.
void closeBank(OscillatorBank& bank) {
    bank.oscillators = bank.keys * bank.perKey;
    if (bank.oscillators % 2 == 0) return;
    const int n = bank.oscillators++;
    bank.phase[n] = 0.0;
    bank.inc[n] = 0.0;
    bank.start[n] = bank.target[n] = 0.0f;
    bank.runs[n] = 0.0;
}

// The phases a running note left for this row (a note that played a sound file until now hands
// on file positions, brought back into the table here).
VoicePhase heldPhase(const EngineState& engine, int instrument, const NoteCell& cell, int key) {
    if (cell.position <= 1) return VoicePhase{};
    const VoicePhase& held = engine.voicePhases[instrument][cell.row][key];
    return {keepPhaseInRange(held.main), keepPhaseInRange(held.lower),
            keepPhaseInRange(held.upper)};
}

// Start and target increments of chord key j on a cell: the main one and its chorus detune.
struct KeyIncrements {
    Increments start, goal;
};

KeyIncrements keyIncrements(const Song& song, const EngineState& engine, const VoiceChunk& chunk,
                            const NoteCell& cell, int j) {
    const float c2 = chunk.chorus * chunk.chorus;
    const float lowerFactor = 1 - 0.016f * c2, upperFactor = 1 + 0.014f * c2;
    const int instrument = chunk.instrument;
    const float inc = noteIncrement(song, engine, instrument, j, cell.row) * chunk.octaveFactor *
                      chunk.pitchFactor;
    const float target = cell.nextRow != -1
                             ? noteIncrement(song, engine, instrument, j, cell.nextRow) *
                                   chunk.octaveFactor * chunk.pitchFactor
                             : inc;
    return {detune(inc, lowerFactor, upperFactor), detune(target, lowerFactor, upperFactor)};
}

// Oscillator stage of one row with random frequency: key after key, as the draws must come,
// into the row's output. Returns the main increment the last key reached.
float playJitteredRow(const Song& song, const EngineState& engine, const VoiceChunk& chunk,
                      const NoteCell& cell, float* out, NoteHandOver& handOver) {
    const ChordKey* chord = song.Chorus[chunk.instrument].keys;
    const KeyPlayer play = drawnKeyPlayer(chunk.chorus > kChorusOn);
    std::fill(out, out + chunk.frames, 0.0f);
    float lastIncrement = 0.0f;
    for (int j = 0; j < chunk.keyCount; ++j) {
        const float level = chord[j].level;
        if (!(level > kAudibleLevel)) continue;
        const KeyIncrements incs = keyIncrements(song, engine, chunk, cell, j);
        VoicePhase phase = heldPhase(engine, chunk.instrument, cell, j);
        lastIncrement = play(chunk, engine.playbackWaveforms.wave[chunk.slot], level, phase,
                             incs.start, incs.goal, out);
        if (cell.nextRow != -1) {
            handOver.phases[cell.nextRow][j] = phase;
            handOver.phasesWritten[cell.nextRow][j] = true;
        }
    }
    return lastIncrement;
}

// Oscillator stage of the given rows, their keys side by side in one bank: out[n] receives row
// n's output and lastIncrement[n] the main increment its last key reached. No number may be
// drawn inside the frame loop; the increments are drawn first, row by row and key by key, as a
// row-by-row pass draws them.
void playRows(const Song& song, const EngineState& engine, const VoiceChunk& chunk,
              const NoteCell* cells, int count, float* const* out, const WideWave& wide,
              PitchBend bend, float* lastIncrement, NoteHandOver& handOver) {
    const ChordKey* chord = song.Chorus[chunk.instrument].keys;
    const bool chorus = chunk.chorus > kChorusOn;
    OscillatorBank bank;
    bank.keys = 0;
    bank.rows = count;
    bank.perKey = chorus || bend.bends ? 3 : 1;
    for (int n = 0; n < count; ++n) {
        const NoteCell& cell = cells[n];
        for (int j = 0; j < chunk.keyCount; ++j) {
            const float level = chord[j].level;
            if (!(level > kAudibleLevel)) continue;
            const KeyIncrements incs = keyIncrements(song, engine, chunk, cell, j);
            const VoicePhase phase = heldPhase(engine, chunk.instrument, cell, j);
            addToBank(bank, j, level, phase, incs.start, incs.goal);
            // Chorus phases the bank leaves alone are handed on as they came.
            if (cell.nextRow != -1) handOver.phases[cell.nextRow][j] = phase;
        }
        bank.rowEnd[n] = bank.keys;
        bank.rowOut[n] = out[n];
    }
    closeBank(bank);
    bankPlayer(phaseWrapOf(bank, chorus, bend), chorus, bend.bends)(chunk, wide.sample, bank);

    int j = 0;
    for (int n = 0; n < count; ++n) {
        const NoteCell& cell = cells[n];
        for (; j < bank.rowEnd[n]; ++j) {
            const double* p = bank.phase + j * bank.perKey;
            if (cell.nextRow != -1) {
                VoicePhase& next = handOver.phases[cell.nextRow][bank.key[j]];
                next.main = p[0];
                if (bank.perKey == 3) next = {p[0], p[1], p[2]};
                handOver.phasesWritten[cell.nextRow][bank.key[j]] = true;
            }
            lastIncrement[n] = static_cast<float>(bank.inc[j * bank.perKey]);
        }
    }
}

} // namespace

float noteIncrement(const Song& song, const EngineState& engine, int instrument, int chordKey,
                    int row) {
    instrument = clampInt(instrument, 0, kInstrumentCount - 1);
    const ChordKey& key = song.Chorus[instrument].keys[clampInt(chordKey, 0, kMaxChordKeys - 1)];
    const long long m = static_cast<long long>(truncToInt(key.semitoneOffset)) + row;
    float f = engine.noteFreqTable[wrapIndex(m + 96, kNoteRows)];
    if (m >= 24) f *= 4;
    if (m < 0) f *= 0.25f;
    if (m + 24 < 0) f *= 0.25f;
    const float randomPitch = knobValue(song, instrument, kKnobRandomPitch);
    if (randomPitch > 0.01f) f *= 1 + (nextUniform() - 0.5f) * randomPitch * 0.04f;
    const int rate = engine.streamRate > 0 ? engine.streamRate : kDefaultStreamRate;
    return 350 * f / (2.0f * rate);
}

void clearHandOver(NoteHandOver& handOver) {
    for (auto& row : handOver.phasesWritten) std::fill(std::begin(row), std::end(row), false);
    std::fill(std::begin(handOver.filterWritten), std::end(handOver.filterWritten), false);
}

void commitHandOver(EngineState& engine, int instrument, const NoteHandOver& handOver) {
    for (int r = 0; r < kNoteRows; ++r) {
        for (int j = 0; j < kVoiceChordKeys; ++j)
            if (handOver.phasesWritten[r][j])
                engine.voicePhases[instrument][r][j] = handOver.phases[r][j];
        if (handOver.filterWritten[r]) engine.noteFilterState[instrument][r] = handOver.filter[r];
    }
}

bool beginVoiceChunk(const Song& song, EngineState& engine, int instrument, VoiceChunk& chunk) {
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
    engine.soundingRows[instrument] = 0;

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
    chunk.pitchFactor = 1 + (knobValue(song, instrument, kKnobPitch) - 0.5f) * 0.05f;
    chunk.chorus = knobValue(song, instrument, kKnobChorus);
    chunk.randomFreq = knobValue(song, instrument, kKnobRandomFreq);
    chunk.pitchRests = pitchCurveRests(song, song.EnvIdx[instrument]);
    chunk.startsNotes = engine.startsNotes != 0;
    chunk.slideStart =
        truncClamped((1 - knobValue(song, instrument, kKnobSlide)) * frames, 0, frames);
    float* scratch = engine.voiceScratch.get();
    chunk.scratch = scratch;
    chunk.pitchCurve = scratch + 2 * static_cast<size_t>(frames);
    chunk.slideWeight = scratch + 3 * static_cast<size_t>(frames);
    chunk.rowScratch = scratch + 4 * static_cast<size_t>(frames);
    const float slideFrames = static_cast<float>(frames - chunk.slideStart);
    for (int i = chunk.slideStart + 1; i < frames; ++i)
        chunk.slideWeight[i] = static_cast<float>(i - chunk.slideStart) / slideFrames;
    return true;
}

bool readNoteCell(const Song& song, const VoiceChunk& chunk, int row, NoteCell& cell) {
    const NoteGrid& grid = song.noteGrid[chunk.instrument];
    const int position = grid.notePosition[chunk.absoluteStep][row];
    if (position < 1 || (position == 1 && !chunk.startsNotes)) return false;
    const int next = grid.nextRow[chunk.absoluteStep][row];
    cell = {row, position, inRange(next, kNoteRows) ? next : -1,
            grid.noteLength[chunk.absoluteStep][row]};
    return true;
}

void tracePitchCurve(const Song& song, const VoiceChunk& chunk, const NoteCell& cell) {
    if (chunk.pitchRests) {
        std::fill(chunk.pitchCurve, chunk.pitchCurve + chunk.frames, kPitchAtRest);
        return;
    }
    const int k = cell.position - 1;
    EnvelopeReading reading =
        evaluateEnvelope(song, chunk.frames, chunk.instrument, k, 0, cell.length, true);
    float value = reading.value[kEnvelopePitch];
    float slope = reading.slope[kEnvelopePitch];
    for (int i = 0; i < chunk.frames; ++i) {
        chunk.pitchCurve[i] = value;
        value += slope;
        if (i == reading.nextEvaluation) {
            reading =
                evaluateEnvelope(song, chunk.frames, chunk.instrument, k, i, cell.length, true);
            value = reading.value[kEnvelopePitch];
            slope = reading.slope[kEnvelopePitch];
        }
    }
}

double fadeStartOf(const Song& song, const VoiceChunk& chunk, const NoteCell& cell) {
    const bool lastOfNote = cell.position == cell.length;
    const bool lastOfMeasure = chunk.step == measureSteps(song, chunk.instrument) - 1;
    return lastOfNote || lastOfMeasure ? 0.99 * chunk.frames : chunk.frames;
}

void renderInstrumentChunk(const Song& song, EngineState& engine, int instrument) {
    if (!inRange(instrument, kInstrumentCount)) return;
    const int slot = song.SoundIdx[instrument];
    if (inRange(slot, kWaveformSlotCount) && song.SoundType[slot] == 1) {
        renderSampledChunk(song, engine, instrument);
        return;
    }
    VoiceChunk chunk;
    if (!beginVoiceChunk(song, engine, instrument, chunk)) return;
    NoteHandOver handOver;
    clearHandOver(handOver);
    WideWave wide;
    widen(engine.playbackWaveforms.wave[chunk.slot], wide);
    NoteCell cells[kNoteRows];
    int count = 0;
    for (int row = 0; row < kNoteRows; ++row)
        if (readNoteCell(song, chunk, row, cells[count])) ++count;
    engine.soundingRows[instrument] = count;
    float* rowOut[kNoteRows];
    for (int n = 0; n < kNoteRows; ++n)
        rowOut[n] = chunk.rowScratch + static_cast<size_t>(n) * chunk.frames;
    float lastIncrement[kNoteRows] = {};

    const bool jitter = chunk.randomFreq > kRandomFreqOn;
    const bool randomPitch = knobValue(song, instrument, kKnobRandomPitch) > 0.01f;
    if (!jitter && !randomPitch && chunk.pitchRests) {
        // Nothing is drawn before the attacks and no row bends: all rows' oscillators run
        // together, then each row's amplitude stage draws its attack in row order.
        playRows(song, engine, chunk, cells, count, rowOut, wide, PitchBend{false, true},
                 lastIncrement, handOver);
        applyNoteAmplitudes(song, engine, chunk, cells, count, lastIncrement, rowOut, handOver);
    } else {
        for (int n = 0; n < count; ++n) {
            const NoteCell& cell = cells[n];
            tracePitchCurve(song, chunk, cell);
            const PitchBend bend = pitchToQuartic(chunk.pitchCurve, chunk.frames);
            if (jitter)
                lastIncrement[0] = playJitteredRow(song, engine, chunk, cell, rowOut[0], handOver);
            else
                playRows(song, engine, chunk, &cell, 1, rowOut, wide, bend, lastIncrement,
                         handOver);
            applyNoteAmplitude(song, engine, chunk, cell, lastIncrement[0], rowOut[0], rowOut[0], 1,
                               handOver);
        }
    }
    commitHandOver(engine, instrument, handOver);
}
