// The hover help line: names the control under the mouse and what a drag in progress adjusts.
#pragma once

struct AppState;
struct Screen;

// The text for a cursor at client pixel (x, y): the text of the panel the cursor lies strictly
// inside, outranked by the text of a drag in progress; "" when neither applies.
const char* hoverHelpText(const AppState& app, const Screen& screen, int x, int y);

// Redraws the help line for the cursor at (x, y) and shows it at once, without a pump; (-1, -1)
// stands for no position (only a drag can then give a text). Does nothing while the window is
// inactive.
void showHoverHelp(AppState& app, Screen& screen, int x, int y);
