// Render mode of humbrook-render: the song played through the virtual device into a WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AppState;
class VirtualSoundDevice;

// Plays the current song as the sound device would hear it: startPlayback, one pump with the
// cursor at byte 0, then per step the chunk under the cursor is taken, the cursor moves to the
// next chunk and the pump runs once. Returns the bytes played (steps * 4 * chunkFrames, 16-bit
// stereo in the machine's byte order). `device` must be app's sound device.
std::vector<uint8_t> renderSteps(AppState& app, VirtualSoundDevice& device, int steps);

// Writes 16-bit stereo samples as a PCM WAV file (44-byte header), replacing `path` only when
// the whole file was written. Returns false with a message in `error` on failure.
bool writePcmWave(const std::string& path, int sampleRate, const std::vector<uint8_t>& samples,
                  std::string& error);
