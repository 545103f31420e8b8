// The Sound Device dialog: the output device and the buffer size, chosen from two lists.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/sound_output.h"

// Shows "System Default" and the `reported` devices, and the buffer sizes, with `current`
// chosen; the output chosen with OK, nothing after Cancel, Escape or the close box.
std::optional<SoundOutput> askSoundOutput(const std::vector<std::string>& reported,
                                          const SoundOutput& current);
