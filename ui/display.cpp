// Off-screen surfaces, canvas copies, stretched blits and the window picture.
#include "ui/display.h"

#include <algorithm>
#include <cstring>

#include "ui/drawing.h"

namespace {

bool supportedDepth(int bytesPerPixel) {
    return bytesPerPixel >= 2 && bytesPerPixel <= 4;
}

bool sameShape(const PanelCanvas& canvas, const PanelSurface& surface) {
    return canvas.width == surface.width && canvas.height == surface.height &&
           canvas.bytesPerPixel == surface.bytesPerPixel && supportedDepth(surface.bytesPerPixel);
}

} // namespace

void createSurface(PanelSurface& surface, int width, int height, int bytesPerPixel) {
    surface.width = std::max(0, width);
    surface.height = std::max(0, height);
    surface.bytesPerPixel = bytesPerPixel;
    // Rows padded to whole 32-bit words, as display surfaces usually are.
    surface.pitch = (surface.width * bytesPerPixel + 3) / 4 * 4;
    surface.pixels.assign(static_cast<size_t>(surface.pitch) * surface.height, 0);
}

void createDisplay(Display& display, int bytesPerPixel) {
    display.bytesPerPixel = bytesPerPixel;
    createSurface(display.picture, kClientWidth, kClientHeight, bytesPerPixel);
    // Paint one row of background through a canvas (any depth), then repeat it down the picture.
    PanelCanvas row;
    createCanvas(row, kClientWidth, 1, bytesPerPixel);
    fillRect(row, 0, 0, 1, kClientWidth, kWindowBackground[2], kWindowBackground[1],
             kWindowBackground[0]);
    for (int r = 0; r < kClientHeight; ++r)
        std::memcpy(&display.picture.pixels[static_cast<size_t>(r) * display.picture.pitch],
                    row.pixels.data(), row.pixels.size());
    display.pictureChanged = nullptr;
    display.pictureChangedContext = nullptr;
}

void copyCanvasToSurface(const PanelCanvas& canvas, PanelSurface& surface) {
    if (!sameShape(canvas, surface)) return;
    const size_t rowBytes = static_cast<size_t>(canvas.width) * canvas.bytesPerPixel;
    for (int row = 0; row < canvas.height; ++row)
        std::memcpy(&surface.pixels[static_cast<size_t>(row) * surface.pitch],
                    &canvas.pixels[row * rowBytes], rowBytes);
}

void copySurfaceToCanvas(PanelCanvas& canvas, const PanelSurface& surface) {
    if (!sameShape(canvas, surface)) return;
    const size_t rowBytes = static_cast<size_t>(canvas.width) * canvas.bytesPerPixel;
    for (int row = 0; row < canvas.height; ++row)
        std::memcpy(&canvas.pixels[row * rowBytes],
                    &surface.pixels[static_cast<size_t>(row) * surface.pitch], rowBytes);
}

void blitSurface(const PanelSurface& source, PanelSurface& target, PanelRect destination) {
    const int bpp = source.bytesPerPixel;
    if (bpp != target.bytesPerPixel || !supportedDepth(bpp)) return;
    const int width = rectWidth(destination);
    const int height = rectHeight(destination);
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0) return;
    const int firstRow = std::max(destination.top, 0);
    const int endRow = std::min(destination.bottom, target.height);
    const int firstCol = std::max(destination.left, 0);
    const int endCol = std::min(destination.right, target.width);
    for (int row = firstRow; row < endRow; ++row) {
        const int sourceRow = static_cast<int>(static_cast<long long>(row - destination.top) *
                                               source.height / height);
        const uint8_t* from = &source.pixels[static_cast<size_t>(sourceRow) * source.pitch];
        uint8_t* to = &target.pixels[static_cast<size_t>(row) * target.pitch];
        if (width == source.width) { // unstretched: one copy per row
            if (endCol > firstCol)
                std::memcpy(to + firstCol * bpp, from + (firstCol - destination.left) * bpp,
                            static_cast<size_t>(endCol - firstCol) * bpp);
            continue;
        }
        for (int col = firstCol; col < endCol; ++col) {
            const int sourceCol = static_cast<int>(static_cast<long long>(col - destination.left) *
                                                   source.width / width);
            std::memcpy(to + col * bpp, from + sourceCol * bpp, bpp);
        }
    }
}

void showOnDisplay(Display& display, const PanelSurface& surface, PanelRect destination) {
    blitSurface(surface, display.picture, destination);
    if (display.pictureChanged) display.pictureChanged(display.pictureChangedContext, destination);
}

void pictureToRgb(const Display& display, uint8_t* rgb) {
    // Reads the picture through a canvas view so 5-6-5 pixels convert like every other read.
    const PanelSurface& picture = display.picture;
    PanelCanvas row;
    createCanvas(row, picture.width, 1, picture.bytesPerPixel);
    const size_t rowBytes = static_cast<size_t>(picture.width) * picture.bytesPerPixel;
    for (int r = 0; r < picture.height; ++r) {
        std::memcpy(row.pixels.data(), &picture.pixels[static_cast<size_t>(r) * picture.pitch],
                    rowBytes);
        for (int c = 0; c < picture.width; ++c) {
            *rgb++ = static_cast<uint8_t>(getChannel(row, 0, c, kRed));
            *rgb++ = static_cast<uint8_t>(getChannel(row, 0, c, kGreen));
            *rgb++ = static_cast<uint8_t>(getChannel(row, 0, c, kBlue));
        }
    }
}
