// Note pad and pan/velocity panels: the current note bank's grid and its per-step bars.
#include "ui/note_pad_panels.h"

#include "ui/panel_geometry.h"
#include "ui/panel_renderers.h"
#include "ui/panel_values.h"

namespace {

constexpr int kPointsPerStep = 75;
constexpr int kPointsPerPixel = 3;
constexpr int kPointsPerPixelColumn = 12; // points one pixel's average looks at
constexpr int kLastPoint = kEnvelopePoints - 1;

constexpr int kCellWidth = kNoteCellWidth;
constexpr int kCellHeight = kNoteCellHeight;
constexpr int kPadLeft = kNoteGridLeft;
constexpr int kPadTop = kNoteGridTop;

// A sum of curve points and how many were added.
struct PointSum {
    const float* v;
    float sum = 0.0f;
    int count = 0;
    void add(int point) {
        if (point < 0 || point > kLastPoint) return;
        sum += v[point];
        ++count;
    }
    float average() const { return count > 0 ? sum / static_cast<float>(count) : 0.0f; }
};

// Linear interpolation of the curve at a real point position.
float curveAt(const float* v, double position) {
    if (!(position >= 0.0)) return v[0];
    if (position >= kLastPoint) return v[kLastPoint];
    const int i = static_cast<int>(position);
    const float f = static_cast<float>(position - i);
    return v[i] + (v[i + 1] - v[i]) * f;
}

// Stretched sustain: the sustain span is spread over the held part of the note.
float stretchedLevel(const float* v, int P, int N, int S0, int S1, int Z) {
    const int M = N + S1 - Z - S0;
    if (M <= 0) return 0.0f; // markers out of order: nothing to stretch over
    const int c = (S1 - S0) / M;
    if (c < 2) return curveAt(v, static_cast<double>(S1 - S0) * (P - S0) / M + S0);
    const int Q = (S1 - S0) * (P - S0) / M + S0;
    PointSum points{v};
    for (int i = 0; i < c && Q + i <= Z; ++i) points.add(Q + i);
    return points.average();
}

// Looped sustain: the sustain span repeats until the release.
float loopedLevel(const float* v, int P, int N, int S0, int S1, int Z) {
    const int d = S1 - S0 > 1 ? S1 - S0 : 1;
    int Q = P;
    if (Q > S1) Q -= (Q - S1 + d - 1) / d * d;
    PointSum points{v};
    for (int i = 0; i < kPointsPerPixelColumn; ++i) {
        if (Q + i > Z) break;
        if (Q + i > S1 && P + i <= N + S1 - Z) Q = S0 - i;
        points.add(Q + i);
    }
    return points.average();
}

} // namespace

float notePreviewLevel(const Song& song, int curve, int instrument, int pixelOffset,
                       int notePosition, int noteLength) {
    const int a = clampInt(instrument, 0, kInstrumentCount - 1);
    const int bank = clampInt(song.EnvIdx[a], 0, kEnvelopeBankCount - 1);
    const float* v = envelopeCurvePoints(song, bank, curve);
    const EnvelopeSettings& params = song.EnvelopeParams[bank];
    const int S0 = clampInt(params.sustainStart, 0, kLastPoint - 1);
    const int S1 = clampInt(params.sustainEnd, 0, kLastPoint - 1);
    const int Z = clampInt(params.releaseEnd, 0, kLastPoint - 1);
    const int t = clampInt(notePosition, 1, kGridSteps);
    const int n = clampInt(noteLength, 1, kGridSteps);
    const int P = kPointsPerStep * (t - 1) + kPointsPerPixel * clampInt(pixelOffset, 0, 100);
    const int N = kPointsPerStep * n;

    if (P < S0 || N <= Z + 1) {
        PointSum points{v};
        for (int i = 0; i < kPointsPerPixelColumn; ++i) {
            if (P + i > Z || (P < S0 && P + i > S0)) break;
            points.add(P + i);
        }
        return points.average();
    }
    if (N - P < Z - S1) { // in the release
        const int start = P + Z - N;
        PointSum points{v};
        for (int i = 0; i < kPointsPerPixelColumn && start + i <= Z; ++i) points.add(start + i);
        return points.average();
    }
    if (params.envelopeMode == 1) return stretchedLevel(v, P, N, S0, S1, Z);
    if (params.envelopeMode == 0) return loopedLevel(v, P, N, S0, S1, Z);
    return 0.0f;
}

namespace {

bool isBlackKey(int displayRow) {
    switch (displayRow % 12) {
    case 1:
    case 3:
    case 5:
    case 8:
    case 10:
        return true;
    default:
        return false;
    }
}

void grey(PanelCanvas& canvas, int firstRow, int firstCol, int lastRow, int lastCol, float v) {
    fillRect(canvas, firstRow, firstCol, lastRow + 1, lastCol + 1, v, v, v);
}

void drawNotePadBackground(PanelCanvas& canvas) {
    clearCanvas(canvas);
    for (int s = 0; s < kStepsPerBank; ++s) {
        for (int j = 0; j < kNoteRows; ++j) {
            const int top = kCellHeight * j + kPadTop;
            const int left = kCellWidth * s + kPadLeft;
            grey(canvas, top, left, top + 7, left + 24, isBlackKey(j) ? 0.0f : 130.0f);
        }
    }
    for (int j = 1; j < kNoteRows; ++j)
        grey(canvas, kCellHeight * j + kPadTop, 4, kCellHeight * j + kPadTop, 404,
             j == 12 ? 220.0f : 180.0f);
    for (int k = 1; k < kStepsPerBank; ++k) {
        const int x = kCellWidth * k + kPadLeft;
        if (k % 4 == 0) {
            grey(canvas, 4, x - 1, 196, x - 1, 140);
            grey(canvas, 4, x + 1, 196, x + 1, 140);
        }
        grey(canvas, 4, x, 196, x, 180);
    }
}

// The colours one note is drawn in.
struct NoteColours {
    Colour body;
    Colour bright;
    Colour dark;
};

void paint(PanelCanvas& canvas, int row, int col, const Colour& c, float level) {
    setPixel(canvas, row, col, c.red * level, c.green * level, c.blue * level);
}

void line(PanelCanvas& canvas, float x0, float y0, float x1, float y1, const Colour& c,
          bool antiAlias = true) {
    drawLine(canvas, x0, y0, x1, y1, c.red, c.green, c.blue, antiAlias);
}

// One cell of a stored note: body, slide ramp toward the next cell's row, edges and end caps.
struct NoteCell {
    int step;        // 0..15 within the bank in view
    int displayRow;  // 0..23, 0 at the top
    int nextDisplay; // display row of the note's next cell, -1 when none
    int position;    // 1-based within the note
    int length;      // steps of the note
};

void drawNoteCell(PanelCanvas& canvas, const Song& song, int curve, int a,
                  const NoteColours& colours, int slideLength, const NoteCell& cell) {
    const int x0 = kCellWidth * cell.step;
    const int top = kCellHeight * cell.displayRow;
    const int t = cell.position;
    const int n = cell.length;
    auto level = [&](int col) { return notePreviewLevel(song, curve, a, col - (x0 + 5), t, n); };

    int e = x0 + 4 + slideLength > x0 + 5 ? x0 + 4 + slideLength : x0 + 5;
    for (int col = x0 + 5; col < e; ++col) {
        const float l = level(col);
        for (int row = top + 7; row <= top + 9; ++row) paint(canvas, row, col, colours.body, l);
    }

    if (e >= x0 + 29) e = x0 + 28;
    const int y0 = top + 4;
    const int y1 = cell.nextDisplay >= 0 ? kCellHeight * cell.nextDisplay + 4 : y0;
    const int lastRampCol = t < n ? x0 + 29 : x0 + 28;
    const float span = static_cast<float>(x0 + 29 - e);
    for (int k = e; k <= lastRampCol; ++k) {
        float g = static_cast<float>(y1 < y0 ? k - e : k - e + 1) / span;
        g = g < 0.0f ? 0.0f : (g > 1.0f ? 1.0f : g);
        const int first = top + 6 + static_cast<int>(g * static_cast<float>(y1 - y0));
        const float l = level(k);
        for (int row = first; row <= first + 4; ++row) paint(canvas, row, k, colours.body, l);
    }

    const float left = static_cast<float>(x0 + 4);
    const float upper = static_cast<float>(top + 6);
    const float lower = static_cast<float>(top + 11);
    const int endCol = clampInt(x0 + 3 + slideLength, x0 + 5, x0 + 29);
    const float eEnd = static_cast<float>(endCol);
    const float rampStart = static_cast<float>(endCol < x0 + 28 ? endCol : x0 + 28);
    const float right = static_cast<float>(x0 + 28);
    line(canvas, left, lower, eEnd, lower, colours.dark);
    line(canvas, left, upper, eEnd, upper, colours.bright);
    line(canvas, rampStart, lower, right, static_cast<float>(y1 + 7), colours.dark);
    line(canvas, rampStart, upper, right, static_cast<float>(y1 + 2), colours.bright);

    if (t == 1) {
        line(canvas, left + 1, top + 5.0f, left + 1, top + 10.0f, colours.bright, false);
        line(canvas, left, top + 5.0f, left, top + 11.0f, colours.bright, false);
    }
    if (t == n) {
        line(canvas, right, y1 + 1.0f, right, y1 + 7.0f, colours.dark, false);
        line(canvas, right - 1, y1 + 2.0f, right - 1, y1 + 5.0f, colours.dark, false);
    }
}

void drawStoredNotes(PanelCanvas& canvas, const Song& song, const UiState& ui,
                     const DragState& drag, int a, int slideLength) {
    const Colour colour = instrumentColour(song, a);
    auto brighten = [](float v) { return 1.3f * v < 250.0f ? 1.3f * v : 250.0f; };
    const NoteColours colours{colour,
                              {brighten(colour.blue), brighten(colour.green), brighten(colour.red)},
                              scaled(colour, 0.7f)};
    const NoteGrid& grid = song.noteGrid[a];
    const int offset = viewOffsetOf(drag, a);
    for (int s = 0; s < kStepsPerBank; ++s) {
        for (int j = 0; j < kNoteRows; ++j) {
            const int step = offset + s;
            const int row = kNoteRows - 1 - j;
            const int position = grid.notePosition[step][row];
            if (position < 1) continue;
            const int next = grid.nextRow[step][row];
            const int nextDisplay = inRange(next, kNoteRows) ? kNoteRows - 1 - next : -1;
            drawNoteCell(canvas, song, ui.envelopeCurve, a, colours, slideLength,
                         {s, j, nextDisplay, position, grid.noteLength[step][row]});
        }
    }
}

// The note the mouse is drawing, in red, cell after cell from its first.
void drawNoteBeingDrawn(PanelCanvas& canvas, const DragState& drag, int a, int slideLength) {
    const NoteDrawCell* cells = drag.noteDrawList;
    int count = 0;
    while (count < kNoteDrawCapacity && cells[count].step >= 0) ++count;
    const float offset = static_cast<float>(viewOffsetOf(drag, a));
    auto rowTop = [](const NoteDrawCell& c) {
        return 188.0f - 8.0f * static_cast<float>(clampInt(c.row, -1, kNoteRows));
    };
    auto red = [&](float x0, float y0, float x1, float y1, float value) {
        drawLine(canvas, x0, y0, x1, y1, value, 0.0f, 0.0f, false);
    };
    for (int q = 0; q < count; ++q) {
        const float x0 = 25.0f * (static_cast<float>(cells[q].step) - offset);
        const float y = rowTop(cells[q]);
        const float yNext = q + 1 < count ? rowTop(cells[q + 1]) : y;
        const float xe = x0 + 4.0f + static_cast<float>(slideLength);
        const float xEnd = x0 + 29.0f;
        for (int k = 0; k <= 6; ++k) {
            red(x0 + 4, y + k + 1, xe, y + k + 1, 180);
            red(xe, y + k + 1, xEnd, yNext + k + 1, 180);
        }
        red(x0 + 4, y + 7, xe, y + 7, 126);
        red(xe, y + 7, xEnd, yNext + 7, 126);
        if (q == count - 1) red(xEnd, yNext + 1, xEnd, yNext + 7, 126);
        red(x0 + 4, y + 1, xe, y + 1, 234);
        red(xe, y + 1, xEnd, yNext + 1, 234);
        if (q == 0) red(x0 + 4, y + 1, x0 + 4, y + 7, 234);
    }
}

// Steps past the bank length are shown at 0.4 of their brightness.
void dimUnplayedSteps(PanelCanvas& canvas, int bankLength) {
    if (bankLength >= kStepsPerBank) return;
    for (int row = 0; row < canvas.height; ++row)
        for (int col = kCellWidth * bankLength + 5; col <= 404; ++col)
            for (int ch = 0; ch < 3; ++ch)
                setChannel(canvas, row, col, ch,
                           0.4f * static_cast<float>(getChannel(canvas, row, col, ch)));
}

} // namespace

void renderNotePad(const Song& song, const UiState& ui, const DragState& drag, Screen& screen,
                   int instrument) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::NotePad);
    if (!restoreCachedBackground(canvas)) {
        drawNotePadBackground(canvas);
        cacheBackground(canvas);
    }
    const int a = shownInstrument(instrument);
    const float slide = unitValue(song.Effect[a][kKnobSlide].value);
    const int slideLength = truncClamped(25.0f * (1.0f - slide), 0, 25);
    drawStoredNotes(canvas, song, ui, drag, a, slideLength);
    if (noteBeingDrawn(drag)) drawNoteBeingDrawn(canvas, drag, a, slideLength);
    dimUnplayedSteps(canvas, bankLengthOf(song, a));
    drawFrame(canvas, ui.backgroundColour, 0, 0, 201, 409, 4, false);
}

void renderPanAndVelocity(const Song& song, const UiState& ui, const DragState& drag,
                          Screen& screen, int instrument) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::PanAndVelocity);
    const int a = shownInstrument(instrument);
    const bool pan = drag.panVelocitySelect != 0;
    fillRect(canvas, 0, 0, canvas.height, canvas.width, 20, 20, 20);
    drawFrame(canvas, ui.backgroundColour, 0, kPanSwitchWidth, 46, 420, 4, false);
    drawFrame(canvas, ui.backgroundColour, 0, 0, 46, kPanSwitchWidth, 2, false);
    drawText(canvas, screen.glyphs.text, 10, 3, 3, false, 0.0f, 1.0f, 0.0f, pan ? "PAN" : "VEL");

    const Colour colour = instrumentColour(song, a);
    const float* values = pan ? song.Pan[a] : song.Vel[a];
    const int offset = viewOffsetOf(drag, a);
    for (int x = 0; x < kStepBarsSpan; ++x) {
        const float value = unitValue(values[offset + kStepsPerBank * x / kStepBarsSpan]);
        const int top = static_cast<int>(kStepBarsTravel * (1.0f - value)) + kStepBarsTop;
        fillRect(canvas, top, kStepBarsLeft + x, 41, kStepBarsLeft + 1 + x, colour.red,
                 colour.green, colour.blue);
    }

    for (int j = 1; j <= 3; ++j) grey(canvas, 38 * j / 4 + 4, 15, 38 * j / 4 + 4, 415, 80);
    for (int j = 1; j <= 16; ++j)
        grey(canvas, 4, 401 * j / 16 + 15, 41, 401 * j / 16 + 15, j % 4 == 0 ? 180.0f : 80.0f);
}
