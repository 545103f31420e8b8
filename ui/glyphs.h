// The two glyph atlases: the 5 x 6 text font and the ten large 9 x 13 digits.
#pragma once

#include "ui/panel_canvas.h"

// Text atlas: 155 x 18, cells of 5 x 6. Atlas row 0 holds A..Z, row 1 the digits 0..9 and the
// punctuation; only green is read (ink about 215, paper about 53).
inline constexpr int kTextAtlasWidth = 155;
inline constexpr int kTextAtlasHeight = 18;
inline constexpr int kTextCellWidth = 5;
inline constexpr int kTextCellHeight = 6;
inline constexpr int kTextAtlasCanvasWidth = 156; // one column wider, never read

// Digit atlas: 99 x 13, digit d in the 9 x 13 cell at column 9 d.
inline constexpr int kDigitAtlasWidth = 99;
inline constexpr int kDigitAtlasHeight = 13;
inline constexpr int kDigitWidth = 9;
inline constexpr int kDigitHeight = 13;
inline constexpr int kDigitAtlasCanvasWidth = 100;

struct GlyphAtlases {
    PanelCanvas text;   // kTextAtlasCanvasWidth x kTextAtlasHeight
    PanelCanvas digits; // kDigitAtlasCanvasWidth x kDigitAtlasHeight
};

// Decodes the two atlas images built into the program into canvases of the display's format.
// Returns false when an image cannot be decoded or has the wrong size.
bool loadGlyphAtlases(GlyphAtlases& atlases, int bytesPerPixel);

// The atlas column of a character's cell and its atlas row (0 letters, 1 digits and
// punctuation); false for characters without a glyph (they draw as paper).
bool textGlyphCell(char c, int& atlasCol, int& atlasRow);
