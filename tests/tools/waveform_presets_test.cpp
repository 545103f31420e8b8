// Preset shapes at chosen samples, and Reset Waveform's cycle through them.
#include <gtest/gtest.h>

#include "tests/tools/tool_test_app.h"
#include "tools/current_selection.h"
#include "tools/waveform_presets.h"

namespace {

TEST(WaveformPresets, SamplesOfTheNewSongSlots) {
    auto app = newSongApp();
    const auto& sound = app->song.Sound;
    // Two-cycle sine: 12.5664 is a little short of 4 pi, so sample 0 is not exactly 0.
    EXPECT_NEAR(sound[0][0], -0.000724f, 1e-5f);
    EXPECT_NEAR(sound[0][1], 1.794091f, 1e-5f);
    EXPECT_NEAR(sound[0][44], 49.997990f, 1e-4f);
    EXPECT_NEAR(sound[0][88], -0.897188f, 1e-5f);
    EXPECT_NEAR(sound[0][349], -1.794097f, 1e-5f);
    for (int slot = 4; slot < kWaveformSlotCount; ++slot)
        for (int i = 0; i < kWaveformSamples; ++i) EXPECT_EQ(sound[slot][i], sound[0][i]);
    // Sine plus octave.
    EXPECT_NEAR(sound[1][0], 0.039814f, 1e-5f);
    EXPECT_NEAR(sound[1][44], 7.220592f, 1e-4f);
    EXPECT_NEAR(sound[1][262], 25.487164f, 1e-4f);
    // Saw: two ramps from -50 to about +49.43.
    EXPECT_EQ(sound[2][0], -50.0f);
    EXPECT_NEAR(sound[2][1], -49.428570f, 1e-4f);
    EXPECT_NEAR(sound[2][44], -24.857143f, 1e-4f);
    EXPECT_EQ(sound[2][175], -50.0f);
    EXPECT_NEAR(sound[2][349], 49.428570f, 1e-4f);
}

TEST(WaveformPresets, SquareEdgesFollowTheSinglePrecisionStep) {
    auto app = newSongApp();
    const float* square = app->song.Sound[3];
    // 175 x 0.0028571428 falls just below 0.5, so sample 175 is still high.
    for (int i = 0; i < kWaveformSamples; ++i) {
        const bool high = (i >= 88 && i <= 175) || i >= 263;
        EXPECT_EQ(square[i], high ? 50.0f : -50.0f) << "sample " << i;
    }
}

TEST(WaveformPresets, ResetWaveformWalksThroughTheFourShapes) {
    auto app = newSongApp();
    app->ui.currentInstrument = 2;
    app->song.SoundIdx[2] = 6;
    const float sine44 = app->song.Sound[0][44];
    const float octave44 = app->song.Sound[1][44];
    const float saw44 = app->song.Sound[2][44];
    const float square100 = app->song.Sound[3][100];
    float* slot6 = app->song.Sound[6];

    resetWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument),
                  app->ui.resetWaveformCycle);
    EXPECT_EQ(slot6[44], sine44);
    EXPECT_EQ(app->ui.resetWaveformCycle, 1);
    resetWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument),
                  app->ui.resetWaveformCycle);
    EXPECT_EQ(slot6[44], octave44);
    resetWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument),
                  app->ui.resetWaveformCycle);
    EXPECT_EQ(slot6[44], saw44);
    resetWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument),
                  app->ui.resetWaveformCycle);
    EXPECT_EQ(slot6[100], square100);
    EXPECT_EQ(app->ui.resetWaveformCycle, 0);
    resetWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument),
                  app->ui.resetWaveformCycle);
    EXPECT_EQ(slot6[44], sine44);
    // Only the current instrument's slot changed.
    EXPECT_EQ(app->song.Sound[5][44], sine44);
    EXPECT_EQ(app->song.Sound[7][100], app->song.Sound[0][100]);
}

} // namespace
