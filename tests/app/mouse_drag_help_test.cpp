// The help line's texts for drags in progress.
#include <gtest/gtest.h>

#include <string>

#include "app/drag_help.h"
#include "mouse_test_app.h"

namespace {

struct MouseDragHelpTest : ::testing::Test {
    std::unique_ptr<AppState> app = mouseTestApp();
    std::string text() {
        const char* shown = dragHelpText(*app);
        return shown ? shown : "(none)";
    }
};

TEST_F(MouseDragHelpTest, IdleFieldsAndUnnamedKnobsAddNoText) {
    EXPECT_EQ(text(), "(none)");
    app->drag.knobDragIndex = 12;
    EXPECT_EQ(text(), "(none)");
    app->drag.knobDragIndex = 11;
    EXPECT_EQ(text(), "EFFECT KNOB:  ADJUST NOTE PITCH ");
}

TEST_F(MouseDragHelpTest, WaveTextsDependOnTheKindOfWaveform) {
    app->drag.waveDragMode = 0;
    EXPECT_EQ(text(), "WAVE EDITOR:  FADE BETWEEN TWO WAVEFORMS");
    app->drag.waveDragMode = 3;
    EXPECT_EQ(text(), "WAVE EDITOR:  DRAW THE WAVEFORM");
    app->song.SoundType[0] = 1;
    EXPECT_EQ(text(), "(none)") << "drawing on an imported sound";
    app->drag.waveDragMode = 1;
    EXPECT_EQ(text(), "WAVE EDITOR:  NO EFFECT");
    app->drag.waveDragMode = 5;
    EXPECT_EQ(text(), "WAVE EDITOR:  ADJUST END OF WAVE LOOP");
    app->song.SoundIdx[0] = 9; // a damaged selection
    EXPECT_EQ(text(), "(none)");
}

TEST_F(MouseDragHelpTest, TheLastTextThatAppliesIsShown) {
    app->drag.effectDimDragging = 1;
    EXPECT_EQ(text(),
              "2D EFFECT CONTROLLER:  ADJUST TWO EFFECT KNOBS AT ONCE  <PRESS ON EFFECT NAMES "
              "TO SWITCH>");
    app->drag.knobDragIndex = 0;
    EXPECT_EQ(text(), "EFFECT KNOB:  ADJUST FREQUENCY CUTOFF ");
    app->drag.instrumentDragIndex = 0;
    app->drag.instrumentDragOctave = 1;
    EXPECT_EQ(text(), "INSTRUMENT CONTROL:  ADJUST THE INSTRUMENT'S OCTAVE ");
    app->drag.envelopeDragMode = 2;
    EXPECT_EQ(text(), "ENVELOPE EDITOR:  ADJUST THE END OF THE ENVELOPE");
    app->drag.noteDrawList[0] = {3, 4};
    EXPECT_EQ(text(), "NOTE PAD:  DRAW NOTE  <RIGHT CLICK> ERASE NOTE");
    app->drag.mainVolumeDragMode = 1;
    EXPECT_EQ(text(), "MAIN VOLUME CONTROL:  CONTROL RIGHT VOLUME");
    app->drag.chordDragIndex = 0;
    EXPECT_EQ(text(), "CHORD KEYS:  ADJUST CHORD NOTE - HEIGHT OF GREEN CONTROLS VOLUME ");
    app->drag.panVelocityDragging = 1;
    app->drag.panVelocitySelect = 0;
    EXPECT_EQ(text(), "PAN AND VELOCITY:  ADJUST THE VELOCITY FOR THE NOTE ");
    app->drag.delayDragColumn = 4;
    EXPECT_EQ(text(), "DELAY/REVERB:  ADJUST THE DELAY STEREO PAN ");
}

} // namespace
