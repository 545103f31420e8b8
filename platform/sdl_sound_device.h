// The sound device that plays the stream through SDL2 audio (the factory; no SDL types here).
#pragma once

#include "engine/sound_device.h"

#include <cstdint>
#include <memory>

// Opens SDL audio on the default output device, with whatever SDL driver is chosen (including
// SDL_AUDIODRIVER=dummy and disk). The device is reopened when the sample rate changes and,
// after it disappears (unplugged), at the next play-cursor query. When no SDL device can be
// opened, at start or later, the returned device carries on as a silent clocked device and
// tries SDL again at the next createBuffer.
std::unique_ptr<SoundDevice> openSdlSoundDevice();

// The SDL audio device id that `device` plays through, 0 while it runs on the clocked stand-in
// or when `device` is not an SDL device (for tests and diagnostics).
uint32_t sdlAudioDeviceId(const SoundDevice& device);
