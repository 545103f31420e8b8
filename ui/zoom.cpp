// Whole-number zoom: the point mapping and the nearest-neighbour scaling of the picture.
#include "ui/zoom.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr int kRgbBytes = 3;

int floorDivide(int value, int divisor) {
    const int quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

// Repeats the first zoomed row (rowBytes) zoom - 1 times below itself.
void repeatRow(uint8_t* row, size_t rowBytes, int zoom) {
    for (int i = 1; i < zoom; ++i)
        std::memcpy(row + rowBytes * static_cast<size_t>(i), row, rowBytes);
}

// One row of 4-byte picture pixels (blue, green, red, unused) to red, green, blue.
void convertRow(const uint8_t* source, int width, uint8_t* target) {
    for (int x = 0; x < width; ++x, source += 4, target += kRgbBytes) {
        target[0] = source[2];
        target[1] = source[1];
        target[2] = source[0];
    }
}

// A word that lies in memory as the red, green and blue bytes of the picture pixel, then 0.
uint32_t rgbWord(const uint8_t* pixel) {
    const uint32_t red = pixel[2], green = pixel[1], blue = pixel[0];
    if constexpr (std::endian::native == std::endian::little)
        return red | green << 8 | blue << 16;
    else
        return red << 24 | green << 16 | blue << 8;
}

// The same with each pixel repeated Zoom times (2 to 4). Each pixel is converted once into a
// word and each repeat is one 4-byte store whose fourth byte lands where the next repeat or
// pixel goes and is overwritten by it. The last pixel is converted byte by byte for each repeat,
// so nothing is written past the row.
template <int Zoom> void repeatRowPixels(const uint8_t* source, int width, uint8_t* target) {
    static_assert(Zoom >= 2 && Zoom <= kHighestZoom);
    if (width <= 0) return;
    for (int x = 0; x < width - 1; ++x, source += 4) {
        const uint32_t rgb = rgbWord(source);
        for (int i = 0; i < Zoom; ++i, target += kRgbBytes) std::memcpy(target, &rgb, 4);
    }
    for (int i = 0; i < Zoom; ++i, target += kRgbBytes) convertRow(source, 1, target);
}

} // namespace

int clampZoom(int zoom) {
    return std::clamp(zoom, kLowestZoom, kHighestZoom);
}

int fittingZoom(int workWidth, int workHeight, int menuBarHeight) {
    // 90 % in whole pixels, compared without rounding: 10 * size <= 9 * work.
    for (int zoom = kHighestZoom; zoom > kLowestZoom; --zoom) {
        const long width = static_cast<long>(zoom) * kClientWidth;
        const long height = static_cast<long>(zoom) * (kClientHeight + menuBarHeight);
        if (10 * width <= 9L * workWidth && 10 * height <= 9L * workHeight) return zoom;
    }
    return kLowestZoom;
}

PicturePoint pictureFromWindow(int x, int y, int zoom) {
    zoom = clampZoom(zoom);
    return {floorDivide(x, zoom), floorDivide(y, zoom)};
}

PanelRect zoomedRect(const PanelRect& area, int zoom) {
    return {area.left * zoom, area.top * zoom, area.right * zoom, area.bottom * zoom};
}

PanelRect pictureAreaShownIn(const PanelRect& windowArea, int zoom) {
    zoom = clampZoom(zoom);
    PanelRect area{floorDivide(windowArea.left, zoom), floorDivide(windowArea.top, zoom),
                   floorDivide(windowArea.right + zoom - 1, zoom),
                   floorDivide(windowArea.bottom + zoom - 1, zoom)};
    area.left = std::clamp(area.left, 0, kClientWidth);
    area.right = std::clamp(area.right, area.left, kClientWidth);
    area.top = std::clamp(area.top, 0, kClientHeight);
    area.bottom = std::clamp(area.bottom, area.top, kClientHeight);
    return area;
}

void zoomRgb(const uint8_t* rgb, int width, int height, int zoom, uint8_t* out) {
    const size_t rowBytes = static_cast<size_t>(width) * zoom * kRgbBytes;
    for (int y = 0; y < height; ++y, out += rowBytes * static_cast<size_t>(zoom)) {
        uint8_t* target = out;
        for (int x = 0; x < width; ++x, rgb += kRgbBytes)
            for (int i = 0; i < zoom; ++i, target += kRgbBytes) std::memcpy(target, rgb, kRgbBytes);
        repeatRow(out, rowBytes, zoom);
    }
}

void zoomPictureArea(const PanelSurface& picture, const PanelRect& area, int zoom, uint8_t* out) {
    zoom = clampZoom(zoom);
    const int width = rectWidth(area);
    const size_t rowBytes = static_cast<size_t>(width) * zoom * kRgbBytes;
    for (int y = area.top; y < area.bottom; ++y, out += rowBytes * static_cast<size_t>(zoom)) {
        const uint8_t* source = picture.pixels.data() + static_cast<size_t>(y) * picture.pitch +
                                static_cast<size_t>(area.left) * 4;
        switch (zoom) {
        case 1:
            convertRow(source, width, out);
            break;
        case 2:
            repeatRowPixels<2>(source, width, out);
            break;
        case 3:
            repeatRowPixels<3>(source, width, out);
            break;
        default:
            repeatRowPixels<4>(source, width, out);
            break;
        }
        repeatRow(out, rowBytes, zoom);
    }
}
