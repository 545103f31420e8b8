// Effect panels: the 2D effect controller, the effect knobs, delay/reverb and the delay display.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "ui/knob_labels.h"
#include "ui/panel_renderers.h"
#include "ui/panel_values.h"

namespace {

void grey(PanelCanvas& canvas, int firstRow, int firstCol, int lastRow, int lastCol, float v) {
    fillRect(canvas, firstRow, firstCol, lastRow + 1, lastCol + 1, v, v, v);
}

// An effect knob index as the panels use it: a damaged axis index shows knob 0..15 nearest it.
int knobIndex(int knob) {
    return clampInt(knob, 0, kEffectKnobCount - 1);
}

// ---- 2D effect controller ----

constexpr int kPlotFirstRow = 4;
constexpr int kPlotLastRow = 182;
constexpr int kPlotFirstCol = 17;
constexpr int kPlotLastCol = 195;
constexpr int kSpriteCentre = 50; // the cursor sprite's centre in the background buffer
constexpr int kSpriteReach = 12;

// The first rendering of an instrument's canvas: the plot area, the corner patch and the cursor
// sprite, which stays only in the background buffer.
void drawControllerBackground(PanelCanvas& canvas, const float backgroundColour[3]) {
    grey(canvas, kPlotFirstRow, kPlotFirstCol, kPlotLastRow, kPlotLastCol, 20);
    fillRect(canvas, 188, 0, 201, 13, backgroundColour[kRed], backgroundColour[kGreen],
             backgroundColour[kBlue]);
    for (int dy = -kSpriteReach; dy <= kSpriteReach; ++dy) {
        for (int dx = -kSpriteReach; dx <= kSpriteReach; ++dx) {
            const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            const float f = d < 10.0f ? 1.0f : std::fmax(0.0f, 1.0f - (d - 10.0f));
            setChannel(canvas, kSpriteCentre + dy, kSpriteCentre + dx, kBlue, 250.0f * f);
            setChannel(canvas, kSpriteCentre + dy, kSpriteCentre + dx, kGreen, 20.0f * d);
        }
    }
    cacheBackground(canvas);
    grey(canvas, kSpriteCentre - kSpriteReach, kSpriteCentre - kSpriteReach,
         kSpriteCentre + kSpriteReach, kSpriteCentre + kSpriteReach, 20);
}

// Earlier cursor positions fade out: what is brighter than the plot's grey loses a tenth.
void fadeTrail(PanelCanvas& canvas) {
    for (int row = kPlotFirstRow; row <= kPlotLastRow; ++row) {
        for (int col = kPlotFirstCol; col <= kPlotLastCol; ++col) {
            const int green = getChannel(canvas, row, col, kGreen);
            if (green <= 20) continue;
            setPixel(canvas, row, col, 20, std::fmax(20.0f, 0.9f * static_cast<float>(green)), 20);
        }
    }
}

void drawControllerGrid(PanelCanvas& canvas) {
    for (int k = 1; k <= 7; ++k) {
        grey(canvas, 178 * k / 8 + kPlotFirstRow, kPlotFirstCol, 178 * k / 8 + kPlotFirstRow,
             kPlotLastCol, 45);
        grey(canvas, kPlotFirstRow, 178 * k / 8 + kPlotFirstCol, kPlotLastRow,
             178 * k / 8 + kPlotFirstCol, 45);
    }
    grey(canvas, 93, kPlotFirstCol, 93, kPlotLastCol, 180);
    grey(canvas, kPlotFirstRow, 106, kPlotLastRow, 106, 180);
}

// The cursor: the sprite from the background buffer, blended as a grey disc.
void drawControllerCursor(PanelCanvas& canvas, int cx, int cy) {
    for (int dy = -kSpriteReach; dy <= kSpriteReach; ++dy) {
        for (int dx = -kSpriteReach; dx <= kSpriteReach; ++dx) {
            const float alpha = static_cast<float>(getBackgroundChannel(
                                    canvas, kSpriteCentre + dy, kSpriteCentre + dx, kBlue)) *
                                0.004f;
            if (alpha <= 0.1f) continue;
            const float c = static_cast<float>(getBackgroundChannel(canvas, kSpriteCentre + dy,
                                                                    kSpriteCentre + dx, kGreen)) *
                            0.05f;
            for (int ch = 0; ch < 3; ++ch) {
                const float current = static_cast<float>(getChannel(canvas, cy + dy, cx + dx, ch));
                setChannel(canvas, cy + dy, cx + dx, ch,
                           current * (1.0f - alpha) + alpha * (10.0f * c + 100.0f));
            }
        }
    }
}

} // namespace

void renderEffectController2D(const Song& song, const UiState& ui, Screen& screen, int instrument) {
    const int a = shownInstrument(instrument);
    PanelCanvas& canvas = panelCanvas(screen, PanelId::EffectController2D, a);
    const float* bg = ui.backgroundColour;
    if (!canvas.backgroundCached) drawControllerBackground(canvas, bg);
    fadeTrail(canvas);
    drawControllerGrid(canvas);

    const KnobRecord* knobs = song.Effect[a];
    const int xKnob = knobIndex(song.EffectDim[a].xKnob);
    const int yKnob = knobIndex(song.EffectDim[a].yKnob);
    const int cx = static_cast<int>(158.0f * unitValue(knobs[xKnob].value)) + 27;
    const int cy = static_cast<int>(158.0f * unitValue(knobs[yKnob].value)) + 14;
    drawControllerCursor(canvas, cx, cy);

    drawFrame(canvas, bg, 0, 13, 188, 201, 4, false);
    fillRect(canvas, 0, 0, 188, 13, 0, 0, 0);
    fillRect(canvas, 190, 13, 201, 201, 0, 0, 0);
    drawFrame(canvas, bg, 0, 0, 188, 13, 2, false);
    drawFrame(canvas, bg, 188, 13, 201, 201, 2, false);

    const char* xName = effectKnobLabel(xKnob).longName;
    const char* yName = effectKnobLabel(yKnob).longName;
    const int xLength = static_cast<int>(std::strlen(xName));
    const int yLength = static_cast<int>(std::strlen(yName));
    drawText(canvas, screen.glyphs.text, 191, 100 - (7 * xLength) / 2, 2, true, 0, 1, 0, xName);
    drawText(canvas, screen.glyphs.text, 95 - 4 * yLength, 4, 2, false, 0, 1, 0, yName);
}

void clearEffectController2D(Screen& screen) {
    for (int a = 0; a < kInstrumentCount; ++a) {
        PanelCanvas& canvas = panelCanvas(screen, PanelId::EffectController2D, a);
        clearCanvas(canvas);
        canvas.backgroundCached = 0;
    }
}

namespace {

// ---- Effect knobs ----

constexpr int kKnobRowHeight = 36;
constexpr int kShownKnobs = 12; // knobs 12..15 have no place on the panel

void drawKnobPanelBackground(PanelCanvas& canvas, const MetalNoise& noise,
                             const float backgroundColour[3]) {
    fillBrushedMetal(canvas, noise, 0, 0, canvas.height, canvas.width, 0.8f);
    for (int m = 0; m < 6; ++m) {
        const int top = kKnobRowHeight * m + 4;
        fillRect(canvas, top, 0, top + 8, canvas.width, 0, 20, 0);
        grey(canvas, top, 0, top, canvas.width - 1, 60);
        grey(canvas, top + 8, 0, top + 8, canvas.width - 1, 150);
    }
    grey(canvas, 0, 43, canvas.height - 1, 43, 60);
    grey(canvas, 0, 44, canvas.height - 1, 44, 150);
    drawFrame(canvas, backgroundColour, 0, 0, 224, 88, 4, false);
}

// A knob shows its value while it is being turned, by itself or as an axis of a 2D drag.
bool showsKnobValue(const Song& song, const UiState& ui, const DragState& drag, int instrument,
                    int knob) {
    if (instrument != shownInstrument(ui.currentInstrument)) return false;
    if (drag.knobDragIndex == knob) return true;
    const EffectAxes& axes = song.EffectDim[instrument];
    return drag.effectDimDragging &&
           (knobIndex(axes.xKnob) == knob || knobIndex(axes.yKnob) == knob);
}

} // namespace

KnobCaption effectKnobCaption(const Song& song, const UiState& ui, const DragState& drag,
                              int instrument, int knob) {
    const int a = shownInstrument(instrument);
    const int k = knobIndex(knob);
    KnobCaption caption{};
    if (showsKnobValue(song, ui, drag, a, k))
        std::snprintf(caption.text, sizeof caption.text, "%d",
                      static_cast<int>(unitValue(song.Effect[a][k].value) * 100.0f));
    else
        std::snprintf(caption.text, sizeof caption.text, "%s", effectKnobLabel(k).shortName);
    return caption;
}

void renderEffectKnobs(const Song& song, const UiState& ui, const DragState& drag, Screen& screen,
                       int instrument) {
    const int a = shownInstrument(instrument);
    PanelCanvas& canvas = panelCanvas(screen, PanelId::EffectKnobs);
    if (!restoreCachedBackground(canvas)) {
        drawKnobPanelBackground(canvas, screen.metalNoise, ui.backgroundColour);
        cacheBackground(canvas);
    }
    for (int e = 0; e < kShownKnobs; ++e) {
        const int c = e % 2 == 0 ? 9 : 49;
        const int row = kKnobRowHeight * (e / 2);
        const KnobCaption caption = effectKnobCaption(song, ui, drag, a, e);
        const int length = static_cast<int>(std::strlen(caption.text));
        drawCaption(canvas, screen.glyphs.text, row + 5, c + 15 - (5 * length) / 2, caption.text);
        drawKnob(canvas, c, row + 10, unitValue(song.Effect[a][e].value));
    }
}

namespace {

// ---- Delay/reverb ----

constexpr int kDelayBandTop = 15;
constexpr int kDelayBandHeight = (90 - 15) / 3; // 25
constexpr int kKnobAreaLeft = 164;
constexpr int kPixelsPerStep = 40;

// A delay's offset in steps with its fine tune applied (fine tune 0.5 = none). A damaged value
// gives a finite number the drawing code can clip.
float effectiveOffset(const float* delay) {
    const float v = delay[kDelayOffset] + (delay[kDelayFineTune] - 0.5f) * 0.1f;
    if (!(v > -1.0e6f)) return -1.0e6f;
    return v < 1.0e6f ? v : 1.0e6f;
}

void drawTimeScale(PanelCanvas& canvas) {
    for (int d = 0; d < 16; ++d) {
        const float shade = d % 4 == 0 ? 180.0f : (d % 4 == 2 ? 90.0f : 50.0f);
        grey(canvas, kDelayBandTop, 10 * d + 2, 89, 10 * d + 2, shade);
    }
}

// A downward-pointing marker on the time scale at the delay's effective offset.
void drawDelayMarker(PanelCanvas& canvas, float x, int top) {
    for (int i = 0; i <= 8; ++i) {
        const float y = static_cast<float>(top + 11 - i);
        drawLine(canvas, x - static_cast<float>(i / 2), y, x + static_cast<float>(i / 2) - 1, y,
                 100.0f + 15.0f * static_cast<float>(i), 0, 0);
    }
    drawLine(canvas, x, top + 11.0f, x, top + 23.0f, 200, 0, 0);
}

const char* const kDelayColumnLabels[4] = {"FD", "LP", "ST", "FN"};
const char* const kDelayColumnNames[4] = {"FEEDBACK", "LOW PASS", "STEREO PAN", "FINE TUNE"};

} // namespace

void renderDelayReverb(const Song& song, const UiState& ui, const DragState& drag, Screen& screen,
                       int instrument) {
    const int a = shownInstrument(instrument);
    PanelCanvas& canvas = panelCanvas(screen, PanelId::DelayReverb);
    const float* bg = ui.backgroundColour;
    const PanelCanvas& font = screen.glyphs.text;
    clearCanvas(canvas);
    drawTimeScale(canvas);
    for (int k = 0; k < kDelayCount; ++k) {
        const float x = effectiveOffset(song.DelayParams[a][k]) * kPixelsPerStep + 2.0f;
        drawDelayMarker(canvas, x, kDelayBandTop + kDelayBandHeight * k);
    }
    for (int k = 0; k < kDelayCount; ++k) {
        const int top = kDelayBandTop + kDelayBandHeight * k;
        fillBrushedMetal(canvas, screen.metalNoise, top, kKnobAreaLeft, top + kDelayBandHeight, 288,
                         0.85f);
        drawFrame(canvas, bg, top, 0, top + kDelayBandHeight, 288, 2, false);
        drawFrame(canvas, bg, top, kKnobAreaLeft, top + kDelayBandHeight, 288, 2, false);
    }
    for (int k = 0; k < kDelayCount; ++k) {
        const float* delay = song.DelayParams[a][k];
        for (int column = 0; column < 4; ++column)
            drawKnob(canvas, 165 + 30 * column, 12 + kDelayBandHeight * k,
                     unitValue(delay[kDelayFeedback + column]));
    }
    for (int divider = 195; divider <= 255; divider += 30) {
        grey(canvas, 17, divider, 86, divider, 60);
        grey(canvas, 17, divider + 1, 86, divider + 1, 180);
    }

    drawFrame(canvas, bg, 0, 0, 15, 288, 2, false);
    drawCaption(canvas, font, 4, 5, "DELAY/REVERB");

    const bool editing =
        a == shownInstrument(ui.currentInstrument) && inRange(drag.delayDragRow, kDelayCount);
    const int column = editing ? drag.delayDragColumn : -1;
    char text[64];
    if (editing) {
        const float* delay = song.DelayParams[a][drag.delayDragRow];
        std::snprintf(text, sizeof text, "%0.3f", static_cast<double>(effectiveOffset(delay)));
        drawCaption(canvas, font, 4, 80, text);
    }
    if (column < 0) {
        for (int c = 0; c < 4; ++c)
            drawCaption(canvas, font, 4, 176 + 30 * c, kDelayColumnLabels[c]);
    } else if (column >= kDelayFeedback && column <= kDelayFineTune) {
        const float* delay = song.DelayParams[a][drag.delayDragRow];
        std::snprintf(text, sizeof text, "%s  %d", kDelayColumnNames[column - kDelayFeedback],
                      static_cast<int>(unitValue(delay[column]) * 100.0f));
        drawCaption(canvas, font, 4, 168, text);
    }
}

namespace {

// ---- Delay display ----

constexpr int kEchoRows = 46;          // frequency rows, 0 the lowest
constexpr int kEchoSamples = 1120;     // time samples, three per pixel column
constexpr int kEchoColumns = 373;      // pixel columns drawn
constexpr float kSamplesPerStep = 120; // 0.25 x 480

struct EchoDelay {
    float gain[kEchoRows]; // per frequency row: feedback squared, less where the low pass cuts
    int length;            // samples; at most 0 adds nothing
};

EchoDelay echoDelay(const float* delay) {
    EchoDelay echo{};
    const float feedback = unitValue(delay[kDelayFeedback]);
    for (float& g : echo.gain) g = feedback * feedback;
    const int cut = truncClamped(kEchoRows * unitValue(delay[kDelayLowPass]), 0, kEchoRows);
    for (int m = 0; m <= cut; ++m) {
        const int row = cut - m;
        if (row >= kEchoRows) continue;
        const float keep = 1.0f - static_cast<float>(m) / kEchoRows;
        echo.gain[row] *= keep * keep;
    }
    echo.length = truncClamped(effectiveOffset(delay) * kSamplesPerStep, -1, kEchoSamples);
    return echo;
}

// Green through yellow to red as the echo's level rises.
void echoColour(float f, float& green, float& red) {
    if (f < 0.4f) {
        green = 255.0f * 2.5f * f;
        red = 0.0f;
    } else if (f < 0.75f) {
        green = 255.0f;
        red = 255.0f * (f - 0.4f) * 2.857142857f;
    } else {
        green = 255.0f * 4.0f * (1.0f - f);
        red = 255.0f;
    }
}

// One frequency row of the impulse response of the three delays, drawn across the panel.
void drawEchoRow(PanelCanvas& canvas, const EchoDelay (&echoes)[kDelayCount], int r) {
    float response[kEchoSamples] = {};
    response[0] = 1.0f;
    for (int s = 0; s < kEchoSamples; ++s)
        for (const EchoDelay& echo : echoes)
            if (echo.length > 0 && s >= echo.length)
                response[s] += echo.gain[r] * response[s - echo.length];
    for (int x = 0; x < kEchoColumns; ++x) {
        float f = 0.0f; // NaN and negative samples draw as 0
        for (int i = 0; i < 3; ++i)
            if (response[3 * x + i] > f) f = response[3 * x + i];
        if (f > 1.0f) f = 1.0f;
        float green = 0.0f;
        float red = 0.0f;
        echoColour(f, green, red);
        setPixel(canvas, 2 + r, 2 + x, red, green, 0);
    }
}

} // namespace

void renderDelayDisplay(const Song& song, const UiState& ui, Screen& screen, int instrument) {
    const int a = shownInstrument(instrument);
    PanelCanvas& canvas = panelCanvas(screen, PanelId::DelayDisplay);
    const float* bg = ui.backgroundColour;
    clearCanvas(canvas);
    EchoDelay echoes[kDelayCount];
    float feedbackEnergy = 0.0f;
    for (int k = 0; k < kDelayCount; ++k) {
        echoes[k] = echoDelay(song.DelayParams[a][k]);
        const float feedback = unitValue(song.DelayParams[a][k][kDelayFeedback]);
        feedbackEnergy += feedback * feedback;
    }
    for (int r = 0; r < kEchoRows; ++r) drawEchoRow(canvas, echoes, r);
    if (feedbackEnergy > 0.99f) {
        fillRect(canvas, 19, 163, 32, 213, 0, 0, 0);
        drawFrame(canvas, bg, 19, 163, 32, 213, 2, false);
        drawText(canvas, screen.glyphs.text, 22, 168, 0, true, 0.8f, 0, 0, "FEEDBACK");
    }
    drawFrame(canvas, bg, 0, 0, 50, 377, 2, false);
}
