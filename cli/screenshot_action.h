// The --screenshot action of humbrook-render: the window picture after the load, as a PNG file.
#pragma once

#include <string>

struct AppState;

// Renders and presents every panel as after File > Open, with the window counted as active and
// start-up finished, and writes the 828 x 573 client area to `path` as an RGB PNG. Returns false
// with a message in `error` when the glyph atlases cannot be loaded or the file not written.
bool takeScreenshot(AppState& app, const std::string& path, std::string& error);
