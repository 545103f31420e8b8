// Start-up of the rendering subsystem and access to the panels' canvases and surfaces.
#include "ui/screen.h"

#include <algorithm>

#include "ui/panel_table.h"
#include "ui/panel_update.h"

namespace {

void createPanel(Screen& screen, PanelId id) {
    const PanelRect& rect = panelRect(screen.layout, id);
    const int bpp = screen.display.bytesPerPixel;
    PanelBuffers& panel = screen.panels[static_cast<int>(id)];
    panel.canvases.resize(static_cast<size_t>(panelCanvasCount(id)));
    for (PanelCanvas& canvas : panel.canvases)
        createCanvas(canvas, rectWidth(rect), rectHeight(rect), bpp);
    panel.surfaces.resize(static_cast<size_t>(panelSurfaceCount(id)));
    for (PanelSurface& surface : panel.surfaces)
        createSurface(surface, rectWidth(rect), rectHeight(rect), bpp);
}

} // namespace

bool initScreen(Screen& screen, int bytesPerPixel) {
    screen.windowActive = 0;
    screen.initialised = 0;
    createDisplay(screen.display, bytesPerPixel);
    layoutPanels(screen.layout);
    for (const PanelSpec& spec : kPanels) createPanel(screen, spec.id);
    createCanvas(screen.markerCanvas, kMarkerWidth, kMarkerHeight, bytesPerPixel);
    createSurface(screen.markerSurface, kMarkerWidth, kMarkerHeight, bytesPerPixel);
    drawGlowBar(screen);
    initMetalNoise(screen.metalNoise);
    return loadGlyphAtlases(screen.glyphs, bytesPerPixel);
}

PanelCanvas& panelCanvas(Screen& screen, PanelId id, int index) {
    auto& canvases = screen.panels[static_cast<int>(id)].canvases;
    return canvases[static_cast<size_t>(
        std::clamp(index, 0, static_cast<int>(canvases.size()) - 1))];
}

PanelSurface& panelSurface(Screen& screen, PanelId id, int selection) {
    auto& surfaces = screen.panels[static_cast<int>(id)].surfaces;
    return surfaces[static_cast<size_t>(
        std::clamp(selection, 0, static_cast<int>(surfaces.size()) - 1))];
}
