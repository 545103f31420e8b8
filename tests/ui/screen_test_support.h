// Shared set-up of the screen tests: a fresh song after New and a screen in the program's format.
#pragma once

#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "app/app_state.h"
#include "app/panel_redraw.h"
#include "app/startup.h"
#include "ui/screen.h"

inline std::unique_ptr<AppState> newScreenTestApp() {
    auto app = std::make_unique<AppState>();
    resetSongAndWaveforms(*app);
    return app;
}

inline std::unique_ptr<Screen> newTestScreen(int bytesPerPixel = 4) {
    auto screen = std::make_unique<Screen>();
    EXPECT_TRUE(initScreen(*screen, bytesPerPixel));
    return screen;
}

// Values a damaged song file can put anywhere.
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// A fixture with a fresh song and screen; canvas(id) is the panel's (first) canvas.
class ScreenTest : public ::testing::Test {
  protected:
    std::unique_ptr<AppState> app = newScreenTestApp();
    std::unique_ptr<Screen> screen = newTestScreen();

    PanelCanvas& canvas(PanelId id) { return panelCanvas(*screen, id); }
};

// A canvas of the given size and depth, black.
inline PanelCanvas blankCanvas(int width, int height, int bytesPerPixel = 4) {
    PanelCanvas canvas;
    createCanvas(canvas, width, height, bytesPerPixel);
    return canvas;
}

// The three channels of a pixel as (red, green, blue) for readable comparisons.
struct Rgb {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb&) const = default;
};
inline Rgb rgbAt(const PanelCanvas& canvas, int row, int col) {
    return {getChannel(canvas, row, col, 2), getChannel(canvas, row, col, 1),
            getChannel(canvas, row, col, 0)};
}
inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(r" << c.red << " g" << c.green << " b" << c.blue << ")";
}
