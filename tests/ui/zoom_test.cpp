// Zoom: the largest zoom that fits, window points back to picture pixels, and the scaled
// picture with every pixel repeated.
#include <gtest/gtest.h>

#include <vector>

#include "ui/display.h"
#include "ui/zoom.h"

namespace {

constexpr int kMenuBar = 25;

TEST(Zoom, LargestZoomWithinNinetyPercentOfTheWorkArea) {
    EXPECT_EQ(fittingZoom(1024, 768, kMenuBar), 1);
    EXPECT_EQ(fittingZoom(1920, 1050, kMenuBar), 1) << "598 x 2 rows do not fit in 945";
    EXPECT_EQ(fittingZoom(1920, 1400, kMenuBar), 2);
    EXPECT_EQ(fittingZoom(2560, 1400, kMenuBar), 2);
    EXPECT_EQ(fittingZoom(3840, 2160, kMenuBar), 3);
    EXPECT_EQ(fittingZoom(3840, 2100, kMenuBar), 3);
    EXPECT_EQ(fittingZoom(7680, 4320, kMenuBar), 4);
    EXPECT_EQ(fittingZoom(0, 0, kMenuBar), 1) << "no work area known";
    EXPECT_EQ(fittingZoom(-5, 100000, kMenuBar), 1);
    // Exactly 90 %: 2 x 828 = 1656 = 0.9 x 1840; 2 x 598 = 1196 <= 0.9 x 1329.
    EXPECT_EQ(fittingZoom(1840, 1329, kMenuBar), 2);
    EXPECT_EQ(fittingZoom(1839, 1329, kMenuBar), 1);
    EXPECT_EQ(clampZoom(0), 1);
    EXPECT_EQ(clampZoom(7), 4);
}

// Every window point of a zoomed pixel's square maps to that pixel, for the whole client area
// and one pixel around it.
TEST(Zoom, EveryWindowPointMapsToThePixelItShows) {
    for (int zoom = 1; zoom <= 4; ++zoom)
        for (int y = -zoom; y < (kClientHeight + 1) * zoom; ++y)
            for (int x = -zoom; x < (kClientWidth + 1) * zoom; x += (y % 7 == 0 ? 1 : 13)) {
                const PicturePoint p = pictureFromWindow(x, y, zoom);
                ASSERT_LE(p.x * zoom, x);
                ASSERT_GT((p.x + 1) * zoom, x);
                ASSERT_LE(p.y * zoom, y);
                ASSERT_GT((p.y + 1) * zoom, y);
            }
    EXPECT_EQ(pictureFromWindow(-1, -3, 3).x, -1);
    EXPECT_EQ(pictureFromWindow(-1, -3, 3).y, -1);
    EXPECT_EQ(pictureFromWindow(5, 5, 0).x, 5) << "a zoom out of range counts as its nearest";
}

TEST(Zoom, WindowAreasCoverThePixelsTheyShow) {
    const PanelRect rect{19, 34, 428, 235};
    const PanelRect zoomed = zoomedRect(rect, 3);
    EXPECT_EQ(zoomed.left, 57);
    EXPECT_EQ(zoomed.bottom, 705);
    const PanelRect back = pictureAreaShownIn(zoomed, 3);
    EXPECT_EQ(back.left, rect.left);
    EXPECT_EQ(back.top, rect.top);
    EXPECT_EQ(back.right, rect.right);
    EXPECT_EQ(back.bottom, rect.bottom);
    const PanelRect partial = pictureAreaShownIn({58, 59, 61, 62}, 3);
    EXPECT_EQ(partial.left, 19);
    EXPECT_EQ(partial.top, 19);
    EXPECT_EQ(partial.right, 21);
    EXPECT_EQ(partial.bottom, 21);
    const PanelRect outside = pictureAreaShownIn({-30, -30, 100000, 100000}, 2);
    EXPECT_EQ(outside.left, 0);
    EXPECT_EQ(outside.right, kClientWidth);
    EXPECT_EQ(outside.bottom, kClientHeight);
}

// Areas one pixel wide, in the middle and at the picture's last row and column: every zoomed
// pixel is its picture pixel, and nothing is written past the area's zoomed rows.
TEST(Zoom, ScaledPicturesRepeatEveryPixel) {
    PanelSurface picture;
    createSurface(picture, kClientWidth, kClientHeight, 4);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = static_cast<uint8_t>(i * 7 + i / 4093);
    constexpr size_t kGuardBytes = 16;
    constexpr uint8_t kGuard = 0xA5;
    const PanelRect areas[] = {{5, 7, 12, 10},
                               {40, 3, 41, 4},
                               {kClientWidth - 3, kClientHeight - 2, kClientWidth, kClientHeight}};
    for (const PanelRect& area : areas)
        for (int zoom = 1; zoom <= 4; ++zoom) {
            const int width = rectWidth(area) * zoom;
            const int height = rectHeight(area) * zoom;
            const size_t bytes = static_cast<size_t>(width) * height * 3;
            std::vector<uint8_t> zoomed(bytes + kGuardBytes, kGuard);
            zoomPictureArea(picture, area, zoom, zoomed.data());
            for (size_t i = bytes; i < zoomed.size(); ++i)
                ASSERT_EQ(zoomed[i], kGuard) << "written past the area at zoom " << zoom;
            zoomed.resize(bytes);
            std::vector<uint8_t> rgb;
            for (int y = area.top; y < area.bottom; ++y)
                for (int x = area.left; x < area.right; ++x) {
                    const uint8_t* p =
                        &picture.pixels[static_cast<size_t>(y) * picture.pitch + x * 4];
                    rgb.insert(rgb.end(), {p[2], p[1], p[0]});
                }
            std::vector<uint8_t> fromRgb(zoomed.size(), 0);
            zoomRgb(rgb.data(), rectWidth(area), rectHeight(area), zoom, fromRgb.data());
            EXPECT_EQ(fromRgb, zoomed) << "both scalings agree at zoom " << zoom;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const size_t source =
                        (static_cast<size_t>(y / zoom) * rectWidth(area) + x / zoom) * 3;
                    const size_t target = (static_cast<size_t>(y) * width + x) * 3;
                    ASSERT_EQ(zoomed[target], rgb[source]) << zoom << " " << x << " " << y;
                    ASSERT_EQ(zoomed[target + 1], rgb[source + 1]);
                    ASSERT_EQ(zoomed[target + 2], rgb[source + 2]);
                }
        }
}

} // namespace
