// The windowed program's sound output: opened at start as the settings say, changed with
// Options > Sound Device....
#pragma once

#include <memory>
#include <string>

#include "app/settings.h"
#include "app/sound_output.h"
#include "engine/sound_device.h"

// Opens the SDL device for the remembered output, in `output`. A remembered device that is not
// connected gives the system default, and `message` says so (empty otherwise); the settings keep
// it, so that it is used again once it is back.
std::unique_ptr<SoundDevice> openRememberedSoundOutput(const Settings& settings,
                                                       SoundOutput& output, std::string& message);

// Options > Sound Device...: the dialog with the devices SDL reports now. After OK the choice
// becomes `output`, and `device` is reopened with it at once when it differs or when nothing
// was heard; true after OK, false after Cancel.
bool chooseSoundOutput(SoundDevice& device, SoundOutput& output);
