// Render mode of humbrook-render: the song played through the virtual device, streamed to sound
// files step by step.
#pragma once

#include <string>

#include "files/audio_file_writer.h"

struct AppState;
class VirtualSoundDevice;

// What -o renders and how it is written.
struct RenderRequest {
    std::string path; // the output file; with stems the name they share
    int steps = 64;   // steps played (ignored with `once`)
    AudioFormat format = AudioFormat::Wav16;
    bool once = false;  // play once through the longest play order instead of `steps`
    bool tail = false;  // then let delays ring out until a step falls below -90 dBFS (10 s at most)
    bool stems = false; // one file per instrument instead of the mix
};

// The file of stem `instrument` (0..3): PATH with its extension replaced by "-N.EXT", N = 1..4.
std::string stemPath(const std::string& path, AudioFormat format, int instrument);

// Plays the current song as the sound device would hear it: startPlayback, one pump with the
// cursor at byte 0, then per step the chunk under the cursor is written, the cursor moves to
// the next chunk and the pump runs once. The mix is written as the device hears it, clipped by
// the master clip; stems are each instrument's signal after its effects, delays, volume and the
// main volume, unclipped, so that they add up to the mix before its clip. With a tail, the
// instruments are muted from the first step after the last one, so only their delays sound.
// Each step goes to the files as it is played: memory stays flat however long the render.
// Returns false with a message in `error` when a file cannot be written; nothing is then left.
// `device` must be app's sound device.
bool renderSong(AppState& app, VirtualSoundDevice& device, const RenderRequest& request,
                std::string& error);
