// The row the program's dialogs end with: the accepting button (Enter) and Cancel, bottom right.
#pragma once

#include <FL/Fl_Widget.H>

class Fl_Window;

// Adds the two buttons to `window` (still open for widgets) and ends it; the close box and
// Escape cancel as the Cancel button does. The window becomes modal.
void finishDialog(Fl_Window& window, const char* acceptLabel, Fl_Callback* onAccept,
                  Fl_Callback* onCancel, void* data);
