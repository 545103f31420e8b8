// The panels' mouse handlers with the redraws of their changes, one table entry per panel.
#include "app/panel_mouse.h"

#include "app/app_state.h"
#include "app/mouse_controls.h"
#include "app/mouse_effects.h"
#include "app/mouse_envelope_editor.h"
#include "app/mouse_note_pad.h"
#include "app/mouse_step_values.h"
#include "app/mouse_wave_editor.h"
#include "app/panel_redraw.h"
#include "tools/current_selection.h"

namespace {

using P = PanelId;

// The note pad shows slides at the SLIDE knob's rate: it redraws when that knob changed.
void redrawNotePadAfterSlideChange(AppState& app, Screen& screen) {
    if (!app.drag.slideKnobChanged) return;
    updatePanel(app, screen, P::NotePad);
    app.drag.slideKnobChanged = 0;
}

void redrawAfterEffectController2D(AppState& app, Screen& screen) {
    updatePanel(app, screen, P::EffectController2D);
    updatePanel(app, screen, P::EffectKnobs);
    redrawNotePadAfterSlideChange(app, screen);
}

void redrawDelayPanels(AppState& app, Screen& screen) {
    updatePanel(app, screen, P::DelayReverb);
    updatePanel(app, screen, P::DelayDisplay);
}

void redrawNotePadAndPreview(AppState& app, Screen& screen) {
    updatePanel(app, screen, P::NotePad);
    updatePanel(app, screen, P::InstrumentButton);
}

// Renders curves of the current envelope bank other than the one in view (the markers and the
// mode show on all four).
void renderOtherEnvelopeCurves(AppState& app, Screen& screen, bool includingShown) {
    const int bank = envelopeBankOf(app.song, app.ui.currentInstrument);
    if (bank < 0) return;
    for (int curve = 0; curve < 4; ++curve)
        if (includingShown || curve != app.ui.envelopeCurve)
            renderPanel(app, screen, P::EnvelopeEditor, bank * 4 + curve);
}

void pressWave(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (pressWaveEditor(app, p.x, p.y)) redrawWaveform(app, screen);
}
bool draggingWave(const DragState& drag) {
    return drag.waveDragMode >= 0;
}
void dragWave(AppState& app, Screen& screen, PanelMove m) {
    if (dragWaveEditor(app, m.now.x, m.now.y, m.previous.x, m.previous.y))
        updatePanel(app, screen, P::WaveEditor);
}
// The renderers show a dragged control's value in place of its name, so each drag goes idle
// before its panel is redrawn for the last time.
bool releaseWave(AppState& app, Screen& screen) {
    const int mode = app.drag.waveDragMode;
    app.drag.waveDragMode = -1;
    updatePanel(app, screen, P::WaveButtons);
    if (mode <= kKnobNoise) updatePanel(app, screen, P::WaveEditor);
    const int slot = waveformSlotOf(app.song, app.ui.currentInstrument);
    // The previous waveform's MIX blends the drawn one in: its picture changed too.
    if (mode == kWaveDragDrawing && slot >= 0)
        renderPanel(app, screen, P::WaveEditor, previousWaveformSlot(slot));
    return false;
}

void pressKnobs(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (!pressEffectKnobs(app, p.x, p.y)) return;
    updatePanel(app, screen, P::EffectKnobs);
    updatePanel(app, screen, P::EffectController2D);
}
bool draggingKnob(const DragState& drag) {
    return drag.knobDragIndex >= 0;
}
// A knob turns by the vertical distance moved, the same in any pixels.
void dragKnob(AppState& app, Screen& screen, PanelMove m) {
    if (!dragEffectKnob(app, m.now.y, m.previous.y)) return;
    if (isEffectAxis(app, app.drag.knobDragIndex)) updatePanel(app, screen, P::EffectController2D);
    updatePanel(app, screen, P::EffectKnobs);
    redrawNotePadAfterSlideChange(app, screen);
}
bool releaseKnob(AppState& app, Screen& screen) {
    app.drag.knobDragIndex = -1;
    updatePanel(app, screen, P::EffectKnobs);
    return false;
}

void pressDelay(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (pressDelayReverb(app, p.x, p.y)) redrawDelayPanels(app, screen);
}
bool draggingDelay(const DragState& drag) {
    return drag.delayDragColumn >= 0;
}
void dragDelay(AppState& app, Screen& screen, PanelMove m) {
    if (dragDelayReverb(app, m.now.x, m.now.y, m.previous.y)) redrawDelayPanels(app, screen);
}
bool releaseDelay(AppState& app, Screen& screen) {
    app.drag.delayDragColumn = -1;
    app.drag.delayDragRow = -1;
    redrawDelayPanels(app, screen);
    return false;
}

void pressController2D(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (pressEffectController2D(app, p.x, p.y)) redrawAfterEffectController2D(app, screen);
}
bool draggingController2D(const DragState& drag) {
    return drag.effectDimDragging != 0;
}
void dragController2D(AppState& app, Screen& screen, PanelMove m) {
    if (dragEffectController2D(app, m.now.x, m.now.y)) redrawAfterEffectController2D(app, screen);
}
bool releaseController2D(AppState& app, Screen& screen) {
    app.drag.effectDimDragging = 0;
    updatePanel(app, screen, P::EffectKnobs);
    return false;
}

void pressEnvelope(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (!pressEnvelopeEditor(app, p.x, p.y)) return;
    if (app.drag.envelopeAllCurvesDirty) renderOtherEnvelopeCurves(app, screen, true);
    // Rendered as well as presented: a press on the marker strip has moved a marker.
    redrawEnvelope(app, screen);
}
bool draggingEnvelope(const DragState& drag) {
    return drag.envelopeDragMode >= 0;
}
void dragEnvelope(AppState& app, Screen& screen, PanelMove m) {
    if (!dragEnvelopeEditor(app, m.now.x, m.now.y, m.previous.x, m.previous.y)) return;
    updatePanel(app, screen, P::EnvelopeEditor);
    updatePanel(app, screen, P::NotePad);
}
bool releaseEnvelope(AppState& app, Screen& screen) {
    app.drag.envelopeDragMode = -1;
    updatePanel(app, screen, P::EnvelopeButtons);
    renderOtherEnvelopeCurves(app, screen, false);
    updatePanel(app, screen, P::NotePad);
    return false;
}

void pressChord(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (pressChordKeys(app, p.x, p.y)) updatePanel(app, screen, P::ChordKeys);
}
bool draggingChord(const DragState& drag) {
    return drag.chordDragIndex >= 0;
}
void dragChord(AppState& app, Screen& screen, PanelMove m) {
    if (dragChordKeys(app, m.now.x, m.now.y)) updatePanel(app, screen, P::ChordKeys);
}

void pressPad(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (pressNotePad(app, p.x, p.y)) redrawNotePadAndPreview(app, screen);
}
void dragPad(AppState& app, Screen& screen, PanelMove m) {
    if (dragNotePad(app, m.now.x, m.now.y)) redrawNotePadAndPreview(app, screen);
}
// Writing the note empties the note being drawn, so the pad then shows it as part of the grid.
bool releasePad(AppState& app, Screen&) {
    return finishNoteDrawing(app);
}
void erasePad(AppState& app, Screen& screen, PanelPoint p) {
    if (erasePressNotePad(app, p.x, p.y)) redrawNotePadAndPreview(app, screen);
}

void pressEnvelopeChoice(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (!pressEnvelopeButtons(app, p.x, p.y)) return;
    showPanel(app, screen, P::EnvelopeEditor);
    updatePanel(app, screen, P::EnvelopeButtons);
    updatePanel(app, screen, P::NotePad);
}

void pressWaveChoice(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (!pressWaveButtons(app, p.x, p.y)) return;
    showPanel(app, screen, P::WaveEditor);
    updatePanel(app, screen, P::WaveButtons);
}

void pressInstrument(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (pressInstrumentButtons(app, p.x, p.y)) redrawInstrumentSwitch(app, screen);
}

void pressControl(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (pressInstrumentControl(app, p.x, p.y)) updatePanel(app, screen, P::InstrumentControl);
}
// A main volume drag takes the pointer even where an instrument drag was started too.
bool draggingControl(const DragState& drag) {
    return drag.instrumentDragIndex >= 0 && drag.mainVolumeDragMode < 0;
}
void dragControl(AppState& app, Screen& screen, PanelMove m) {
    if (dragInstrumentControl(app, m.now.y)) updatePanel(app, screen, P::InstrumentControl);
}

void pressSequencer(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (pressNoteBankSequencer(app, p.x, p.y)) redrawInstrumentSwitch(app, screen);
}

void pressBanks(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (!pressNoteBankButtons(app, p.x, p.y)) return;
    updatePanel(app, screen, P::NoteBankButtons);
    updatePanel(app, screen, P::PanAndVelocity);
    updatePanel(app, screen, P::NotePad);
}
void appendBankPress(AppState& app, Screen& screen, PanelPoint p) {
    if (rightPressNoteBankButtons(app, p.x, p.y)) updatePanel(app, screen, P::NoteBankSequencer);
}

void pressVolume(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (pressMainVolume(app, p.x, p.y)) updatePanel(app, screen, P::MainVolumeControl);
}
bool draggingVolume(const DragState& drag) {
    return drag.mainVolumeDragMode >= 0;
}
void dragVolume(AppState& app, Screen& screen, PanelMove m) {
    if (dragMainVolume(app, m.now.x, m.now.y)) updatePanel(app, screen, P::MainVolumeControl);
}

void pressBpm(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (pressBpmDisplay(app, p.x, p.y)) updatePanel(app, screen, P::BpmDisplay);
}

void pressPlay(AppState& app, Screen& screen, Platform& platform, PanelPoint p) {
    if (pressPlayStopRecord(app, platform, p.x, p.y)) updatePanel(app, screen, P::PlayStopRecord);
}

void pressPan(AppState& app, Screen& screen, Platform&, PanelPoint p) {
    if (pressPanVelocity(app, p.x, p.y)) updatePanel(app, screen, P::PanAndVelocity);
}
bool draggingPan(const DragState& drag) {
    return drag.panVelocityDragging != 0;
}
void dragPan(AppState& app, Screen& screen, PanelMove m) {
    if (dragPanVelocity(app, m.now.x, m.now.y)) updatePanel(app, screen, P::PanAndVelocity);
}

} // namespace

// clang-format off
const PanelMouse kPanelMouse[kPanelCount] = {
    // id                    deselect press              dragging              drag              release              redrawWhenIdle           rightPress        pressAction               rightPressAction
    {P::WaveEditor,          false, pressWave,          draggingWave,         dragWave,         releaseWave,         nullptr,                 nullptr,          "Edit Waveform",          nullptr},
    {P::EffectKnobs,         false, pressKnobs,         draggingKnob,         dragKnob,         releaseKnob,         nullptr,                 nullptr,          "Turn Effect Knob",       nullptr},
    {P::DelayReverb,         false, pressDelay,         draggingDelay,        dragDelay,        releaseDelay,        nullptr,                 nullptr,          "Change Delay",           nullptr},
    {P::EffectController2D,  false, pressController2D,  draggingController2D, dragController2D, releaseController2D, nullptr,                 nullptr,          "Move Effect Controller", nullptr},
    {P::EnvelopeEditor,      true,  pressEnvelope,      draggingEnvelope,     dragEnvelope,     releaseEnvelope,     nullptr,                 nullptr,          "Draw Envelope",          nullptr},
    {P::ChordKeys,           false, pressChord,         draggingChord,        dragChord,        nullptr,             nullptr,                 nullptr,          "Change Chord Keys",      nullptr},
    {P::NotePad,             false, pressPad,           noteBeingDrawn,       dragPad,          releasePad,          redrawNotePadAndPreview, erasePad,         "Draw Notes",             "Erase Notes"},
    {P::EnvelopeButtons,     false, pressEnvelopeChoice, nullptr,             nullptr,          nullptr,             nullptr,                 nullptr,          "Choose Envelope",        nullptr},
    {P::WaveButtons,         false, pressWaveChoice,    nullptr,              nullptr,          nullptr,             nullptr,                 nullptr,          "Choose Waveform",        nullptr},
    {P::InstrumentButton,    false, pressInstrument,    nullptr,              nullptr,          nullptr,             nullptr,                 nullptr,          "Choose Instrument",      nullptr},
    {P::InstrumentControl,   false, pressControl,       draggingControl,      dragControl,      nullptr,             nullptr,                 nullptr,          "Change Instrument",      nullptr},
    {P::NoteBankSequencer,   false, pressSequencer,     nullptr,              nullptr,          nullptr,             nullptr,                 nullptr,          "Change Play Order",      nullptr},
    {P::NoteBankButtons,     false, pressBanks,         nullptr,              nullptr,          nullptr,             nullptr,                 appendBankPress,  "Choose Note Bank",       "Queue Note Bank"},
    {P::MainVolumeControl,   false, pressVolume,        draggingVolume,       dragVolume,       nullptr,             nullptr,                 nullptr,          "Change Main Volume",     nullptr},
    {P::BpmDisplay,          false, pressBpm,           nullptr,              nullptr,          nullptr,             nullptr,                 nullptr,          "Change Tempo",           nullptr},
    {P::PlayStopRecord,      false, pressPlay,          nullptr,              nullptr,          nullptr,             nullptr,                 nullptr,          "Play",                   nullptr},
    {P::PanAndVelocity,      false, pressPan,           draggingPan,          dragPan,          nullptr,             nullptr,                 nullptr,          "Draw Pan and Velocity",  nullptr},
    {P::VolumeMeter,         false, nullptr,            nullptr,              nullptr,          nullptr,             nullptr,                 nullptr,          nullptr,                  nullptr},
    {P::DelayDisplay,        false, nullptr,            nullptr,              nullptr,          nullptr,             nullptr,                 nullptr,          nullptr,                  nullptr},
    {P::CpuMeter,            false, nullptr,            nullptr,              nullptr,          nullptr,             nullptr,                 nullptr,          nullptr,                  nullptr},
    {P::stepStrip,           false, nullptr,            nullptr,              nullptr,          nullptr,             nullptr,                 nullptr,          nullptr,                  nullptr},
    {P::helpLine,            false, nullptr,            nullptr,              nullptr,          nullptr,             nullptr,                 nullptr,          nullptr,                  nullptr},
};
// clang-format on
