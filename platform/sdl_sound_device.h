// The sound device that plays the stream through SDL2 audio (the factory; no SDL types here).
#pragma once

#include "engine/sound_device.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Opens SDL audio on the output device of that name (as sdlOutputDeviceNames gives it; empty,
// or when it cannot be opened: the default device), with whatever SDL driver is chosen
// (including SDL_AUDIODRIVER=dummy and disk). `bufferFrames` is SDL's device buffer: each
// callback copies that many frames from the stream buffer, so the play cursor moves in steps of
// it; the stream buffer itself (the engine's five chunks) does not depend on it. The device is
// reopened when the sample rate changes and, after it disappears (unplugged), at the next
// play-cursor query. When no SDL device can be opened, at start or later, the returned device
// carries on as a silent clocked device and tries SDL again at the next createBuffer.
std::unique_ptr<SoundDevice> openSdlSoundDevice(const std::string& deviceName = "",
                                                int bufferFrames = 512);

// Plays on through another output device or buffer size: the SDL device is closed and opened
// again as after a loss, keeping the stream buffer, the play cursor and whether it plays. False
// when no SDL device opens (the clocked stand-in then plays on silently) or when `device` is no
// SDL device.
bool reopenSdlSoundDevice(SoundDevice& device, const std::string& deviceName, int bufferFrames);

// The names of the output devices the SDL driver reports, in its order; empty when it reports
// none or cannot list them.
std::vector<std::string> sdlOutputDeviceNames();

// The SDL audio device id that `device` plays through, 0 while it runs on the clocked stand-in
// or when `device` is not an SDL device (for tests and diagnostics).
uint32_t sdlAudioDeviceId(const SoundDevice& device);
