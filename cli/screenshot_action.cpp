// The --screenshot action: a screen of its own, every panel rendered and presented, one PNG.
#include "cli/screenshot_action.h"

#include <memory>

#include "app/app_state.h"
#include "app/panel_redraw.h"
#include "app/screenshot.h"
#include "app/startup.h"
#include "ui/screen.h"

bool takeScreenshot(AppState& app, const std::string& path, std::string& error) {
    auto screen = std::make_unique<Screen>();
    if (!initScreen(*screen, 4)) {
        error = "cannot load the glyph images";
        return false;
    }
    renderAllPanels(app, *screen);
    finishStartup(app, *screen); // window active, start-up finished, everything presented
    if (writeScreenshotPng(screen->display, path)) return true;
    error = "cannot write " + path;
    return false;
}
