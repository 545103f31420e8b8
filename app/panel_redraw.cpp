// Panel redraws of the program: rendering from the AppState, presents followed by the pump, the
// full render and present, and the pump's redraws.
#include "app/panel_redraw.h"

#include "app/playback.h"
#include "ui/panel_renderers.h"
#include "ui/panel_table.h"
#include "ui/panel_update.h"

namespace {

// R+P of the panels that `place` puts into a redraw, in the order of their places.
void updateInPlaceOrder(AppState& app, Screen& screen, int PanelSpec::*place) {
    for (int next = 1; next <= kPanelCount; ++next)
        for (const PanelSpec& spec : kPanels)
            if (spec.*place == next) updatePanel(app, screen, spec.id);
}

// R+P with a chosen pump flag; the pump's own redraws present without pumping again.
void renderAndPresent(AppState& app, Screen& screen, PanelId id, bool pumpAfter) {
    const int selection = selectionInView(app.song, app.ui, id);
    renderPanel(app, screen, id, selection);
    presentPanel(app, screen, panelSurface(screen, id, selection), panelRect(screen.layout, id),
                 pumpAfter);
}

} // namespace

PanelInputs panelInputs(const AppState& app) {
    const MeterReadings meters{app.stream.volumeLevel, app.stream.clipped, app.stream.cpuLoad};
    TransportReadings transport{app.engine.playing != 0, app.recording.startArmed != 0,
                                app.recording.active != 0, app.recording.recordedChunks};
    for (int i = 0; i < kInstrumentCount; ++i)
        transport.muteTogglePending[i] = app.engine.pendingMuteToggle[i] != 0;
    const StreamClock clock{app.engine.streamRate, app.engine.chunkFrames};
    return {app.song, app.engine.playbackWaveforms.wave, app.ui, app.drag, meters, transport,
            clock};
}

void renderPanel(AppState& app, Screen& screen, PanelId id, int selection) {
    renderPanelSurface(panelInputs(app), screen, id, selection);
    if (id == PanelId::VolumeMeter) app.stream.clipped *= 0.99f;
}

void presentPanel(AppState& app, Screen& screen, const PanelSurface& surface, const PanelRect& rect,
                  bool pumpAfter) {
    if (presentSurface(screen, surface, rect) && pumpAfter) pumpAndRedraw(app, screen);
}

void showPanel(AppState& app, Screen& screen, PanelId id) {
    presentPanel(app, screen, panelSurface(screen, id, selectionInView(app.song, app.ui, id)),
                 panelRect(screen.layout, id), true);
}

void updatePanel(AppState& app, Screen& screen, PanelId id) {
    renderAndPresent(app, screen, id, true);
}

void redrawInstrumentSwitch(AppState& app, Screen& screen) {
    for (const PanelSpec& spec : kPanels) {
        if (!spec.followsInstrument) continue;
        if (spec.surfaces == SurfaceSet::Single)
            updatePanel(app, screen, spec.id);
        else
            showPanel(app, screen, spec.id);
    }
}

void redrawEnvelope(AppState& app, Screen& screen) {
    updateInPlaceOrder(app, screen, &PanelSpec::envelopeEditPlace);
}

void redrawWaveform(AppState& app, Screen& screen) {
    updateInPlaceOrder(app, screen, &PanelSpec::waveformEditPlace);
}

void renderAllPanels(AppState& app, Screen& screen) {
    for (const PanelSpec& spec : kPanels) {
        if (!spec.fullRender) continue;
        for (int s = 0; s < panelSurfaceCount(spec.id); ++s) renderPanel(app, screen, spec.id, s);
    }
}

void presentAllPanels(AppState& app, Screen& screen) {
    for (const PanelSpec& spec : kPanels)
        if (spec.pumpAfterPresent) showPanel(app, screen, spec.id);
    for (const PanelSpec& spec : kPanels) {
        if (spec.pumpAfterPresent) continue;
        presentPanel(app, screen, panelSurface(screen, spec.id, 0),
                     panelRect(screen.layout, spec.id), false);
    }
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
            showPlaybackMarker(screen, redraws.markerX * width);
        }
        if (redraws.meters) {
            // While a level is up the pump asks on every call; most calls change no pixel.
            const MeterReadings meters = panelInputs(app).meters;
            if (volumeMeterChanged(meters, screen))
                renderAndPresent(app, screen, PanelId::VolumeMeter, false);
            if (cpuMeterChanged(meters, screen))
                renderAndPresent(app, screen, PanelId::CpuMeter, false);
        }
    }
    redraws.playPanel = redraws.sequencer = redraws.stepStrip = redraws.meters = false;
}
