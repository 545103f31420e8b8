// Zoomed screenshots: the zoom 2 and 3 pictures are the zoom 1 picture with every pixel repeated.
#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/screenshot.h"
#include "ui/display.h"

namespace {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

RgbImage readPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    RgbImage result;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return result;
    image.format = PNG_FORMAT_RGB;
    result.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, result.rgb.data(), 0, nullptr)) return result;
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    return result;
}

TEST(ScreenshotZoom, EveryPixelIsRepeated) {
    Display display;
    createDisplay(display, 4);
    for (size_t i = 0; i < display.picture.pixels.size(); ++i)
        display.picture.pixels[i] = static_cast<uint8_t>((i * 131) ^ (i >> 9));
    const std::string folder = std::filesystem::temp_directory_path().string() + "/humbrook-zoom-" +
                               std::to_string(getpid());
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(writeScreenshotPng(display, folder + "/1.png"));
    const RgbImage one = readPng(folder + "/1.png");
    ASSERT_EQ(one.width, kClientWidth);
    ASSERT_EQ(one.height, kClientHeight);
    for (int zoom : {2, 3}) {
        const std::string path = folder + "/" + std::to_string(zoom) + ".png";
        ASSERT_TRUE(writeScreenshotPng(display, path, zoom));
        const RgbImage zoomed = readPng(path);
        ASSERT_EQ(zoomed.width, kClientWidth * zoom);
        ASSERT_EQ(zoomed.height, kClientHeight * zoom);
        for (int y = 0; y < zoomed.height; ++y)
            for (int x = 0; x < zoomed.width; ++x)
                for (int c = 0; c < 3; ++c) {
                    const size_t at = (static_cast<size_t>(y) * zoomed.width + x) * 3 + c;
                    const size_t from =
                        (static_cast<size_t>(y / zoom) * one.width + x / zoom) * 3 + c;
                    ASSERT_EQ(zoomed.rgb[at], one.rgb[from]) << zoom << ": " << x << ", " << y;
                }
    }
    std::filesystem::remove_all(folder);
}

} // namespace
