// The envelope editor (one surface per envelope bank and curve) and the row of envelope buttons.
#include <cstdio>

#include "base/safe_convert.h"
#include "ui/panel_geometry.h"
#include "ui/panel_renderers.h"

namespace {

constexpr int kPlotLeft = 50;     // column of point 0
constexpr int kPlotTop = 15;      // row of value 1
constexpr int kPlotBottom = 158;  // last row a curve fills
constexpr float kPlotScale = 144; // rows from value 1 to value 0
constexpr int kCurvePoints = 300; // points 0..299 are shown

const char* const kCurveNames[4] = {"OUTPUT AMPLITUDE", "PITCH", "CUTOFF FREQUENCY",
                                    "RATIO OF HIGH PASS TO LOW PASS FILTERS"};

// Fills rows first..last (inclusive) of one column with one channel value.
void fillColumn(PanelCanvas& canvas, int col, int first, int last, int channel, float value) {
    fillChannel(canvas, first, col, last + 1, col + 1, channel, value);
}

// One column of a filled curve, drawn from `top` (the value's row, real) down to `bottom` in the
// curve's colour times `scale`; the ratio curve also paints blue from `ceiling` down to its
// value.
void fillCurveColumn(PanelCanvas& canvas, int curve, int col, float top, int ceiling, int bottom,
                     float scale) {
    const int first = truncClamped(top, -1000, 1000);
    switch (curve) {
    case kCurveAmplitude:
        fillColumn(canvas, col, first, bottom, kRed, 220 * scale);
        break;
    case kCurvePitch:
        fillColumn(canvas, col, first, bottom, kGreen, 130 * scale);
        break;
    case kCurveCutoff:
        fillColumn(canvas, col, first, bottom, kRed, 130 * scale);
        fillColumn(canvas, col, first, bottom, kGreen, 130 * scale);
        break;
    default: {
        // Blue on every row above the value's (real) row, red from its truncated row down.
        int above = ceiling;
        while (above <= bottom && static_cast<float>(above) < top) ++above;
        fillColumn(canvas, col, ceiling, above - 1, kBlue, 110 * scale);
        fillColumn(canvas, col, first, bottom, kRed, 150 * scale);
    }
    }
}

void drawEnvelopeEditorBackground(PanelCanvas& canvas, const Screen& screen) {
    fillRect(canvas, 0, 0, canvas.height, canvas.width, 20, 20, 20);
    fillBrushedMetal(canvas, screen.metalNoise, 0, 46, 11, 354, 0.4f);
    drawLine(canvas, 353, 0, 353, 11, 150, 150, 150, false);
    drawLine(canvas, 46, 10, 354, 10, 150, 150, 150, false);
    drawLine(canvas, 46, 0, 46, 11, 80, 80, 80, false);
    drawLine(canvas, 46, 0, 354, 0, 80, 80, 80, false);
    for (int k = 1; k <= 8; ++k) {
        const int row = 144 * k / 8 + kPlotTop;
        fillRect(canvas, row, kPlotLeft, row + 1, 350, 80, 80, 80);
    }
    for (int k = 1; k <= 16; ++k) {
        const int col = 300 * k / 16 + kPlotLeft;
        const float g = k % 4 == 0 ? 180 : 80;
        fillRect(canvas, kPlotTop, col, kPlotBottom + 1, col + 1, g, g, g);
    }
    fillRect(canvas, 87, kPlotLeft, 88, 350, 180, 180, 180);
}

void drawSustainButtons(PanelCanvas& canvas, const Screen& screen, const float* background,
                        bool stretched) {
    const int areaLeft = stretched ? 0 : 23;
    for (int row = 0; row <= 10; ++row)
        for (int col = areaLeft; col <= areaLeft + 22; ++col)
            setChannel(canvas, row, col, kRed, 90);
    drawFrame(canvas, background, 0, 0, 13, 23, 2, stretched);
    drawFrame(canvas, background, 0, 23, 13, 46, 2, !stretched);
    drawText(canvas, screen.glyphs.text, 43, 58, 0, true, 0.8f, 0.8f, 0.0f,
             stretched ? "STRETCHED SUSTAIN PERIOD" : "LOOPED SUSTAIN PERIOD");
    // Icons: a double arrow (stretch) and an arrow turning back (loop).
    const float lines[][4] = {{5, 6, 16, 6},  {5, 6, 7, 4},   {5, 6, 7, 8},   {16, 6, 14, 4},
                              {16, 6, 14, 8}, {28, 8, 39, 8}, {39, 8, 39, 4}, {33, 4, 39, 4},
                              {33, 4, 35, 2}, {33, 4, 35, 6}};
    for (const auto& l : lines) drawLine(canvas, l[0], l[1], l[2], l[3], 220, 0, 0, false);
}

void drawThumbnails(PanelCanvas& canvas, const Song& song, const UiState& ui, int bank,
                    int shownCurve) {
    for (int j = 0; j < 4; ++j) {
        const int top = 19 + 38 * j;
        fillRect(canvas, top, 4, top + 23, 42, 0, 0, 0);
        const float* points = envelopeCurvePoints(song, bank, j);
        const float scale = j == shownCurve ? 1.0f : 0.7f;
        for (int x = 0; x < 38; ++x) {
            const float v = points[x * kCurvePoints / 38];
            // The thumbnail works on whole rows: blue above the value's row, red from it down.
            const int row = truncClamped((1.0f - v) * 23.0f + static_cast<float>(top), -1000, 1000);
            fillCurveColumn(canvas, j, 4 + x, static_cast<float>(row), top, top + 22, scale);
        }
    }
    for (int j = 0; j < 4; ++j) {
        const int top = 19 + 38 * j;
        const bool shown = j == shownCurve;
        drawFrame(canvas, ui.backgroundColour, top - 4, 0, top + 27, 46, 4, false);
        fillRect(canvas, top - 4, 41, top + 27, shown ? 47 : 45, 150, 150, 120);
        fillRect(canvas, top - 4, 41, top - 3, 45, 180, 180, 180);
        fillRect(canvas, top + 26, 41, top + 27, 45, 60, 60, 60);
        if (shown) {
            setPixel(canvas, top - 5, 45, 180, 180, 180);
            setPixel(canvas, top + 27, 45, 60, 60, 60);
        }
    }
}

// One sustain marker in the header: three lines shrinking away from column `x` in `direction`
// (+1 for the start, -1 for the end) and the wedge's tip beyond them.
void drawSustainMarker(PanelCanvas& canvas, int x, int direction) {
    for (int v = 0; v <= 2; ++v) {
        const float red = static_cast<float>(150 + (50 * v) / 3);
        const float column = static_cast<float>(x + direction * v);
        drawLine(canvas, column, static_cast<float>(v + 1), column, static_cast<float>(8 - v), red,
                 0, 0);
    }
    for (int row : {4, 5}) setChannel(canvas, row, x + (direction > 0 ? 3 : -4), kRed, 200);
}

// The sustain start and end markers and the release end bracket in the header, drawn in that
// order (the later one wins where they meet), and their lines down the plot.
void drawSustainMarkers(PanelCanvas& canvas, const EnvelopeSettings& settings) {
    // Damaged values only move the markers off the canvas.
    const int a = clampInt(settings.sustainStart, -1000, 1000);
    const int b = clampInt(settings.sustainEnd, -1000, 1000);
    const int z = clampInt(settings.releaseEnd, -1000, 1000);
    drawSustainMarker(canvas, a + 50, 1);
    drawSustainMarker(canvas, b + 50, -1);
    for (int x : {z + 48, z + 52})
        drawLine(canvas, static_cast<float>(x), 1, static_cast<float>(x), 9, 200, 0, 0);
    for (int col : {a + kPlotLeft, b + kPlotLeft, z + kPlotLeft}) {
        fillColumn(canvas, col, kPlotTop, kPlotBottom, kGreen, 220);
        fillColumn(canvas, col, kPlotTop, kPlotBottom, kBlue, 0);
    }
}

} // namespace

void renderEnvelopeEditor(const Song& song, const UiState& ui, Screen& screen, int bank,
                          int curve) {
    bank = clampInt(bank, 0, kEnvelopeBankCount - 1);
    curve = clampInt(curve, 0, 3);
    PanelCanvas& canvas = panelCanvas(screen, PanelId::EnvelopeEditor);
    if (!restoreCachedBackground(canvas)) {
        drawEnvelopeEditorBackground(canvas, screen);
        cacheBackground(canvas);
    }
    const float* background = ui.backgroundColour;
    const EnvelopeSettings& settings = song.EnvelopeParams[bank];
    drawSustainButtons(canvas, screen, background, settings.envelopeMode == 1);

    char title[32];
    std::snprintf(title, sizeof title, "ENVELOPE BANK %d", bank + 1);
    drawText(canvas, screen.glyphs.text, 23, 58, 0, true, 0.8f, 0.8f, 0.0f, title);
    drawText(canvas, screen.glyphs.text, 33, 58, 0, true, 0.8f, 0.8f, 0.0f, kCurveNames[curve]);

    const float* points = envelopeCurvePoints(song, bank, curve);
    for (int i = 0; i < kCurvePoints; ++i)
        fillCurveColumn(canvas, curve, kPlotLeft + i,
                        kPlotScale * (1.0f - points[i]) + static_cast<float>(kPlotTop), kPlotTop,
                        kPlotBottom, 1.0f);
    drawFrame(canvas, background, 11, 46, 163, 354, 4, false);
    fillRect(canvas, 12, 0, 163, 46, background[2], background[1], background[0]);
    drawThumbnails(canvas, song, ui, bank, curve);
    drawSustainMarkers(canvas, settings);
}

void renderEnvelopeButtons(const Song& song, const UiState& ui, Screen& screen, int instrument) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::EnvelopeButtons);
    const int curve = clampInt(ui.envelopeCurve, 0, 3);
    const int selectedBank = song.EnvIdx[clampInt(instrument, 0, kInstrumentCount - 1)];
    for (int e = 0; e < kEnvelopeBankCount; ++e) {
        const int left = kEnvelopeButtonWidth * e;
        const bool selected = e == selectedBank;
        drawFrame(canvas, ui.backgroundColour, 0, left, kButtonRowHeight,
                  left + kEnvelopeButtonWidth, 2, selected);
        const float m = selected ? 1.0f : 0.5f;
        const float* points = envelopeCurvePoints(song, e, curve);
        for (int x = 0; x < 33; ++x) {
            const float v = points[x * kCurvePoints / 33];
            for (int l = 2; l <= 19; ++l) {
                const float level = 1.0f - static_cast<float>(l - 2) / 18.0f;
                const int col = left + 2 + x;
                if (curve == kCurveRatio) {
                    if (level <= v)
                        setPixel(canvas, l, col, 150 * m, 20, 20);
                    else
                        setPixel(canvas, l, col, 20, 20, 110 * m);
                } else if (level < v) {
                    if (curve == kCurveAmplitude) setPixel(canvas, l, col, 200 * m + 20, 20, 20);
                    if (curve == kCurvePitch) setPixel(canvas, l, col, 20, 130 * m, 20);
                    if (curve == kCurveCutoff) setPixel(canvas, l, col, 130 * m, 130 * m, 20);
                } else {
                    setPixel(canvas, l, col, 20, 20, 20);
                }
            }
        }
    }
}
