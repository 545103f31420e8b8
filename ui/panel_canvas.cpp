// PanelCanvas buffers and the cached-background protocol.
#include "ui/panel_canvas.h"

#include <algorithm>
#include <cstring>

void createCanvas(PanelCanvas& canvas, int width, int height, int bytesPerPixel) {
    canvas.width = std::max(0, width);
    canvas.height = std::max(0, height);
    canvas.channels = 3;
    canvas.bytesPerPixel = bytesPerPixel;
    canvas.backgroundCached = 0;
    const size_t bytes = static_cast<size_t>(canvas.width) * canvas.height * bytesPerPixel;
    canvas.pixels.assign(bytes, 0);
    canvas.background.assign(bytes, 0);
}

void clearCanvas(PanelCanvas& canvas) {
    std::fill(canvas.pixels.begin(), canvas.pixels.end(), uint8_t{0});
}

bool restoreCachedBackground(PanelCanvas& canvas) {
    if (!canvas.backgroundCached) return false;
    std::memcpy(canvas.pixels.data(), canvas.background.data(), canvas.pixels.size());
    return true;
}

void cacheBackground(PanelCanvas& canvas) {
    std::memcpy(canvas.background.data(), canvas.pixels.data(), canvas.pixels.size());
    canvas.backgroundCached = 1;
}
