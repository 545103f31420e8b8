// The mouse side of the panel table: each panel's press, drag, release and right-press handlers
// with the redraws after them, listed in the order a press tries the panels.
#pragma once

#include "ui/panel_layout.h"

struct AppState;
struct DragState;
struct Screen;
class Platform;

// A position in a panel's own pixels.
struct PanelPoint {
    int x;
    int y;
};

// A pointer move in a panel's own pixels: where it is now and where the previous move found it.
struct PanelMove {
    PanelPoint now;
    PanelPoint previous;
};

// One panel's mouse handling; a nullptr handler means the panel takes no such event. Each
// handler redraws what it changed (ui/ renders the panels but knows nothing of these handlers).
struct PanelMouse {
    PanelId id;
    // The BPM digit selection is cleared just before this panel's press: the presses before it
    // see the digit still selected.
    bool deselectBpmDigitsFirst;
    void (*press)(AppState& app, Screen& screen, Platform& platform, PanelPoint p);
    // The drag that this panel's press started is held; nullptr for a panel without a drag.
    bool (*dragging)(const DragState& drag);
    void (*drag)(AppState& app, Screen& screen, PanelMove move);
    // Ends the held drag at a release, redrawing what showed it as dragged; true when the panel
    // is to be redrawn again once every drag field is idle (redrawWhenIdle).
    bool (*release)(AppState& app, Screen& screen);
    void (*redrawWhenIdle)(AppState& app, Screen& screen);
    void (*rightPress)(AppState& app, Screen& screen, PanelPoint p);
    // What the Edit menu calls a gesture that starts with a press (a right press) here, as in
    // "Undo Draw Notes"; nullptr where the panel takes no such press.
    const char* pressAction;
    const char* rightPressAction;
};

// Every panel once. A press tries them in this order, each redrawing and pumping at once, so
// the order decides when the pump runs; moves, releases and right presses go in the same order.
extern const PanelMouse kPanelMouse[kPanelCount];
