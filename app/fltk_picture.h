// Drawing the window picture into the client area (kept apart: the drawing header brings in the
// X11 names, which clash with the program's own).
#pragma once

#include <cstdint>

// Draws the part of a picture of `width` x `height` pixels (blue, green, red and one unused
// byte each, rows `pitch` bytes apart) that lies inside the current clip region, with the
// picture's top-left corner at window position (left, top).
void drawPictureClipped(const uint8_t* pixels, int pitch, int left, int top, int width, int height);
