// File > Export Song: the dialogs, the render on a thread of its own, progress and messages.
#pragma once

#include <string>
#include <vector>

#include "app/platform.h"

struct AppState;

// The files an export with these choices writes for the name `path`: itself, or the four stems.
std::vector<std::string> exportedFiles(const std::string& path, const ExportChoices& choices);

// File > Export Song: the Export Song dialog (at first with the stream's sample rate), then the
// Save dialog for the file name; stems that would replace files ask first. The render plays a
// copy of the song from where the random sequence stood when the song was opened, on a thread
// of its own, while the window plays on; the platform shows its progress and may cancel it,
// which leaves no file behind. A file that cannot be written shows "Couldn't Write File ", as
// Save does.
void exportSong(const AppState& app, Platform& platform);
