// Drawing primitives of the panels: channel access, blends, lines, discs, knobs, faders, brushed
// metal, bevelled frames and bitmap text. Every primitive clips each pixel to the canvas.
#pragma once

#include "ui/panel_canvas.h"
#include "ui/pixel_access.h" // setChannel, getChannel, blendChannel, setPixel

// Shading offsets of the brushed-metal fill, one per canvas row modulo 200, each 0..4.
inline constexpr int kMetalNoiseLength = 200;
struct MetalNoise {
    int values[kMetalNoiseLength];
};

// Takes the 200 offsets from the start of the random sequence without moving the program's
// sequence, which the sound draws from (done once per screen).
void initMetalNoise(MetalNoise& noise);

// Fills rows firstRow..endRow-1, columns firstCol..endCol-1 with one colour.
void fillRect(PanelCanvas& canvas, int firstRow, int firstCol, int endRow, int endCol, float red,
              float green, float blue);

// Sets one channel over rows firstRow..endRow-1, columns firstCol..endCol-1.
void fillChannel(PanelCanvas& canvas, int firstRow, int firstCol, int endRow, int endCol,
                 int channel, float value);

// A line between float points (x = column, y = row); the anti-aliased form is three pixels wide.
void drawLine(PanelCanvas& canvas, float x0, float y0, float x1, float y1, float red, float green,
              float blue, bool antiAlias = true);

// An anti-aliased filled disc centred on (cx, cy) = (column, row).
void drawDisc(PanelCanvas& canvas, float cx, float cy, float radius, float red, float green,
              float blue);

// A 30 x 30 rotary knob with its top-left corner at (top, left); value 0..1.
void drawKnob(PanelCanvas& canvas, int left, int top, float value);

// A vertical fader in rows top..bottom and columns left..right. When green and blue are both 0
// the stripe colour follows the value (green, yellow, red).
void drawFader(PanelCanvas& canvas, int top, int left, int bottom, int right, float value,
               int capHalfHeight, float red, float green, float blue, bool ticks);

// The shaded metal fill of rows firstRow..endRow-1 and columns firstCol..endCol-1.
void fillBrushedMetal(PanelCanvas& canvas, const MetalNoise& noise, int firstRow, int firstCol,
                      int endRow, int endCol, float brightness);

// The bevelled frame band around rows top..bottom-1 and columns left..right-1. A thickness of 4
// rounds the corners toward the window background colour (blue, green, red floats).
void drawFrame(PanelCanvas& canvas, const float backgroundColour[3], int top, int left, int bottom,
               int right, int thickness, bool sunken);

// Text from the text atlas (a 5 x 6 cell per character), horizontal or one character under the
// other. red, green and blue multiply the glyph intensity (0..1).
void drawText(PanelCanvas& canvas, const PanelCanvas& textAtlas, int row, int col, int spacing,
              bool horizontal, float red, float green, float blue, const char* text);
