// The questions of the windowed program: "Save changes to NAME?", the offer of an autosave and
// the Yes/No question.
#pragma once

#include <string>

#include "app/platform.h"

// Save, Don't Save, Cancel; Escape and the close box cancel.
SaveChangesAnswer askSaveChangesBox(const std::string& question);

// Recover, Discard, Later; Escape and the close box answer Later.
RecoveryAnswer askRecoveryBox(const std::string& text);

// A question without a title, answered Yes (Enter) or No (Escape, the close box); true for Yes.
bool askYesNoBox(const std::string& question);
