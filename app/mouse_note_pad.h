// Mouse editing of the note pad: drawing, extending and sliding notes, redrawing and erasing.
#pragma once

#include "ui/drag_state.h"

struct AppState;
struct NoteGrid;

// Left press at panel-local (x, y): starts a note at the cell, or picks up the note already
// there (it leaves the grid and is drawn again from its first cell). True when it changed
// something.
bool pressNotePad(AppState& app, int x, int y);

// Move to (x, y) while a note is being drawn: extends the note (or moves a cell to another row)
// up to 15 steps after its first step. True when the note changed.
bool dragNotePad(AppState& app, int x, int y);

// Right press at (x, y): erases the whole note through the cell. True when a note was erased.
bool erasePressNotePad(AppState& app, int x, int y);

// Left release: writes the note being drawn into the current instrument's grid, cutting the
// notes it crosses, and empties the note being drawn. True when a note was written.
bool finishNoteDrawing(AppState& app);

// The cells of the note through (step, row), in order from its first cell, into `cells`
// (room for kGridSteps); returns their count (0 for an empty cell) and the index of (step, row)
// among them in `hitIndex`. Broken links, as a damaged song file may hold, end the note.
int collectNoteCells(const NoteGrid& grid, int step, int row, NoteDrawCell* cells, int& hitIndex);
