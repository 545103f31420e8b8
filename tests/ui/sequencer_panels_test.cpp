// Sequencer and transport panels: the BPM digit split and display, chord keys, note bank buttons
// and sequencer, play/stop/record, and damaged song values.
#include <cmath>
#include <limits>

#include "model/bpm_digits.h"
#include "screen_test_support.h"
#include "ui/drawing.h"
#include "ui/panel_renderers.h"

namespace {

std::vector<int> digitsOf(float bpm) {
    int digits[kBpmDigitCount];
    splitBpmDigits(bpm, digits);
    return {digits, digits + kBpmDigitCount};
}

TEST(BpmDigits, SplitShowsTheTempoAsTyped) {
    EXPECT_EQ(digitsOf(70.0f), (std::vector<int>{0, 7, 0, 0, 0}));
    EXPECT_EQ(digitsOf(120.5f), (std::vector<int>{1, 2, 0, 5, 0}));
    EXPECT_EQ(digitsOf(123.45f), (std::vector<int>{1, 2, 3, 4, 5})); // 123.4499969 as a float
    EXPECT_EQ(digitsOf(999.99f), (std::vector<int>{9, 9, 9, 9, 9}));
    // Every tempo the five digits can spell reads back digit for digit.
    for (int hundredths = 0; hundredths <= 99999; ++hundredths) {
        const int typed[kBpmDigitCount] = {hundredths / 10000, hundredths / 1000 % 10,
                                           hundredths / 100 % 10, hundredths / 10 % 10,
                                           hundredths % 10};
        int shown[kBpmDigitCount];
        splitBpmDigits(bpmFromDigits(typed), shown);
        ASSERT_TRUE(std::equal(typed, typed + kBpmDigitCount, shown)) << hundredths;
    }
}

TEST(BpmDigits, DamagedTemposShowDigitsZeroToNine) {
    EXPECT_EQ(digitsOf(kNaN), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(digitsOf(-kInf), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(digitsOf(-12.5f), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(digitsOf(1500.0f), (std::vector<int>{9, 9, 9, 9, 9}));
    EXPECT_EQ(digitsOf(kInf), (std::vector<int>{9, 9, 9, 9, 9}));
    const int outOfRange[kBpmDigitCount] = {12, -3, 0, 0, 0};
    EXPECT_FLOAT_EQ(bpmFromDigits(outOfRange), 900.0f);
}

class SequencerPanels : public ScreenTest {
  protected:
    Rgb atlasDigit(int digit, int row, int col) {
        return rgbAt(screen->glyphs.digits, row, 9 * digit + col);
    }
};

TEST_F(SequencerPanels, BpmDisplayShowsTheDigitsAndTheSelection) {
    app->song.BPM = 120.5f;
    app->ui.bpmDigitSelected[3] = 1;
    renderBpmDisplay(app->song, app->ui, *screen);
    const int shown[kBpmDigitCount] = {1, 2, 0, 5, 0};
    for (int p = 0; p < kBpmDigitCount; ++p) {
        for (int dy = 0; dy < 13; ++dy) {
            for (int dx = 0; dx < 9; ++dx) {
                const Rgb atlas = atlasDigit(shown[p], dy, dx);
                const Rgb expected =
                    p == 3 ? Rgb{atlas.green, atlas.blue, 0} : atlas; // selected: recoloured
                ASSERT_EQ(rgbAt(canvas(PanelId::BpmDisplay), 9 + dy, 7 + 15 * p + dx), expected)
                    << p << ": " << dy << "," << dx;
            }
        }
    }
}

TEST_F(SequencerPanels, ChordKeyAtOffsetZeroFillsItsColumnFromTheLevel) {
    app->song.Chorus[0].count = 2;
    app->song.Chorus[0].keys[0] = {0.0f, 1.0f};
    app->song.Chorus[0].keys[1] = {-25.0f, 0.5f}; // column 4, from row 19
    renderChordKeys(app->song, app->ui, *screen, app->ui.currentInstrument);
    const PanelCanvas& keys = canvas(PanelId::ChordKeys);
    for (int col = 180; col <= 185; ++col) {
        EXPECT_EQ(rgbAt(keys, 4, col), (Rgb{50, 150, 50})) << col;
        for (int row = 5; row <= 33; ++row) EXPECT_EQ(rgbAt(keys, row, col), (Rgb{50, 200, 50}));
    }
    for (int row = 4; row <= 33; ++row) EXPECT_EQ(rgbAt(keys, row, 179), (Rgb{20, 20, 20}));
    EXPECT_EQ(rgbAt(keys, 18, 6), (Rgb{190, 190, 190})); // above the quieter key: the key colour
    EXPECT_EQ(rgbAt(keys, 19, 6), (Rgb{50, 150, 50}));
    // The keyboard comes back from the cached background when the chord changes.
    app->song.Chorus[0].count = 0;
    renderChordKeys(app->song, app->ui, *screen, app->ui.currentInstrument);
    EXPECT_EQ(rgbAt(keys, 10, 182), (Rgb{190, 190, 190}));
}

TEST_F(SequencerPanels, NoteBankButtonsShowTheBankInViewAndTheLength) {
    app->drag.viewOffset[0] = 32; // bank 2
    app->song.BPMsr[0] = 7;
    renderNoteBankButtons(app->song, app->ui, app->drag, *screen, app->ui.currentInstrument);
    const PanelCanvas& buttons = canvas(PanelId::NoteBankButtons);
    // Label "3" on the selected button darkens the instrument colour where the digit is lit.
    for (int dy = 0; dy < 13; ++dy) {
        for (int dx = 0; dx < 9; ++dx) {
            const float u = static_cast<float>(atlasDigit(3, dy, dx).blue);
            const int c = static_cast<int>(200.0f * (1.0f - u / 256.0f * 0.5f));
            ASSERT_EQ(rgbAt(buttons, 5 + dy, 52 + 8 + dx), (Rgb{c, c, 0})) << dy << "," << dx;
            // Button 0 shows "1" in the instrument colour scaled by the digit.
            const float u1 = static_cast<float>(atlasDigit(1, dy, dx).blue);
            const int c1 = static_cast<int>(u1 / 256.0f * 200.0f);
            ASSERT_EQ(rgbAt(buttons, 5 + dy, 8 + dx), (Rgb{c1, c1, 0}));
            // The length "07" is drawn into the red channel of the length box.
            const int seven = static_cast<int>(0.8f * atlasDigit(7, dy, dx).blue);
            ASSERT_EQ(getChannel(buttons, 5 + dy, 296 + dx, kRed), seven);
        }
    }
}

TEST_F(SequencerPanels, SequencerShowsEveryStackInItsInstrumentsColour) {
    app->ui.currentInstrument = 1;
    app->song.PatternStack[0] = {{3, 9, -1, -1, -1, -1, -1, -1}, kStackConsume};
    app->song.PatternStack[2] = {{77, -9, 4, -1, -1, -1, -1, -1}, 5}; // damaged entries, mode
    renderNoteBankSequencer(app->song, app->ui, *screen, app->ui.currentInstrument);
    const PanelCanvas& seq = canvas(PanelId::NoteBankSequencer);
    // Instrument 0 is not current: 0.6 of its colour (blue 0, green 200, red 200). Bank 3 is
    // labelled 4, bank 9 is labelled 0.
    const int labels[2] = {4, 0};
    for (int slot = 0; slot < 2; ++slot) {
        for (int dy = 0; dy < 13; ++dy) {
            for (int dx = 0; dx < 9; ++dx) {
                const float u = static_cast<float>(atlasDigit(labels[slot], dy, dx).blue);
                const int c = static_cast<int>(u / 256.0f * (200.0f * 0.6f));
                ASSERT_EQ(rgbAt(seq, 5 + dy, 23 * slot + 29 + dx), (Rgb{c, c, 0}));
            }
        }
    }
    // The damaged entries of instrument 2 leave their slots empty.
    EXPECT_EQ(rgbAt(seq, 46 + 10, 23 + 10), (Rgb{0, 0, 0}));
    EXPECT_EQ(rgbAt(seq, 46 + 10, 23 * 2 + 10), (Rgb{0, 0, 0}));
    EXPECT_NE(rgbAt(seq, 46, 23 * 3 + 10), (Rgb{0, 0, 0})); // bank 4 in slot 2 has its frame
    // The current instrument's row is tinted at 0.4 of its colour (250, 80, 80 as blue, green,
    // red) where no entry is.
    EXPECT_EQ(rgbAt(seq, 23 + 11, 150), (Rgb{32, 32, 100}));
    // Consume mode draws the arrow's shaft across the mode button.
    EXPECT_EQ(rgbAt(seq, 11, 10), (Rgb{220, 0, 0}));
}

// The radial darkening of a lit transport button at a pixel.
float darkening(int row, int col, float cx, float cy) {
    const float d = std::hypot(static_cast<float>(col) - cx, static_cast<float>(row) - cy);
    return 0.5f + 0.5f * std::cos(1.4f * std::fmin(1.0f, d / 32.53f));
}

TEST_F(SequencerPanels, PlayStopRecordFollowTheTransport) {
    const PanelCanvas& panel = canvas(PanelId::PlayStopRecord);
    renderPlayStopRecord(app->ui, panelInputs(*app).transport, *screen); // stopped, not recording
    EXPECT_EQ(rgbAt(panel, 10, 5), (Rgb{0, 80, 0}));
    const int stopLit = static_cast<int>(200.0f * darkening(50, 5, 23, 66));
    EXPECT_EQ(rgbAt(panel, 50, 5), (Rgb{stopLit, stopLit, 0}));
    EXPECT_EQ(rgbAt(panel, 92, 5), (Rgb{80, 0, 0}));
    EXPECT_EQ(rgbAt(panel, 1, 10), (Rgb{150, 150, 120})); // play raised: plain band

    app->engine.playing = 1;
    app->recording.startArmed = 1;
    app->recording.recordedChunks = 1234;
    renderPlayStopRecord(app->ui, panelInputs(*app).transport, *screen);
    const int playLit = static_cast<int>(200.0f * darkening(10, 5, 23, 22));
    EXPECT_EQ(rgbAt(panel, 10, 5), (Rgb{0, playLit, 0}));
    EXPECT_EQ(rgbAt(panel, 50, 5), (Rgb{80, 80, 0}));
    const int armed = static_cast<int>(160.0f * darkening(92, 5, 23, 110));
    EXPECT_EQ(rgbAt(panel, 92, 5), (Rgb{armed, armed, 0}));
    EXPECT_EQ(rgbAt(panel, 1, 10), (Rgb{60, 60, 60})); // play sunken: dark inner bevel
    // The counter shows 1234 at full brightness.
    for (int d = 0; d < 4; ++d) {
        const Rgb atlas = atlasDigit(d + 1, 6, 4);
        EXPECT_EQ(rgbAt(panel, 137 + 6, 4 + 9 * d + 4), (Rgb{atlas.green, atlas.blue, 0})) << d;
    }
}

TEST_F(SequencerPanels, DamagedSongValuesDrawWithoutFault) {
    Song& song = app->song;
    const float wild[] = {kNaN, kInf, -kInf, 1e30f, -1e30f};
    for (float bpm : wild) {
        song.BPM = bpm;
        renderBpmDisplay(app->song, app->ui, *screen);
    }
    for (int i = 0; i < kInstrumentCount; ++i) {
        song.BGR[i][0] = wild[i];
        song.BGR[i][1] = wild[i + 1];
        song.BPMsr[i] = i % 2 ? -3 : 99;
        song.Chorus[i].count = i % 2 ? -1 : 5000;
        for (int k = 0; k < 20; ++k) song.Chorus[i].keys[k] = {wild[k % 5], wild[(k + 2) % 5]};
        for (int k = 0; k < kStackEntries; ++k)
            song.PatternStack[i].entries[k] = k % 2 ? std::numeric_limits<int>::min() : 1 << 30;
        app->drag.viewOffset[i] = i % 2 ? -1000 : 1000000;
    }
    app->recording.recordedChunks = std::numeric_limits<int>::max();
    app->ui.currentInstrument = 9;
    for (int current : {9, -4, 0, 1}) {
        app->ui.currentInstrument = current;
        renderNoteBankButtons(app->song, app->ui, app->drag, *screen, app->ui.currentInstrument);
        renderNoteBankSequencer(app->song, app->ui, *screen, app->ui.currentInstrument);
        renderChordKeys(app->song, app->ui, *screen, app->ui.currentInstrument);
        renderPlayStopRecord(app->ui, panelInputs(*app).transport, *screen);
    }
}

} // namespace
