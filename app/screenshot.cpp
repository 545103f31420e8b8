// PNG screenshots of the window picture through libpng.
#include "app/screenshot.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "ui/display.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng reports errors by longjmp; everything that needs freeing is set up before the jump
// point or owned by the caller.
bool writeRgbPng(std::FILE* file, const uint8_t* rgb, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] =
            const_cast<png_bytep>(rgb + static_cast<size_t>(y) * width * 3);
    bool written = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_rows(png, info, rows.data());
        png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return written;
}

} // namespace

bool writeScreenshotPng(const Display& display, const std::string& path) {
    const int width = display.picture.width;
    const int height = display.picture.height;
    if (width <= 0 || height <= 0) return false;
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    pictureToRgb(display, rgb.data());
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    bool written = writeRgbPng(file.get(), rgb.data(), width, height);
    return std::fclose(file.release()) == 0 && written;
}
