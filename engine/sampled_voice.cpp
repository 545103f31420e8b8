// Sound-file voice: plays a slot's imported samples with loop points, direction and noise.
#include "base/safe_convert.h"
#include "engine/voice.h"
#include "model/random.h"

#include <algorithm>

namespace {

constexpr float kAudibleLevel = 0.01f;
constexpr float kChorusOn = 0.001f;
constexpr float kRandomFreqOn = 0.001f;
constexpr float kNoiseOn = 0.01f;
constexpr int kLoopScanSamples = 1000; // how far a loop point looks for a silent sample
// A file at its own speed on row 12 (261.63 Hz) at Oct 1: 2 * 22050 / (350 * 261.63).
constexpr double kFileSpeed = 0.48159614756215763;
constexpr int kMarkerScale = 350; // loop markers run 0..350 across sixteen steps

// The samples of a sound file as the reads may see them: count kept within the buffer.
struct FileView {
    const float* data;
    int count;    // floats readable, 0..kMaxFileSamples
    int channels; // 1, or 2 for interleaved stereo
};

FileView viewOf(const Song& song, int slot) {
    const FileSamples& vals = song.SoundFileVals[slot];
    FileView view{vals.fileSamples.get(), 0, song.SoundFileParams[slot].fileChannels == 2 ? 2 : 1};
    if (view.data) view.count = clampInt(vals.fileSampleCount, 0, kMaxFileSamples);
    return view;
}

// Interpolated read of one channel at a phase in frames. Reads at or beyond count - 3, below 0,
// or at a phase that is not a number give silence, so no read leaves the data.
inline float readFile(const FileView& view, double phase, int channel) {
    if (!(phase >= 0.0 && phase < kMaxFileSamples)) return 0.0f;
    const int m = static_cast<int>(phase);
    const int index = m * view.channels;
    if (index >= view.count - 3) return 0.0f;
    const double f = phase - m;
    return static_cast<float>(view.data[index + channel] * (1.0 - f) +
                              view.data[index + view.channels + channel] * f);
}

// First frame at or after `from`, within the scan length, whose first-channel sample is exactly
// 0; -1 when there is none inside the data.
long long findSilentFrame(const FileView& view, long long from) {
    for (long long frame = from; frame < from + kLoopScanSamples; ++frame) {
        if (frame < 0) continue;
        const long long index = frame * view.channels;
        if (index >= view.count) break;
        if (view.data[index] == 0.0f) return frame;
    }
    return -1;
}

struct LoopPoints {
    double start, end; // frames of the file
};

// Loop markers scaled from their 0..350 scale (sixteen steps of the file), each moved onto the
// next silent sample within the scan length.
LoopPoints loopPointsOf(const Song& song, const EngineState& engine, int slot,
                        const FileView& view) {
    const int rate = engine.streamRate > 0 ? engine.streamRate : kDefaultStreamRate;
    const double scale =
        truncToInt(16.0 * engine.chunkFrames * song.SoundFileParams[slot].fileSampleRate /
                   (static_cast<double>(kMarkerScale) * rate));
    LoopPoints loop{song.SoundFileLoop[slot].loopStart * scale,
                    song.SoundFileLoop[slot].loopEnd * scale};
    const long long silentStart = findSilentFrame(view, truncToInt(loop.start));
    if (silentStart >= 0) loop.start = static_cast<double>(silentStart);
    const long long silentEnd = findSilentFrame(view, truncToInt(loop.end));
    if (silentEnd >= 0) loop.end = static_cast<double>(silentEnd + 1);
    return loop;
}

struct Increments {
    float main, lower, upper;
};

// Everything one row's chord keys share.
struct FileKeyContext {
    const VoiceChunk* chunk;
    FileView view;
    LoopPoints loop;
    float noise; // NOISE knob of the slot, 0 when off
    bool chorus; // three oscillators per key
    bool jitter; // random frequency on
};

// A phase moving forward that left the loop goes to its start, one moving backward to its end.
inline double keepInLoop(double phase, float advance, const LoopPoints& loop) {
    if (phase >= loop.start && phase <= loop.end) return phase;
    if (advance > 0) return loop.start;
    if (advance < 0) return loop.end;
    return phase;
}

// One oscillator sum of the file channel at the three phases.
inline float keySample(const FileKeyContext& ctx, const VoicePhase& p, float level, int channel) {
    if (ctx.chorus)
        return static_cast<float>(level *
                                  (static_cast<double>(readFile(ctx.view, p.upper, channel)) +
                                   readFile(ctx.view, p.lower, channel) +
                                   readFile(ctx.view, p.main, channel)) /
                                  3);
    return level * readFile(ctx.view, p.main, channel);
}

// One chord key of a row over the chunk; returns the main increment reached at its end.
float playFileKey(const FileKeyContext& ctx, float level, VoicePhase& phase, Increments start,
                  Increments target) {
    const VoiceChunk& chunk = *ctx.chunk;
    const float randomFreq = 2 * chunk.randomFreq;
    const bool stereo = ctx.view.channels == 2;
    Increments inc = start;
    float* out = chunk.scratch;
    for (int i = 0; i < chunk.frames; ++i) {
        if (stereo) {
            // The file's first channel feeds the right output, its second the left.
            out[2 * i + 1] += keySample(ctx, phase, level, 0);
            out[2 * i] += keySample(ctx, phase, level, 1);
        } else {
            const float sample = keySample(ctx, phase, level, 0);
            out[2 * i] += sample;
            out[2 * i + 1] += sample;
        }
        if (ctx.noise > kNoiseOn) {
            const float noise = (nextUniform() - 0.5f) * ctx.noise * 200;
            out[2 * i] += noise;
            out[2 * i + 1] += noise;
        }
        if (i > chunk.slideStart) {
            const float q = chunk.slideWeight[i];
            inc.main = q * target.main + (1 - q) * start.main;
            inc.lower = q * target.lower + (1 - q) * start.lower;
            inc.upper = q * target.upper + (1 - q) * start.upper;
        }
        // Pitch value 0.5 plays forward at normal speed, 0.25 stands, below plays backward.
        const float speed = chunk.pitchCurve[i];
        const Increments advance{speed * inc.main, speed * inc.lower, speed * inc.upper};
        phase.main += advance.main;
        phase.lower += advance.lower;
        phase.upper += advance.upper;
        if (ctx.jitter) {
            phase.main += (nextUniform() - 0.5f) * inc.main * randomFreq;
            if (ctx.chorus) {
                phase.lower += (nextUniform() - 0.5f) * inc.main * randomFreq;
                phase.upper += (nextUniform() - 0.5f) * inc.main * randomFreq;
            }
        }
        phase.main = keepInLoop(phase.main, advance.main, ctx.loop);
        phase.lower = keepInLoop(phase.lower, advance.lower, ctx.loop);
        phase.upper = keepInLoop(phase.upper, advance.upper, ctx.loop);
    }
    return inc.main;
}

float renderFileRow(const Song& song, const EngineState& engine, const FileKeyContext& ctx,
                    const NoteCell& cell, NoteHandOver& handOver) {
    const VoiceChunk& chunk = *ctx.chunk;
    const int instrument = chunk.instrument;
    const ChordKey* keys = song.Chorus[instrument].keys;
    const int rateSteps = song.SoundFileParams[chunk.slot].fileSampleRate / 22050;
    const double speed = kFileSpeed * rateSteps;
    const float c2 = chunk.chorus * chunk.chorus;
    const bool continues = cell.nextRow != -1;
    auto incrementOf = [&](int j, int row) {
        return static_cast<float>(noteIncrement(song, engine, instrument, j, row) * speed *
                                  chunk.octaveFactor * chunk.pitchFactor);
    };
    float lastIncrement = 0.0f;
    for (int j = 0; j < chunk.keyCount; ++j) {
        const float level = keys[j].level;
        if (!(level > kAudibleLevel)) continue;
        const float inc = incrementOf(j, cell.row);
        const float target = continues ? incrementOf(j, cell.nextRow) : inc;
        // The chorus starts each step wider than it ends, so it moves during the slide.
        const Increments start{inc, inc * (1 - 0.026f * c2), inc * (1 + 0.02f * c2)};
        const Increments goal{target, target * (1 - 0.016f * c2), target * (1 + 0.014f * c2)};
        VoicePhase phase = cell.position > 1
                               ? engine.voicePhases[instrument][cell.row][j]
                               : VoicePhase{ctx.loop.start, ctx.loop.start, ctx.loop.start};
        lastIncrement = playFileKey(ctx, level, phase, start, goal);
        if (continues) {
            handOver.phases[cell.nextRow][j] = phase;
            handOver.phasesWritten[cell.nextRow][j] = true;
        }
    }
    return lastIncrement;
}

} // namespace

void renderSampledChunk(const Song& song, EngineState& engine, int instrument) {
    VoiceChunk chunk;
    if (!beginVoiceChunk(song, engine, instrument, chunk)) return;
    FileKeyContext ctx{&chunk, viewOf(song, chunk.slot), {},
                       0.0f,   chunk.chorus > kChorusOn, chunk.randomFreq > kRandomFreqOn};
    if (ctx.view.count == 0) return; // a sound-file slot without samples plays silence
    ctx.loop = loopPointsOf(song, engine, chunk.slot, ctx.view);
    ctx.noise = song.SoundEffect[chunk.slot][kKnobNoise].value;
    NoteHandOver handOver;
    clearHandOver(handOver);
    for (int row = 0; row < kNoteRows; ++row) {
        NoteCell cell;
        if (!readNoteCell(song, chunk, row, cell)) continue;
        ++engine.soundingRows[instrument];
        std::fill(chunk.scratch, chunk.scratch + 2 * static_cast<size_t>(chunk.frames), 0.0f);
        tracePitchCurve(song, chunk, cell);
        for (int i = 0; i < chunk.frames; ++i)
            chunk.pitchCurve[i] = (chunk.pitchCurve[i] - 0.25f) * 4;
        const float increment = renderFileRow(song, engine, ctx, cell, handOver);
        applyNoteAmplitude(song, engine, chunk, cell, increment, chunk.scratch, chunk.scratch + 1,
                           2, handOver);
    }
    commitHandOver(engine, instrument, handOver);
}
