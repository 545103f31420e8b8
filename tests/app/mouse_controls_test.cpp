// The button and switch panels under the mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/mouse_controls.h"
#include "app/scripted_platform.h"
#include "files/recording.h"
#include "mouse_test_app.h"

namespace {

struct MouseControlsTest : ::testing::Test {
    std::unique_ptr<AppState> app = mouseTestApp();
    float& left() { return app->song.MainVolume[0]; }
    float& right() { return app->song.MainVolume[1]; }
};

// Main volume panel y for a fraction of its height (131 pixels): fraction 0.13 is full volume.
int volumeY(float fraction) {
    return static_cast<int>(fraction * 131.0f + 0.5f);
}

TEST_F(MouseControlsTest, MainVolumeColumnsAndTheModeBeforeEachEvent) {
    EXPECT_TRUE(pressMainVolume(*app, 5, volumeY(0.13f))); // column 0: left
    EXPECT_NEAR(left(), 1.0f, 0.01f);
    EXPECT_FLOAT_EQ(right(), 0.6f);
    EXPECT_EQ(app->drag.mainVolumeDragMode, 0);
    // Into the middle column: still only the left side for this event...
    EXPECT_TRUE(dragMainVolume(*app, 40, volumeY(0.5f)));
    const float half = 1.0f - (static_cast<float>(volumeY(0.5f)) / 131.0f - 0.13f) * 1.38f;
    EXPECT_FLOAT_EQ(left(), half);
    EXPECT_FLOAT_EQ(right(), 0.6f);
    EXPECT_EQ(app->drag.mainVolumeDragMode, 2);
    // ...and both from the next one on.
    EXPECT_TRUE(dragMainVolume(*app, 40, 131));
    EXPECT_FLOAT_EQ(left(), 0.0f);
    EXPECT_FLOAT_EQ(right(), 0.0f);

    app->drag = DragState{};
    EXPECT_TRUE(pressMainVolume(*app, 82, volumeY(0.0f)));
    EXPECT_FLOAT_EQ(right(), 1.0f);
    EXPECT_FLOAT_EQ(left(), 0.0f);
    EXPECT_EQ(app->drag.mainVolumeDragMode, 1);
}

TEST_F(MouseControlsTest, MainVolumeTakesPressesOnlyInsideItsPanel) {
    EXPECT_FALSE(pressMainVolume(*app, -1, 40)) << "the note pad's last column lies here";
    EXPECT_FALSE(pressMainVolume(*app, -16, 40));
    EXPECT_FALSE(pressMainVolume(*app, 84, 40)) << "column 5";
    EXPECT_FALSE(pressMainVolume(*app, 40, -1));
    EXPECT_FALSE(pressMainVolume(*app, 40, 132));
    EXPECT_FLOAT_EQ(left(), 0.6f);
    EXPECT_FLOAT_EQ(right(), 0.6f);
    EXPECT_EQ(app->drag.mainVolumeDragMode, -1);
}

TEST_F(MouseControlsTest, NoteBankButtonsViewAndLengthLimits) {
    EXPECT_TRUE(pressNoteBankButtons(*app, 26 * 9 + 1, 10));
    EXPECT_EQ(app->drag.viewOffset[0], 144);
    EXPECT_TRUE(pressNoteBankButtons(*app, 270, 10));
    EXPECT_EQ(app->song.BPMsr[0], 16) << "16 stays 16";
    app->song.BPMsr[0] = 1;
    EXPECT_TRUE(pressNoteBankButtons(*app, 270, 11));
    EXPECT_EQ(app->song.BPMsr[0], 1) << "1 stays 1";
    EXPECT_TRUE(pressNoteBankButtons(*app, 285, 0));
    EXPECT_EQ(app->song.BPMsr[0], 2);
    EXPECT_FALSE(pressNoteBankButtons(*app, 286, 5));
    EXPECT_FALSE(pressNoteBankButtons(*app, -1, 5));
    EXPECT_FALSE(pressNoteBankButtons(*app, 10, 23));
}

TEST_F(MouseControlsTest, RightPressOnABankButtonQueuesIt) {
    BankStack& stack = app->song.PatternStack[0];
    EXPECT_TRUE(rightPressNoteBankButtons(*app, 26 * 3, 5));
    EXPECT_EQ(stack.entries[1], 3);
    app->engine.playing = 1;
    stack.entries[0] = -1;
    EXPECT_TRUE(rightPressNoteBankButtons(*app, 26 * 4, 5));
    EXPECT_EQ(stack.entries[0], -1) << "the head is left alone while playing";
    EXPECT_EQ(stack.entries[2], 4);
    EXPECT_TRUE(rightPressNoteBankButtons(*app, 270, 5)) << "the length switch changes nothing";
    EXPECT_EQ(stack.entries[3], -1);
}

TEST_F(MouseControlsTest, SequencerRemovesEntriesAndTogglesTheMode) {
    BankStack& stack = app->song.PatternStack[2];
    const int entries[kStackEntries] = {5, 6, 7, -1, -1, -1, -1, -1};
    std::copy(entries, entries + kStackEntries, stack.entries);
    EXPECT_TRUE(pressNoteBankSequencer(*app, 23, 23 * 2 + 5));
    EXPECT_EQ(stack.entries[0], -1) << "removing the first entry leaves it empty";
    EXPECT_EQ(stack.entries[1], 6);
    EXPECT_EQ(app->ui.currentInstrument, 2);
    EXPECT_TRUE(pressNoteBankSequencer(*app, 23 + 23 + 1, 23 * 2));
    EXPECT_EQ(stack.entries[1], 7);
    EXPECT_EQ(stack.entries[2], -1);

    EXPECT_TRUE(pressNoteBankSequencer(*app, 22, 91));
    EXPECT_EQ(app->song.PatternStack[3].stackMode, kStackConsume);
    EXPECT_TRUE(pressNoteBankSequencer(*app, 0, 70));
    EXPECT_EQ(app->song.PatternStack[3].stackMode, kStackRotate);
    EXPECT_EQ(app->ui.currentInstrument, 2) << "the mode switch selects no instrument";
    EXPECT_FALSE(pressNoteBankSequencer(*app, 207, 10));
    EXPECT_FALSE(pressNoteBankSequencer(*app, 10, 92));
}

TEST_F(MouseControlsTest, InstrumentControlMuteOctaveAndVolume) {
    // Stopped: the mute flips at once and a pending toggle is dropped.
    app->engine.pendingMuteToggle[1] = 1;
    EXPECT_TRUE(pressInstrumentControl(*app, 51, 10));
    EXPECT_EQ(app->song.Mute[1], 1);
    EXPECT_EQ(app->engine.pendingMuteToggle[1], 0);
    // Playing: only the pending toggle changes, for the next bank boundary.
    app->engine.playing = 1;
    EXPECT_TRUE(pressInstrumentControl(*app, 0, 22));
    EXPECT_EQ(app->song.Mute[0], 0);
    EXPECT_EQ(app->engine.pendingMuteToggle[0], 1);
    EXPECT_EQ(app->drag.instrumentDragIndex, -1);

    EXPECT_TRUE(pressInstrumentControl(*app, 102, 23)); // column 4: instrument 2's octave
    EXPECT_EQ(app->song.Oct[2], 3);
    EXPECT_EQ(app->drag.instrumentDragIndex, 2);
    EXPECT_EQ(app->drag.instrumentDragOctave, 1);
    const int octaves[][2] = {{33, 3}, {34, 2}, {44, 2},  {45, 1}, {55, 1},
                              {56, 0}, {68, 0}, {500, 0}, {0, 3},  {-200, 3}};
    for (const auto& [y, octave] : octaves) {
        EXPECT_TRUE(dragInstrumentControl(*app, y));
        EXPECT_EQ(app->song.Oct[2], octave) << y;
    }

    app->drag = DragState{};
    EXPECT_TRUE(pressInstrumentControl(*app, 203, 34)); // column 7: instrument 3's volume
    EXPECT_FLOAT_EQ(app->song.Volume[3], 0.5f);
    EXPECT_EQ(app->drag.instrumentDragOctave, 0);
    EXPECT_TRUE(dragInstrumentControl(*app, -50));
    EXPECT_FLOAT_EQ(app->song.Volume[3], 1.0f);
    EXPECT_TRUE(dragInstrumentControl(*app, 64));
    EXPECT_FLOAT_EQ(app->song.Volume[3], 0.0f);
    EXPECT_FALSE(pressInstrumentControl(*app, 204, 30));
    EXPECT_FALSE(pressInstrumentControl(*app, 10, 69));
}

TEST_F(MouseControlsTest, SelectionButtons) {
    EXPECT_TRUE(pressInstrumentButtons(*app, 153, 0));
    EXPECT_EQ(app->ui.currentInstrument, 3);
    EXPECT_FALSE(pressInstrumentButtons(*app, 204, 0));
    EXPECT_TRUE(pressEnvelopeButtons(*app, 303, 22));
    EXPECT_EQ(app->song.EnvIdx[3], 7);
    EXPECT_FALSE(pressEnvelopeButtons(*app, 10, 23));
    EXPECT_TRUE(pressWaveButtons(*app, 44 * 5, 3));
    EXPECT_EQ(app->song.SoundIdx[3], 5);
    EXPECT_FALSE(pressWaveButtons(*app, 352, 3));
}

TEST_F(MouseControlsTest, BpmDigitsSelectOneAtATime) {
    app->ui.bpmDigitSelected[0] = 1;
    EXPECT_TRUE(pressBpmDisplay(*app, 4 + 15 * 2, 10));
    const int selected[5] = {0, 0, 1, 0, 0};
    for (int d = 0; d < 5; ++d) EXPECT_EQ(app->ui.bpmDigitSelected[d], selected[d]);
    EXPECT_TRUE(pressBpmDisplay(*app, 78, 0));
    EXPECT_EQ(app->ui.bpmDigitSelected[4], 1);
    EXPECT_FALSE(pressBpmDisplay(*app, 79, 0)) << "a sixth digit does not exist";
    EXPECT_FALSE(pressBpmDisplay(*app, 3, 0));
    EXPECT_FALSE(pressBpmDisplay(*app, 10, 23));
    EXPECT_EQ(app->ui.bpmDigitSelected[4], 1);
}

TEST_F(MouseControlsTest, StopEndsARunningRecordingAtOnce) {
    std::ostringstream messages;
    ScriptedPlatform platform(messages);
    ASSERT_TRUE(
        beginRecordingFile(app->recording, app->engine.streamRate, app->engine.chunkFrames));
    app->recording.stopRequested = 1;
    EXPECT_TRUE(pressPlayStopRecord(*app, platform, 20, 22 * 2));
    EXPECT_EQ(app->recording.active, 0);
    EXPECT_EQ(app->recording.file, nullptr);
    EXPECT_EQ(app->recording.stopRequested, 0);
    EXPECT_EQ(app->engine.playing, 0);
    EXPECT_FALSE(pressPlayStopRecord(*app, platform, 20, 22 * 6)) << "the last row does nothing";
    EXPECT_FALSE(pressPlayStopRecord(*app, platform, 46, 0));
    EXPECT_FALSE(pressPlayStopRecord(*app, platform, 20, -1));
}

} // namespace
