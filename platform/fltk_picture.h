// Drawing the window picture into the client area (kept apart: the drawing header brings in the
// X11 names, which clash with the program's own).
#pragma once

#include <cstdint>

// Narrows a window rectangle to its part inside the current clip region; false when nothing of
// it is inside.
bool clipToDrawRegion(int& x, int& y, int& width, int& height);

// Draws red, green, blue pixels (rows width x 3 bytes apart) with their top-left corner at the
// window position x, y.
void drawRgbPixels(const uint8_t* rgb, int x, int y, int width, int height);
