// Glyph atlases: decoding the built-in atlas images and the text atlas's character cells.
#include "ui/glyphs.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "resources/glyph_images.h"
#include "ui/drawing.h"

namespace {

// Decodes a PNG held in memory into a canvas of the given size (the image must be
// imageWidth x imageHeight; the canvas may be wider, its extra columns stay black).
bool decodeAtlas(const unsigned char* png, size_t size, int imageWidth, int imageHeight,
                 int canvasWidth, int bytesPerPixel, PanelCanvas& canvas) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png, size)) return false;
    if (static_cast<int>(image.width) != imageWidth ||
        static_cast<int>(image.height) != imageHeight) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return false;
    createCanvas(canvas, canvasWidth, imageHeight, bytesPerPixel);
    const png_byte* p = rgb.data();
    for (int row = 0; row < imageHeight; ++row)
        for (int col = 0; col < imageWidth; ++col, p += 3)
            setPixel(canvas, row, col, p[0], p[1], p[2]);
    return true;
}

} // namespace

bool loadGlyphAtlases(GlyphAtlases& atlases, int bytesPerPixel) {
    return decodeAtlas(text_glyphs_png, text_glyphs_png_size, kTextAtlasWidth, kTextAtlasHeight,
                       kTextAtlasCanvasWidth, bytesPerPixel, atlases.text) &&
           decodeAtlas(digit_glyphs_png, digit_glyphs_png_size, kDigitAtlasWidth, kDigitAtlasHeight,
                       kDigitAtlasCanvasWidth, bytesPerPixel, atlases.digits);
}

bool textGlyphCell(char c, int& atlasCol, int& atlasRow) {
    if (c >= 'A' && c <= 'Z') {
        atlasCol = kTextCellWidth * (c - 'A');
        atlasRow = 0;
        return true;
    }
    atlasRow = 1;
    if (c >= '0' && c <= '9') {
        atlasCol = kTextCellWidth * (c - '0');
        return true;
    }
    switch (c) {
    case '.':
        atlasCol = 55;
        return true;
    case ':':
        atlasCol = 60;
        return true;
    case '<':
        atlasCol = 65;
        return true;
    case '>':
        atlasCol = 70;
        return true;
    case '-':
        atlasCol = 75;
        return true;
    case '\'':
        atlasCol = 80;
        return true;
    case '/':
        atlasCol = 105;
        return true;
    case ',':
        atlasCol = 135;
        return true;
    default:
        return false;
    }
}
