// The program's own Open and Save dialog, made of FLTK widgets: it runs in FLTK's event loop, so
// the timer that feeds the sound keeps running while it is open, and it takes a typed name as
// typed (a name inside the folder shown, or a whole path).
#pragma once

#include <optional>
#include <string>

#include "app/platform.h"

// Shows the dialog (Save: a name for a new or replaced file; Open: an existing file) until the
// user chooses or cancels. The chosen path carries the default extension when its name has
// none; a Save that would replace a file asks first when the request says so.
std::optional<std::string> runFileDialog(const FileDialogRequest& request, bool save);
