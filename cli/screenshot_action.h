// The --screenshot action of humbrook-render: the window picture after the load, as a PNG file.
#pragma once

#include <memory>
#include <string>

struct AppState;
struct Screen;

// The screenshot's screen as the window is at start-up, before a song is opened: every panel
// rendered and presented, the window counted as active and start-up finished. Returns nullptr
// with a message in `error` when the glyph atlases cannot be loaded.
std::unique_ptr<Screen> startScreenshotScreen(AppState& app, std::string& error);

// When a song was opened, draws everything again as File > Open does (so the 2D effect
// controller keeps the faded trail of the start-up cursor, as in the window); then writes the
// 828 x 573 client area, times `zoom` (1..4) with every pixel repeated, to `path` as an RGB
// PNG. Returns false with a message in `error` when the file cannot be written.
bool takeScreenshot(AppState& app, Screen& screen, bool songOpened, const std::string& path,
                    int zoom, std::string& error);
