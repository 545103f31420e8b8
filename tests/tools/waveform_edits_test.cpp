// Average, Amplify and Reduce of the current instrument's waveform slot.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "tests/tools/tool_test_app.h"
#include "tools/current_selection.h"
#include "tools/waveform_edits.h"

namespace {

TEST(WaveformEdits, AverageTurnsSquareEdgesIntoFiveSampleRamps) {
    auto app = newSongApp();
    app->ui.currentInstrument = 1;
    app->song.SoundIdx[1] = 3; // the square preset: low 0..87, high 88..175
    averageWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument), 2);
    const float* s = app->song.Sound[3];
    const float ramp[6] = {-50.0f, -30.0f, -10.0f, 10.0f, 30.0f, 50.0f};
    for (int k = 0; k < 6; ++k) EXPECT_FLOAT_EQ(s[85 + k], ramp[k]) << "sample " << 85 + k;
    // The window wraps round: samples 348 and 349 are high, 0 and 1 low.
    EXPECT_FLOAT_EQ(s[0], -10.0f);
    EXPECT_FLOAT_EQ(s[349], 10.0f);
}

TEST(WaveformEdits, AverageLeavesAConstantAloneAndTouchesOnlySound) {
    auto app = newSongApp();
    for (float& v : app->song.Sound[0]) v = 17.5f;
    app->song.SoundType[0] = 1;
    std::shared_ptr<float[]> samples = std::make_shared<float[]>(kMaxFileSamples);
    samples[0] = 9.0f;
    app->song.SoundFileVals[0].fileSamples = samples;
    app->song.SoundFileVals[0].fileSampleCount = 2;
    averageWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument), 2);
    for (float v : app->song.Sound[0]) EXPECT_EQ(v, 17.5f);
    EXPECT_EQ(app->song.SoundFileVals[0].fileSamples[0], 9.0f);
}

TEST(WaveformEdits, ReduceThenAmplifyRestoresTheDrawing) {
    auto app = newSongApp();
    app->song.SoundIdx[0] = 1;
    float before[kWaveformSamples];
    std::copy(app->song.Sound[1], app->song.Sound[1] + kWaveformSamples, before);
    scaleWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument), 0.8333333f);
    EXPECT_NEAR(app->song.Sound[1][44], before[44] * 0.8333333f, 1e-5f);
    scaleWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument), 1.2f);
    for (int i = 0; i < kWaveformSamples; ++i)
        EXPECT_NEAR(app->song.Sound[1][i], before[i], 1e-5f * (1.0f + std::fabs(before[i])));
    // No clamping: amplifying goes past full scale.
    for (int n = 0; n < 10; ++n)
        scaleWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument), 1.2f);
    EXPECT_GT(app->song.Sound[1][262], 127.0f);
}

TEST(WaveformEdits, ScaleOfASoundFileSlotScalesItsSamplesOnly) {
    auto app = newSongApp();
    app->song.SoundIdx[0] = 2;
    app->song.SoundType[2] = 1;
    FileSamples& file = app->song.SoundFileVals[2];
    std::shared_ptr<float[]> samples = std::make_shared<float[]>(kMaxFileSamples);
    for (int i = 0; i < 4; ++i) samples[i] = 10.0f;
    file.fileSamples = samples;
    file.fileSampleCount = 3;
    const float saw44 = app->song.Sound[2][44];
    scaleWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument), 1.2f);
    EXPECT_EQ(samples[0], 10.0f) << "a copy of the song sharing the old samples keeps them";
    EXPECT_FLOAT_EQ(file.fileSamples[0], 12.0f);
    EXPECT_FLOAT_EQ(file.fileSamples[2], 12.0f);
    EXPECT_EQ(file.fileSamples[3], 10.0f);
    EXPECT_EQ(app->song.Sound[2][44], saw44);

    // A count larger than the buffer (damaged file) stops at the buffer's end; no buffer, no
    // scaling.
    file.fileSampleCount = 1 << 30;
    scaleWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument), 0.5f);
    EXPECT_FLOAT_EQ(file.fileSamples[kMaxFileSamples - 1], 0.0f);
    EXPECT_FLOAT_EQ(file.fileSamples[3], 5.0f);
    file.fileSamples.reset();
    scaleWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument), 0.5f);
}

TEST(WaveformEdits, SlotIndexOutOfRangeChangesNothing) {
    auto app = newSongApp();
    app->song.SoundIdx[0] = 8;
    averageWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument), 2);
    scaleWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument), 2.0f);
    app->song.SoundIdx[0] = -1;
    scaleWaveform(app->song, waveformSlotOf(app->song, app->ui.currentInstrument), 2.0f);
    auto fresh = newSongApp();
    for (int slot = 0; slot < kWaveformSlotCount; ++slot)
        for (int i = 0; i < kWaveformSamples; ++i)
            ASSERT_EQ(app->song.Sound[slot][i], fresh->song.Sound[slot][i]);
}

} // namespace
