// The wave editor under the mouse: sliders, drawing and the loop markers of imported sounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "app/mouse_wave_editor.h"
#include "mouse_test_app.h"

namespace {

constexpr int kSampleLeft = 44; // panel x of sample 0

struct MouseWaveEditorTest : ::testing::Test {
    std::unique_ptr<AppState> app = mouseTestApp();
    float* sound() { return app->song.Sound[0]; }
    void fillSound(float value) { std::fill(sound(), sound() + kWaveformSamples, value); }
};

TEST_F(MouseWaveEditorTest, ClickWithoutMovingDrawsNothing) {
    fillSound(3.0f);
    EXPECT_TRUE(pressWaveEditor(*app, 200, 60));
    EXPECT_EQ(app->drag.waveDragMode, kWaveDragDrawing);
    EXPECT_TRUE(
        std::all_of(sound(), sound() + kWaveformSamples, [](float v) { return v == 3.0f; }));
}

TEST_F(MouseWaveEditorTest, DragInterpolatesBetweenClampedEndsUpToTheRightEnd) {
    fillSound(3.0f);
    app->drag.waveDragMode = kWaveDragDrawing;
    // y 4 asks for -128 (clamped to -127), y 124 for 128 (clamped to 125).
    ASSERT_TRUE(dragWaveEditor(*app, kSampleLeft + 20, 124, kSampleLeft + 10, 4));
    EXPECT_FLOAT_EQ(sound()[9], 3.0f);
    EXPECT_FLOAT_EQ(sound()[10], -127.0f);
    EXPECT_FLOAT_EQ(sound()[15], -127.0f + 252.0f * 0.5f);
    EXPECT_FLOAT_EQ(sound()[19], -127.0f + 252.0f * 0.9f);
    EXPECT_FLOAT_EQ(sound()[20], 3.0f) << "the right end is not drawn";
}

TEST_F(MouseWaveEditorTest, SegmentsAreClippedOrSkippedOutsideThePlot) {
    fillSound(3.0f);
    app->drag.waveDragMode = kWaveDragDrawing;
    // Both ends left of sample 1: nothing drawn, no change reported.
    EXPECT_FALSE(dragWaveEditor(*app, kSampleLeft - 30, 64, kSampleLeft, 64));
    EXPECT_FALSE(dragWaveEditor(*app, kSampleLeft + 400, 64, kSampleLeft + 350, 64));
    EXPECT_FLOAT_EQ(sound()[0], 3.0f);
    EXPECT_FLOAT_EQ(sound()[349], 3.0f);
    // A fast move from far left to far right of the plot draws across all of it.
    ASSERT_TRUE(dragWaveEditor(*app, kSampleLeft + 1000, 64, -500, 64));
    const float level = 60.0f * 256.0f / 120.0f - 128.0f;
    EXPECT_TRUE(
        std::all_of(sound(), sound() + kWaveformSamples, [&](float v) { return v == level; }));
}

TEST_F(MouseWaveEditorTest, DrawingRebuildsTheWaveformAndTheOneThatMixesItIn) {
    app->song.SoundEffect[7][kKnobMix].value = 1.0f; // slot 7 blends slot 0 in
    const float before7 = app->engine.playbackWaveforms.wave[7][100];
    app->drag.waveDragMode = kWaveDragDrawing;
    ASSERT_TRUE(dragWaveEditor(*app, kSampleLeft + 200, 124, kSampleLeft + 50, 124));
    EXPECT_FLOAT_EQ(app->engine.playbackWaveforms.wave[0][100], 125.0f);
    EXPECT_NE(app->engine.playbackWaveforms.wave[7][100], before7);
    EXPECT_EQ(previousWaveformSlot(0), 7);
    EXPECT_EQ(previousWaveformSlot(5), 4);
}

TEST_F(MouseWaveEditorTest, SlidersPickTheirThirdAndFollowVerticalDrags) {
    EXPECT_TRUE(pressWaveEditor(*app, 10, 50));
    EXPECT_EQ(app->drag.waveDragMode, kKnobHigh);
    ASSERT_TRUE(dragWaveEditor(*app, 10, -10, 10, 50)); // 60 pixels up: half the range
    EXPECT_FLOAT_EQ(app->song.SoundEffect[0][kKnobHigh].value, 0.5f);
    ASSERT_TRUE(dragWaveEditor(*app, 10, -200, 10, -10));
    EXPECT_FLOAT_EQ(app->song.SoundEffect[0][kKnobHigh].value, 1.0f);
    app->drag = DragState{};
    EXPECT_TRUE(pressWaveEditor(*app, 10, 10));
    EXPECT_EQ(app->drag.waveDragMode, kKnobMix);
    app->drag = DragState{};
    EXPECT_TRUE(pressWaveEditor(*app, 10, 100));
    EXPECT_EQ(app->drag.waveDragMode, kKnobNoise);
    // Between the sliders and the plot: no mode, yet the press counts as a change.
    app->drag = DragState{};
    EXPECT_TRUE(pressWaveEditor(*app, 38, 60));
    EXPECT_EQ(app->drag.waveDragMode, -1);
    EXPECT_FALSE(pressWaveEditor(*app, 3, 60));
    EXPECT_FALSE(pressWaveEditor(*app, 398, 60));
}

TEST_F(MouseWaveEditorTest, LoopMarkersOfImportedSoundsKeepTheirOrder) {
    LoopMarkers& loop = app->song.SoundFileLoop[0];
    app->song.SoundType[0] = 1;
    loop = {100, 110};
    // Nearer to the start marker: the start is taken.
    EXPECT_TRUE(pressWaveEditor(*app, kSampleLeft + 103, 60));
    EXPECT_EQ(app->drag.waveDragMode, kWaveDragLoopStart);
    EXPECT_EQ(loop.loopStart, 103);
    ASSERT_TRUE(dragWaveEditor(*app, kSampleLeft + 200, 60, kSampleLeft + 103, 60));
    EXPECT_EQ(loop.loopStart, 200);
    EXPECT_EQ(loop.loopEnd, 201) << "the end is pushed along";
    ASSERT_TRUE(dragWaveEditor(*app, kSampleLeft + 900, 60, kSampleLeft + 200, 60));
    EXPECT_EQ(loop.loopStart, 349);
    EXPECT_EQ(loop.loopEnd, 350);

    app->drag = DragState{};
    loop = {100, 110};
    EXPECT_TRUE(pressWaveEditor(*app, kSampleLeft + 108, 60));
    EXPECT_EQ(app->drag.waveDragMode, kWaveDragLoopEnd);
    ASSERT_TRUE(dragWaveEditor(*app, kSampleLeft - 50, 60, kSampleLeft + 108, 60));
    EXPECT_EQ(loop.loopEnd, 1);
    EXPECT_EQ(loop.loopStart, 0) << "the start is pushed along";

    // Far from both markers an imported sound is drawn on like any other.
    app->drag = DragState{};
    loop = {100, 110};
    EXPECT_TRUE(pressWaveEditor(*app, kSampleLeft + 300, 60));
    EXPECT_EQ(app->drag.waveDragMode, kWaveDragDrawing);
}

TEST_F(MouseWaveEditorTest, DamagedSelectionsAndMarkersStayInRange) {
    app->song.SoundIdx[0] = 12;
    EXPECT_FALSE(pressWaveEditor(*app, 200, 60));
    app->song.SoundIdx[0] = 0;
    app->song.SoundType[0] = 1;
    app->song.SoundFileLoop[0] = {-2000000000, 2000000000};
    app->drag.waveDragMode = kWaveDragLoopStart;
    ASSERT_TRUE(dragWaveEditor(*app, kSampleLeft + 10, 60, kSampleLeft, 60));
    EXPECT_EQ(app->song.SoundFileLoop[0].loopStart, 10);
    EXPECT_EQ(app->song.SoundFileLoop[0].loopEnd, 350);
}

} // namespace
