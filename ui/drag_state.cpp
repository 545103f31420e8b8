// Putting the drag fields back to idle after a release.
#include "ui/drag_state.h"

void resetDragFields(DragState& drag) {
    DragState idle;
    idle.panVelocitySelect = drag.panVelocitySelect;
    for (int i = 0; i < kInstrumentCount; ++i) idle.viewOffset[i] = drag.viewOffset[i];
    idle.mouseButtonDown = drag.mouseButtonDown;
    idle.lastMousePos = drag.lastMousePos;
    drag = idle;
}
