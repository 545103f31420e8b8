// The mouse entry points: every panel handler in its order, and the redraws of their changes.
#include "app/mouse.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/hover_help.h"
#include "app/mouse_controls.h"
#include "app/mouse_effects.h"
#include "app/mouse_envelope_editor.h"
#include "app/mouse_note_pad.h"
#include "app/mouse_step_values.h"
#include "app/mouse_wave_editor.h"
#include "app/panel_redraw.h"
#include "tools/current_selection.h"

namespace {

struct PanelPoint {
    int x;
    int y;
};

// Farther than any pointer can be from the window; keeps the hit tests' products in range for
// whatever position a script passes.
constexpr int kPointerLimit = 1 << 20;

int limitPointer(int coordinate) {
    return std::clamp(coordinate, -kPointerLimit, kPointerLimit);
}

// A client position in the panel's own pixels.
PanelPoint inPanel(const Screen& screen, PanelId id, int x, int y) {
    const PanelRect& rect = panelRect(screen.layout, id);
    return {x - rect.left, y - rect.top};
}

PanelPoint previousInPanel(const AppState& app, const Screen& screen, PanelId id) {
    return inPanel(screen, id, app.drag.lastMousePos.x, app.drag.lastMousePos.y);
}

// The note pad shows slides at the SLIDE knob's rate: it redraws when that knob changed.
void redrawNotePadAfterSlideChange(AppState& app, Screen& screen) {
    if (!app.drag.slideKnobChanged) return;
    updatePanel(app, screen, PanelId::NotePad);
    app.drag.slideKnobChanged = 0;
}

void redrawAfterEffectController2D(AppState& app, Screen& screen) {
    updatePanel(app, screen, PanelId::EffectController2D);
    updatePanel(app, screen, PanelId::EffectKnobs);
    redrawNotePadAfterSlideChange(app, screen);
}

void redrawDelayPanels(AppState& app, Screen& screen) {
    updatePanel(app, screen, PanelId::DelayReverb);
    updatePanel(app, screen, PanelId::DelayDisplay);
}

void redrawNotePadAndPreview(AppState& app, Screen& screen) {
    updatePanel(app, screen, PanelId::NotePad);
    updatePanel(app, screen, PanelId::InstrumentButton);
}

// Renders curves of the current envelope bank other than the one in view (the markers and the
// mode show on all four).
void renderOtherEnvelopeCurves(AppState& app, Screen& screen, bool includingShown) {
    const int bank = envelopeBankOf(app.song, app.ui.currentInstrument);
    if (bank < 0) return;
    for (int curve = 0; curve < 4; ++curve)
        if (includingShown || curve != app.ui.envelopeCurve)
            renderPanel(app, screen, PanelId::EnvelopeEditor, bank * 4 + curve);
}

void clearBpmDigitSelection(AppState& app, Screen& screen) {
    for (int& selected : app.ui.bpmDigitSelected) {
        if (!selected) continue;
        selected = 0;
        updatePanel(app, screen, PanelId::BpmDisplay);
    }
}

void pressDrawingEditors(AppState& app, Screen& screen, int x, int y) {
    PanelPoint p = inPanel(screen, PanelId::EnvelopeEditor, x, y);
    if (pressEnvelopeEditor(app, p.x, p.y)) {
        if (app.drag.envelopeAllCurvesDirty) renderOtherEnvelopeCurves(app, screen, true);
        // Rendered as well as presented: a press on the marker strip has moved a marker.
        redrawEnvelope(app, screen);
    }
    p = inPanel(screen, PanelId::ChordKeys, x, y);
    if (pressChordKeys(app, p.x, p.y)) updatePanel(app, screen, PanelId::ChordKeys);
    p = inPanel(screen, PanelId::NotePad, x, y);
    if (pressNotePad(app, p.x, p.y)) redrawNotePadAndPreview(app, screen);
}

void pressSelectionButtons(AppState& app, Screen& screen, int x, int y) {
    PanelPoint p = inPanel(screen, PanelId::EnvelopeButtons, x, y);
    if (pressEnvelopeButtons(app, p.x, p.y)) {
        showPanel(app, screen, PanelId::EnvelopeEditor);
        updatePanel(app, screen, PanelId::EnvelopeButtons);
        updatePanel(app, screen, PanelId::NotePad);
    }
    p = inPanel(screen, PanelId::WaveButtons, x, y);
    if (pressWaveButtons(app, p.x, p.y)) {
        showPanel(app, screen, PanelId::WaveEditor);
        updatePanel(app, screen, PanelId::WaveButtons);
    }
    p = inPanel(screen, PanelId::InstrumentButton, x, y);
    if (pressInstrumentButtons(app, p.x, p.y)) redrawInstrumentSwitch(app, screen);
    p = inPanel(screen, PanelId::InstrumentControl, x, y);
    if (pressInstrumentControl(app, p.x, p.y)) updatePanel(app, screen, PanelId::InstrumentControl);
    p = inPanel(screen, PanelId::NoteBankSequencer, x, y);
    if (pressNoteBankSequencer(app, p.x, p.y)) redrawInstrumentSwitch(app, screen);
    p = inPanel(screen, PanelId::NoteBankButtons, x, y);
    if (pressNoteBankButtons(app, p.x, p.y)) {
        updatePanel(app, screen, PanelId::NoteBankButtons);
        updatePanel(app, screen, PanelId::PanAndVelocity);
        updatePanel(app, screen, PanelId::NotePad);
    }
}

void pressTransportControls(AppState& app, Screen& screen, Platform& platform, int x, int y) {
    PanelPoint p = inPanel(screen, PanelId::MainVolumeControl, x, y);
    if (pressMainVolume(app, p.x, p.y)) updatePanel(app, screen, PanelId::MainVolumeControl);
    p = inPanel(screen, PanelId::BpmDisplay, x, y);
    if (pressBpmDisplay(app, p.x, p.y)) updatePanel(app, screen, PanelId::BpmDisplay);
    p = inPanel(screen, PanelId::PlayStopRecord, x, y);
    if (pressPlayStopRecord(app, platform, p.x, p.y))
        updatePanel(app, screen, PanelId::PlayStopRecord);
}

void pressEffectPanels(AppState& app, Screen& screen, int x, int y) {
    PanelPoint p = inPanel(screen, PanelId::EffectKnobs, x, y);
    if (pressEffectKnobs(app, p.x, p.y)) {
        updatePanel(app, screen, PanelId::EffectKnobs);
        updatePanel(app, screen, PanelId::EffectController2D);
    }
    p = inPanel(screen, PanelId::DelayReverb, x, y);
    if (pressDelayReverb(app, p.x, p.y)) redrawDelayPanels(app, screen);
    p = inPanel(screen, PanelId::EffectController2D, x, y);
    if (pressEffectController2D(app, p.x, p.y)) redrawAfterEffectController2D(app, screen);
}

void continueEffectDrags(AppState& app, Screen& screen, int x, int y) {
    const DragState& drag = app.drag;
    if (drag.knobDragIndex >= 0 && dragEffectKnob(app, y, drag.lastMousePos.y)) {
        if (isEffectAxis(app, drag.knobDragIndex))
            updatePanel(app, screen, PanelId::EffectController2D);
        updatePanel(app, screen, PanelId::EffectKnobs);
        redrawNotePadAfterSlideChange(app, screen);
    }
    if (drag.delayDragColumn >= 0) {
        const PanelPoint p = inPanel(screen, PanelId::DelayReverb, x, y);
        const PanelPoint previous = previousInPanel(app, screen, PanelId::DelayReverb);
        if (dragDelayReverb(app, p.x, p.y, previous.y)) redrawDelayPanels(app, screen);
    }
    if (drag.effectDimDragging) {
        const PanelPoint p = inPanel(screen, PanelId::EffectController2D, x, y);
        if (dragEffectController2D(app, p.x, p.y)) redrawAfterEffectController2D(app, screen);
    }
}

void continueEditorDrags(AppState& app, Screen& screen, int x, int y) {
    const DragState& drag = app.drag;
    if (drag.waveDragMode >= 0) {
        const PanelPoint p = inPanel(screen, PanelId::WaveEditor, x, y);
        const PanelPoint previous = previousInPanel(app, screen, PanelId::WaveEditor);
        if (dragWaveEditor(app, p.x, p.y, previous.x, previous.y))
            updatePanel(app, screen, PanelId::WaveEditor);
    }
    if (drag.envelopeDragMode >= 0) {
        const PanelPoint p = inPanel(screen, PanelId::EnvelopeEditor, x, y);
        const PanelPoint previous = previousInPanel(app, screen, PanelId::EnvelopeEditor);
        if (dragEnvelopeEditor(app, p.x, p.y, previous.x, previous.y)) {
            updatePanel(app, screen, PanelId::EnvelopeEditor);
            updatePanel(app, screen, PanelId::NotePad);
        }
    }
    if (drag.panVelocityDragging) {
        const PanelPoint p = inPanel(screen, PanelId::PanAndVelocity, x, y);
        if (dragPanVelocity(app, p.x, p.y)) updatePanel(app, screen, PanelId::PanAndVelocity);
    }
}

void continueControlDrags(AppState& app, Screen& screen, int x, int y) {
    const DragState& drag = app.drag;
    if (drag.instrumentDragIndex >= 0 && drag.mainVolumeDragMode < 0) {
        const PanelPoint p = inPanel(screen, PanelId::InstrumentControl, x, y);
        if (dragInstrumentControl(app, p.y)) updatePanel(app, screen, PanelId::InstrumentControl);
    }
    if (drag.mainVolumeDragMode >= 0) {
        const PanelPoint p = inPanel(screen, PanelId::MainVolumeControl, x, y);
        if (dragMainVolume(app, p.x, p.y)) updatePanel(app, screen, PanelId::MainVolumeControl);
    }
    if (noteBeingDrawn(drag)) {
        const PanelPoint p = inPanel(screen, PanelId::NotePad, x, y);
        if (dragNotePad(app, p.x, p.y)) redrawNotePadAndPreview(app, screen);
    }
    if (drag.chordDragIndex >= 0) {
        const PanelPoint p = inPanel(screen, PanelId::ChordKeys, x, y);
        if (dragChordKeys(app, p.x, p.y)) updatePanel(app, screen, PanelId::ChordKeys);
    }
}

// The renderers show a dragged control's value in place of its name, so each drag goes idle
// before its panel is redrawn for the last time.
void finishEnvelopeDrag(AppState& app, Screen& screen) {
    if (app.drag.envelopeDragMode < 0) return;
    app.drag.envelopeDragMode = -1;
    updatePanel(app, screen, PanelId::EnvelopeButtons);
    renderOtherEnvelopeCurves(app, screen, false);
    updatePanel(app, screen, PanelId::NotePad);
}

void finishWaveDrag(AppState& app, Screen& screen) {
    const int mode = app.drag.waveDragMode;
    if (mode < 0) return;
    app.drag.waveDragMode = -1;
    updatePanel(app, screen, PanelId::WaveButtons);
    if (mode <= kKnobNoise) updatePanel(app, screen, PanelId::WaveEditor);
    const int slot = waveformSlotOf(app.song, app.ui.currentInstrument);
    // The previous waveform's MIX blends the drawn one in: its picture changed too.
    if (mode == kWaveDragDrawing && slot >= 0)
        renderPanel(app, screen, PanelId::WaveEditor, previousWaveformSlot(slot));
}

void finishEffectDrags(AppState& app, Screen& screen) {
    DragState& drag = app.drag;
    if (drag.knobDragIndex >= 0) {
        drag.knobDragIndex = -1;
        updatePanel(app, screen, PanelId::EffectKnobs);
    }
    if (drag.effectDimDragging) {
        drag.effectDimDragging = 0;
        updatePanel(app, screen, PanelId::EffectKnobs);
    }
    if (drag.delayDragColumn >= 0) {
        drag.delayDragColumn = -1;
        drag.delayDragRow = -1;
        redrawDelayPanels(app, screen);
    }
}

} // namespace

void onLeftButtonDown(AppState& app, Screen& screen, Platform& platform, int x, int y) {
    x = limitPointer(x);
    y = limitPointer(y);
    DragState& drag = app.drag;
    drag.mouseButtonDown = 1;
    // The pointer is where the press is: drags continue from here, and a click draws nothing.
    drag.lastMousePos = {x, y};
    const PanelPoint wave = inPanel(screen, PanelId::WaveEditor, x, y);
    if (pressWaveEditor(app, wave.x, wave.y)) redrawWaveform(app, screen);
    pressEffectPanels(app, screen, x, y);
    clearBpmDigitSelection(app, screen);
    pressDrawingEditors(app, screen, x, y);
    pressSelectionButtons(app, screen, x, y);
    pressTransportControls(app, screen, platform, x, y);
    const PanelPoint pan = inPanel(screen, PanelId::PanAndVelocity, x, y);
    if (pressPanVelocity(app, pan.x, pan.y)) updatePanel(app, screen, PanelId::PanAndVelocity);
    if (screen.initialised) showHoverHelp(app, screen, x, y);
}

void onMouseMove(AppState& app, Screen& screen, int x, int y) {
    x = limitPointer(x);
    y = limitPointer(y);
    if (screen.initialised) showHoverHelp(app, screen, x, y);
    if (app.drag.mouseButtonDown) {
        continueEffectDrags(app, screen, x, y);
        continueEditorDrags(app, screen, x, y);
        continueControlDrags(app, screen, x, y);
    }
    app.drag.lastMousePos = {x, y};
}

void onLeftButtonUp(AppState& app, Screen& screen) {
    finishEnvelopeDrag(app, screen);
    finishWaveDrag(app, screen);
    finishEffectDrags(app, screen);
    // Writing the note empties the note being drawn, so the pad then shows it as part of the grid.
    const bool noteWritten = finishNoteDrawing(app);
    app.drag.mouseButtonDown = 0;
    resetDragFields(app.drag);
    if (noteWritten) redrawNotePadAndPreview(app, screen);
}

void onRightButtonDown(AppState& app, Screen& screen, int x, int y) {
    x = limitPointer(x);
    y = limitPointer(y);
    const PanelPoint banks = inPanel(screen, PanelId::NoteBankButtons, x, y);
    if (rightPressNoteBankButtons(app, banks.x, banks.y))
        updatePanel(app, screen, PanelId::NoteBankSequencer);
    const PanelPoint pad = inPanel(screen, PanelId::NotePad, x, y);
    if (erasePressNotePad(app, pad.x, pad.y)) redrawNotePadAndPreview(app, screen);
}
