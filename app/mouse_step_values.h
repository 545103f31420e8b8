// Mouse editing of the per-step values: the pan and velocity panel and the chord keys.
#pragma once

struct AppState;

// Pan and velocity panel, panel-local (x, y). A press on the switch at the left edge toggles
// between pan and velocity; elsewhere press and drag set the value of the step under x.
bool pressPanVelocity(AppState& app, int x, int y);
bool dragPanVelocity(AppState& app, int x, int y);

// Chord keys, panel-local (x, y): a press sets the chord key of the column under x to the level
// under y (updating, adding up to eight, or replacing the quietest when louder); a drag changes
// that key's level.
bool pressChordKeys(AppState& app, int x, int y);
bool dragChordKeys(AppState& app, int x, int y);
