// The mouse entry points: left press, move, left release and right press in client pixels.
#pragma once

struct AppState;
struct Screen;
class Platform;

// Left press: takes the button (the platform keeps delivering moves to the window while it is
// held), tries every panel's press in the order of the panel mouse table (app/panel_mouse.h),
// each redrawing what it changed, then redraws the hover help line for the press. Platform is
// needed by the record button.
void onLeftButtonDown(AppState& app, Screen& screen, Platform& platform, int x, int y);

// Cursor move, with or without a button held: hover help line, then every held drag in the
// table's order; remembers the position as lastMousePos.
void onMouseMove(AppState& app, Screen& screen, int x, int y);

// Left release: finishes the drags with their redraws, resets every drag field and writes the
// note being drawn into the grid. The release position plays no part.
void onLeftButtonUp(AppState& app, Screen& screen);

// Right press: the panels' right-press handlers (the note pad's erase, the note bank buttons'
// append of a bank to the play order).
void onRightButtonDown(AppState& app, Screen& screen, int x, int y);
