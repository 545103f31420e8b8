// The MIX, HIGH and NOISE rebuild of a slot's playback form, and the guard sample.
#include <gtest/gtest.h>

#include <cmath>

#include "model/random.h"
#include "tests/tools/tool_test_app.h"
#include "tools/playback_waveform.h"

namespace {

void setKnobs(AppState& app, int slot, float mix, float high, float noise) {
    app.song.SoundEffect[slot][kKnobMix].value = mix;
    app.song.SoundEffect[slot][kKnobHigh].value = high;
    app.song.SoundEffect[slot][kKnobNoise].value = noise;
}

void fill(float* wave, float value) {
    for (int i = 0; i < kWaveformSamples; ++i) wave[i] = value;
}

double harmonicNumber(int n) {
    double sum = 0.0;
    for (int k = 1; k <= n; ++k) sum += 1.0 / k;
    return sum;
}

void expectGuard(const AppState& app, int slot) {
    EXPECT_EQ(app.song.playbackWaveform[slot][kWaveformSamples],
              app.song.playbackWaveform[slot][0]);
}

TEST(PlaybackWaveform, MixFadesIntoTheNextSlotAndSlotSevenIntoSlotZero) {
    auto app = newSongApp();
    setKnobs(*app, 7, 1.0f, 0.0f, 0.0f);
    fill(app->song.Sound[7], 33.0f);
    app->song.Sound[0][0] = 12.0f;
    rebuildPlaybackWaveform(app->song, 7);
    for (int i = 0; i < kWaveformSamples; ++i)
        EXPECT_EQ(app->song.playbackWaveform[7][i], app->song.Sound[0][i]);
    expectGuard(*app, 7);
    EXPECT_EQ(app->song.playbackWaveform[7][kWaveformSamples], 12.0f);

    setKnobs(*app, 2, 0.25f, 0.0f, 0.0f);
    fill(app->song.Sound[2], 40.0f);
    fill(app->song.Sound[3], -8.0f);
    rebuildPlaybackWaveform(app->song, 2);
    EXPECT_FLOAT_EQ(app->song.playbackWaveform[2][123], 0.75f * 40.0f + 0.25f * -8.0f);
}

TEST(PlaybackWaveform, HighSumsWholeHarmonicsAndAFractionOfTheNext) {
    auto app = newSongApp();
    // A constant waveform shows the sum of the weights.
    fill(app->song.Sound[4], 1.0f);
    setKnobs(*app, 4, 0.0f, 0.5f, 0.0f); // x = 26: harmonics 1..26, the 27th at weight 0
    rebuildPlaybackWaveform(app->song, 4);
    EXPECT_NEAR(app->song.playbackWaveform[4][200], harmonicNumber(26), 1e-5);
    setKnobs(*app, 4, 0.0f, 1.0f, 0.0f); // harmonics 1..51
    rebuildPlaybackWaveform(app->song, 4);
    EXPECT_NEAR(app->song.playbackWaveform[4][17], harmonicNumber(51), 1e-5);
    setKnobs(*app, 4, 0.0f, 0.01f, 0.0f); // x = 1.5: half of harmonic 2 at weight 1/2
    rebuildPlaybackWaveform(app->song, 4);
    EXPECT_NEAR(app->song.playbackWaveform[4][0], 1.25, 1e-6);

    // A single impulse at sample 0 shows which harmonics reach which sample: harmonic k puts
    // it at every j with j k = 0 mod 350.
    fill(app->song.Sound[4], 0.0f);
    app->song.Sound[4][0] = 1.0f;
    setKnobs(*app, 4, 0.0f, 0.5f, 0.0f);
    rebuildPlaybackWaveform(app->song, 4);
    const float* p = app->song.playbackWaveform[4];
    EXPECT_NEAR(p[0], harmonicNumber(26), 1e-5);
    EXPECT_NEAR(p[175], harmonicNumber(13) / 2, 1e-6); // even k up to 26
    EXPECT_NEAR(p[70], harmonicNumber(5) / 5, 1e-6);   // k = 5, 10, ..., 25
    EXPECT_EQ(p[1], 0.0f);
    expectGuard(*app, 4);
}

TEST(PlaybackWaveform, HighOfAFractionAddsTheOctaveOfTheDrawing) {
    auto app = newSongApp();
    setKnobs(*app, 0, 0.0f, 0.01f, 0.0f);
    rebuildPlaybackWaveform(app->song, 0);
    const float* sound = app->song.Sound[0];
    for (int j = 0; j < kWaveformSamples; ++j)
        EXPECT_NEAR(app->song.playbackWaveform[0][j], sound[j] + 0.25 * sound[(2 * j) % 350], 1e-4);
    expectGuard(*app, 0);
}

TEST(PlaybackWaveform, StepsRunMixThenHighThenNoise) {
    auto app = newSongApp();
    // HIGH works on the mixed result: slot 7 fully mixed with slot 0 gets slot 0's octave.
    fill(app->song.Sound[7], 0.0f);
    setKnobs(*app, 7, 1.0f, 0.01f, 0.0f);
    rebuildPlaybackWaveform(app->song, 7);
    const float* sine = app->song.Sound[0];
    EXPECT_NEAR(app->song.playbackWaveform[7][30], sine[30] + 0.25 * sine[60], 1e-4);

    // Noise comes last, so harmonics do not multiply it: on silence only the noise remains.
    fill(app->song.Sound[5], 0.0f);
    fill(app->song.Sound[6], 0.0f);
    setKnobs(*app, 5, 0.0f, 0.5f, 0.5f);
    restartRandom();
    rebuildPlaybackWaveform(app->song, 5);
    restartRandom();
    for (int i = 0; i < kWaveformSamples; ++i) {
        const double expected = (nextRandom() * 3.0518509e-05 - 0.5) * 100.0;
        EXPECT_NEAR(app->song.playbackWaveform[5][i], expected, 1e-3) << "sample " << i;
    }
    expectGuard(*app, 5);
}

TEST(PlaybackWaveform, NoiseIsFreshAtEveryRebuildAndNeverOnASoundFile) {
    auto app = newSongApp();
    setKnobs(*app, 1, 0.0f, 0.0f, 1.0f);
    rebuildPlaybackWaveform(app->song, 1);
    float first[kWaveformSamples + 1];
    std::copy(app->song.playbackWaveform[1], app->song.playbackWaveform[1] + 351, first);
    rebuildPlaybackWaveform(app->song, 1);
    int differing = 0;
    for (int i = 0; i < kWaveformSamples; ++i) {
        const float noise = app->song.playbackWaveform[1][i] - app->song.Sound[1][i];
        EXPECT_LE(std::fabs(noise), 100.0f);
        differing += app->song.playbackWaveform[1][i] != first[i];
    }
    EXPECT_GT(differing, 300);
    expectGuard(*app, 1);

    app->song.SoundType[1] = 1;
    rebuildPlaybackWaveform(app->song, 1);
    for (int i = 0; i < kWaveformSamples; ++i)
        EXPECT_EQ(app->song.playbackWaveform[1][i], app->song.Sound[1][i]);
}

TEST(PlaybackWaveform, MarkWaveformUsersRebuildsOncePerInstrumentPlayingTheSlot) {
    auto app = newSongApp();
    setKnobs(*app, 3, 0.0f, 0.0f, 1.0f);
    app->song.SoundIdx[0] = 3;
    app->song.SoundIdx[2] = 3;
    restartRandom();
    markWaveformUsers(app->song, 3);
    // Two rebuilds drew 700 numbers; the second one is what plays.
    restartRandom();
    for (int i = 0; i < kWaveformSamples; ++i) nextRandom();
    for (int i = 0; i < kWaveformSamples; ++i) {
        const double noise = (nextRandom() * 3.0518509e-05 - 0.5) * 200.0;
        EXPECT_NEAR(app->song.playbackWaveform[3][i], app->song.Sound[3][i] + noise, 1e-3);
    }
    const int next = nextRandom();
    restartRandom();
    for (int i = 0; i < 2 * kWaveformSamples; ++i) nextRandom();
    EXPECT_EQ(next, nextRandom());

    // A slot nobody plays is left as it was.
    setKnobs(*app, 6, 1.0f, 0.0f, 0.0f);
    markWaveformUsers(app->song, 6);
    EXPECT_EQ(app->song.playbackWaveform[6][10], app->song.Sound[6][10]);
}

TEST(PlaybackWaveform, DamagedKnobValuesAndSlotsAreContained) {
    auto app = newSongApp();
    fill(app->song.Sound[2], 1.0f);
    setKnobs(*app, 2, 0.0f, 1e9f, 0.0f); // at most 51 harmonics
    rebuildPlaybackWaveform(app->song, 2);
    EXPECT_NEAR(app->song.playbackWaveform[2][9], harmonicNumber(51), 1e-5);
    setKnobs(*app, 2, 0.0f, std::nanf(""), 0.0f);
    rebuildPlaybackWaveform(app->song, 2);
    EXPECT_EQ(app->song.playbackWaveform[2][9], 1.0f);
    setKnobs(*app, 2, 0.0f, -3.0f, 0.0f);
    rebuildPlaybackWaveform(app->song, 2);
    EXPECT_EQ(app->song.playbackWaveform[2][9], 1.0f);
    rebuildPlaybackWaveform(app->song, 8); // ignored
    rebuildPlaybackWaveform(app->song, -1);
}

} // namespace
