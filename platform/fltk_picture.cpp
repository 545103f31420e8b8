// Drawing the window picture: only the clipped part, converted line by line to red, green, blue.
#include "platform/fltk_picture.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <cstddef>

namespace {

constexpr int kPictureBytesPerPixel = 4;

struct DrawArea {
    const uint8_t* pixels;
    int pitch;
    int firstColumn; // picture column of the first pixel drawn
    int firstRow;    // picture row of the first line drawn
};

void convertLine(void* data, int x, int y, int width, uchar* rgb) {
    const auto* area = static_cast<const DrawArea*>(data);
    const uint8_t* source = area->pixels + static_cast<size_t>(area->firstRow + y) * area->pitch +
                            static_cast<size_t>(area->firstColumn + x) * kPictureBytesPerPixel;
    for (int i = 0; i < width; ++i, source += kPictureBytesPerPixel, rgb += 3) {
        rgb[0] = source[2];
        rgb[1] = source[1];
        rgb[2] = source[0];
    }
}

} // namespace

void drawPictureArea(const uint8_t* pixels, int pitch, int originX, int originY, int left, int top,
                     int width, int height) {
    int x, y, w, h;
    fl_clip_box(originX + left, originY + top, width, height, x, y, w, h);
    if (w <= 0 || h <= 0) return;
    DrawArea area{pixels, pitch, x - originX, y - originY};
    fl_draw_image(convertLine, &area, x, y, w, h, 3);
}
