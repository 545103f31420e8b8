// Whole-number zoom of the window picture: window points back to picture pixels, and the
// picture scaled with every pixel repeated (nearest neighbour).
#pragma once

#include <cstdint>

#include "ui/display.h"
#include "ui/panel_rect.h"

inline constexpr int kLowestZoom = 1;
inline constexpr int kHighestZoom = 4;

// The zoom brought into 1..4.
int clampZoom(int zoom);

// The largest zoom at which a window of the client area and a menu bar (`menuBarHeight` at zoom
// 1, scaled with the zoom) fits in 90 % of a work area of the given size; at least 1.
int fittingZoom(int workWidth, int workHeight, int menuBarHeight);

struct PicturePoint {
    int x = 0;
    int y = 0;
};

// The picture pixel under a point of the zoomed client area (points left of or above it map to
// negative pixels, as at zoom 1).
PicturePoint pictureFromWindow(int x, int y, int zoom);

// A picture rectangle in zoomed client coordinates.
PanelRect zoomedRect(const PanelRect& area, int zoom);

// The picture pixels that a rectangle of the zoomed client area shows, clipped to the picture.
PanelRect pictureAreaShownIn(const PanelRect& windowArea, int zoom);

// Scales red, green, blue rows (width x height x 3 bytes) by `zoom` into `out` (zoom x width by
// zoom x height pixels, 3 bytes each).
void zoomRgb(const uint8_t* rgb, int width, int height, int zoom, uint8_t* out);

// The same from an area of a picture of 4 bytes a pixel (blue, green, red, unused) that lies
// inside it: zoom x width by zoom x height red, green, blue pixels into `out`.
void zoomPictureArea(const PanelSurface& picture, const PanelRect& area, int zoom, uint8_t* out);
