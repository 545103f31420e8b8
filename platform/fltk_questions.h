// The questions of the windowed program: "Save changes to NAME?" and the offer of an autosave.
#pragma once

#include <string>

#include "app/platform.h"

// Save, Don't Save, Cancel; Escape and the close box cancel.
SaveChangesAnswer askSaveChangesBox(const std::string& question);

// Recover, Discard, Later; Escape and the close box answer Later.
RecoveryAnswer askRecoveryBox(const std::string& text);
