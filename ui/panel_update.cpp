// Panel updates: render into a selection's surface, present, the full render and present, the
// playback marker and the pump's redraws.
#include "ui/panel_update.h"

#include <algorithm>
#include <cmath>

#include "base/safe_convert.h"
#include "engine/stream.h"
#include "ui/panel_renderers.h"

namespace {

int currentInstrument(const AppState& app) {
    return clampInt(app.ui.currentInstrument, 0, kInstrumentCount - 1);
}

void callRenderer(AppState& app, Screen& screen, PanelId id, int selection) {
    switch (id) {
    case PanelId::NoteBankButtons:
        renderNoteBankButtons(app, screen);
        break;
    case PanelId::helpLine:
        renderHelpLine(app, screen, "");
        break;
    case PanelId::stepStrip:
        clearCanvas(panelCanvas(screen, id));
        break;
    case PanelId::NotePad:
        renderNotePad(app, screen);
        break;
    case PanelId::VolumeMeter:
        renderVolumeMeter(app, screen);
        break;
    case PanelId::EffectController2D:
        renderEffectController2D(app, screen, selection);
        break;
    case PanelId::EffectKnobs:
        renderEffectKnobs(app, screen, selection);
        break;
    case PanelId::MainVolumeControl:
        renderMainVolume(app, screen);
        break;
    case PanelId::DelayReverb:
        renderDelayReverb(app, screen, selection);
        break;
    case PanelId::DelayDisplay:
        renderDelayDisplay(app, screen, selection);
        break;
    case PanelId::CpuMeter:
        renderCpuMeter(app, screen);
        break;
    case PanelId::PanAndVelocity:
        renderPanAndVelocity(app, screen, selection);
        break;
    case PanelId::NoteBankSequencer:
        renderNoteBankSequencer(app, screen);
        break;
    case PanelId::InstrumentButton:
        renderInstrumentButtons(app, screen);
        break;
    case PanelId::InstrumentControl:
        renderInstrumentControl(app, screen);
        break;
    case PanelId::ChordKeys:
        renderChordKeys(app, screen);
        break;
    case PanelId::WaveButtons:
        renderWaveButtons(app, screen);
        break;
    case PanelId::WaveEditor:
        renderWaveEditor(app, screen, selection);
        break;
    case PanelId::EnvelopeButtons:
        renderEnvelopeButtons(app, screen);
        break;
    case PanelId::EnvelopeEditor:
        renderEnvelopeEditor(app, screen, selection / 4, selection % 4);
        break;
    case PanelId::BpmDisplay:
        renderBpmDisplay(app, screen);
        break;
    case PanelId::PlayStopRecord:
        renderPlayStopRecord(app, screen);
        break;
    }
}

// R+P with a chosen pump flag; the pump's own redraws present without pumping again.
void renderAndPresent(AppState& app, Screen& screen, PanelId id, bool pumpAfter) {
    const int selection = selectionInView(app, id);
    renderPanel(app, screen, id, selection);
    presentPanel(app, screen, panelSurface(screen, id, selection), panelRect(screen.layout, id),
                 pumpAfter);
}

} // namespace

void redrawInstrumentSwitch(AppState& app, Screen& screen) {
    for (PanelId id : {PanelId::EffectController2D, PanelId::EffectKnobs, PanelId::WaveEditor,
                       PanelId::EnvelopeEditor, PanelId::PanAndVelocity, PanelId::DelayReverb,
                       PanelId::DelayDisplay})
        showPanel(app, screen, id);
    for (PanelId id :
         {PanelId::NotePad, PanelId::ChordKeys, PanelId::EnvelopeButtons, PanelId::WaveButtons,
          PanelId::InstrumentButton, PanelId::NoteBankButtons, PanelId::NoteBankSequencer})
        updatePanel(app, screen, id);
}

void redrawEnvelope(AppState& app, Screen& screen) {
    updatePanel(app, screen, PanelId::EnvelopeEditor);
    updatePanel(app, screen, PanelId::EnvelopeButtons);
    updatePanel(app, screen, PanelId::NotePad);
}

void redrawWaveform(AppState& app, Screen& screen) {
    updatePanel(app, screen, PanelId::WaveEditor);
    updatePanel(app, screen, PanelId::WaveButtons);
}

int selectionInView(const AppState& app, PanelId id) {
    const int instrument = currentInstrument(app);
    switch (id) {
    case PanelId::WaveEditor:
        return clampInt(app.song.SoundIdx[instrument], 0, kWaveformSlotCount - 1);
    case PanelId::EnvelopeEditor:
        return clampInt(app.song.EnvIdx[instrument], 0, kEnvelopeBankCount - 1) * 4 +
               clampInt(app.ui.envelopeCurve, 0, 3);
    default:
        return panelSurfaceCount(id) == kInstrumentCount ? instrument : 0;
    }
}

void renderPanel(AppState& app, Screen& screen, PanelId id, int selection) {
    selection = clampInt(selection, 0, panelSurfaceCount(id) - 1);
    callRenderer(app, screen, id, selection);
    const int canvasIndex = panelCanvasCount(id) > 1 ? selection : 0;
    copyCanvasToSurface(panelCanvas(screen, id, canvasIndex), panelSurface(screen, id, selection));
}

void presentPanel(AppState& app, Screen& screen, const PanelSurface& surface, const PanelRect& rect,
                  bool pumpAfter) {
    if (!screen.windowActive) return;
    showOnDisplay(screen.display, surface, rect);
    if (pumpAfter) pumpAndRedraw(app, screen);
}

void showPanel(AppState& app, Screen& screen, PanelId id) {
    presentPanel(app, screen, panelSurface(screen, id, selectionInView(app, id)),
                 panelRect(screen.layout, id), true);
}

void updatePanel(AppState& app, Screen& screen, PanelId id) {
    renderAndPresent(app, screen, id, true);
}

void showHelpLineText(AppState& app, Screen& screen, const char* text) {
    renderHelpLine(app, screen, text);
    PanelSurface& surface = panelSurface(screen, PanelId::helpLine, 0);
    copyCanvasToSurface(panelCanvas(screen, PanelId::helpLine), surface);
    presentPanel(app, screen, surface, panelRect(screen.layout, PanelId::helpLine), false);
}

void renderAllPanels(AppState& app, Screen& screen) {
    auto all = [&](PanelId id) {
        for (int s = 0; s < panelSurfaceCount(id); ++s) renderPanel(app, screen, id, s);
    };
    renderPanel(app, screen, PanelId::NotePad, 0);
    all(PanelId::EnvelopeEditor);
    all(PanelId::WaveEditor);
    renderPanel(app, screen, PanelId::ChordKeys, 0);
    all(PanelId::EffectController2D);
    all(PanelId::PanAndVelocity);
    for (PanelId id :
         {PanelId::EnvelopeButtons, PanelId::WaveButtons, PanelId::VolumeMeter,
          PanelId::InstrumentButton, PanelId::InstrumentControl, PanelId::NoteBankSequencer,
          PanelId::NoteBankButtons, PanelId::MainVolumeControl, PanelId::BpmDisplay})
        renderPanel(app, screen, id, 0);
    all(PanelId::EffectKnobs);
    renderPanel(app, screen, PanelId::PlayStopRecord, 0);
    renderPanel(app, screen, PanelId::CpuMeter, 0);
    for (int instrument = 0; instrument < kInstrumentCount; ++instrument) {
        renderPanel(app, screen, PanelId::DelayReverb, instrument);
        renderPanel(app, screen, PanelId::DelayDisplay, instrument);
    }
    renderPanel(app, screen, PanelId::stepStrip, 0);
}

void presentAllPanels(AppState& app, Screen& screen) {
    for (PanelId id : {PanelId::NotePad,
                       PanelId::EnvelopeEditor,
                       PanelId::WaveEditor,
                       PanelId::ChordKeys,
                       PanelId::EffectController2D,
                       PanelId::PanAndVelocity,
                       PanelId::EnvelopeButtons,
                       PanelId::WaveButtons,
                       PanelId::VolumeMeter,
                       PanelId::InstrumentButton,
                       PanelId::InstrumentControl,
                       PanelId::NoteBankSequencer,
                       PanelId::NoteBankButtons,
                       PanelId::MainVolumeControl,
                       PanelId::BpmDisplay,
                       PanelId::EffectKnobs,
                       PanelId::PlayStopRecord,
                       PanelId::DelayReverb,
                       PanelId::DelayDisplay,
                       PanelId::CpuMeter})
        showPanel(app, screen, id);
    for (PanelId id : {PanelId::stepStrip, PanelId::helpLine})
        presentPanel(app, screen, panelSurface(screen, id, 0), panelRect(screen.layout, id), false);
}

void drawGlowBar(Screen& screen) {
    PanelCanvas& canvas = screen.markerCanvas;
    clearCanvas(canvas);
    for (int j = 0; j < canvas.width; ++j) {
        const float d = std::min(1.0f, std::fabs(static_cast<float>(j - 10)) / 10.0f);
        const float red = static_cast<float>(truncToInt(std::cos(d * 1.57f) * 250.0f));
        for (int row = 0; row < canvas.height; ++row) setChannel(canvas, row, j, kRed, red);
    }
    copyCanvasToSurface(canvas, screen.markerSurface);
}

PanelRect playbackMarkerRect(int markerX, int stripWidth) {
    const int half = kMarkerWidth / 2;
    return {std::max(0, markerX - half), 0, std::min(stripWidth, markerX + half), kMarkerHeight};
}

void showPlaybackMarker(AppState& app, Screen& screen, float markerX) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::stepStrip);
    PanelSurface& strip = panelSurface(screen, PanelId::stepStrip, 0);
    clearCanvas(canvas);
    copyCanvasToSurface(canvas, strip);
    const int x = truncClamped(markerX, -kMarkerWidth, canvas.width + kMarkerWidth);
    blitSurface(screen.markerSurface, strip, playbackMarkerRect(x, canvas.width));
    presentPanel(app, screen, strip, panelRect(screen.layout, PanelId::stepStrip), false);
}

void pumpAndRedraw(AppState& app, Screen& screen) {
    pumpAudio(app);
    PumpRedraws& redraws = app.stream.redraws;
    if (screen.initialised) {
        if (redraws.playPanel) renderAndPresent(app, screen, PanelId::PlayStopRecord, false);
        if (redraws.sequencer) renderAndPresent(app, screen, PanelId::NoteBankSequencer, false);
        if (redraws.stepStrip) {
            const float width =
                static_cast<float>(rectWidth(panelRect(screen.layout, PanelId::stepStrip)));
            showPlaybackMarker(app, screen, redraws.markerX * width);
        }
        if (redraws.meters) {
            // While a level is up the pump asks on every call; most calls change no pixel.
            if (volumeMeterChanged(app, screen))
                renderAndPresent(app, screen, PanelId::VolumeMeter, false);
            if (cpuMeterChanged(app, screen))
                renderAndPresent(app, screen, PanelId::CpuMeter, false);
        }
    }
    redraws.playPanel = redraws.sequencer = redraws.stepStrip = redraws.meters = false;
}
