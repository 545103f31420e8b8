// Panel updates without the pump: render into a selection's surface, present, the help line and
// the playback marker.
#include "ui/panel_update.h"

#include <algorithm>
#include <cmath>

#include "base/safe_convert.h"
#include "ui/panel_renderers.h"
#include "ui/panel_table.h"

int selectionInView(const Song& song, const UiState& ui, PanelId id) {
    const int instrument = clampInt(ui.currentInstrument, 0, kInstrumentCount - 1);
    switch (panelSpec(id).surfaces) {
    case SurfaceSet::PerWaveform:
        return clampInt(song.SoundIdx[instrument], 0, kWaveformSlotCount - 1);
    case SurfaceSet::PerEnvelopeCurve:
        return clampInt(song.EnvIdx[instrument], 0, kEnvelopeBankCount - 1) * 4 +
               clampInt(ui.envelopeCurve, 0, 3);
    case SurfaceSet::PerInstrument:
        return instrument;
    case SurfaceSet::Single:
        break;
    }
    return 0;
}

void renderPanelSurface(const PanelInputs& in, Screen& screen, PanelId id, int selection) {
    selection = clampInt(selection, 0, panelSurfaceCount(id) - 1);
    panelSpec(id).render(in, screen, selection);
    const int canvasIndex = panelCanvasCount(id) > 1 ? selection : 0;
    copyCanvasToSurface(panelCanvas(screen, id, canvasIndex), panelSurface(screen, id, selection));
}

bool presentSurface(Screen& screen, const PanelSurface& surface, const PanelRect& rect) {
    if (!screen.windowActive) return false;
    showOnDisplay(screen.display, surface, rect);
    return true;
}

void showHelpLineText(const UiState& ui, Screen& screen, const char* text) {
    renderHelpLine(ui, screen, text);
    PanelSurface& surface = panelSurface(screen, PanelId::helpLine, 0);
    copyCanvasToSurface(panelCanvas(screen, PanelId::helpLine), surface);
    presentSurface(screen, surface, panelRect(screen.layout, PanelId::helpLine));
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

void showPlaybackMarker(Screen& screen, float markerX) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::stepStrip);
    PanelSurface& strip = panelSurface(screen, PanelId::stepStrip, 0);
    clearCanvas(canvas);
    copyCanvasToSurface(canvas, strip);
    const int x = truncClamped(markerX, -kMarkerWidth, canvas.width + kMarkerWidth);
    blitSurface(screen.markerSurface, strip, playbackMarkerRect(x, canvas.width));
    presentSurface(screen, strip, panelRect(screen.layout, PanelId::stepStrip));
}
