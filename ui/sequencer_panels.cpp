// Sequencer and transport panels: note bank buttons, note bank sequencer, chord keys, BPM digits
// and the play, stop and record buttons.
#include <cmath>

#include "model/bpm_digits.h"
#include "ui/panel_geometry.h"
#include "ui/panel_renderers.h"
#include "ui/panel_values.h"

namespace {

void grey(PanelCanvas& canvas, int firstRow, int firstCol, int lastRow, int lastCol, float v) {
    fillRect(canvas, firstRow, firstCol, lastRow + 1, lastCol + 1, v, v, v);
}

void fill(PanelCanvas& canvas, int firstRow, int firstCol, int lastRow, int lastCol,
          const Colour& c) {
    fillRect(canvas, firstRow, firstCol, lastRow + 1, lastCol + 1, c.red, c.green, c.blue);
}

// The label of note bank b (0..9) on its button: 1..9, then 0.
int bankLabel(int bank) {
    return (bank + 1) % 10;
}

// A digit of the atlas tinted by a colour: its blue channel u gives each channel u / 256 x colour.
void drawTintedDigit(PanelCanvas& canvas, const PanelCanvas& digits, int digit, int top, int left,
                     const Colour& colour) {
    drawAtlasDigit(digits, digit, top, left, [&](int row, int col, float u, float, float) {
        setPixel(canvas, row, col, u / 256.0f * colour.red, u / 256.0f * colour.green,
                 u / 256.0f * colour.blue);
    });
}

// A digit in the highlight colours: blue 0, green from the atlas blue, red from the atlas green.
void drawHighlightDigit(PanelCanvas& canvas, const PanelCanvas& digits, int digit, int top,
                        int left, float brightness) {
    drawAtlasDigit(digits, digit, top, left, [&](int row, int col, float blue, float green, float) {
        setPixel(canvas, row, col, green * brightness, blue * brightness, 0);
    });
}

} // namespace

void renderNoteBankButtons(const Song& song, const UiState& ui, const DragState& drag,
                           Screen& screen, int instrument) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::NoteBankButtons);
    const PanelCanvas& digits = screen.glyphs.digits;
    const float* bg = ui.backgroundColour;
    const int a = shownInstrument(instrument);
    const Colour colour = instrumentColour(song, a);
    const int shownBank = viewOffsetOf(drag, a) / kStepsPerBank;

    clearCanvas(canvas);
    constexpr int w = kBankButtonWidth;
    fill(canvas, 0, w * shownBank, 22, w * shownBank + w - 1, colour);
    for (int f = 0; f < kEditableBankCount; ++f) {
        drawFrame(canvas, bg, 0, w * f, kButtonRowHeight, w * f + w, 2, f == shownBank);
        if (f != shownBank) {
            drawTintedDigit(canvas, digits, bankLabel(f), 5, w * f + 8, colour);
            continue;
        }
        drawAtlasDigit(
            digits, bankLabel(f), 5, w * f + 8, [&](int row, int col, float u, float, float) {
                const float keep = 1.0f - u / 256.0f * 0.5f;
                for (int ch = 0; ch < 3; ++ch)
                    setChannel(canvas, row, col, ch,
                               static_cast<float>(getChannel(canvas, row, col, ch)) * keep);
            });
    }

    fillRect(canvas, 0, kBankLengthLeft, 23, 279, 80, 50, 20);
    drawFrame(canvas, bg, 0, kBankLengthLeft, 11, 279, 1, false);
    drawFrame(canvas, bg, 12, kBankLengthLeft, 23, 279, 1, false);
    drawFrame(canvas, bg, 0, 279, 23, 312, 2, true);
    drawLine(canvas, 264, 7, 269, 3, 200, 0, 0);
    drawLine(canvas, 269, 3, 274, 7, 220, 0, 0);
    drawLine(canvas, 264, 15, 269, 19, 220, 0, 0);
    drawLine(canvas, 269, 19, 274, 15, 200, 0, 0);

    const int length = bankLengthOf(song, a);
    const int lengthDigits[2] = {length / 10, length % 10};
    for (int d = 0; d < 2; ++d)
        drawAtlasDigit(digits, lengthDigits[d], 5, 284 + 12 * d,
                       [&](int row, int col, float u, float, float) {
                           setChannel(canvas, row, col, kRed, 0.8f * u);
                       });
}

void renderNoteBankSequencer(const Song& song, const UiState& ui, Screen& screen, int instrument) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::NoteBankSequencer);
    const float* bg = ui.backgroundColour;
    const int current = shownInstrument(instrument);
    clearCanvas(canvas);
    constexpr int h = kSequencerRowHeight;
    constexpr int w = kSequencerEntryWidth;
    fill(canvas, h * current, w, h * current + h - 1, 206,
         scaled(instrumentColour(song, current), 0.4f));

    for (int a = 0; a < kInstrumentCount; ++a) {
        const int top = h * a;
        const float y = static_cast<float>(top + 11);
        drawFrame(canvas, bg, top, w, top + h, 207, 1, false);
        drawFrame(canvas, bg, top, 0, top + h, w, 2, false);
        auto icon = [&](float x0, float y0, float x1, float y1) {
            drawLine(canvas, x0, y0, x1, y1, 220, 0, 0, false);
        };
        const BankStack& stack = song.PatternStack[a];
        if (stack.stackMode == kStackConsume) {
            icon(5, y, 16, y);
            icon(5, y, 7, y - 2);
            icon(5, y, 7, y + 2);
        } else if (stack.stackMode == kStackRotate) {
            icon(5, y - 3, 16, y - 3);
            icon(5, y + 3, 5, y - 3);
            icon(11, y + 3, 5, y + 3);
            icon(11, y + 3, 9, y + 1);
            icon(11, y + 3, 9, y + 5);
        }

        const Colour tint = scaled(instrumentColour(song, a), a == current ? 1.0f : 0.6f);
        for (int k = 0; k < kStackEntries; ++k) {
            const int bank = stack.entries[k];
            if (!inRange(bank, kBankCount)) continue; // empty (or damaged) entry
            const int left = w * (k + 1);             // entries follow the mode switch
            drawFrame(canvas, bg, top, left, top + h, left + w, 2, false);
            drawTintedDigit(canvas, screen.glyphs.digits, bankLabel(bank), top + 5, left + 6, tint);
        }
    }
}

namespace {

bool isBlackChordKey(int offset) {
    switch ((offset + 60) % 12) {
    case 1:
    case 3:
    case 6:
    case 8:
    case 10:
        return true;
    default:
        return false;
    }
}

void drawChordKeyboard(PanelCanvas& canvas, const float backgroundColour[3]) {
    drawFrame(canvas, backgroundColour, 0, 0, 38, 358, 4, false);
    for (int e = kChordLowestOffset; e < kChordLowestOffset + kChordKeyColumns; ++e) {
        const int left = kChordKeyWidth * (e - kChordLowestOffset) + kChordKeysLeft;
        grey(canvas, 4, left, 33, left + 6, isBlackChordKey(e) ? 40.0f : 190.0f);
        grey(canvas, 4, left + 7, 33, left + 7, 20);
    }
}

} // namespace

void renderChordKeys(const Song& song, const UiState& ui, Screen& screen, int instrument) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::ChordKeys);
    if (!restoreCachedBackground(canvas)) {
        drawChordKeyboard(canvas, ui.backgroundColour);
        cacheBackground(canvas);
    }
    const ChordKeySet& chord = song.Chorus[shownInstrument(instrument)];
    const int count = clampInt(chord.count, 0, kMaxChordKeys);
    for (int i = 0; i < count; ++i) {
        const ChordKey& key = chord.keys[i];
        if (!(key.level > 0.0f)) continue;
        const int x =
            kChordKeyWidth * (truncClamped(key.semitoneOffset, -1000, 1000) - kChordLowestOffset) +
            kChordKeysLeft;
        const int top =
            static_cast<int>((1.0f - unitValue(key.level)) * kChordLevelRows) + kChordKeysTop;
        fillRect(canvas, top, x, 34, x + 7, 50, 200, 50);
        fillRect(canvas, top, x, top + 1, x + 7, 50, 150, 50);
        grey(canvas, 4, x, 33, x, 20);
    }
}

void renderBpmDisplay(const Song& song, const UiState& ui, Screen& screen) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::BpmDisplay);
    clearCanvas(canvas);
    drawFrame(canvas, ui.backgroundColour, 0, 0, 31, 83, 4, false);
    int digits[kBpmDigitCount];
    splitBpmDigits(song.BPM, digits);
    for (int p = 0; p < kBpmDigitCount; ++p) {
        if (ui.bpmDigitSelected[p]) {
            drawHighlightDigit(canvas, screen.glyphs.digits, digits[p], 9, 7 + 15 * p, 1.0f);
            continue;
        }
        drawAtlasDigit(screen.glyphs.digits, digits[p], 9, 7 + 15 * p,
                       [&](int row, int col, float blue, float green, float red) {
                           setPixel(canvas, row, col, red, green, blue);
                       });
    }
    drawDisc(canvas, 49, 19, 1, 80, 140, 220);
}

namespace {

constexpr int kTransportHeight = 154;
constexpr int kSymbolHalf = kTransportHeight / 9 / 2; // 8
constexpr int kPlayEnd = 2 * kTransportRowHeight;     // 44
constexpr int kStopEnd = 4 * kTransportRowHeight;     // 88
constexpr int kRecordEnd = 6 * kTransportRowHeight;   // 132

// Darkens the given channels of rows first..end-1 with the distance from (cx, cy): full at the
// centre, half at 32.53 pixels and beyond.
void radialDarken(PanelCanvas& canvas, int first, int end, float cx, float cy, bool red) {
    for (int row = first; row < end; ++row) {
        for (int col = 0; col < canvas.width; ++col) {
            const float d = std::hypot(static_cast<float>(col) - cx, static_cast<float>(row) - cy);
            const float f = 0.5f + 0.5f * std::cos(1.4f * std::fmin(1.0f, d / 32.53f));
            setChannel(canvas, row, col, kGreen,
                       static_cast<float>(getChannel(canvas, row, col, kGreen)) * f);
            if (red)
                setChannel(canvas, row, col, kRed,
                           static_cast<float>(getChannel(canvas, row, col, kRed)) * f);
        }
    }
}

void drawPlayButton(PanelCanvas& canvas, bool playing) {
    const float s = playing ? 1.0f : 0.4f;
    const float F = kSymbolHalf;
    fillRect(canvas, 0, 0, kPlayEnd, canvas.width, 0, 200 * s, 0);
    drawLine(canvas, 23 - F, 22 - F, 23 - F, 22 + F, 0, 230 * s, 0);
    drawLine(canvas, 23 - F, 22 - F, 23 + F, 22, 0, 220 * s, 0);
    drawLine(canvas, 23 + F, 22, 23 - F, 22 + F, 0, 160 * s, 0);
    if (playing) radialDarken(canvas, 0, kPlayEnd, 23, 22, false);
}

void drawStopButton(PanelCanvas& canvas, bool stopped) {
    const float s = stopped ? 1.0f : 0.4f;
    const float F = kSymbolHalf;
    fillRect(canvas, kPlayEnd, 0, kStopEnd, canvas.width, 200 * s, 200 * s, 0);
    const float left = 23 - F, right = 23 + F, top = 66 - F, bottom = 66 + F;
    drawLine(canvas, left, top, right, top, 250 * s, 250 * s, 0);
    drawLine(canvas, left, top, left, bottom, 250 * s, 250 * s, 0);
    drawLine(canvas, right, top, right, bottom, 160 * s, 160 * s, 0);
    drawLine(canvas, left, bottom, right, bottom, 160 * s, 160 * s, 0);
    if (stopped) radialDarken(canvas, kPlayEnd, kStopEnd, 23, 66, true);
}

void drawRecordButton(PanelCanvas& canvas, bool armed, bool recording) {
    const float s = armed ? 0.8f : (recording ? 1.0f : 0.4f);
    const float F = kSymbolHalf;
    if (armed) {
        fillRect(canvas, kStopEnd, 0, kRecordEnd, canvas.width, 160, 160, 0);
        drawDisc(canvas, 22, 109, F, 200, 200, 0);
        drawDisc(canvas, 24, 111, F, 128, 128, 0);
        drawDisc(canvas, 23, 110, F, 176, 176, 0);
    } else {
        fillRect(canvas, kStopEnd, 0, kRecordEnd, canvas.width, 200 * s, 0, 0);
        drawDisc(canvas, 22, 109, F, 250 * s, 0, 0);
        drawDisc(canvas, 24, 111, F, 160 * s, 0, 0);
        drawDisc(canvas, 23, 110, F, 220 * s, 0, 0);
    }
    if (s > 0.6f) radialDarken(canvas, kStopEnd, kRecordEnd, 23, 110, true);
}

// The number of recorded chunks, four digits, dim while nothing has been recorded.
void drawRecordedCount(PanelCanvas& canvas, const PanelCanvas& digits, int chunks) {
    const int count = clampInt(chunks, 0, 9999);
    const float brightness = count > 0 ? 1.0f : 0.4f;
    const int places[4] = {count / 1000, count / 100 % 10, count / 10 % 10, count % 10};
    for (int d = 0; d < 4; ++d)
        drawHighlightDigit(canvas, digits, places[d], 137, 4 + 9 * d, brightness);
}

} // namespace

void renderPlayStopRecord(const UiState& ui, TransportReadings transport, Screen& screen) {
    PanelCanvas& canvas = panelCanvas(screen, PanelId::PlayStopRecord);
    const float* bg = ui.backgroundColour;
    const bool playing = transport.playing;
    const bool armed = transport.recordArmed;
    const bool recording = transport.recording;
    clearCanvas(canvas);
    drawPlayButton(canvas, playing);
    drawStopButton(canvas, !playing);
    drawRecordButton(canvas, armed, recording);
    drawRecordedCount(canvas, screen.glyphs.digits, transport.recordedChunks);
    drawFrame(canvas, bg, 0, 0, kPlayEnd, 46, 2, playing);
    drawFrame(canvas, bg, kPlayEnd, 0, kStopEnd, 46, 2, !playing);
    drawFrame(canvas, bg, kStopEnd, 0, kRecordEnd, 46, 2, armed || recording);
    drawFrame(canvas, bg, kRecordEnd, 0, kTransportHeight, 46, 2, false);
}
