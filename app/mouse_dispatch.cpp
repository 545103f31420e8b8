// The mouse entry points: loops over the panels' mouse handlers of app/panel_mouse.h.
#include "app/mouse.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/hover_help.h"
#include "app/panel_mouse.h"
#include "app/panel_redraw.h"

namespace {

// Farther than any pointer can be from the window; keeps the hit tests' products in range for
// whatever position a script passes.
constexpr int kPointerLimit = 1 << 20;

int limitPointer(int coordinate) {
    return std::clamp(coordinate, -kPointerLimit, kPointerLimit);
}

// A client position in the panel's own pixels.
PanelPoint inPanel(const Screen& screen, PanelId id, int x, int y) {
    const PanelRect& rect = panelRect(screen.layout, id);
    return {x - rect.left, y - rect.top};
}

void clearBpmDigitSelection(AppState& app, Screen& screen) {
    for (int& selected : app.ui.bpmDigitSelected) {
        if (!selected) continue;
        selected = 0;
        updatePanel(app, screen, PanelId::BpmDisplay);
    }
}

} // namespace

void onLeftButtonDown(AppState& app, Screen& screen, Platform& platform, int x, int y) {
    x = limitPointer(x);
    y = limitPointer(y);
    DragState& drag = app.drag;
    drag.mouseButtonDown = 1;
    // The pointer is where the press is: drags continue from here, and a click draws nothing.
    drag.lastMousePos = {x, y};
    for (const PanelMouse& panel : kPanelMouse) {
        if (panel.deselectBpmDigitsFirst) clearBpmDigitSelection(app, screen);
        if (panel.press) panel.press(app, screen, platform, inPanel(screen, panel.id, x, y));
    }
    if (screen.initialised) showHoverHelp(app, screen, x, y);
}

void onMouseMove(AppState& app, Screen& screen, int x, int y) {
    x = limitPointer(x);
    y = limitPointer(y);
    if (screen.initialised) showHoverHelp(app, screen, x, y);
    if (app.drag.mouseButtonDown) {
        const MousePosition last = app.drag.lastMousePos;
        for (const PanelMouse& panel : kPanelMouse) {
            if (!panel.dragging || !panel.dragging(app.drag)) continue;
            panel.drag(
                app, screen,
                {inPanel(screen, panel.id, x, y), inPanel(screen, panel.id, last.x, last.y)});
        }
    }
    app.drag.lastMousePos = {x, y};
}

void onLeftButtonUp(AppState& app, Screen& screen) {
    bool redrawWhenIdle[kPanelCount] = {};
    for (int i = 0; i < kPanelCount; ++i) {
        const PanelMouse& panel = kPanelMouse[i];
        if (panel.release && panel.dragging(app.drag))
            redrawWhenIdle[i] = panel.release(app, screen);
    }
    app.drag.mouseButtonDown = 0;
    resetDragFields(app.drag);
    for (int i = 0; i < kPanelCount; ++i)
        if (redrawWhenIdle[i]) kPanelMouse[i].redrawWhenIdle(app, screen);
}

void onRightButtonDown(AppState& app, Screen& screen, int x, int y) {
    x = limitPointer(x);
    y = limitPointer(y);
    for (const PanelMouse& panel : kPanelMouse)
        if (panel.rightPress) panel.rightPress(app, screen, inPanel(screen, panel.id, x, y));
}
