// Drawing primitives: pixel formats, lines, discs, knobs, faders, metal, frames and text.
#include "ui/drawing.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "model/random.h"
#include "screen_test_support.h"
#include "ui/glyphs.h"

namespace {

int word16(const PanelCanvas& canvas, int row, int col) {
    const size_t at = (static_cast<size_t>(row) * canvas.width + col) * 2;
    return canvas.pixels[at] | (canvas.pixels[at + 1] << 8);
}

TEST(PixelFormats, SixteenBitFieldsAreWrittenAndReadSeparately) {
    PanelCanvas canvas = blankCanvas(4, 4, 2);
    for (int channel = 0; channel < 3; ++channel) setChannel(canvas, 1, 1, channel, 255);
    EXPECT_EQ(word16(canvas, 1, 1), 0xFFFF);

    setChannel(canvas, 2, 2, kGreen, 100);
    EXPECT_EQ(word16(canvas, 2, 2), 25 << 5);
    EXPECT_EQ(getChannel(canvas, 2, 2, kGreen), 100);
    // Rewriting one field leaves the other two alone.
    setChannel(canvas, 1, 1, kGreen, 0);
    EXPECT_EQ(word16(canvas, 1, 1), 0xF81F);

    canvas.pixels[0] = 0x00;
    canvas.pixels[1] = 0xF8; // pixel (0, 0) = 0xF800
    EXPECT_EQ(rgbAt(canvas, 0, 0), (Rgb{248, 0, 0}));
}

TEST(PixelFormats, ByteFormatsTruncateAndLeaveTheFourthByte) {
    for (int bpp : {3, 4}) {
        PanelCanvas canvas = blankCanvas(3, 2, bpp);
        if (bpp == 4) {
            canvas.pixels[4 * 4 + 3] = 0x5A; // the unused byte of pixel (1, 1)
        }
        setPixel(canvas, 1, 1, 200.9f, 100.2f, 7.99f);
        EXPECT_EQ(rgbAt(canvas, 1, 1), (Rgb{200, 100, 7}));
        if (bpp == 4) {
            EXPECT_EQ(canvas.pixels[4 * 4 + 3], 0x5A);
        }
    }
}

TEST(PixelFormats, OutsideTheCanvasNothingIsWrittenAndZeroIsRead) {
    PanelCanvas canvas = blankCanvas(5, 5);
    const auto before = canvas.pixels;
    for (int row : {-1, 5}) setChannel(canvas, row, 2, kRed, 255);
    for (int col : {-1, 5}) setChannel(canvas, 2, col, kRed, 255);
    setChannel(canvas, 2, 2, 3, 255); // channel 3 does not exist
    EXPECT_EQ(canvas.pixels, before);
    EXPECT_EQ(getChannel(canvas, -1, 0, kRed), 0);
    EXPECT_EQ(getChannel(canvas, 0, 0, 7), 0);
}

TEST(PixelFormats, DamagedValuesStayDefined) {
    PanelCanvas canvas = blankCanvas(2, 2, 2);
    setChannel(canvas, 0, 0, kRed, NAN);
    setChannel(canvas, 0, 1, kRed, INFINITY);
    setChannel(canvas, 1, 0, kRed, -1e30f);
    blendChannel(canvas, 1, 1, kGreen, 100, NAN);
    EXPECT_EQ(getChannel(canvas, 0, 0, kRed), 0);
}

TEST(Blending, TruncatesTheMix) {
    PanelCanvas canvas = blankCanvas(1, 1);
    setChannel(canvas, 0, 0, kBlue, 100);
    blendChannel(canvas, 0, 0, kBlue, 201, 0.5f);
    EXPECT_EQ(getChannel(canvas, 0, 0, kBlue), 150);
}

TEST(Lines, SinglePointDrawsTheCentreAndTheLeftNeighbour) {
    PanelCanvas canvas = blankCanvas(20, 10);
    drawLine(canvas, 10, 5, 10, 5, 200, 100, 50);
    EXPECT_EQ(rgbAt(canvas, 5, 10), (Rgb{200, 100, 50}));
    EXPECT_EQ(rgbAt(canvas, 5, 9), (Rgb{200, 100, 50}));
    EXPECT_EQ(rgbAt(canvas, 5, 11), (Rgb{0, 0, 0}));
}

TEST(Lines, ShallowLinesBlendAboveAndBelow) {
    PanelCanvas canvas = blankCanvas(20, 10);
    drawLine(canvas, 2, 4.25f, 12, 4.25f, 200, 200, 200);
    EXPECT_EQ(getChannel(canvas, 4, 7, kRed), 200);
    EXPECT_EQ(getChannel(canvas, 5, 7, kRed), 50);  // alpha 0.25 below
    EXPECT_EQ(getChannel(canvas, 3, 7, kRed), 150); // alpha 0.75 above
    EXPECT_EQ(getChannel(canvas, 4, 13, kRed), 0);
    // Without anti-aliasing the line is one pixel wide.
    PanelCanvas plain = blankCanvas(20, 10);
    drawLine(plain, 2, 4.25f, 12, 4.25f, 200, 200, 200, false);
    EXPECT_EQ(getChannel(plain, 5, 7, kRed), 0);
    EXPECT_EQ(getChannel(plain, 3, 7, kRed), 0);
}

TEST(Lines, SteepLinesWalkRowsFromTheUpperEnd) {
    PanelCanvas forward = blankCanvas(20, 20);
    PanelCanvas backward = blankCanvas(20, 20);
    drawLine(forward, 3, 2, 9, 14, 255, 0, 0, false);
    drawLine(backward, 9, 14, 3, 2, 255, 0, 0, false);
    EXPECT_EQ(forward.pixels, backward.pixels);
    for (int row = 2; row <= 14; ++row)
        EXPECT_EQ(getChannel(forward, row, 3 + (row - 2) / 2, kRed), 255) << row;
}

TEST(Lines, FarOutsideOrDamagedEndsAreClippedCheaply) {
    PanelCanvas canvas = blankCanvas(30, 30);
    drawLine(canvas, 5, -1e9f, 5, 1e9f, 255, 255, 255); // a vertical through the canvas
    for (int row = 0; row < 30; ++row) EXPECT_EQ(getChannel(canvas, row, 5, kGreen), 255);
    const auto before = canvas.pixels;
    drawLine(canvas, NAN, 0, 10, 10, 9, 9, 9);
    drawLine(canvas, 0, 0, INFINITY, 10, 9, 9, 9);
    EXPECT_EQ(canvas.pixels, before);
}

TEST(Discs, SolidInsideSoftAtTheRim) {
    PanelCanvas canvas = blankCanvas(20, 20);
    drawDisc(canvas, 10, 10, 3, 200, 0, 0);
    EXPECT_EQ(getChannel(canvas, 10, 10, kRed), 200);
    EXPECT_EQ(getChannel(canvas, 10, 12, kRed), 200); // d = 2 < 3
    EXPECT_EQ(getChannel(canvas, 10, 14, kRed), 0);   // d = 4: alpha 0
    // Partly outside the canvas: clipped, no fault.
    drawDisc(canvas, 0, 0, 5, 10, 10, 10);
    drawDisc(canvas, 1e20f, 1e20f, 1e20f, 10, 10, 10);
}

TEST(Knobs, HalfValuePointsStraightUp) {
    PanelCanvas canvas = blankCanvas(30, 30);
    drawKnob(canvas, 0, 0, 0.5f);
    // Centre (15, 15): the pointer runs from 7.5 to 1.5 pixels above it. cos a is a hair below
    // zero, so its centre pixels fall in column 14, with the right neighbour nearly as dark.
    for (int row = 7; row <= 13; ++row) {
        EXPECT_EQ(rgbAt(canvas, row, 14), (Rgb{60, 60, 60})) << row;
        EXPECT_NEAR(getChannel(canvas, row, 15, kGreen), 60, 1) << row;
    }
    for (int row = 14; row < 30; ++row) EXPECT_NE(rgbAt(canvas, row, 14), (Rgb{60, 60, 60})) << row;
    // The body brightens with the value.
    PanelCanvas full = blankCanvas(30, 30);
    drawKnob(full, 0, 0, 1.0f);
    EXPECT_GT(getChannel(full, 19, 12, kGreen), getChannel(canvas, 19, 12, kGreen));
}

TEST(Faders, StripeColourFollowsTheValue) {
    PanelCanvas canvas = blankCanvas(40, 120);
    drawFader(canvas, 10, 0, 110, 26, 0.75f, 6, 250 * 0.75f, 0, 0, true);
    // c = trunc(105 x 0.25 + 0.75 x 15) = 37; the stripe's middle row is c.
    EXPECT_EQ(rgbAt(canvas, 37, 10), (Rgb{200, 200, 0}));
    EXPECT_EQ(rgbAt(canvas, 37 - 6, 10), (Rgb{200, 200, 200})); // cap top row
    EXPECT_EQ(rgbAt(canvas, 37 + 6, 10), (Rgb{80, 80, 80}));    // cap bottom row
    EXPECT_EQ(rgbAt(canvas, 33, 4), (Rgb{200, 200, 200}));      // cap left column
    EXPECT_EQ(rgbAt(canvas, 36, 22), (Rgb{90, 90, 90}));        // right of the fill
    // Stripe rows c - 2 and c + 2 are the highlight and the shade.
    EXPECT_EQ(rgbAt(canvas, 35, 10), (Rgb{240, 240, 0}));
    EXPECT_EQ(rgbAt(canvas, 39, 10), (Rgb{140, 140, 0}));

    PanelCanvas low = blankCanvas(40, 120);
    drawFader(low, 10, 0, 110, 26, 0.2f, 2, 50, 0, 0, false);
    const int c = static_cast<int>(105 * 0.8f + 0.2f * 15);
    EXPECT_EQ(rgbAt(low, c, 10), (Rgb{0, 100, 0}));

    PanelCanvas fixed = blankCanvas(40, 120);
    drawFader(fixed, 10, 0, 110, 26, 0.5f, 2, 10, 20, 30, false);
    EXPECT_EQ(rgbAt(fixed, 60, 10), (Rgb{10, 20, 30}));
    drawFader(fixed, 10, 0, 110, 26, NAN, 2, 10, 20, 30, true); // defined, clipped
}

TEST(BrushedMetal, NoiseAndShading) {
    restartRandom();
    MetalNoise noise;
    initMetalNoise(noise);
    bool varied = false;
    for (int v : noise.values) {
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 4);
        varied = varied || v != noise.values[0];
    }
    EXPECT_TRUE(varied);
    // The first numbers of the sequence, while the sound still draws from its start: a screen
    // set up or not must not change what the window and the renderer play.
    restartRandom();
    const int firstForSound = nextRandom();
    restartRandom();
    initMetalNoise(noise);
    EXPECT_EQ(nextRandom(), firstForSound);
    restartRandom();
    for (int v : noise.values)
        EXPECT_EQ(v, static_cast<int>(static_cast<float>(nextRandom()) * (1.0f / 32767.0f) * 5.0f));

    PanelCanvas canvas = blankCanvas(41, 3);
    fillBrushedMetal(canvas, noise, 0, 0, 3, 41, 1.0f);
    // mid 20, half 20: 150 + noise in the middle, cos(1) x 90 + 60 + noise at the edge.
    EXPECT_EQ(getChannel(canvas, 1, 20, kRed), 150 + noise.values[1]);
    EXPECT_EQ(
        getChannel(canvas, 1, 0, kRed),
        static_cast<int>(std::cos(1.0f) * 90.0f + 60.0f + static_cast<float>(noise.values[1])));
    EXPECT_EQ(getChannel(canvas, 1, 20, kBlue), static_cast<int>(0.9f * (150 + noise.values[1])));
    fillBrushedMetal(canvas, noise, 0, 5, 3, 6, 1.0f); // one column: no division by zero
    EXPECT_EQ(getChannel(canvas, 0, 5, kGreen), 150 + noise.values[0]);
}

TEST(Frames, RoundedCornersAnchorOnTheBackground) {
    const float background[3] = {90, 45, 26};
    PanelCanvas canvas = blankCanvas(30, 20);
    drawFrame(canvas, background, 0, 0, 20, 30, 4, false);
    for (auto [row, col] : {std::pair{0, 0}, {18, 0}, {18, 28}, {0, 28}})
        EXPECT_EQ(rgbAt(canvas, row, col), (Rgb{26, 45, 90})) << row << "," << col;
    EXPECT_EQ(rgbAt(canvas, 2, 10), (Rgb{150, 150, 120}));  // band
    EXPECT_EQ(rgbAt(canvas, 0, 10), (Rgb{180, 180, 180}));  // raised: light top
    EXPECT_EQ(rgbAt(canvas, 19, 10), (Rgb{60, 60, 60}));    // dark bottom
    EXPECT_EQ(rgbAt(canvas, 10, 10), (Rgb{0, 0, 0}));       // inside untouched
    EXPECT_EQ(rgbAt(canvas, 15, 10), (Rgb{150, 150, 120})); // bottom band is 5 rows
    EXPECT_EQ(rgbAt(canvas, 14, 10), (Rgb{0, 0, 0}));
}

TEST(Frames, SunkenBevelAndThinFramesKeepSquareCorners) {
    const float background[3] = {90, 45, 26};
    PanelCanvas canvas = blankCanvas(20, 12);
    drawFrame(canvas, background, 0, 0, 12, 20, 2, true);
    EXPECT_EQ(rgbAt(canvas, 0, 0), (Rgb{150, 150, 120}));  // no rounding at thickness 2
    EXPECT_EQ(rgbAt(canvas, 1, 5), (Rgb{60, 60, 60}));     // dark inner top
    EXPECT_EQ(rgbAt(canvas, 5, 1), (Rgb{60, 60, 60}));     // dark inner left
    EXPECT_EQ(rgbAt(canvas, 10, 5), (Rgb{180, 180, 180})); // light inner bottom
    EXPECT_EQ(rgbAt(canvas, 5, 18), (Rgb{180, 180, 180})); // light inner right
}

TEST(Text, CellsAdvanceAndBlendOverTheCanvas) {
    auto screen = newTestScreen();
    const PanelCanvas& atlas = screen->glyphs.text;
    PanelCanvas canvas = blankCanvas(40, 20);
    drawText(canvas, atlas, 2, 8, 0, true, 0, 1, 0, "AB");
    // B's cell occupies columns 13..17: it equals the atlas cell of B, in green.
    for (int dy = 0; dy < 6; ++dy)
        for (int dx = 0; dx < 5; ++dx) {
            EXPECT_EQ(getChannel(canvas, 2 + dy, 13 + dx, kGreen),
                      getChannel(atlas, dy, 5 + dx, kGreen));
            EXPECT_EQ(getChannel(canvas, 2 + dy, 13 + dx, kRed), 0);
        }
    EXPECT_EQ(getChannel(canvas, 2, 18, kGreen), 0); // nothing after the second cell

    // A space draws plain paper; a vertical text steps 6 + spacing rows.
    PanelCanvas vertical = blankCanvas(10, 40);
    drawText(vertical, atlas, 10, 3, 3, false, 1, 1, 1, "A A");
    const int paper = getChannel(atlas, 0, 4, kGreen);
    EXPECT_NEAR(paper, 53, 5);
    for (int dy = 0; dy < 6; ++dy)
        EXPECT_EQ(getChannel(vertical, 11 + 9 + dy, 3, kGreen), paper); // the blank, at 10+1+9
    EXPECT_EQ(getChannel(vertical, 11 + 18, 3, kGreen), getChannel(atlas, 0, 0, kGreen));
}

TEST(Text, InkOverBrightPixelsTurnsWhite) {
    auto screen = newTestScreen();
    PanelCanvas canvas = blankCanvas(10, 10);
    fillRect(canvas, 0, 0, 10, 10, 0, 255, 0);
    drawText(canvas, screen->glyphs.text, 0, 0, 0, true, 1, 0, 0, "A");
    // w = 1: every channel becomes 255 w^2 whatever the glyph.
    EXPECT_EQ(rgbAt(canvas, 2, 2), (Rgb{255, 255, 255}));
    drawText(canvas, screen->glyphs.text, -3, -2, 0, true, 1, 1, 1, "CLIPPED TEXT"); // clipped
    drawText(canvas, screen->glyphs.text, 0, 0, 0, true, 1, 1, 1, nullptr);
}

TEST(Glyphs, AtlasLayoutAndInkLevels) {
    auto screen = newTestScreen();
    const PanelCanvas& text = screen->glyphs.text;
    EXPECT_EQ(text.width, 156);
    EXPECT_EQ(text.height, 18);
    int col = 0;
    int row = 0;
    ASSERT_TRUE(textGlyphCell('Z', col, row));
    EXPECT_EQ(col, 125);
    EXPECT_EQ(row, 0);
    ASSERT_TRUE(textGlyphCell('/', col, row));
    EXPECT_EQ(col, 105);
    EXPECT_EQ(row, 1);
    EXPECT_FALSE(textGlyphCell('a', col, row));
    EXPECT_FALSE(textGlyphCell(' ', col, row));
    // Every glyph of the table has ink, and only in its first four columns.
    for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.:<>-'/,")) {
        ASSERT_TRUE(textGlyphCell(c, col, row));
        int ink = 0;
        for (int dy = 0; dy < 6; ++dy) {
            EXPECT_NEAR(getChannel(text, row * 6 + dy, col + 4, kGreen), 53, 5) << c;
            for (int dx = 0; dx < 4; ++dx)
                ink += getChannel(text, row * 6 + dy, col + dx, kGreen) > 200;
        }
        EXPECT_GT(ink, 0) << c;
    }
    const PanelCanvas& digits = screen->glyphs.digits;
    EXPECT_EQ(digits.width, 100);
    EXPECT_EQ(digits.height, 13);
    for (int d = 0; d < 10; ++d) {
        int brightest = 0;
        for (int r = 0; r < 13; ++r)
            for (int c = 0; c < 9; ++c)
                brightest = std::max(brightest, getChannel(digits, r, 9 * d + c, kBlue));
        EXPECT_GT(brightest, 200) << d;
    }
}

TEST(Glyphs, SixteenBitAtlasesKeepTheirShape) {
    auto screen = newTestScreen(2);
    EXPECT_EQ(getChannel(screen->glyphs.text, 0, 4, kGreen), 52); // 53 / 4 x 4
}

} // namespace
