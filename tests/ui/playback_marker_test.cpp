// The playback marker's glow, where it lands on the step strip, and presenting to the window.
#include <algorithm>
#include <cmath>

#include "app/panel_redraw.h"
#include "app/playback.h"
#include "engine/virtual_sound_device.h"
#include "screen_test_support.h"
#include "ui/panel_update.h"

namespace {

constexpr int kBackgroundRed = 26; // the window background the picture starts with

TEST(PlaybackMarker, GlowIsRedBrightestInTheMiddle) {
    auto screen = newTestScreen();
    const PanelCanvas& glow = screen->markerCanvas;
    EXPECT_EQ(rgbAt(glow, 2, 10), (Rgb{250, 0, 0}));
    EXPECT_EQ(getChannel(glow, 0, 0, kRed), 0); // cos(1.57) x 250 = 0.2
    EXPECT_EQ(getChannel(glow, 4, 5, kRed), static_cast<int>(std::cos(0.5f * 1.57f) * 250.0f));
    EXPECT_EQ(getChannel(glow, 4, 5, kRed), getChannel(glow, 4, 15, kRed));
    EXPECT_LT(getChannel(glow, 4, 19, kRed), getChannel(glow, 4, 15, kRed));
}

TEST(PlaybackMarker, SixteenBitGlowKeepsTheTopRedField) {
    auto screen = newTestScreen(2);
    const PanelCanvas& glow = screen->markerCanvas;
    const size_t at = (2 * 20 + 10) * 2;
    EXPECT_EQ((glow.pixels[at] | (glow.pixels[at + 1] << 8)) >> 11, 31); // 250 / 8
}

TEST(PlaybackMarker, DestinationIsClippedAtBothEndsOfTheStrip) {
    const PanelRect left = playbackMarkerRect(3, 409);
    EXPECT_EQ(left.left, 0);
    EXPECT_EQ(left.right, 13);
    EXPECT_EQ(left.top, 0);
    EXPECT_EQ(left.bottom, 5);
    const PanelRect right = playbackMarkerRect(405, 409);
    EXPECT_EQ(right.left, 395);
    EXPECT_EQ(right.right, 409);
    const PanelRect middle = playbackMarkerRect(200, 409);
    EXPECT_EQ(middle.left, 190);
    EXPECT_EQ(middle.right, 210);
}

class Presenting : public ScreenTest {
  protected:
    // Red of a window picture pixel (client coordinates).
    int pictureRed(int x, int y) {
        return screen->display.picture
            .pixels[static_cast<size_t>(y) * screen->display.picture.pitch + x * 4 + 2];
    }
};

TEST_F(Presenting, MarkerIsSqueezedAtTheLeftEndAndShownOnTheStrip) {
    screen->windowActive = 1;
    showPlaybackMarker(*screen, 3.0f);
    const PanelRect strip = panelRect(screen->layout, PanelId::stepStrip);
    // Columns 0..12 hold the 20 glow columns squeezed; column 13 on stays black.
    EXPECT_GT(pictureRed(strip.left + 6, strip.top + 2), 200);
    EXPECT_EQ(pictureRed(strip.left + 13, strip.top + 2), 0);
    EXPECT_EQ(pictureRed(strip.left + 12, strip.top + 4),
              0 + pictureRed(strip.left + 12, strip.top));

    // The next marker clears the previous one.
    showPlaybackMarker(*screen, 405.0f);
    EXPECT_EQ(pictureRed(strip.left + 6, strip.top + 2), 0);
    EXPECT_GT(pictureRed(strip.left + 405, strip.top + 2), 200);
    EXPECT_EQ(pictureRed(strip.right, strip.top + 2), kBackgroundRed); // nothing spills over
    showPlaybackMarker(*screen, -1e30f); // damaged: no marker, no fault
    showPlaybackMarker(*screen, NAN);
}

TEST_F(Presenting, PumpWhilePlayingPutsTheMarkerWhereThePlayCursorIs) {
    VirtualSoundDevice device;
    app->stream.device = &device;
    setSampleRate(*app, 22050); // builds the stream
    startPlayback(*app);
    screen->windowActive = 1;
    screen->initialised = 1;
    // Half way into the third step of the bank.
    device.setPlayCursor(4 * (2 * app->engine.chunkFrames + app->engine.chunkFrames / 2));
    pumpAndRedraw(*app, *screen);
    const PanelRect strip = panelRect(screen->layout, PanelId::stepStrip);
    int brightest = -1;
    int brightestRed = 0;
    for (int x = 0; x < rectWidth(strip); ++x) {
        const int red = pictureRed(strip.left + x, strip.top + 2);
        if (red > brightestRed) {
            brightestRed = red;
            brightest = x;
        }
    }
    const int expected = static_cast<int>(app->stream.redraws.markerX * 409.0f);
    EXPECT_GT(expected, 0);
    EXPECT_NEAR(brightest, expected, 1);
    EXPECT_GT(brightestRed, 200);
    stopPlayback(*app);
    app->stream.device = nullptr;
}

TEST_F(Presenting, InactiveWindowNeitherDrawsNorPumps) {
    PanelSurface& surface = panelSurface(*screen, PanelId::stepStrip, 0);
    std::fill(surface.pixels.begin(), surface.pixels.end(), uint8_t{255});
    const PanelRect rect = panelRect(screen->layout, PanelId::stepStrip);
    app->stream.volumeLevel = 1.0f; // a pump decays it while stopped

    int changes = 0;
    screen->display.pictureChangedContext = &changes;
    screen->display.pictureChanged = [](void* context, PanelRect) {
        ++*static_cast<int*>(context);
    };

    presentPanel(*app, *screen, surface, rect, true);
    EXPECT_EQ(pictureRed(rect.left, rect.top), kBackgroundRed);
    EXPECT_EQ(app->stream.volumeLevel, 1.0f);
    EXPECT_EQ(changes, 0);

    screen->windowActive = 1;
    presentPanel(*app, *screen, surface, rect, true);
    EXPECT_EQ(pictureRed(rect.left, rect.top), 255);
    EXPECT_FLOAT_EQ(app->stream.volumeLevel, 0.95f);
    EXPECT_EQ(changes, 1);

    presentPanel(*app, *screen, surface, rect, false);
    EXPECT_FLOAT_EQ(app->stream.volumeLevel, 0.95f);
}

} // namespace
