// Song and UI values as the panel renderers draw them: indices, colours, 0..1 values and labels
// read so that whatever a damaged song holds draws without a fault.
#pragma once

#include "base/safe_convert.h"
#include "model/song.h"
#include "ui/drag_state.h"
#include "ui/drawing.h"
#include "ui/glyphs.h"

// A 0..1 value of the song (knob, gain, pan, velocity): NaN draws as 0, the rest is clamped.
inline float unitValue(float v) {
    if (!(v > 0.0f)) return 0.0f;
    return v < 1.0f ? v : 1.0f;
}

// An instrument index as the panels use it: a damaged index shows the nearest of 0..3.
inline int shownInstrument(int instrument) {
    return clampInt(instrument, 0, kInstrumentCount - 1);
}

// First step of the note bank in view of an instrument: a bank start 0..240.
inline int viewOffsetOf(const DragState& drag, int instrument) {
    const int offset = drag.viewOffset[shownInstrument(instrument)];
    return clampInt(offset, 0, kGridSteps - kStepsPerBank) / kStepsPerBank * kStepsPerBank;
}

// Steps played of each bank, as the panels show it: 1..16.
inline int bankLengthOf(const Song& song, int instrument) {
    return clampInt(song.BPMsr[instrument], 1, kStepsPerBank);
}

// An instrument's colour as blue, green, red, each 0..255 (NaN draws as 0).
struct Colour {
    float blue;
    float green;
    float red;
};
// A colour channel kept within 0..255 (NaN gives 0), as a damaged BGR value may hold anything.
inline float colourChannel(float v) {
    if (!(v > 0.0f)) return 0.0f;
    return v < 255.0f ? v : 255.0f;
}
inline Colour instrumentColour(const Song& song, int instrument) {
    const float* bgr = song.BGR[instrument];
    return {colourChannel(bgr[0]), colourChannel(bgr[1]), colourChannel(bgr[2])};
}
inline Colour scaled(Colour c, float factor) {
    return {c.blue * factor, c.green * factor, c.red * factor};
}

// Green 0.8 text, the panels' usual caption colour.
inline void drawCaption(PanelCanvas& canvas, const PanelCanvas& textAtlas, int row, int col,
                        const char* text) {
    drawText(canvas, textAtlas, row, col, 0, true, 0.0f, 0.8f, 0.0f, text);
}

// Draws digit 0..9 of the digit atlas with its top-left corner at (top, left): `shade` gets each
// target pixel's row and column and the atlas pixel's blue, green and red, and writes it.
template <typename Shade>
void drawAtlasDigit(const PanelCanvas& digits, int digit, int top, int left, Shade shade) {
    const int cell = clampInt(digit, 0, 9) * kDigitWidth;
    for (int dy = 0; dy < kDigitHeight; ++dy) {
        for (int dx = 0; dx < kDigitWidth; ++dx) {
            const float blue = static_cast<float>(getChannel(digits, dy, cell + dx, kBlue));
            const float green = static_cast<float>(getChannel(digits, dy, cell + dx, kGreen));
            const float red = static_cast<float>(getChannel(digits, dy, cell + dx, kRed));
            shade(top + dy, left + dx, blue, green, red);
        }
    }
}
