// The MIX, HIGH and NOISE rebuild of a slot's playback form, and the guard sample.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "engine/playback_waveform.h"
#include "model/random.h"

namespace {

// A default song whose slot s holds s + 1 cycles of a sine of amplitude 50, and its playback
// forms, all zero until rebuilt.
struct Waves {
    std::unique_ptr<Song> song = std::make_unique<Song>();
    PlaybackWaveforms playback;

    Waves() {
        setSongDefaults(*song);
        for (int s = 0; s < kWaveformSlotCount; ++s)
            for (int i = 0; i < kWaveformSamples; ++i)
                song->Sound[s][i] = static_cast<float>(
                    50.0 * std::sin(2.0 * std::numbers::pi * (s + 1) * i / kWaveformSamples));
    }
    void setKnobs(int slot, float mix, float high, float noise) {
        song->SoundEffect[slot][kKnobMix].value = mix;
        song->SoundEffect[slot][kKnobHigh].value = high;
        song->SoundEffect[slot][kKnobNoise].value = noise;
    }
    void rebuild(int slot) { rebuildPlaybackWaveform(*song, slot, playback); }
    const float* played(int slot) const { return playback.wave[slot]; }
};

void fill(float* wave, float value) {
    for (int i = 0; i < kWaveformSamples; ++i) wave[i] = value;
}

double harmonicNumber(int n) {
    double sum = 0.0;
    for (int k = 1; k <= n; ++k) sum += 1.0 / k;
    return sum;
}

void expectGuard(const Waves& w, int slot) {
    EXPECT_EQ(w.played(slot)[kWaveformSamples], w.played(slot)[0]);
}

TEST(PlaybackWaveform, MixFadesIntoTheNextSlotAndSlotSevenIntoSlotZero) {
    Waves w;
    w.setKnobs(7, 1.0f, 0.0f, 0.0f);
    fill(w.song->Sound[7], 33.0f);
    w.song->Sound[0][0] = 12.0f;
    w.rebuild(7);
    for (int i = 0; i < kWaveformSamples; ++i) EXPECT_EQ(w.played(7)[i], w.song->Sound[0][i]);
    expectGuard(w, 7);
    EXPECT_EQ(w.played(7)[kWaveformSamples], 12.0f);

    w.setKnobs(2, 0.25f, 0.0f, 0.0f);
    fill(w.song->Sound[2], 40.0f);
    fill(w.song->Sound[3], -8.0f);
    w.rebuild(2);
    EXPECT_FLOAT_EQ(w.played(2)[123], 0.75f * 40.0f + 0.25f * -8.0f);
}

TEST(PlaybackWaveform, HighSumsWholeHarmonicsAndAFractionOfTheNext) {
    Waves w;
    // A constant waveform shows the sum of the weights.
    fill(w.song->Sound[4], 1.0f);
    w.setKnobs(4, 0.0f, 0.5f, 0.0f); // x = 26: harmonics 1..26, the 27th at weight 0
    w.rebuild(4);
    EXPECT_NEAR(w.played(4)[200], harmonicNumber(26), 1e-5);
    w.setKnobs(4, 0.0f, 1.0f, 0.0f); // harmonics 1..51
    w.rebuild(4);
    EXPECT_NEAR(w.played(4)[17], harmonicNumber(51), 1e-5);
    w.setKnobs(4, 0.0f, 0.01f, 0.0f); // x = 1.5: half of harmonic 2 at weight 1/2
    w.rebuild(4);
    EXPECT_NEAR(w.played(4)[0], 1.25, 1e-6);

    // A single impulse at sample 0 shows which harmonics reach which sample: harmonic k puts
    // it at every j with j k = 0 mod 350.
    fill(w.song->Sound[4], 0.0f);
    w.song->Sound[4][0] = 1.0f;
    w.setKnobs(4, 0.0f, 0.5f, 0.0f);
    w.rebuild(4);
    const float* p = w.played(4);
    EXPECT_NEAR(p[0], harmonicNumber(26), 1e-5);
    EXPECT_NEAR(p[175], harmonicNumber(13) / 2, 1e-6); // even k up to 26
    EXPECT_NEAR(p[70], harmonicNumber(5) / 5, 1e-6);   // k = 5, 10, ..., 25
    EXPECT_EQ(p[1], 0.0f);
    expectGuard(w, 4);
}

TEST(PlaybackWaveform, HighOfAFractionAddsTheOctaveOfTheDrawing) {
    Waves w;
    w.setKnobs(0, 0.0f, 0.01f, 0.0f);
    w.rebuild(0);
    const float* sound = w.song->Sound[0];
    for (int j = 0; j < kWaveformSamples; ++j)
        EXPECT_NEAR(w.played(0)[j], sound[j] + 0.25 * sound[(2 * j) % 350], 1e-4);
    expectGuard(w, 0);
}

TEST(PlaybackWaveform, StepsRunMixThenHighThenNoise) {
    Waves w;
    // HIGH works on the mixed result: slot 7 fully mixed with slot 0 gets slot 0's octave.
    fill(w.song->Sound[7], 0.0f);
    w.setKnobs(7, 1.0f, 0.01f, 0.0f);
    w.rebuild(7);
    const float* sine = w.song->Sound[0];
    EXPECT_NEAR(w.played(7)[30], sine[30] + 0.25 * sine[60], 1e-4);

    // Noise comes last, so harmonics do not multiply it: on silence only the noise remains.
    fill(w.song->Sound[5], 0.0f);
    fill(w.song->Sound[6], 0.0f);
    w.setKnobs(5, 0.0f, 0.5f, 0.5f);
    restartRandom();
    w.rebuild(5);
    restartRandom();
    for (int i = 0; i < kWaveformSamples; ++i) {
        const double expected = (nextRandom() * 3.0518509e-05 - 0.5) * 100.0;
        EXPECT_NEAR(w.played(5)[i], expected, 1e-3) << "sample " << i;
    }
    expectGuard(w, 5);
}

TEST(PlaybackWaveform, NoiseIsFreshAtEveryRebuildAndNeverOnASoundFile) {
    Waves w;
    w.setKnobs(1, 0.0f, 0.0f, 1.0f);
    w.rebuild(1);
    float first[kWaveformSamples + 1];
    std::copy(w.played(1), w.played(1) + 351, first);
    w.rebuild(1);
    int differing = 0;
    for (int i = 0; i < kWaveformSamples; ++i) {
        const float noise = w.played(1)[i] - w.song->Sound[1][i];
        EXPECT_LE(std::fabs(noise), 100.0f);
        differing += w.played(1)[i] != first[i];
    }
    EXPECT_GT(differing, 300);
    expectGuard(w, 1);

    w.song->SoundType[1] = 1;
    w.rebuild(1);
    for (int i = 0; i < kWaveformSamples; ++i) EXPECT_EQ(w.played(1)[i], w.song->Sound[1][i]);
}

TEST(PlaybackWaveform, MarkWaveformUsersRebuildsOncePerInstrumentPlayingTheSlot) {
    Waves w;
    w.setKnobs(3, 0.0f, 0.0f, 1.0f);
    w.song->SoundIdx[0] = 3;
    w.song->SoundIdx[2] = 3;
    restartRandom();
    markWaveformUsers(*w.song, 3, w.playback);
    // Two rebuilds drew 700 numbers; the second one is what plays.
    restartRandom();
    for (int i = 0; i < kWaveformSamples; ++i) nextRandom();
    for (int i = 0; i < kWaveformSamples; ++i) {
        const double noise = (nextRandom() * 3.0518509e-05 - 0.5) * 200.0;
        EXPECT_NEAR(w.played(3)[i], w.song->Sound[3][i] + noise, 1e-3);
    }
    const int next = nextRandom();
    restartRandom();
    for (int i = 0; i < 2 * kWaveformSamples; ++i) nextRandom();
    EXPECT_EQ(next, nextRandom());

    // A slot nobody plays is left as it was.
    w.rebuild(6);
    w.setKnobs(6, 1.0f, 0.0f, 0.0f);
    markWaveformUsers(*w.song, 6, w.playback);
    EXPECT_EQ(w.played(6)[10], w.song->Sound[6][10]);
}

TEST(PlaybackWaveform, DamagedKnobValuesAndSlotsAreContained) {
    Waves w;
    fill(w.song->Sound[2], 1.0f);
    w.setKnobs(2, 0.0f, 1e9f, 0.0f); // at most 51 harmonics
    w.rebuild(2);
    EXPECT_NEAR(w.played(2)[9], harmonicNumber(51), 1e-5);
    w.setKnobs(2, 0.0f, std::nanf(""), 0.0f);
    w.rebuild(2);
    EXPECT_EQ(w.played(2)[9], 1.0f);
    w.setKnobs(2, 0.0f, -3.0f, 0.0f);
    w.rebuild(2);
    EXPECT_EQ(w.played(2)[9], 1.0f);
    w.rebuild(8); // ignored
    w.rebuild(-1);
}

} // namespace
