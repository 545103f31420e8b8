// PNG screenshots of the window picture through libpng.
#include "app/screenshot.h"

#include <png.h>

#include <vector>

#include "files/safe_file_writer.h"
#include "ui/display.h"
#include "ui/zoom.h"

namespace {

void appendPngBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

void flushNothing(png_structp) {}

// Encodes the picture into `bytes`. libpng reports errors by longjmp; everything that needs
// freeing is set up before the jump point or owned by the caller.
bool encodeRgbPng(std::vector<uint8_t>& bytes, const uint8_t* rgb, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] =
            const_cast<png_bytep>(rgb + static_cast<size_t>(y) * width * 3);
    bool encoded = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_set_write_fn(png, &bytes, appendPngBytes, flushNothing);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_rows(png, info, rows.data());
        png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        encoded = true;
    }
    png_destroy_write_struct(&png, &info);
    return encoded;
}

} // namespace

bool writeScreenshotPng(const Display& display, const std::string& path, int zoom) {
    const int width = display.picture.width;
    const int height = display.picture.height;
    if (width <= 0 || height <= 0) return false;
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    pictureToRgb(display, rgb.data());
    zoom = clampZoom(zoom);
    if (zoom > 1) {
        std::vector<uint8_t> zoomed(rgb.size() * static_cast<size_t>(zoom * zoom));
        zoomRgb(rgb.data(), width, height, zoom, zoomed.data());
        rgb.swap(zoomed);
    }
    std::vector<uint8_t> png;
    if (!encodeRgbPng(png, rgb.data(), width * zoom, height * zoom)) return false;
    // Written like a save: a failure keeps the previous file, and a pipe or a device in the
    // file's place is refused rather than waited on.
    SafeFileWriter writer;
    if (!beginSafeFile(writer, path)) return false;
    writeSafeFile(writer, png.data(), png.size());
    return commitSafeFile(writer);
}
