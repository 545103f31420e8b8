// The pan and velocity panel and the chord keys under the mouse.
#include <gtest/gtest.h>

#include "app/mouse_step_values.h"
#include "mouse_test_app.h"

namespace {

struct MouseStepValuesTest : ::testing::Test {
    std::unique_ptr<AppState> app = mouseTestApp();
    ChordKeySet& chord() { return app->song.Chorus[0]; }
};

TEST_F(MouseStepValuesTest, PanVelocityPressLimits) {
    float* pan = app->song.Pan[0];
    EXPECT_FALSE(pressPanVelocity(*app, 100, 4)) << "value 1 does not start a drag";
    EXPECT_FALSE(pressPanVelocity(*app, 100, 43)) << "value below 0";
    EXPECT_FALSE(pressPanVelocity(*app, 15, 20)) << "x - 15 must be at least 1";
    EXPECT_FALSE(pressPanVelocity(*app, 416, 20));
    EXPECT_EQ(app->drag.panVelocityDragging, 0);
    EXPECT_TRUE(pressPanVelocity(*app, 16, 5));
    EXPECT_NEAR(pan[0], 37.0f / 38.0f, 1e-6);
    EXPECT_EQ(app->drag.panVelocityDragging, 1);
    EXPECT_TRUE(pressPanVelocity(*app, 415, 42));
    EXPECT_FLOAT_EQ(pan[15], 0.0f);
}

TEST_F(MouseStepValuesTest, PanVelocityDragsClampAndFollowTheView) {
    app->drag.viewOffset[0] = 48;
    app->drag.panVelocitySelect = 0; // velocity
    ASSERT_TRUE(pressPanVelocity(*app, 15 + 401 / 2, 20));
    EXPECT_FLOAT_EQ(app->song.Vel[0][48 + 7], 22.0f / 38.0f); // 200 * 16 / 401
    EXPECT_TRUE(dragPanVelocity(*app, 15 + 30, -100));
    EXPECT_FLOAT_EQ(app->song.Vel[0][48 + 1], 1.0f);
    EXPECT_TRUE(dragPanVelocity(*app, 15, 200)); // x - 15 = 0 is written while dragging
    EXPECT_FLOAT_EQ(app->song.Vel[0][48], 0.0f);
    EXPECT_TRUE(dragPanVelocity(*app, 2000, 20)); // off the bars: nothing written
    EXPECT_FLOAT_EQ(app->song.Pan[0][48], 0.5f);
}

TEST_F(MouseStepValuesTest, PanVelocitySwitchToggles) {
    EXPECT_TRUE(pressPanVelocity(*app, 10, 45));
    EXPECT_EQ(app->drag.panVelocitySelect, 0);
    EXPECT_TRUE(pressPanVelocity(*app, 0, 0));
    EXPECT_EQ(app->drag.panVelocitySelect, 1);
    EXPECT_EQ(app->drag.panVelocityDragging, 0);
}

// Panel x of the column of a semitone offset, y of a level.
int chordX(int offset) {
    return 4 + (offset + 25) * 7 + 3;
}
int chordY(float level) {
    return 4 + static_cast<int>((1.0f - level) * 30.0f);
}

TEST_F(MouseStepValuesTest, ChordKeysUpdateOrAppend) {
    // The default chord is one key at offset 0, level 1.
    EXPECT_TRUE(pressChordKeys(*app, chordX(0), chordY(0.5f)));
    EXPECT_EQ(chord().count, 1);
    EXPECT_FLOAT_EQ(chord().keys[0].level, 0.5f);
    EXPECT_EQ(app->drag.chordDragIndex, 0);

    app->drag = DragState{};
    EXPECT_TRUE(pressChordKeys(*app, chordX(-25), 4));
    EXPECT_EQ(chord().count, 2);
    EXPECT_FLOAT_EQ(chord().keys[1].semitoneOffset, -25.0f);
    EXPECT_FLOAT_EQ(chord().keys[1].level, 1.0f);
    // The drag keeps the key's offset wherever x goes.
    EXPECT_TRUE(dragChordKeys(*app, chordX(20), 100));
    EXPECT_FLOAT_EQ(chord().keys[1].semitoneOffset, -25.0f);
    EXPECT_FLOAT_EQ(chord().keys[1].level, 0.0f);
    EXPECT_EQ(chord().count, 2);

    app->drag = DragState{};
    EXPECT_FALSE(pressChordKeys(*app, chordX(24) + 7, 10)) << "column 50";
    EXPECT_FALSE(pressChordKeys(*app, chordX(0), 35)) << "level below 0";
    EXPECT_FALSE(pressChordKeys(*app, chordX(0), 3));
    EXPECT_TRUE(pressChordKeys(*app, chordX(24), 34));
    EXPECT_FLOAT_EQ(chord().keys[2].semitoneOffset, 24.0f);
}

TEST_F(MouseStepValuesTest, NinthChordKeyReplacesTheQuietestOnlyWhenLouder) {
    chord().count = 8;
    for (int k = 0; k < 8; ++k) chord().keys[k] = {static_cast<float>(k), 0.5f};
    chord().keys[3].level = 0.2f;
    chord().keys[6].level = 0.2f;
    EXPECT_FALSE(pressChordKeys(*app, chordX(-10), chordY(0.1f)));
    EXPECT_FALSE(pressChordKeys(*app, chordX(-10), chordY(0.2f))) << "not louder";
    EXPECT_EQ(app->drag.chordDragIndex, -1);
    EXPECT_TRUE(pressChordKeys(*app, chordX(-10), chordY(0.8f)));
    EXPECT_EQ(chord().count, 8);
    EXPECT_FLOAT_EQ(chord().keys[3].semitoneOffset, -10.0f) << "the first of the quietest";
    EXPECT_FLOAT_EQ(chord().keys[6].semitoneOffset, 6.0f);
    EXPECT_EQ(app->drag.chordDragIndex, 3);
}

TEST_F(MouseStepValuesTest, DamagedChordCountsStayInsideTheRecord) {
    chord().count = 5000;
    EXPECT_TRUE(pressChordKeys(*app, chordX(-3), chordY(1.0f)));
    EXPECT_EQ(chord().count, 5000);
    chord().count = -4;
    app->drag = DragState{};
    EXPECT_TRUE(pressChordKeys(*app, chordX(-3), chordY(1.0f)));
    EXPECT_EQ(chord().count, 1);
    EXPECT_FLOAT_EQ(chord().keys[0].semitoneOffset, -3.0f);
    app->drag.chordDragIndex = 7; // beyond the one key now in use
    EXPECT_FALSE(dragChordKeys(*app, chordX(0), 10));
}

} // namespace
