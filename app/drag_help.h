// The hover help line's texts for a drag in progress.
#pragma once

struct AppState;

// The text the help line shows for the drags in progress: of all drag texts that apply, in the
// help line's order, the last one; nullptr when no drag adds a text. It outranks the text of
// the panel under the cursor, so it stays when the cursor leaves the dragged panel.
const char* dragHelpText(const AppState& app);
