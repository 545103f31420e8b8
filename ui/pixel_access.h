// Per-channel pixel access of a PanelCanvas in any of its three formats. Inline because every
// primitive and renderer calls these once per pixel channel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/safe_convert.h"
#include "ui/panel_canvas.h"

// Channels, as everywhere in the program: 0 blue, 1 green, 2 red. Colours are floats on the
// 0..255 scale; where a primitive takes a colour as three arguments the order is red, green, blue.
inline constexpr int kBlue = 0;
inline constexpr int kGreen = 1;
inline constexpr int kRed = 2;

namespace pixel_detail {

// Field layout of a 5-6-5 pixel per channel: shift, mask and the divisor from 0..255.
inline constexpr int kFieldShift[3] = {0, 5, 11};
inline constexpr int kFieldMask[3] = {0x1F, 0x3F, 0x1F};
inline constexpr int kFieldScale[3] = {8, 4, 8};

inline bool inside(const PanelCanvas& canvas, int row, int col, int channel) {
    return static_cast<unsigned>(row) < static_cast<unsigned>(canvas.height) &&
           static_cast<unsigned>(col) < static_cast<unsigned>(canvas.width) &&
           static_cast<unsigned>(channel) < static_cast<unsigned>(canvas.channels) &&
           channel < 3; // the field tables hold three channels, whatever a canvas claims
}

inline size_t offset(const PanelCanvas& canvas, int row, int col) {
    return (static_cast<size_t>(row) * static_cast<size_t>(canvas.width) +
            static_cast<size_t>(col)) *
           static_cast<size_t>(canvas.bytesPerPixel);
}

inline int read(const PanelCanvas& canvas, const uint8_t* buffer, int row, int col, int channel) {
    if (!inside(canvas, row, col, channel)) return 0;
    const uint8_t* pixel = buffer + offset(canvas, row, col);
    if (canvas.bytesPerPixel != 2) return pixel[channel];
    const int word = pixel[0] | (pixel[1] << 8);
    return ((word >> kFieldShift[channel]) & kFieldMask[channel]) * kFieldScale[channel];
}

// trunc(value) kept to its low bits as the byte would keep it; defined for any float.
inline int truncated(float value) {
    if (value >= 0.0f && value < 256.0f) return static_cast<int>(value); // the usual case
    return truncToInt(value);
}

} // namespace pixel_detail

// Writes one channel of one pixel: 3 and 4 byte pixels store trunc(value) in the channel's byte;
// 5-6-5 pixels store trunc(value / 8) (blue, red) or trunc(value / 4) (green) in the field.
// Values are not clamped to 0..255 (the byte or field keeps the low bits). Nothing happens
// outside the canvas.
inline void setChannel(PanelCanvas& canvas, int row, int col, int channel, float value) {
    using namespace pixel_detail;
    if (!inside(canvas, row, col, channel)) return;
    uint8_t* pixel = canvas.pixels.data() + offset(canvas, row, col);
    if (canvas.bytesPerPixel != 2) {
        pixel[channel] = static_cast<uint8_t>(truncated(value));
        return;
    }
    const int field =
        truncToInt(value / static_cast<float>(kFieldScale[channel])) & kFieldMask[channel];
    int word = pixel[0] | (pixel[1] << 8);
    word =
        (word & ~(kFieldMask[channel] << kFieldShift[channel])) | (field << kFieldShift[channel]);
    pixel[0] = static_cast<uint8_t>(word & 0xFF);
    pixel[1] = static_cast<uint8_t>(word >> 8);
}

// Reads one channel on the 0..255 scale (fields times 8 or 4); 0 outside the canvas.
inline int getChannel(const PanelCanvas& canvas, int row, int col, int channel) {
    return pixel_detail::read(canvas, canvas.pixels.data(), row, col, channel);
}

// The same from the canvas's background buffer.
inline int getBackgroundChannel(const PanelCanvas& canvas, int row, int col, int channel) {
    return pixel_detail::read(canvas, canvas.background.data(), row, col, channel);
}

// channel = trunc(alpha x value + (1 - alpha) x current).
inline void blendChannel(PanelCanvas& canvas, int row, int col, int channel, float value,
                         float alpha) {
    if (!pixel_detail::inside(canvas, row, col, channel)) return;
    const float current = static_cast<float>(getChannel(canvas, row, col, channel));
    setChannel(canvas, row, col, channel,
               static_cast<float>(truncToInt(alpha * value + (1.0f - alpha) * current)));
}

// Sets all three channels of a pixel (red, green, blue order like the other colour arguments).
inline void setPixel(PanelCanvas& canvas, int row, int col, float red, float green, float blue) {
    setChannel(canvas, row, col, kBlue, blue);
    setChannel(canvas, row, col, kGreen, green);
    setChannel(canvas, row, col, kRed, red);
}
