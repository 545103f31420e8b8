// Mouse editing of the note pad: drawing, extending and sliding notes, redrawing and erasing.
#include "app/mouse_note_pad.h"

#include "app/app_state.h"
#include "tools/current_selection.h"
#include "ui/panel_geometry.h"

namespace {

NoteGrid& currentGrid(AppState& app) {
    return app.song.noteGrid[app.ui.currentInstrument];
}

// The cell under (x, y): absolute step and note row. Columns and rows truncate toward zero, so
// once a drawing has started the strip just left of and above the grid still counts as its first
// column and row.
bool cellAt(const AppState& app, int x, int y, bool drawing, NoteDrawCell& cell) {
    const int column = (x - kNoteGridLeft) / kNoteCellWidth;
    const int displayRow = (y - kNoteGridTop) / kNoteCellHeight;
    if (column < 0 || column >= kStepsPerBank || displayRow < 0 || displayRow >= kNoteRows)
        return false;
    if (!drawing && (x - kNoteGridLeft < 0 || y - kNoteGridTop < 0)) return false;
    const int step = app.drag.viewOffset[app.ui.currentInstrument] + column;
    if (step < 0 || step >= kGridSteps) return false;
    cell = {step, kNoteRows - 1 - displayRow};
    return true;
}

bool occupied(const NoteGrid& grid, int step, int row) {
    return grid.notePosition[step][row] != 0;
}

bool validRow(int row) {
    return row >= 0 && row < kNoteRows;
}

// The row on the step before `step` whose cell links to `row`, preferring the cell whose
// position comes just before `position`; -1 when none does.
int linkingRow(const NoteGrid& grid, int step, int row, int position) {
    int found = -1;
    for (int candidate = 0; candidate < kNoteRows; ++candidate) {
        if (!occupied(grid, step - 1, candidate) || grid.nextRow[step - 1][candidate] != row)
            continue;
        if (grid.notePosition[step - 1][candidate] == position - 1) return candidate;
        if (found < 0) found = candidate;
    }
    return found;
}

void clearCell(NoteGrid& grid, const NoteDrawCell& cell) {
    grid.notePosition[cell.step][cell.row] = 0;
    grid.noteLength[cell.step][cell.row] = 0;
    grid.nextRow[cell.step][cell.row] = -1;
}

// Writes `count` cells on consecutive steps as one note: positions 1..count, each linking to the
// next cell's row, the last to -1.
void writeNote(NoteGrid& grid, const NoteDrawCell* cells, int count) {
    for (int k = 0; k < count; ++k) {
        const NoteDrawCell& cell = cells[k];
        grid.notePosition[cell.step][cell.row] = k + 1;
        grid.nextRow[cell.step][cell.row] = k + 1 < count ? cells[k + 1].row : -1;
        grid.noteLength[cell.step][cell.row] = count;
    }
}

// Cuts the note through (step, row) at that cell: the cells before it and the cells after it
// become two notes of their own, and the cell itself is emptied.
void cutNoteAt(NoteGrid& grid, int step, int row) {
    NoteDrawCell cells[kGridSteps];
    int hitIndex = 0;
    const int count = collectNoteCells(grid, step, row, cells, hitIndex);
    if (count == 0) return;
    clearCell(grid, cells[hitIndex]);
    writeNote(grid, cells, hitIndex);
    writeNote(grid, cells + hitIndex + 1, count - hitIndex - 1);
}

int drawnCellCount(const DragState& drag) {
    int count = 0;
    while (count < kStepsPerBank && drag.noteDrawList[count].step >= 0) ++count;
    return count;
}

void clearNoteDrawList(DragState& drag) {
    for (NoteDrawCell& cell : drag.noteDrawList) cell = NoteDrawCell{};
}

} // namespace

int collectNoteCells(const NoteGrid& grid, int step, int row, NoteDrawCell* cells, int& hitIndex) {
    hitIndex = 0;
    if (step < 0 || step >= kGridSteps || !validRow(row) || !occupied(grid, step, row)) return 0;
    // Walk back to the first cell, counting the cells before the hit one.
    int firstStep = step;
    int firstRow = row;
    while (firstStep > 0 && grid.notePosition[firstStep][firstRow] > 1) {
        const int previous =
            linkingRow(grid, firstStep, firstRow, grid.notePosition[firstStep][firstRow]);
        if (previous < 0) break;
        --firstStep;
        firstRow = previous;
    }
    hitIndex = step - firstStep;
    // Walk forward along the links from the first cell.
    int count = 0;
    int cellStep = firstStep;
    int cellRow = firstRow;
    while (true) {
        cells[count++] = {cellStep, cellRow};
        const int next = grid.nextRow[cellStep][cellRow];
        if (cellStep + 1 >= kGridSteps || !validRow(next) || !occupied(grid, cellStep + 1, next))
            break;
        ++cellStep;
        cellRow = next;
    }
    // A damaged grid can link the walk forward past the hit cell on another row: stop at it.
    if (hitIndex >= count || cells[hitIndex].row != row) {
        cells[0] = {step, row};
        hitIndex = 0;
        return 1;
    }
    return count;
}

bool pressNotePad(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument)) return false;
    NoteDrawCell cell;
    if (!cellAt(app, x, y, noteBeingDrawn(app.drag), cell)) return false;
    DragState& drag = app.drag;
    clearNoteDrawList(drag);
    NoteGrid& grid = currentGrid(app);
    if (!occupied(grid, cell.step, cell.row)) {
        drag.noteDrawList[0] = cell;
        return true;
    }
    NoteDrawCell cells[kGridSteps];
    int hitIndex = 0;
    const int count = collectNoteCells(grid, cell.step, cell.row, cells, hitIndex);
    // The pad draws notes of at most one bank; a longer one (only a song file holds those) is
    // left alone rather than cut short.
    if (count > kStepsPerBank) return false;
    for (int k = 0; k < count; ++k) {
        drag.noteDrawList[k] = cells[k];
        clearCell(grid, cells[k]);
    }
    return true;
}

bool dragNotePad(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument) || !noteBeingDrawn(app.drag)) return false;
    NoteDrawCell cell;
    if (!cellAt(app, x, y, true, cell)) return false;
    NoteDrawCell* list = app.drag.noteDrawList;
    if (!app.ui.slidingAllowed) cell.row = list[0].row;
    const int index = cell.step - list[0].step;
    if (index < 0 || index >= kStepsPerBank) return false;
    bool changed = false;
    for (int k = 1; k < index; ++k) {
        if (list[k].step >= 0) continue;
        list[k] = {list[k - 1].step + 1, list[k - 1].row};
        changed = true;
    }
    if (list[index].step != cell.step || list[index].row != cell.row) {
        list[index] = cell;
        changed = true;
    }
    return changed;
}

bool erasePressNotePad(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument)) return false;
    NoteDrawCell cell;
    if (!cellAt(app, x, y, noteBeingDrawn(app.drag), cell)) return false;
    NoteGrid& grid = currentGrid(app);
    NoteDrawCell cells[kGridSteps];
    int hitIndex = 0;
    const int count = collectNoteCells(grid, cell.step, cell.row, cells, hitIndex);
    for (int k = 0; k < count; ++k) clearCell(grid, cells[k]);
    return count > 0;
}

bool finishNoteDrawing(AppState& app) {
    DragState& drag = app.drag;
    if (!noteBeingDrawn(drag) || !validInstrument(app.ui.currentInstrument)) {
        clearNoteDrawList(drag);
        return false;
    }
    NoteGrid& grid = currentGrid(app);
    const int count = drawnCellCount(drag);
    for (int k = 0; k < count; ++k) {
        const NoteDrawCell& cell = drag.noteDrawList[k];
        if (occupied(grid, cell.step, cell.row)) cutNoteAt(grid, cell.step, cell.row);
    }
    writeNote(grid, drag.noteDrawList, count);
    clearNoteDrawList(drag);
    return true;
}
