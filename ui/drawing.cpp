// Drawing primitives: channel access, blends, lines, discs, knobs, faders, metal, frames, text.
#include "ui/drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/safe_convert.h"
#include "model/random.h"
#include "ui/glyphs.h"

namespace {

constexpr float kLight = 180.0f; // bevel highlight grey
constexpr float kDark = 60.0f;   // bevel shadow grey
constexpr float kBandBlue = 120.0f;
constexpr float kBandGreen = 150.0f;
constexpr float kBandRed = 150.0f;

// A coordinate range clipped to 0..limit-1 without overflowing, whatever the inputs.
struct Span {
    int first;
    int last; // inclusive; last < first means empty
};
Span clipSpan(long long first, long long last, int limit) {
    return {static_cast<int>(std::max<long long>(first, 0)),
            static_cast<int>(std::min<long long>(last, limit - 1))};
}

bool finite(float v) {
    return isFiniteValue(v);
}

} // namespace

// The shading takes the first numbers of the random sequence from a state of its own: setting up
// a screen must not move the sequence the sound draws from, or the window (which sets one up
// at start-up) and humbrook-render (which sets one up only for a screenshot or a script) would
// play different noise, and a screen set up after a song's load would shade differently.
void initMetalNoise(MetalNoise& noise) {
    const float step = 1.0f / 32767.0f; // single precision, a hair below 1/32767
    uint32_t state = kRandomStartState;
    for (int& value : noise.values)
        value = truncToInt(static_cast<float>(nextRandom(state)) * step * 5.0f);
}

void fillRect(PanelCanvas& canvas, int firstRow, int firstCol, int endRow, int endCol, float red,
              float green, float blue) {
    const Span rows = clipSpan(firstRow, static_cast<long long>(endRow) - 1, canvas.height);
    const Span cols = clipSpan(firstCol, static_cast<long long>(endCol) - 1, canvas.width);
    if (rows.last < rows.first || cols.last < cols.first) return;
    if (canvas.bytesPerPixel == 2) {
        for (int r = rows.first; r <= rows.last; ++r)
            for (int c = cols.first; c <= cols.last; ++c) setPixel(canvas, r, c, red, green, blue);
        return;
    }
    // Byte formats: the pixel's three bytes once, then stored along each row.
    const uint8_t colour[3] = {static_cast<uint8_t>(pixel_detail::truncated(blue)),
                               static_cast<uint8_t>(pixel_detail::truncated(green)),
                               static_cast<uint8_t>(pixel_detail::truncated(red))};
    const size_t bpp = static_cast<size_t>(canvas.bytesPerPixel);
    for (int r = rows.first; r <= rows.last; ++r) {
        uint8_t* pixel = canvas.pixels.data() + pixel_detail::offset(canvas, r, cols.first);
        for (int c = cols.first; c <= cols.last; ++c, pixel += bpp) std::memcpy(pixel, colour, 3);
    }
}

void fillChannel(PanelCanvas& canvas, int firstRow, int firstCol, int endRow, int endCol,
                 int channel, float value) {
    const Span rows = clipSpan(firstRow, static_cast<long long>(endRow) - 1, canvas.height);
    const Span cols = clipSpan(firstCol, static_cast<long long>(endCol) - 1, canvas.width);
    if (canvas.bytesPerPixel == 2 || channel < 0 || channel >= canvas.channels) {
        for (int r = rows.first; r <= rows.last; ++r)
            for (int c = cols.first; c <= cols.last; ++c) setChannel(canvas, r, c, channel, value);
        return;
    }
    const uint8_t byte = static_cast<uint8_t>(pixel_detail::truncated(value));
    const size_t bpp = static_cast<size_t>(canvas.bytesPerPixel);
    for (int r = rows.first; r <= rows.last; ++r) {
        uint8_t* pixel = canvas.pixels.data() + pixel_detail::offset(canvas, r, 0) + channel;
        for (int c = cols.first; c <= cols.last; ++c) pixel[c * bpp] = byte;
    }
}

namespace {

void blendPixel(PanelCanvas& canvas, int row, int col, float red, float green, float blue,
                float alpha) {
    blendChannel(canvas, row, col, kBlue, blue, alpha);
    blendChannel(canvas, row, col, kGreen, green, alpha);
    blendChannel(canvas, row, col, kRed, red, alpha);
}

// Walks one coordinate (the "major" axis, rows for steep lines) from trunc(start) to trunc(end),
// the other growing by `slope` per step; plot(major, minor) draws one step. Steps outside
// 0..limit-1 are skipped without looping over them.
template <typename Plot>
void walkLine(float start, float end, float minorStart, float slope, int limit, Plot plot) {
    const long long first = truncToInt(start);
    const long long last = truncToInt(end);
    const Span span = clipSpan(first, last, limit);
    float minor = minorStart;
    long long major = first;
    if (span.first > first + 1) { // far outside: jump to just before the canvas
        minor += slope * static_cast<float>(span.first - first);
        major = span.first;
    }
    for (; major <= std::min<long long>(last, span.last); ++major) {
        if (major >= span.first) plot(static_cast<int>(major), minor);
        minor += slope;
    }
}

} // namespace

void drawLine(PanelCanvas& canvas, float x0, float y0, float x1, float y1, float red, float green,
              float blue, bool antiAlias) {
    if (!finite(x0) || !finite(y0) || !finite(x1) || !finite(y1)) return;
    if (std::fabs(y0 - y1) >= std::fabs(x0 - x1)) { // steep, or a single point
        const bool forward = y0 <= y1;
        const float slope = y0 == y1 ? 0.0f : (x0 - x1) / (y0 - y1);
        walkLine(forward ? y0 : y1, forward ? y1 : y0, forward ? x0 : x1, slope, canvas.height,
                 [&](int row, float x) {
                     const int col = truncToInt(x);
                     setPixel(canvas, row, col, red, green, blue);
                     if (!antiAlias) return;
                     const float f = x - static_cast<float>(col);
                     blendPixel(canvas, row, col + 1, red, green, blue, f);
                     blendPixel(canvas, row, col - 1, red, green, blue, 1.0f - f);
                 });
        return;
    }
    const bool forward = x0 <= x1;
    const float slope = (y0 - y1) / (x0 - x1);
    walkLine(forward ? x0 : x1, forward ? x1 : x0, forward ? y0 : y1, slope, canvas.width,
             [&](int col, float y) {
                 const int row = truncToInt(y);
                 setPixel(canvas, row, col, red, green, blue);
                 if (!antiAlias) return;
                 const float f = y - static_cast<float>(row);
                 blendPixel(canvas, row + 1, col, red, green, blue, f);
                 blendPixel(canvas, row - 1, col, red, green, blue, 1.0f - f);
             });
}

void drawDisc(PanelCanvas& canvas, float cx, float cy, float radius, float red, float green,
              float blue) {
    if (!finite(cx) || !finite(cy) || !finite(radius)) return;
    const Span rows =
        clipSpan(truncToInt(cy - radius - 1.0f),
                 static_cast<long long>(truncToInt(cy + radius + 2.0f)) - 1, canvas.height);
    const Span cols =
        clipSpan(truncToInt(cx - radius - 1.0f),
                 static_cast<long long>(truncToInt(cx + radius + 2.0f)) - 1, canvas.width);
    for (int i = rows.first; i <= rows.last; ++i) {
        const float dy = static_cast<float>(truncToInt(static_cast<float>(i) - cy));
        for (int j = cols.first; j <= cols.last; ++j) {
            const float dx = static_cast<float>(truncToInt(static_cast<float>(j) - cx));
            const float d = std::sqrt(dx * dx + dy * dy);
            // Inside the rim the blend is a plain store; beyond it a blend with alpha 0 keeps
            // the pixel, so only the one-pixel soft edge really blends.
            if (d < radius) {
                setPixel(canvas, i, j, red, green, blue);
                continue;
            }
            const float alpha = 1.0f - (d - radius);
            if (alpha > 0.0f) blendPixel(canvas, i, j, red, green, blue, alpha);
        }
    }
}

void drawKnob(PanelCanvas& canvas, int left, int top, float value) {
    const float cx = static_cast<float>(left) + 15.0f;
    const float cy = static_cast<float>(top) + 15.0f;
    drawDisc(canvas, cx - 0.5f, cy - 0.5f, 7.5f, 90, 220, 100);     // highlight
    drawDisc(canvas, cx + 0.5f, cy + 0.5f, 7.5f, 50, 130, 60);      // shadow
    drawDisc(canvas, cx, cy, 7.5f, 40, 160.0f + 70.0f * value, 50); // body
    const float angle = (1.0f - value) * 4.7123f - 0.785f;
    const float hx = 7.5f * std::cos(angle);
    const float hy = -7.5f * std::sin(angle);
    drawLine(canvas, cx + hx, cy + hy, cx + 0.2f * hx, cy + 0.2f * hy, 60, 60, 60);
}

namespace {

// The fader stripe's colour when it follows the value: green, through yellow, to red.
void faderValueColour(float value, float& red, float& green) {
    if (value < 0.4f) {
        red = 0.0f;
        green = 500.0f * value;
    } else if (value < 0.75f) {
        red = (value - 0.4f) * 2.857142857f * 200.0f;
        green = 200.0f;
    } else {
        red = 200.0f;
        green = (1.0f - value) * 800.0f;
    }
}

} // namespace

void drawFader(PanelCanvas& canvas, int top, int left, int bottom, int right, float value,
               int capHalfHeight, float red, float green, float blue, bool ticks) {
    const int h = (left + right) / 2;
    const float track = static_cast<float>(h);
    if (ticks) {
        for (int i = 0; i <= 10; ++i) {
            const float y = static_cast<float>(top + 5 + i * (bottom - top - 10) / 10);
            const bool major = i == 0 || i == 5 || i == 10;
            drawLine(canvas, track - (major ? 8.0f : 4.0f), y, track + (major ? 8.0f : 3.0f), y,
                     100, 100, 100);
        }
    }
    drawLine(canvas, track, static_cast<float>(top + 5), track, static_cast<float>(bottom - 5), 60,
             60, 60);

    // The cap centre, kept within a range that cannot overflow for a damaged value.
    const int c = truncClamped(static_cast<float>(bottom - 5) * (1.0f - value) +
                                   value * static_cast<float>(top + 5),
                               -100000, 100000);
    const int k = capHalfHeight;
    const int capLeft = left + 4;
    const int capRight = right - 5; // inclusive
    fillRect(canvas, c - k, capLeft, c + k + 1, capRight + 1, 140, 140, 140);
    fillRect(canvas, c - k, capLeft, c + k + 1, capLeft + 1, 200, 200, 200);
    fillRect(canvas, c - k, right - 4, c + k + 1, right - 3, 90, 90, 90);
    fillRect(canvas, c + k, capLeft, c + k + 1, capRight + 1, 80, 80, 80);
    fillRect(canvas, c - k, capLeft, c - k + 1, capRight + 1, 200, 200, 200);

    if (green == 0.0f && blue == 0.0f) faderValueColour(value, red, green);
    const int stripe = k / 3;
    fillRect(canvas, c - stripe, capLeft, c + stripe + 1, capRight + 1, red, green, blue);
    if (k >= 4) {
        fillRect(canvas, c + stripe, capLeft, c + stripe + 1, capRight + 1, 0.7f * red,
                 0.7f * green, 0.7f * blue);
        fillRect(canvas, c - stripe, capLeft, c - stripe + 1, capRight + 1,
                 std::min(250.0f, 1.2f * red), std::min(250.0f, 1.2f * green),
                 std::min(250.0f, 1.2f * blue));
    }
}

void fillBrushedMetal(PanelCanvas& canvas, const MetalNoise& noise, int firstRow, int firstCol,
                      int endRow, int endCol, float brightness) {
    const int mid = (firstCol + endCol) / 2;
    const int half = (endCol - firstCol) / 2;
    const Span rows = clipSpan(firstRow, static_cast<long long>(endRow) - 1, canvas.height);
    const Span cols = clipSpan(firstCol, static_cast<long long>(endCol) - 1, canvas.width);
    for (int i = cols.first; i <= cols.last; ++i) {
        // A one-column area has no half width: it takes the middle's shade.
        const float ratio =
            half == 0 ? 0.0f : static_cast<float>(std::abs(i - mid)) / static_cast<float>(half);
        const float shade = std::cos(ratio) * 90.0f + 60.0f;
        for (int r = rows.first; r <= rows.last; ++r) {
            const float b =
                brightness * (shade + static_cast<float>(noise.values[r % kMetalNoiseLength]));
            setPixel(canvas, r, i, b, b, 0.9f * b);
        }
    }
}

namespace {

// Rounds one corner of a thickness-4 frame toward the background colour.
void roundCorner(PanelCanvas& canvas, const float backgroundColour[3], int r0, int c0, int dr,
                 int dc) {
    for (int k = 0; k < 3; ++k) {
        const float g = backgroundColour[k];
        auto value = [&](int row, int col) {
            return static_cast<float>(getChannel(canvas, row, col, k));
        };
        auto scale = [&](int row, int col, float keep, float toward) {
            setChannel(canvas, row, col, k, keep * value(row, col) + toward * g);
        };
        setChannel(canvas, r0 + dr, c0 + dc, k, value(r0, c0));
        setChannel(canvas, r0, c0, k, g);
        scale(r0, c0 + dc, 0.4f, 0.6f);
        scale(r0 + dr, c0, 0.4f, 0.6f);
        scale(r0, c0 + 2 * dc, 0.8f, 0.2f);
        scale(r0 + 2 * dr, c0, 0.8f, 0.2f);
        scale(r0 + 2 * dr, c0 + 3 * dc, 0.8f, 0.0f);
        scale(r0 + 3 * dr, c0 + 2 * dc, 0.8f, 0.0f);
        scale(r0 + 2 * dr, c0 + 2 * dc, 0.7f, 0.0f);
        scale(r0 + 3 * dr, c0 + 3 * dc, 0.8f, 0.0f);
    }
}

void grey(PanelCanvas& canvas, int firstRow, int firstCol, int lastRow, int lastCol, float v) {
    fillRect(canvas, firstRow, firstCol, lastRow + 1, lastCol + 1, v, v, v);
}

} // namespace

void drawFrame(PanelCanvas& canvas, const float backgroundColour[3], int top, int left, int bottom,
               int right, int thickness, bool sunken) {
    const int t = thickness;
    auto band = [&](int firstRow, int firstCol, int endRow, int endCol) {
        fillRect(canvas, firstRow, firstCol, endRow, endCol, kBandRed, kBandGreen, kBandBlue);
    };
    band(top, left, top + t, right);
    band(bottom - t - 1, left, bottom, right);
    band(top, left, bottom, left + t);
    band(top, right - t - 1, bottom, right);
    if (sunken) {
        grey(canvas, top + t - 1, left + t - 1, top + t - 1, right - t - 1, kDark);
        grey(canvas, top + t - 1, left + t - 1, bottom - t - 1, left + t - 1, kDark);
        grey(canvas, bottom - t, left + t - 1, bottom - t, right - t - 1, kLight);
        grey(canvas, top + t - 1, right - t, bottom - t - 1, right - t, kLight);
    } else {
        grey(canvas, top, left, top, right - 1, kLight);
        grey(canvas, top, left, bottom - 1, left, kLight);
        grey(canvas, bottom - 1, left, bottom - 1, right - 1, kDark);
        grey(canvas, top, right - 1, bottom - 1, right - 1, kDark);
    }
    if (t != 4) return;
    roundCorner(canvas, backgroundColour, top, left, 1, 1);
    roundCorner(canvas, backgroundColour, bottom - 2, left, -1, 1);
    roundCorner(canvas, backgroundColour, bottom - 2, right - 2, -1, -1);
    roundCorner(canvas, backgroundColour, top, right - 2, 1, -1);
}

void drawText(PanelCanvas& canvas, const PanelCanvas& textAtlas, int row, int col, int spacing,
              bool horizontal, float red, float green, float blue, const char* text) {
    if (!text) return;
    // The fifth column of the first cell is paper by the atlas layout.
    const float paper = static_cast<float>(getChannel(textAtlas, 0, kTextCellWidth - 1, kGreen));
    int r = horizontal ? row : row + spacing / 2;
    int c = horizontal ? col + spacing / 2 : col;
    for (const char* p = text; *p; ++p) {
        int atlasCol = 0;
        int atlasRow = 0;
        const bool glyph = textGlyphCell(*p, atlasCol, atlasRow);
        for (int dy = 0; dy < kTextCellHeight; ++dy) {
            for (int dx = 0; dx < kTextCellWidth; ++dx) {
                if (!pixel_detail::inside(canvas, r + dy, c + dx, kGreen)) continue;
                const float v =
                    glyph ? static_cast<float>(getChannel(
                                textAtlas, atlasRow * kTextCellHeight + dy, atlasCol + dx, kGreen))
                          : paper;
                const float w =
                    static_cast<float>(getChannel(canvas, r + dy, c + dx, kGreen)) / 255.0f;
                const float a = (1.0f - w) * v;
                const float lift = 255.0f * w * w;
                setPixel(canvas, r + dy, c + dx, lift + red * a, lift + green * a, lift + blue * a);
            }
        }
        if (horizontal)
            c += kTextCellWidth + spacing;
        else
            r += kTextCellHeight + spacing;
    }
}
