// Importing a 16-bit PCM WAV file as the sound of a waveform slot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct AppState;
class Platform;

// Imports the WAV file held in `bytes` into `slot` (0..7): samples / 256 clamped to -127..127,
// the first 18 bytes after the "fmt " chunk skipped, at most 800,000 bytes read. Refusals show
// their message and leave the slot's values as they were. Returns true when the import ran to
// its end.
bool importWaveBytes(AppState& app, int slot, const uint8_t* bytes, size_t size,
                     Platform& platform);

// The same for a file on disk, of which only the header and the bytes kept are read: "Couldn't
// Open File " when it cannot be opened or is no regular file, "Couldn't Read File " when reading
// the kept bytes fails.
bool importWaveFromPath(AppState& app, int slot, const std::string& path, Platform& platform);
