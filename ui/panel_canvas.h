// PanelCanvas: a panel's software pixel buffer in the display's pixel format, with its cached
// static background.
#pragma once

#include <cstdint>
#include <vector>

struct PanelCanvas {
    // width x height pixels, row after row without gaps, bytesPerPixel bytes each. With 2 bytes a
    // pixel is a 5-6-5 word (red bits 11-15, green 5-10, blue 0-4); with 3 or 4 the bytes are
    // blue, green, red (and a fourth byte that is never written).
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> background; // same size: the static background once drawn
    int32_t width = 0;               // pixels
    int32_t height = 0;              // pixels
    int32_t channels = 3;            // channel 0 blue, 1 green, 2 red
    int32_t backgroundCached = 0;    // 1 once a renderer has saved the static background
    int32_t bytesPerPixel = 4;       // 2, 3 or 4
};

// Allocates both buffers (zeroed, so black) for a width x height canvas; clears the cache flag.
void createCanvas(PanelCanvas& canvas, int width, int height, int bytesPerPixel);

// Sets every pixel to black.
void clearCanvas(PanelCanvas& canvas);

// The cached-background protocol of the panels with a static background: if the background is
// cached, copies it over the pixels and returns true; otherwise returns false and the renderer
// draws the static parts and then calls cacheBackground.
bool restoreCachedBackground(PanelCanvas& canvas);
void cacheBackground(PanelCanvas& canvas);
