// Mouse state: which control a held left button is editing, the note being drawn, the views.
#pragma once

#include "model/song.h"

inline constexpr int kNoteDrawCapacity = kStepsPerBank + 1; // 16 cells and an end mark

// One cell of the note being drawn on the note pad; step -1 = unused.
struct NoteDrawCell {
    int step = -1; // absolute step 0..255
    int row = -1;  // note row 0..23, 23 the highest
};

struct MousePosition {
    int x = 0; // client pixels
    int y = 0;
};

// Every field is at its idle value when no button is held (a release calls resetDragFields);
// panVelocitySelect, viewOffset, mouseButtonDown and lastMousePos are not drag fields and keep
// their values over a release.
struct DragState {
    // Wave editor: 0 MIX, 1 HIGH, 2 NOISE slider, 3 drawing, 4 loop start, 5 loop end; -1 idle.
    int waveDragMode = -1;
    // Envelope editor: 0 sustainStart, 1 sustainEnd, 2 releaseEnd marker, 3 drawing; -1 idle.
    int envelopeDragMode = -1;
    int envelopeAllCurvesDirty = 0; // a press changed what all four curves of the bank show
    // The note being drawn, cell by cell from its first cell; noteDrawList[0].step -1 = none.
    NoteDrawCell noteDrawList[kNoteDrawCapacity];
    int panVelocityDragging = 0;
    int chordDragIndex = -1;   // chord key 0..7 being dragged, -1 none
    int slideKnobChanged = 0;  // the SLIDE knob changed: the note pad must be re-rendered
    int knobDragIndex = -1;    // effect knob 0..15 being turned, -1 none
    int effectDimDragging = 0; // the 2D effect controller is being dragged
    // Delay/reverb: 0 offset, 2 feedback, 3 low pass cutoff, 4 stereo pan, 5 fine tune; -1 idle.
    int delayDragColumn = -1;
    int delayDragRow = -1;        // delay 0..2 being dragged, -1 none
    int instrumentDragIndex = -1; // instrument whose volume or octave is dragged, -1 none
    int instrumentDragOctave = 0; // 1 = the instrument drag sets Oct, 0 = Volume
    int mainVolumeDragMode = -1;  // 0 left, 1 right, 2 both, -1 idle

    // Selections and pointer state, untouched by a release.
    int panVelocitySelect = 1;             // 1 = the pan/velocity panel edits Pan, 0 = Vel
    int viewOffset[kInstrumentCount] = {}; // first step of the note bank in view, 16 x bank
    int mouseButtonDown = 0;               // the left button is held
    MousePosition lastMousePos;            // where the previous mouse move found the cursor
};

// Puts every drag field back to its idle value (the selections and pointer state stay).
void resetDragFields(DragState& drag);

// True while the note pad holds a note being drawn.
inline bool noteBeingDrawn(const DragState& drag) {
    return drag.noteDrawList[0].step >= 0;
}
