// Whole-number zoom: the point mapping and the nearest-neighbour scaling of the picture.
#include "ui/zoom.h"

#include <algorithm>
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

// One row of 4-byte picture pixels (blue, green, red, unused) to red, green, blue, each pixel
// repeated Zoom times; the zoom is a constant so that the compiler unrolls the repeats.
template <int Zoom> void convertRow(const uint8_t* source, int width, uint8_t* target) {
    for (int x = 0; x < width; ++x, source += 4)
        for (int i = 0; i < Zoom; ++i, target += kRgbBytes) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
        }
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
            convertRow<1>(source, width, out);
            break;
        case 2:
            convertRow<2>(source, width, out);
            break;
        case 3:
            convertRow<3>(source, width, out);
            break;
        default:
            convertRow<4>(source, width, out);
            break;
        }
        repeatRow(out, rowBytes, zoom);
    }
}
