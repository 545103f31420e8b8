// Importing a 16-bit PCM WAV file as the sound of a waveform slot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct Song;

// Why an import was refused, in the order the checks run.
enum class WaveImportError {
    None,            // imported
    CannotOpen,      // the file cannot be opened or is no regular file
    NoSlot,          // the slot is not 0..7
    NotAWave,        // no RIFF "WAVE" form with a readable "fmt " chunk
    NotMonoOrStereo, // neither one nor two channels
    WrongRate,       // neither 22050 nor 44100 samples per second
    ReadFailed,      // reading the kept bytes failed: none are taken
    NoData,          // not one sample past the skipped bytes
    WrongSampleSize, // samples are not 16 bits
};

// Imports the WAV file held in `bytes` into `slot` of `song`: samples / 256 clamped to
// -127..127, the first 18 bytes after the "fmt " chunk skipped, at most 800,000 bytes read; the
// slot becomes a sound-file slot with MIX 0.5, HIGH 0 and NOISE 0. A refusal leaves the slot's
// values as they were. The caller rebuilds what it derives from the slot's knobs.
WaveImportError importWaveSamples(Song& song, int slot, const uint8_t* bytes, size_t size);

// The same for a file on disk, of which only the header and the bytes kept are read.
WaveImportError importWaveFileSamples(Song& song, int slot, const std::string& path);
