// Voices heard through their ring chunks: pitch, chords, chorus, slides, attack, fade, sound files.
#include "engine/voice.h"

#include "model/random.h"
#include "tests/engine/voice_test_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// Frequency in Hz from the upward zero crossings of a span, timed by linear interpolation.
double measuredFrequency(const std::vector<float>& s, int from, int to, int rate) {
    double first = -1, last = -1;
    int crossings = 0;
    for (int i = std::max(from, 1); i < to; ++i) {
        if (s[i - 1] < 0 && s[i] >= 0) {
            const double t = i - 1 + s[i - 1] / (s[i - 1] - s[i]);
            if (first < 0) first = t;
            last = t;
            ++crossings;
        }
    }
    return crossings < 2 ? 0.0 : (crossings - 1) / (last - first) * rate;
}

double stepFrequency(const EngineRig& rig, int from, int to) {
    return measuredFrequency(chunkChannel(rig, 0, 0, 0), from, to, rig.engine.streamRate);
}

// Renders step `step` of bank 0 for instrument 0 into chunk 0.
void renderStep(EngineRig& rig, int step) {
    aimAtStep(rig, 0, step);
    renderInstrumentChunk(rig.song, rig.engine, 0);
}

// Envelope bank 0 flat at full amplitude, so the ring shows the oscillators.
void flattenAmplitude(EngineRig& rig) {
    for (float& v : rig.song.Envelope[0]) v = 1.0f;
}

double rowFrequency(int row) {
    static const double table[12] = {130.815, 138.6, 146.83, 155.55, 164.815, 174.615,
                                     185,     196,   207.65, 220,    233.3,   246.94};
    return table[row % 12] * (row >= 12 ? 2 : 1);
}

// How many random numbers a call drew: where the numbers after it sit in the sequence.
int drawsDuring(EngineRig& rig, int step) {
    restartRandom();
    renderStep(rig, step);
    const int after[4] = {nextRandom(), nextRandom(), nextRandom(), nextRandom()};
    restartRandom();
    std::vector<int> sequence(100000);
    for (int& v : sequence) v = nextRandom();
    for (size_t n = 0; n + 4 <= sequence.size(); ++n)
        if (std::equal(after, after + 4, sequence.begin() + n)) return static_cast<int>(n);
    return -1;
}

} // namespace

TEST(VoicePitch, RenderedNoteSoundsAtItsRowFrequency) {
    auto rig = voiceTestRig();
    putNote(*rig, 0, 0, std::vector<int>(16, 9)); // A3, 220 Hz
    renderStep(*rig, 2);
    EXPECT_NEAR(stepFrequency(*rig, 0, 4725), 220.0, 0.2);
    rig->song.Oct[0] = 2;
    renderStep(*rig, 3);
    EXPECT_NEAR(stepFrequency(*rig, 0, 4725), 440.0, 0.4);
}

TEST(VoicePitch, ChordOffsetsReachBelowAndAboveTheTable) {
    auto rig = voiceTestRig();
    rig->song.Chorus[0].keys[0].semitoneOffset = -25.0f;
    EXPECT_NEAR(noteIncrement(rig->song, rig->engine, 0, 0, 0) * 2 * 22050 / 350, 30.8675, 1e-3);
    rig->song.Chorus[0].keys[0].semitoneOffset = 24.0f;
    EXPECT_NEAR(noteIncrement(rig->song, rig->engine, 0, 0, 23) * 2 * 22050 / 350, 1975.52, 1e-2);
    rig->song.Chorus[0].keys[0].semitoneOffset = -0.9f; // truncated toward zero
    EXPECT_NEAR(noteIncrement(rig->song, rig->engine, 0, 0, 9) * 2 * 22050 / 350, 220.0, 1e-3);
    putNote(*rig, 0, 0, std::vector<int>(4, 0));
    rig->song.Chorus[0].keys[0].semitoneOffset = 12.0f;
    renderStep(*rig, 1);
    EXPECT_NEAR(stepFrequency(*rig, 0, 4725), 261.63, 0.3);
}

TEST(VoicePitch, PitchKnobTunesByTwoAndAHalfPercent) {
    auto rig = voiceTestRig();
    putNote(*rig, 0, 0, std::vector<int>(16, 9));
    rig->song.Effect[0][kKnobPitch].value = 1.0f;
    renderStep(*rig, 2);
    EXPECT_NEAR(stepFrequency(*rig, 0, 4725), 220.0 * 1.025, 0.2);
    rig->song.Effect[0][kKnobPitch].value = 0.0f;
    renderStep(*rig, 3);
    EXPECT_NEAR(stepFrequency(*rig, 0, 4725), 220.0 * 0.975, 0.2);
}

TEST(VoicePitch, PitchCurveDoublesAtOneAndHalvesAtZero) {
    auto rig = voiceTestRig();
    putNote(*rig, 0, 0, std::vector<int>(16, 9));
    for (float& v : rig->song.Pitch[0]) v = 1.0f;
    renderStep(*rig, 2);
    EXPECT_NEAR(stepFrequency(*rig, 0, 4725), 440.0, 0.4);
    for (float& v : rig->song.Pitch[0]) v = 0.0f;
    renderStep(*rig, 3);
    EXPECT_NEAR(stepFrequency(*rig, 0, 4725), 110.0, 0.2);
    // Quartic in between: 0.75 gives (0.5)^4 = +6.25 %.
    for (float& v : rig->song.Pitch[0]) v = 0.75f;
    renderStep(*rig, 4);
    EXPECT_NEAR(stepFrequency(*rig, 0, 4725), 220.0 * 1.0625, 0.3);
}

TEST(VoicePitch, RandomFrequencyJittersAroundTheRowFrequency) {
    auto rig = voiceTestRig();
    putNote(*rig, 0, 0, std::vector<int>(16, 9));
    rig->song.Effect[0][kKnobRandomFreq].value = 0.05f;
    renderStep(*rig, 2);
    EXPECT_NEAR(stepFrequency(*rig, 0, 4725), 220.0, 1.0);
}

TEST(VoiceChorus, ThreeOscillatorsOnlyAboveOneThousandth) {
    auto rig = voiceTestRig();
    putNote(*rig, 0, 0, std::vector<int>(16, 5));
    rig->song.Effect[0][kKnobRandomFreq].value = 0.5f; // one draw per advanced phase
    rig->song.Effect[0][kKnobChorus].value = 0.001f;
    EXPECT_EQ(drawsDuring(*rig, 3), 4725);
    rig->song.Effect[0][kKnobChorus].value = 0.0011f;
    EXPECT_EQ(drawsDuring(*rig, 3), 3 * 4725);
}

TEST(VoiceChorus, LevelsAtOrBelowOneHundredthAreSilent) {
    auto rig = voiceTestRig();
    putNote(*rig, 0, 0, std::vector<int>(16, 5));
    rig->song.Chorus[0].keys[0].level = 0.01f;
    renderStep(*rig, 1);
    const auto silent = chunkChannel(*rig, 0, 0, 0);
    EXPECT_EQ(*std::max_element(silent.begin(), silent.end()), 0.0f);
    rig->song.Chorus[0].keys[0].level = 0.0101f;
    renderStep(*rig, 1);
    const auto quiet = chunkChannel(*rig, 0, 0, 0);
    EXPECT_GT(*std::max_element(quiet.begin(), quiet.end()), 0.0f);
}

TEST(VoiceSlide, SlideZeroKeepsTheStepAndOneGlidesOverIt) {
    auto rig = voiceTestRig();
    putNote(*rig, 0, 0, {0, 12}); // C3 to C4
    rig->song.Effect[0][kKnobSlide].value = 0.0f;
    renderStep(*rig, 0);
    EXPECT_NEAR(stepFrequency(*rig, 3500, 4725), rowFrequency(0), 0.5);
    rig->song.Effect[0][kKnobSlide].value = 1.0f;
    renderStep(*rig, 0);
    const double early = stepFrequency(*rig, 0, 1200), late = stepFrequency(*rig, 3500, 4725);
    EXPECT_LT(early, rowFrequency(0) * 1.2);
    EXPECT_GT(late, rowFrequency(0) * 1.7);
    rig->song.Effect[0][kKnobSlide].value = 0.5f; // the glide starts half way
    renderStep(*rig, 0);
    EXPECT_NEAR(stepFrequency(*rig, 0, 2362), rowFrequency(0), 0.5);
}

TEST(VoiceSlide, PhaseRunsOnAcrossTheStepBoundary) {
    auto rig = voiceTestRig();
    flattenAmplitude(*rig);
    rig->song.Effect[0][kKnobSlide].value = 1.0f;
    putNote(*rig, 0, 0, {4, 7, 7});
    aimAtStep(*rig, 0, 0, 0);
    renderInstrumentChunk(rig->song, rig->engine, 0);
    aimAtStep(*rig, 0, 1, 1);
    renderInstrumentChunk(rig->song, rig->engine, 0);
    const auto a = chunkChannel(*rig, 0, 0, 0), b = chunkChannel(*rig, 0, 1, 0);
    float largestStep = 0;
    for (int i = 1; i < 4725; ++i) largestStep = std::max(largestStep, std::fabs(a[i] - a[i - 1]));
    EXPECT_LT(std::fabs(b[0] - a.back()), 1.5f * largestStep);
    // Started from zero instead, the second step would jump.
    rig->engine.voicePhases[0][7][0] = {};
    aimAtStep(*rig, 0, 1, 1);
    renderInstrumentChunk(rig->song, rig->engine, 0);
    EXPECT_GT(std::fabs(chunkChannel(*rig, 0, 1, 0)[0] - a.back()), 3.0f * largestStep);
}

TEST(VoiceSlide, AnotherNoteSlidingIntoARowLeavesThatRowsNoteAlone) {
    // At step 1 note A (row 3, under way) reads the state it left on row 3, while note B (row 1,
    // rendered first) hands its own state on to row 3 for step 2.
    auto both = voiceTestRig();
    putNote(*both, 0, 0, {3, 3, 5}); // A
    putNote(*both, 0, 1, {1, 3});    // B
    auto alone = voiceTestRig();
    putNote(*alone, 0, 0, {3, 3, 5});
    for (EngineRig* rig : {both.get(), alone.get()}) {
        renderStep(*rig, 0);
        renderStep(*rig, 1);
    }
    const VoicePhase& a = both->engine.voicePhases[0][5][0];
    const VoicePhase& expected = alone->engine.voicePhases[0][5][0];
    EXPECT_EQ(a.main, expected.main);
    EXPECT_EQ(both->engine.noteFilterState[0][5].lowLeft,
              alone->engine.noteFilterState[0][5].lowLeft);
}

TEST(VoiceAmplitude, AttackRampAndFadeOfAOneStepNote) {
    auto rig = voiceTestRig();
    for (auto& wave : rig->engine.playbackWaveforms.wave)
        std::fill(std::begin(wave), std::end(wave), 40.0f); // constant source: shapes show
    putNote(*rig, 0, 0, {6});
    renderStep(*rig, 0);
    const auto y = chunkChannel(*rig, 0, 0, 0);
    const int frames = 4725;
    auto envelope = [&](int i) { return 1.0 - 75.0 * i / frames * 0.0033333334; };
    EXPECT_EQ(y[0], 0.0f);
    EXPECT_NEAR(y[87], 40 * envelope(87) * 87 / 175, 0.05);
    EXPECT_NEAR(y[175], 40 * envelope(175), 0.05);
    EXPECT_NEAR(y[3000], 40 * envelope(3000), 0.05);
    const double fadeStart = 0.99 * frames;
    for (int i : {4680, 4700, 4724})
        EXPECT_NEAR(y[i], 40 * envelope(i) * (1 - (i - fadeStart) / (0.01 * frames)), 0.05) << i;
}

TEST(VoiceAmplitude, ShiftAttackLengthensByRowAndParity) {
    auto rig = voiceTestRig();
    for (auto& wave : rig->engine.playbackWaveforms.wave)
        std::fill(std::begin(wave), std::end(wave), 40.f);
    flattenAmplitude(*rig);
    rig->song.Effect[0][kKnobShiftAttack].value = 1.0f;
    putNote(*rig, 0, 0, {0, 0}); // even step: g = 23 - row
    putNote(*rig, 0, 5, {0, 0}); // odd step: g = row
    renderStep(*rig, 0);
    const double attack = 175 + 4725.0 * 23 / 24;
    EXPECT_NEAR(chunkChannel(*rig, 0, 0, 0)[2000], 40 * 2000 / attack, 0.05);
    renderStep(*rig, 5);
    EXPECT_NEAR(chunkChannel(*rig, 0, 0, 0)[2000], 40.0f, 0.05);
}

TEST(VoiceAmplitude, PanAndVelocityComeFromTheFirstStep) {
    auto rig = voiceTestRig();
    for (auto& wave : rig->engine.playbackWaveforms.wave)
        std::fill(std::begin(wave), std::end(wave), 40.f);
    flattenAmplitude(*rig);
    rig->song.Pan[0][0] = 0.25f;
    rig->song.Vel[0][0] = 0.5f;
    rig->song.Pan[0][1] = 1.0f; // ignored: not the note's first step
    putNote(*rig, 0, 0, {2, 2, 2});
    renderStep(*rig, 1);
    EXPECT_NEAR(chunkChannel(*rig, 0, 0, 0)[1000], 40 * 0.5 * 0.5, 1e-3);
    EXPECT_NEAR(chunkChannel(*rig, 0, 0, 1)[1000], 40 * 0.5, 1e-3);
}

TEST(VoiceAmplitude, MutedOrBanklessInstrumentsClearTheirChunk) {
    auto rig = voiceTestRig();
    putNote(*rig, 0, 0, std::vector<int>(4, 3));
    renderStep(*rig, 1);
    rig->song.Mute[0] = 1;
    renderStep(*rig, 1);
    auto left = chunkChannel(*rig, 0, 0, 0);
    EXPECT_EQ(*std::max_element(left.begin(), left.end()), 0.0f);
    EXPECT_EQ(*std::min_element(left.begin(), left.end()), 0.0f);
}

namespace {

// Slot 0 plays a mono 22050 Hz sound file of `count` samples: a rising ramp 1 + i / 100 with
// exact zeros at the given frames and 1000 from frame `loudFrom` on.
void loadRampFile(EngineRig& rig, int count, std::vector<int> zeros, int loudFrom) {
    rig.song.SoundType[0] = 1;
    rig.song.SoundFileParams[0] = {22050, 1, 0};
    FileSamples& file = rig.song.SoundFileVals[0];
    std::shared_ptr<float[]> samples = std::make_shared<float[]>(kMaxFileSamples);
    for (int i = 0; i < count; ++i) samples[i] = i < loudFrom ? 1 + i / 100.0f : 1000;
    for (int z : zeros) samples[z] = 0.0f;
    file.fileSamples = samples;
    file.fileSampleCount = count;
    flattenAmplitude(rig);
}

} // namespace

TEST(SampledVoice, LoopsBetweenTheSilentSamplesNearItsMarkers) {
    auto rig = voiceTestRig();
    loadRampFile(*rig, 20000, {0, 2200}, 2300);
    rig->song.SoundFileLoop[0] = {0, 10}; // marker 10 is frame 2160; the zero at 2200 ends it
    putNote(*rig, 0, 0, std::vector<int>(16, 12)); // row 12 at Oct 1: the file's own speed
    renderStep(*rig, 0);
    renderStep(*rig, 1);
    const auto y = chunkChannel(*rig, 0, 0, 0);
    EXPECT_LT(*std::max_element(y.begin(), y.end()), 30.0f); // nothing past the loop end
    // Step 1 starts 4725 - 2201 * 2 = 323 frames into the loop: two more turns in this step.
    // Each turn plays the zero at 2200 and the sample after it, then the ramp from 0.
    int turns = 0;
    for (int i = 1; i + 1 < 4725; ++i) turns += y[i] < 5 && y[i - 1] >= 5 && y[i + 1] < 5;
    EXPECT_EQ(turns, 2);
    for (int i = 100; i < 2000; i += 50) EXPECT_NEAR(y[i + 2201], y[i], 0.05) << i;
}

TEST(SampledVoice, LowPitchValuesPlayBackward) {
    auto rig = voiceTestRig();
    loadRampFile(*rig, 20000, {0, 2200}, 2300);
    rig->song.SoundFileLoop[0] = {0, 10};
    for (float& v : rig->song.Pitch[0]) v = 0.0f; // (0 - 0.25) * 4: backward, normal speed
    putNote(*rig, 0, 0, std::vector<int>(16, 12));
    renderStep(*rig, 0);
    renderStep(*rig, 1);
    const auto y = chunkChannel(*rig, 0, 0, 0);
    int falling = 0;
    for (int i = 1; i < 2000; ++i) falling += y[i] < y[i - 1];
    EXPECT_GT(falling, 1900);
    EXPECT_LT(*std::max_element(y.begin(), y.end()), 30.0f);
    for (float& v : rig->song.Pitch[0]) v = 0.25f; // stands still
    renderStep(*rig, 2);
    const auto still = chunkChannel(*rig, 0, 0, 0);
    EXPECT_NEAR(still[100], still[4000], 1e-3);
}

TEST(SampledVoice, LoopPositionsKeepTheirPlaceAtEitherStreamRate) {
    for (int rate : {22050, 44100}) {
        auto rig = voiceTestRig(rate);
        loadRampFile(*rig, 20000, {0}, 20000);
        rig->song.SoundFileLoop[0] = {0, 10}; // 2160 frames of the file at both rates
        putNote(*rig, 0, 0, std::vector<int>(16, 12));
        renderStep(*rig, 0);
        const auto y = chunkChannel(*rig, 0, 0, 0);
        // At 44100 Hz the 22050 Hz file advances half a sample a frame: the loop takes twice the
        // frames.
        const int loopFrames = rate == 22050 ? 2160 : 4320;
        EXPECT_GT(y[loopFrames - 50], y[loopFrames + 50] + 15) << rate;
    }
}

TEST(SampledVoice, SlotWithoutSamplesIsSilent) {
    auto rig = voiceTestRig();
    rig->song.SoundType[0] = 1; // no buffer at all
    putNote(*rig, 0, 0, std::vector<int>(4, 12));
    renderStep(*rig, 1);
    auto y = chunkChannel(*rig, 0, 0, 0);
    EXPECT_EQ(*std::max_element(y.begin(), y.end()), 0.0f);
    loadRampFile(*rig, 0, {}, 0);
    renderStep(*rig, 1);
    y = chunkChannel(*rig, 0, 0, 0);
    EXPECT_EQ(*std::max_element(y.begin(), y.end()), 0.0f);
}

TEST(SampledVoice, HostileFileParametersReadNothingOutsideTheData) {
    struct Case {
        int count, channels, rate, loopStart, loopEnd;
    };
    for (Case c : {Case{400001, 1, 22050, 0, 350}, Case{-5, 1, 22050, 0, 350},
                   Case{1000, 1, 22050, 340, 350}, Case{1001, 2, 22050, 0, 350},
                   Case{5000, 2, 44100, 200, 100}, Case{5000, 1, 2147483647, -99, 99999},
                   Case{5000, 7, -44100, 0, 350}, Case{3, 1, 22050, 0, 1}}) {
        auto rig = voiceTestRig(22050);
        loadRampFile(*rig, 1, {}, 1);
        rig->song.SoundFileVals[0].fileSampleCount = c.count;
        rig->song.SoundFileParams[0] = {c.rate, c.channels, 0};
        rig->song.SoundFileLoop[0] = {c.loopStart, c.loopEnd};
        rig->song.Effect[0][kKnobChorus].value = 1.0f;
        rig->song.Effect[0][kKnobRandomFreq].value = 1.0f;
        rig->song.SoundEffect[0][kKnobNoise].value = 0.5f;
        rig->song.Oct[0] = 3;
        putNote(*rig, 0, 0, std::vector<int>(16, 23));
        for (int step = 0; step < 16; ++step) renderStep(*rig, step);
        const auto y = chunkChannel(*rig, 0, 0, 0);
        for (float v : y) ASSERT_TRUE(std::isfinite(v)) << c.count << " " << c.rate;
    }
}

TEST(SampledVoice, NoiseKnobAddsNoiseToASoundFile) {
    auto rig = voiceTestRig();
    loadRampFile(*rig, 20000, {0}, 20000);
    rig->song.SoundFileVals[0].fileSamples = std::make_shared<float[]>(kMaxFileSamples);
    putNote(*rig, 0, 0, std::vector<int>(16, 12));
    renderStep(*rig, 1);
    auto y = chunkChannel(*rig, 0, 0, 0);
    EXPECT_EQ(*std::max_element(y.begin(), y.end()), 0.0f);
    rig->song.SoundEffect[0][kKnobNoise].value = 0.5f;
    renderStep(*rig, 1);
    y = chunkChannel(*rig, 0, 0, 0);
    EXPECT_GT(*std::max_element(y.begin(), y.end()), 20.0f);
    EXPECT_LE(*std::max_element(y.begin(), y.end()), 50.0f);
}

TEST(VoiceRobustness, DamagedSongValuesRenderWithoutLeavingTheArrays) {
    auto rig = voiceTestRig();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Song& song = rig->song;
    song.Oct[0] = 99;
    song.EnvIdx[0] = -4;
    song.Chorus[0].count = 5000;
    for (int j = 0; j < 8; ++j) song.Chorus[0].keys[j] = {j % 2 ? 1e30f : -1e30f, 1.0f};
    song.Chorus[0].keys[3].semitoneOffset = nan;
    song.Effect[0][kKnobSlide].value = nan;
    song.Effect[0][kKnobPitch].value = 1e30f;
    song.Effect[0][kKnobChorus].value = inf;
    song.Effect[0][kKnobRandomAttack].value = nan;
    song.Pitch[0][3] = nan;
    NoteGrid& grid = song.noteGrid[0];
    for (int r = 0; r < kNoteRows; ++r) {
        grid.notePosition[0][r] = r % 3 == 0 ? 2147483647 : 1;
        grid.nextRow[0][r] = r % 2 ? 77 : -9;
        grid.noteLength[0][r] = r % 4 == 0 ? -2147483647 : 2147483647;
    }
    renderStep(*rig, 0);
    song.SoundIdx[1] = 42;
    song.PatternIdx[2] = 9999;
    song.Chorus[3].count = -3;
    for (int i = 1; i < 4; ++i) renderInstrumentChunk(rig->song, rig->engine, i);
    renderInstrumentChunk(rig->song, rig->engine, 7);
    auto y = chunkChannel(*rig, 1, 0, 0);
    EXPECT_EQ(*std::max_element(y.begin(), y.end()), 0.0f);
}

TEST(VoiceRows, RowsRenderedTogetherMatchRowsRenderedOneByOne) {
    // With the pitch curve at rest the rows run side by side; a guard point of 0.6, which no
    // one-step note reaches, sends the same step through the row-by-row path instead.
    auto together = voiceTestRig(), oneByOne = voiceTestRig();
    for (EngineRig* rig : {together.get(), oneByOne.get()}) {
        Song& song = rig->song;
        song.Chorus[0].count = 3;
        song.Chorus[0].keys[1] = {4.0f, 0.7f};
        song.Chorus[0].keys[2] = {7.0f, 0.5f};
        song.Effect[0][kKnobChorus].value = 0.4f;
        song.Effect[0][kKnobRandomAttack].value = 0.8f; // one draw per starting row, in order
        song.Pan[0][0] = 0.2f;
        for (int row : {0, 3, 5, 9, 14, 22}) putNote(*rig, 0, 0, {row});
    }
    oneByOne->song.Pitch[0][300] = 0.6f;
    restartRandom();
    renderStep(*together, 0);
    restartRandom();
    renderStep(*oneByOne, 0);
    EXPECT_EQ(chunkChannel(*together, 0, 0, 0), chunkChannel(*oneByOne, 0, 0, 0));
    EXPECT_EQ(chunkChannel(*together, 0, 0, 1), chunkChannel(*oneByOne, 0, 0, 1));
}
