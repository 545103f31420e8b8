// The Export Song dialog and the export's progress box, FLTK windows run by their own loops.
#pragma once

#include <optional>

#include "app/platform.h"

// The choices of File > Export Song, or nothing when cancelled. The dialog opens with the choices
// of the last export, the first time with `initial`.
std::optional<ExportChoices> runExportDialog(const ExportChoices& initial);

// A box with the render's progress and a Cancel button (the close box and Escape cancel too),
// shown until the render has finished. Timers, and with them the sound and the window's
// picture, keep running meanwhile.
void runRenderProgress(RenderProgress& progress);
