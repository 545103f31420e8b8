// Drawing the window picture into the client area (kept apart: the drawing header brings in the
// X11 names, which clash with the program's own).
#pragma once

#include <cstdint>

// Draws the part of the picture area (left, top, width, height, in picture pixels) that lies
// inside the current clip region. The picture's pixels are blue, green, red and one unused byte,
// rows `pitch` bytes apart; its top-left corner is at window position (originX, originY).
void drawPictureArea(const uint8_t* pixels, int pitch, int originX, int originY, int left, int top,
                     int width, int height);
