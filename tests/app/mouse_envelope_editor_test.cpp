// The envelope editor under the mouse: mode and curve buttons, markers, drawing.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/mouse_envelope_editor.h"
#include "mouse_test_app.h"

namespace {

constexpr int kPointLeft = 50; // panel x of point 0

struct MouseEnvelopeEditorTest : ::testing::Test {
    std::unique_ptr<AppState> app = mouseTestApp();
    EnvelopeSettings& settings() { return app->song.EnvelopeParams[0]; }
    void setMarkers(int start, int end, int release) {
        settings().sustainStart = start;
        settings().sustainEnd = end;
        settings().releaseEnd = release;
    }
    void expectMarkers(int start, int end, int release) {
        EXPECT_EQ(settings().sustainStart, start);
        EXPECT_EQ(settings().sustainEnd, end);
        EXPECT_EQ(settings().releaseEnd, release);
    }
    // A marker drag from the marker strip: press on the marker, move to x.
    void dragMarker(int from, int x) {
        app->drag = DragState{};
        ASSERT_TRUE(pressEnvelopeEditor(*app, kPointLeft + from, 5));
        dragEnvelopeEditor(*app, x, 5, kPointLeft + from, 5);
    }
};

TEST_F(MouseEnvelopeEditorTest, ModeAndCurveButtons) {
    app->drag.envelopeAllCurvesDirty = 1;
    EXPECT_TRUE(pressEnvelopeEditor(*app, 22, 5));
    EXPECT_EQ(settings().envelopeMode, 1);
    EXPECT_EQ(app->drag.envelopeAllCurvesDirty, 1);
    EXPECT_TRUE(pressEnvelopeEditor(*app, 23, 5));
    EXPECT_EQ(settings().envelopeMode, 0);

    EXPECT_TRUE(pressEnvelopeEditor(*app, 10, 14));
    EXPECT_EQ(app->ui.envelopeCurve, 0);
    EXPECT_EQ(app->drag.envelopeAllCurvesDirty, 0) << "every press clears the flag first";
    EXPECT_TRUE(pressEnvelopeEditor(*app, 10, 13 + 38 * 2));
    EXPECT_EQ(app->ui.envelopeCurve, 2);
    EXPECT_TRUE(pressEnvelopeEditor(*app, 45, 161));
    EXPECT_EQ(app->ui.envelopeCurve, 3);
    EXPECT_EQ(app->drag.envelopeDragMode, -1) << "buttons start no drag";
    EXPECT_FALSE(pressEnvelopeEditor(*app, 10, 13));
    EXPECT_FALSE(pressEnvelopeEditor(*app, 354, 50));
    EXPECT_FALSE(pressEnvelopeEditor(*app, 100, 162));
}

TEST_F(MouseEnvelopeEditorTest, MarkerStripGrabsTheNearestMarkerEarlierOnTies) {
    setMarkers(100, 110, 200);
    EXPECT_TRUE(pressEnvelopeEditor(*app, kPointLeft + 105, 5));
    EXPECT_EQ(app->drag.envelopeDragMode, 0) << "equal distances: the earlier marker";
    expectMarkers(105, 110, 200);

    app->drag = DragState{};
    setMarkers(100, 110, 200);
    EXPECT_TRUE(pressEnvelopeEditor(*app, kPointLeft + 106, 10));
    EXPECT_EQ(app->drag.envelopeDragMode, 1);

    app->drag = DragState{};
    EXPECT_FALSE(pressEnvelopeEditor(*app, kPointLeft + 150, 5)) << "nothing within 10";
    EXPECT_EQ(app->drag.envelopeDragMode, -1);
    EXPECT_FALSE(pressEnvelopeEditor(*app, kPointLeft + 210, 5));
    EXPECT_TRUE(pressEnvelopeEditor(*app, kPointLeft + 209, 5));
    EXPECT_EQ(app->drag.envelopeDragMode, 2);
}

TEST_F(MouseEnvelopeEditorTest, MarkerDragsKeepTheMarkersInOrder) {
    setMarkers(100, 150, 200);
    dragMarker(200, kPointLeft + 50); // releaseEnd below both sustain markers
    expectMarkers(50, 50, 50);

    setMarkers(100, 150, 200);
    dragMarker(150, kPointLeft + 80); // sustainEnd below sustainStart
    expectMarkers(80, 80, 200);
    setMarkers(100, 150, 200);
    dragMarker(150, kPointLeft + 250); // sustainEnd above releaseEnd
    expectMarkers(100, 250, 250);

    setMarkers(100, 150, 200);
    dragMarker(100, 400); // sustainStart past the end of the curve
    expectMarkers(299, 299, 299);
    setMarkers(100, 150, 200);
    dragMarker(100, -100);
    expectMarkers(0, 150, 200);
}

TEST_F(MouseEnvelopeEditorTest, DrawingSetsPointsAndTheGuardPoint) {
    app->ui.envelopeCurve = kCurvePitch;
    float* pitch = app->song.Pitch[0];
    EXPECT_TRUE(pressEnvelopeEditor(*app, kPointLeft + 10, 50));
    EXPECT_EQ(app->drag.envelopeDragMode, kEnvelopeDragDrawing);
    EXPECT_FLOAT_EQ(pitch[10], 0.5f) << "a click draws nothing";
    // y 15 is 1, y 158 is 0; values beyond are clamped.
    ASSERT_TRUE(dragEnvelopeEditor(*app, kPointLeft + 320, 300, kPointLeft + 280, 0));
    EXPECT_FLOAT_EQ(pitch[279], 0.5f);
    EXPECT_FLOAT_EQ(pitch[280], 1.0f);
    EXPECT_FLOAT_EQ(pitch[290], 0.75f);
    EXPECT_FLOAT_EQ(pitch[299], 1.0f - 19.0f / 40.0f);
    EXPECT_FLOAT_EQ(pitch[300], pitch[299]) << "the guard point follows the last point";
    EXPECT_FLOAT_EQ(app->song.Envelope[0][300], 0.0f);
}

TEST_F(MouseEnvelopeEditorTest, DrawingSkipsOnlySegmentsWhollyOnOneSide) {
    app->ui.envelopeCurve = kCurveCutoff;
    float* cutoff = app->song.Cutoff[0];
    app->drag.envelopeDragMode = kEnvelopeDragDrawing;
    EXPECT_FALSE(dragEnvelopeEditor(*app, kPointLeft - 40, 15, kPointLeft, 15));
    EXPECT_FALSE(dragEnvelopeEditor(*app, kPointLeft + 600, 15, kPointLeft + 300, 15));
    EXPECT_FLOAT_EQ(cutoff[0], 0.5f);
    EXPECT_FLOAT_EQ(cutoff[299], 0.5f);
    ASSERT_TRUE(dragEnvelopeEditor(*app, kPointLeft + 600, 158, kPointLeft - 600, 158));
    EXPECT_TRUE(std::all_of(cutoff, cutoff + 300, [](float v) { return v == 0.0f; }));
}

TEST_F(MouseEnvelopeEditorTest, DamagedBankIndexOrMarkersAreHandled) {
    app->song.EnvIdx[0] = -3;
    EXPECT_FALSE(pressEnvelopeEditor(*app, 100, 50));
    app->song.EnvIdx[0] = 2;
    app->song.EnvelopeParams[2] = {-50, 1000000, 2000000000, 0};
    app->drag.envelopeDragMode = 1;
    ASSERT_TRUE(dragEnvelopeEditor(*app, kPointLeft + 120, 5, kPointLeft, 5));
    EXPECT_EQ(app->song.EnvelopeParams[2].sustainStart, 0);
    EXPECT_EQ(app->song.EnvelopeParams[2].sustainEnd, 120);
    EXPECT_EQ(app->song.EnvelopeParams[2].releaseEnd, 299);
}

} // namespace
