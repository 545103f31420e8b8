// Scripted press, move and release sequences through the mouse entry points of a whole session.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "app/app_state.h"
#include "app/hover_help.h"
#include "app/script_session.h"
#include "app/startup.h"

namespace {

struct Point {
    int x;
    int y;
};

struct MouseDispatchTest : ::testing::Test {
    VirtualSoundDevice device; // outlives the AppState, as in the program
    std::unique_ptr<AppState> state = startedApp(device);
    std::ostringstream protocol;
    ScriptSession session{*state, device, protocol};

    static std::unique_ptr<AppState> startedApp(VirtualSoundDevice& device) {
        auto app = std::make_unique<AppState>();
        initAppState(*app, device);
        return app;
    }

    void SetUp() override { ASSERT_TRUE(startScriptSession(session)); }
    void TearDown() override { endScriptSession(session); }

    AppState& app() { return session.app; }
    const PanelRect& rect(PanelId id) { return panelRect(session.screen.layout, id); }
    // The client pixel at a panel-local position.
    Point at(PanelId id, int x, int y) { return {rect(id).left + x, rect(id).top + y}; }

    void run(const std::string& lines) {
        std::istringstream script(lines);
        std::ostringstream errors;
        ASSERT_EQ(runScript(session, script, errors), 0) << errors.str();
    }
    void command(const char* name, Point p) {
        run(std::string(name) + " " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n");
    }
    void down(Point p) { command("down", p); }
    void move(Point p) { command("move", p); }
    void rdown(Point p) { command("rdown", p); }
    void up() { run("up 0 0\n"); }
    std::string helpAt(Point p) { return hoverHelpText(app(), session.screen, p.x, p.y); }

    // Panel-local pixel of a note pad cell (column within the view, note row).
    Point cell(int column, int noteRow) {
        return at(PanelId::NotePad, 4 + 25 * column + 12, 4 + 8 * (23 - noteRow) + 4);
    }
};

TEST_F(MouseDispatchTest, KnobDragKeepsItsHelpTextAfterLeavingThePanel) {
    const Point knob3 = at(PanelId::EffectKnobs, 50, 4 + 36 + 20);
    app().song.Effect[0][kKnobDistort].value = 0.0f;
    move(knob3);
    down(knob3);
    EXPECT_EQ(app().drag.knobDragIndex, kKnobDistort);
    const Point overNotePad = {cell(5, 5).x, knob3.y - 30}; // 30 pixels up: a quarter
    move(overNotePad);
    EXPECT_FLOAT_EQ(app().song.Effect[0][kKnobDistort].value, 0.25f);
    EXPECT_EQ(helpAt(overNotePad), "EFFECT KNOB:  AMOUNT OF DISTORTION ");
    up();
    EXPECT_EQ(app().drag.knobDragIndex, -1);
    EXPECT_EQ(helpAt(overNotePad).rfind("NOTE PAD:", 0), 0u);
}

TEST_F(MouseDispatchTest, PressBelowTheEffectKnobsOverTheCpuMeterEditsNothing) {
    const PanelRect& knobs = rect(PanelId::EffectKnobs);
    const Point overCpuMeter = {knobs.left + 10, knobs.bottom + 20};
    float before[kEffectKnobCount];
    for (int k = 0; k < kEffectKnobCount; ++k) before[k] = app().song.Effect[0][k].value;
    down(overCpuMeter);
    move({overCpuMeter.x, overCpuMeter.y - 100});
    up();
    for (int k = 0; k < kEffectKnobCount; ++k) EXPECT_EQ(app().song.Effect[0][k].value, before[k]);
    EXPECT_EQ(app().song.EffectDim[0].xKnob, 0);
    EXPECT_EQ(app().song.EffectDim[0].yKnob, 1);
}

TEST_F(MouseDispatchTest, NotePadLastColumnDoesNotReachTheMainVolume) {
    const PanelRect& volume = rect(PanelId::MainVolumeControl);
    // Column 15 of the pad ends 13 pixels left of the main volume control.
    const Point lastPadColumn = {volume.left - 15, volume.top + 40};
    ASSERT_LT(lastPadColumn.x, rect(PanelId::NotePad).right);
    down(lastPadColumn);
    EXPECT_FLOAT_EQ(app().song.MainVolume[0], 0.6f);
    EXPECT_EQ(app().drag.mainVolumeDragMode, -1);
    EXPECT_EQ(app().drag.noteDrawList[0].step, 15) << "the note pad took the press";
    const int noteRow = 23 - (lastPadColumn.y - rect(PanelId::NotePad).top - 4) / 8;
    up();
    EXPECT_EQ(app().song.noteGrid[0].notePosition[15][noteRow], 1);
}

TEST_F(MouseDispatchTest, MainVolumeDragIntoTheMiddleColumn) {
    down(at(PanelId::MainVolumeControl, 5, 17)); // left column, full volume
    EXPECT_EQ(app().drag.mainVolumeDragMode, 0);
    move(at(PanelId::MainVolumeControl, 40, 131));
    EXPECT_FLOAT_EQ(app().song.MainVolume[0], 0.0f);
    EXPECT_FLOAT_EQ(app().song.MainVolume[1], 0.6f);
    EXPECT_EQ(helpAt(at(PanelId::NotePad, 100, 100)),
              "MAIN VOLUME CONTROL:  CONTROL LEFT AND RIGHT VOLUME");
    move(at(PanelId::MainVolumeControl, 40, 17));
    EXPECT_GT(app().song.MainVolume[0], 0.99f);
    EXPECT_GT(app().song.MainVolume[1], 0.99f);
    up();
    EXPECT_EQ(app().drag.mainVolumeDragMode, -1);
}

TEST_F(MouseDispatchTest, NoteDrawnBackAndForthAndReleasedIntoTheGrid) {
    down(cell(3, 12));
    move(cell(7, 12));
    move(cell(5, 12));
    EXPECT_EQ(helpAt(cell(5, 12)), "NOTE PAD:  DRAW NOTE  <RIGHT CLICK> ERASE NOTE");
    up();
    const NoteGrid& grid = app().song.noteGrid[0];
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(grid.notePosition[3 + k][12], k + 1);
        EXPECT_EQ(grid.noteLength[3 + k][12], 5);
    }
    EXPECT_EQ(grid.notePosition[8][12], 0);
    EXPECT_FALSE(noteBeingDrawn(app().drag));
    rdown(cell(4, 12));
    EXPECT_EQ(grid.notePosition[3][12], 0);
    EXPECT_EQ(grid.notePosition[7][12], 0);
}

TEST_F(MouseDispatchTest, ReleaseResetsEveryDragFieldButNotTheSelections) {
    const Point panSwitch = at(PanelId::PanAndVelocity, 5, 20);
    down(panSwitch);
    up();
    EXPECT_EQ(app().drag.panVelocitySelect, 0) << "a selection, not a drag field";
    run("down " + std::to_string(rect(PanelId::NoteBankButtons).left + 26 * 2 + 3) + " " +
        std::to_string(rect(PanelId::NoteBankButtons).top + 5) + "\nup 0 0\n");
    EXPECT_EQ(app().drag.viewOffset[0], 32);

    down(at(PanelId::WaveEditor, 200, 60));
    move(at(PanelId::WaveEditor, 220, 70));
    EXPECT_EQ(app().drag.waveDragMode, 3);
    EXPECT_EQ(helpAt(at(PanelId::NotePad, 100, 100)), "WAVE EDITOR:  DRAW THE WAVEFORM");
    up();
    DragState idle;
    idle.panVelocitySelect = 0;
    idle.viewOffset[0] = 32;
    idle.lastMousePos = app().drag.lastMousePos;
    EXPECT_EQ(std::memcmp(&idle, &app().drag, sizeof idle), 0);
}

TEST_F(MouseDispatchTest, FastWaveMoveAcrossThePlotDrawsAllOfIt) {
    const int slot = app().song.SoundIdx[0];
    down(at(PanelId::WaveEditor, 44 + 10, 124));
    // The pointer leaves the window on the left and comes back beyond the right edge in one move.
    move({-300, rect(PanelId::WaveEditor).top + 124});
    move({2000, rect(PanelId::WaveEditor).top + 124});
    up();
    for (int i = 0; i < kWaveformSamples; ++i)
        EXPECT_FLOAT_EQ(app().song.Sound[slot][i], 125.0f) << i;
}

TEST_F(MouseDispatchTest, BpmDigitStaysSelectedUntilThePressElsewhere) {
    down(at(PanelId::BpmDisplay, 4 + 15 + 2, 10));
    up();
    EXPECT_EQ(app().ui.bpmDigitSelected[1], 1);
    down(at(PanelId::BpmDisplay, 4 + 60, 10));
    up();
    EXPECT_EQ(app().ui.bpmDigitSelected[1], 0);
    EXPECT_EQ(app().ui.bpmDigitSelected[4], 1);
    down(cell(0, 0));
    up();
    for (int d = 0; d < 5; ++d) EXPECT_EQ(app().ui.bpmDigitSelected[d], 0);
}

TEST_F(MouseDispatchTest, SequencerAndBankButtonsReachTheirInstrument) {
    // A right press on note bank button 4 queues bank 4 for the current instrument.
    rdown(at(PanelId::NoteBankButtons, 26 * 4 + 5, 5));
    EXPECT_EQ(app().song.PatternStack[0].entries[1], 4);
    // A press on the third instrument's first sequencer entry empties it and selects it.
    down(at(PanelId::NoteBankSequencer, 30, 23 * 2 + 10));
    up();
    EXPECT_EQ(app().song.PatternStack[2].entries[0], -1);
    EXPECT_EQ(app().ui.currentInstrument, 2);
    down(at(PanelId::InstrumentButton, 51 + 10, 10));
    up();
    EXPECT_EQ(app().ui.currentInstrument, 1);
}

TEST_F(MouseDispatchTest, DelayAndInstrumentDragsThroughTheSession) {
    down(at(PanelId::DelayReverb, 100, 20));
    EXPECT_FLOAT_EQ(app().song.DelayParams[0][0][kDelayOffset], 98.0f / 40.0f);
    move(at(PanelId::DelayReverb, -100, 20));
    EXPECT_FLOAT_EQ(app().song.DelayParams[0][0][kDelayOffset], 0.05f);
    up();
    EXPECT_EQ(app().drag.delayDragColumn, -1);
    EXPECT_EQ(app().drag.delayDragRow, -1);

    down(at(PanelId::InstrumentControl, 51 * 2 + 30, 34)); // instrument 2's volume
    move(at(PanelId::InstrumentControl, 0, 64));
    EXPECT_FLOAT_EQ(app().song.Volume[2], 0.0f);
    EXPECT_EQ(helpAt(at(PanelId::NotePad, 10, 10)),
              "INSTRUMENT CONTROL:  ADJUST THE INSTRUMENT'S VOLUME ");
    up();
}

} // namespace

namespace {

TEST_F(MouseDispatchTest, ExtremePointerPositionsAreHarmless) {
    down(at(PanelId::WaveEditor, 200, 60));
    move({2000000000, -2000000000});
    move({-2000000000, 2000000000});
    up();
    run("down 2000000000 2000000000\nmove -2000000000 -2000000000\nup 0 0\n"
        "rdown 2000000000 -2000000000\n");
    EXPECT_EQ(app().drag.mouseButtonDown, 0);
    EXPECT_EQ(app().drag.waveDragMode, -1);
}

} // namespace
