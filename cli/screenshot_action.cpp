// The --screenshot action: a screen of its own, drawn as the window's, one PNG.
#include "cli/screenshot_action.h"

#include "app/app_state.h"
#include "app/menu_commands.h"
#include "app/panel_redraw.h"
#include "app/screenshot.h"
#include "app/startup.h"
#include "ui/screen.h"

std::unique_ptr<Screen> startScreenshotScreen(AppState& app, std::string& error) {
    auto screen = std::make_unique<Screen>();
    if (!initScreen(*screen, 4)) {
        error = "cannot load the glyph images";
        return nullptr;
    }
    renderAllPanels(app, *screen);
    finishStartup(app, *screen); // window active, start-up finished, everything presented
    return screen;
}

bool takeScreenshot(AppState& app, Screen& screen, bool songOpened, const std::string& path,
                    int zoom, std::string& error) {
    if (songOpened) redrawEverything(app, screen);
    if (writeScreenshotPng(screen.display, path, zoom)) return true;
    error = "cannot write " + path;
    return false;
}
