// The glyph atlas images built into the program (PNG files, embedded at build time).
#pragma once

#include <cstddef>

extern const unsigned char text_glyphs_png[];
extern const std::size_t text_glyphs_png_size;
extern const unsigned char digit_glyphs_png[];
extern const std::size_t digit_glyphs_png_size;
extern const unsigned char humbrook_icon_png[]; // the window icon, 32 x 32
extern const std::size_t humbrook_icon_png_size;
