// Render mode of humbrook-render: the song played through the virtual device (written to a WAV
// file by writeStereoWaveFile).
#pragma once

#include <cstdint>
#include <vector>

struct AppState;
class VirtualSoundDevice;

// Plays the current song as the sound device would hear it: startPlayback, one pump with the
// cursor at byte 0, then per step the chunk under the cursor is taken, the cursor moves to the
// next chunk and the pump runs once. Returns the bytes played (steps * 4 * chunkFrames, 16-bit
// stereo in the machine's byte order). `device` must be app's sound device.
std::vector<uint8_t> renderSteps(AppState& app, VirtualSoundDevice& device, int steps);
