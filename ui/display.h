// The display behind the panels: off-screen surfaces, stretched blits, and the window picture
// that the platform window shows.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/panel_canvas.h"
#include "ui/panel_rect.h"

inline constexpr int kClientWidth = 828; // the window's client area, never resized
inline constexpr int kClientHeight = 573;
// The window background between the panels: blue 90, green 45, red 26.
inline constexpr float kWindowBackground[3] = {90, 45, 26};

// An off-screen surface in the display's pixel format. Rows are `pitch` bytes apart.
struct PanelSurface {
    std::vector<uint8_t> pixels;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0; // bytes from one row to the next, at least width x bytesPerPixel
    int32_t bytesPerPixel = 4;
};

// The display: its pixel format, the picture of the whole client area, and how to tell the
// window that part of the picture changed.
struct Display {
    int32_t bytesPerPixel = 4; // 2, 3 or 4, fixed at start-up
    PanelSurface picture;      // kClientWidth x kClientHeight, what the window shows
    // Called after a rectangle of the picture changed, so the window can show it; null when no
    // window is attached (tests, the headless front end).
    void (*pictureChanged)(void* context, PanelRect area) = nullptr;
    void* pictureChangedContext = nullptr;
};

// Creates an off-screen surface (black) of the given size in the display's format.
void createSurface(PanelSurface& surface, int width, int height, int bytesPerPixel);

// Creates the picture of the client area in the window background colour; clears the change
// callback.
void createDisplay(Display& display, int bytesPerPixel);

// Copies the canvas rows into the surface. Nothing is copied unless both have the same size and
// a depth of 2, 3 or 4 bytes per pixel.
void copyCanvasToSurface(const PanelCanvas& canvas, PanelSurface& surface);
// The reverse, under the same conditions.
void copySurfaceToCanvas(PanelCanvas& canvas, const PanelSurface& surface);

// Copies the whole source into the destination rectangle of the target, stretched (nearest
// pixel) when the sizes differ; pixels outside the target are skipped. Both must share a depth.
void blitSurface(const PanelSurface& source, PanelSurface& target, PanelRect destination);

// Blits the surface to the picture at the client rectangle and tells the window.
void showOnDisplay(Display& display, const PanelSurface& surface, PanelRect destination);

// Writes the picture as 8-bit red, green, blue triplets, row after row (kClientWidth x
// kClientHeight x 3 bytes), for the window and for screenshots.
void pictureToRgb(const Display& display, uint8_t* rgb);
