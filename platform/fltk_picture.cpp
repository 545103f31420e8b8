// Drawing the window picture: the clip region, and red, green, blue pixels handed to FLTK.
#include "platform/fltk_picture.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

bool clipToDrawRegion(int& x, int& y, int& width, int& height) {
    int cx, cy, cw, ch;
    fl_clip_box(x, y, width, height, cx, cy, cw, ch);
    x = cx;
    y = cy;
    width = cw;
    height = ch;
    return cw > 0 && ch > 0;
}

void drawRgbPixels(const uint8_t* rgb, int x, int y, int width, int height) {
    fl_draw_image(rgb, x, y, width, height, 3);
}
