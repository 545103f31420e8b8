// The sound output choice: which device and buffer size the program plays through, the lists
// the Sound Device dialog offers, and what the settings remember of it.
#pragma once

#include <string>
#include <vector>

#include "app/settings.h"

// The first entry of the device list: whatever the system plays through by default.
inline constexpr const char* kSystemDefaultDevice = "System Default";

struct SoundOutput {
    std::string device;                      // an output device by SDL's name; empty: default
    int bufferFrames = kDefaultBufferFrames; // SDL's device buffer: 256, 512, 1024 or 2048 frames

    bool operator==(const SoundOutput&) const = default;
};

// The device list as offered: "System Default" first, then the reported devices in their order
// (empty names left out: they could not be chosen again).
std::vector<std::string> soundDeviceList(const std::vector<std::string>& reported);

// The output to open at start: the remembered device and buffer size. A remembered device that
// is not among the reported ones gives the default device and a message saying so in
// `message` (left empty otherwise).
SoundOutput startingSoundOutput(const Settings& settings, const std::vector<std::string>& reported,
                                std::string& message);

// The position of the output's device in soundDeviceList(reported); 0 (System Default) when
// it is the default or not reported.
int soundDeviceIndex(const SoundOutput& output, const std::vector<std::string>& reported);

// The device at a position of soundDeviceList(reported): empty for System Default and for a
// position outside the list.
std::string soundDeviceAt(int index, const std::vector<std::string>& reported);

// The position of a buffer size among kBufferFrameChoices; that of the default for any other.
int bufferFramesIndex(int frames);
// The buffer size at a position of kBufferFrameChoices; the default outside it.
int bufferFramesAt(int index);

// Stores the output in the settings; true when that changed them (they are then to be written).
bool rememberSoundOutput(Settings& settings, const SoundOutput& output);
