// Effect knobs, the 2D effect controller and the delay/reverb panel under the mouse.
#include <gtest/gtest.h>

#include "app/mouse_effects.h"
#include "mouse_test_app.h"

namespace {

struct MouseEffectsTest : ::testing::Test {
    std::unique_ptr<AppState> app = mouseTestApp();
    EffectAxes& axes() { return app->song.EffectDim[0]; }
    float& knob(int index) { return app->song.Effect[0][index].value; }
    float* delay(int row) { return app->song.DelayParams[0][row]; }
};

// Panel y of a knob row's name strip and of its knob.
int nameY(int row) {
    return 4 + 36 * row + 3;
}
int knobY(int row) {
    return 4 + 36 * row + 20;
}

TEST_F(MouseEffectsTest, KnobPressStartsADragThatFollowsVerticalMoves) {
    EXPECT_TRUE(pressEffectKnobs(*app, 50, knobY(2))); // right column, third row
    EXPECT_EQ(app->drag.knobDragIndex, 5);
    knob(5) = 0.25f;
    EXPECT_TRUE(dragEffectKnob(*app, 70, 100)); // 30 pixels up
    EXPECT_FLOAT_EQ(knob(5), 0.5f);
    EXPECT_TRUE(dragEffectKnob(*app, 1000, 70));
    EXPECT_FLOAT_EQ(knob(5), 0.0f);
    EXPECT_EQ(app->drag.slideKnobChanged, 0);

    app->drag.knobDragIndex = kKnobSlide;
    EXPECT_TRUE(dragEffectKnob(*app, 0, 12));
    EXPECT_FLOAT_EQ(knob(kKnobSlide), 0.35f);
    EXPECT_EQ(app->drag.slideKnobChanged, 1);
}

TEST_F(MouseEffectsTest, OnlyTheTwelveShownKnobsCanBeHit) {
    EXPECT_TRUE(pressEffectKnobs(*app, 79, knobY(5)));
    EXPECT_EQ(app->drag.knobDragIndex, 11);
    app->drag = DragState{};
    EXPECT_FALSE(pressEffectKnobs(*app, 10, 4 + 36 * 6)) << "below the panel, over the CPU meter";
    EXPECT_FALSE(pressEffectKnobs(*app, 10, knobY(7)));
    EXPECT_FALSE(pressEffectKnobs(*app, 80, knobY(0)));
    EXPECT_FALSE(pressEffectKnobs(*app, -1, knobY(0)));
    EXPECT_FALSE(pressEffectKnobs(*app, 10, 3));
    EXPECT_EQ(app->drag.knobDragIndex, -1);
    EXPECT_EQ(axes().xKnob, 0);
    EXPECT_EQ(axes().yKnob, 1);
}

TEST_F(MouseEffectsTest, KnobNameClickMovesTheAxes) {
    EXPECT_TRUE(pressEffectKnobs(*app, 10, nameY(3))); // knob 6
    EXPECT_EQ(axes().xKnob, 6);
    EXPECT_EQ(axes().yKnob, 0) << "the former x-axis knob goes to the y axis";
    EXPECT_EQ(app->drag.knobDragIndex, -1);
    EXPECT_TRUE(pressEffectKnobs(*app, 10, nameY(3)));
    EXPECT_EQ(axes().xKnob, 6);
    EXPECT_EQ(axes().yKnob, 6) << "the x-axis knob's own name makes both axes that knob";
    EXPECT_TRUE(isEffectAxis(*app, 6));
    EXPECT_FALSE(isEffectAxis(*app, 0));
}

TEST_F(MouseEffectsTest, ControllerStripsStepThroughAllKnobsAndWrap) {
    axes() = {14, 15};
    EXPECT_TRUE(pressEffectController2D(*app, 5, 100));
    EXPECT_EQ(axes().yKnob, 0);
    EXPECT_TRUE(pressEffectController2D(*app, 100, 195));
    EXPECT_EQ(axes().xKnob, 15);
    EXPECT_TRUE(pressEffectController2D(*app, 13, 188));
    EXPECT_EQ(axes().xKnob, 0);
    EXPECT_EQ(app->drag.effectDimDragging, 0) << "the strips start no drag";
    axes() = {-7, 40}; // as a damaged file may store them
    EXPECT_TRUE(pressEffectController2D(*app, 5, 100));
    EXPECT_TRUE(pressEffectController2D(*app, 100, 195));
    EXPECT_EQ(axes().yKnob, 9);
    EXPECT_EQ(axes().xKnob, 10);
}

TEST_F(MouseEffectsTest, ControllerSetsBothAxisKnobsWithoutBoundsWhileDragging) {
    axes() = {3, kKnobSlide};
    EXPECT_TRUE(pressEffectController2D(*app, 27 + 79, 14 + 158));
    EXPECT_EQ(app->drag.effectDimDragging, 1);
    EXPECT_FLOAT_EQ(knob(3), 0.5f);
    EXPECT_FLOAT_EQ(knob(kKnobSlide), 1.0f);
    EXPECT_EQ(app->drag.slideKnobChanged, 1);
    EXPECT_TRUE(dragEffectController2D(*app, -300, 900));
    EXPECT_FLOAT_EQ(knob(3), 0.0f);
    EXPECT_FLOAT_EQ(knob(kKnobSlide), 1.0f);
    EXPECT_FALSE(pressEffectController2D(*app, 201, 50));
    axes() = {99, 1};
    EXPECT_TRUE(dragEffectController2D(*app, 100, 14)); // a damaged axis is skipped
    EXPECT_FLOAT_EQ(knob(1), 0.0f);
}

TEST_F(MouseEffectsTest, DelayOffsetReachesZeroOnlyByAPress) {
    EXPECT_TRUE(pressDelayReverb(*app, 0, 15 + 25 + 3));
    EXPECT_EQ(app->drag.delayDragRow, 1);
    EXPECT_EQ(app->drag.delayDragColumn, kDelayOffset);
    EXPECT_FLOAT_EQ(delay(1)[kDelayOffset], 0.0f);
    EXPECT_FLOAT_EQ(delay(1)[kDelayFineTune], 0.5f);
    EXPECT_TRUE(dragDelayReverb(*app, -40, 50, 40));
    EXPECT_FLOAT_EQ(delay(1)[kDelayOffset], 0.05f);
    EXPECT_TRUE(dragDelayReverb(*app, 82, 50, 40));
    EXPECT_FLOAT_EQ(delay(1)[kDelayOffset], 2.0f);
    EXPECT_TRUE(dragDelayReverb(*app, 1000, 50, 40));
    EXPECT_FLOAT_EQ(delay(1)[kDelayOffset], 4.0f);
    EXPECT_TRUE(pressDelayReverb(*app, 161, 89));
    EXPECT_FLOAT_EQ(delay(2)[kDelayOffset], 159.0f / 40.0f);
}

TEST_F(MouseEffectsTest, DelayKnobColumnsAndTheirDrags) {
    const int columns[][2] = {{162, 2}, {194, 2}, {195, 3}, {225, 3},
                              {226, 4}, {256, 4}, {257, 5}, {287, 5}};
    for (const auto& [x, column] : columns) {
        app->drag = DragState{};
        EXPECT_TRUE(pressDelayReverb(*app, x, 20)) << x;
        EXPECT_EQ(app->drag.delayDragColumn, column) << x;
    }
    EXPECT_FALSE(pressDelayReverb(*app, 288, 20));
    EXPECT_FALSE(pressDelayReverb(*app, 100, 14));
    EXPECT_FALSE(pressDelayReverb(*app, 100, 90));

    app->drag = DragState{};
    ASSERT_TRUE(pressDelayReverb(*app, 170, 20)); // feedback of delay 0
    EXPECT_TRUE(dragDelayReverb(*app, 170, 20 - 55, 20));
    EXPECT_FLOAT_EQ(delay(0)[kDelayFeedback], 0.25f);
    EXPECT_TRUE(dragDelayReverb(*app, 170, 400, 20 - 55));
    EXPECT_FLOAT_EQ(delay(0)[kDelayFeedback], 0.0f);
}

} // namespace
