// Offline renders of a song copy into sound files: File > Export Song and humbrook-render -o.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/playback_waveform.h"
#include "files/audio_file_writer.h"
#include "model/random.h"
#include "model/song.h"

// What a render writes and how long it plays.
struct RenderRequest {
    std::string path; // the output file; with stems the name they share
    int steps = 64;   // steps played (ignored with `once`)
    AudioFormat format = AudioFormat::Wav16;
    bool once = false;  // play once through the longest play order instead of `steps`
    bool tail = false;  // then let notes and delays ring out until a step falls below -90 dBFS
                        // (10 s at most)
    bool stems = false; // one file per instrument instead of the mix
};

// Where a render starts: its own copy of the song (playback moves its play orders and mutes),
// the engine settings and the position of the random sequence, as humbrook-render starts.
struct RenderSource {
    Song song;
    PlaybackWaveforms playbackWaveforms;      // what the voices play of each slot, as built
    int sampleRate = 22050;                   // 22050 or 44100
    int noteLatency = 1;                      // 1..3 chunks
    uint32_t randomState = kRandomStartState; // where the render's random sequence starts
};

// A render's progress, shared with the thread that shows it. The render writes stepsDone and
// finished; the watcher sets cancelRequested, which the render reads before every step.
struct RenderProgress {
    std::atomic<int> stepsDone{0};
    std::atomic<int> stepsMost{1}; // the steps with the longest tail: a tail may end earlier
    std::atomic<bool> cancelRequested{false};
    std::atomic<bool> finished{false};
};

enum class RenderOutcome { Written, Cancelled, Failed };

// The file of stem `instrument` (0..3): PATH with its extension replaced by "-N.EXT", N = 1..4.
std::string stemPath(const std::string& path, AudioFormat format, int instrument);

// Plays the source's song as the sound device would hear it, on a stream and a virtual device
// of the render's own, and writes it to the request's files: startPlayback, one pump with the
// cursor at byte 0, then per step the chunk under the cursor is written, the cursor moves to
// the next chunk and the pump runs once. The calling thread's random sequence continues from
// source.randomState. The mix is written as the device hears it, clipped by the master clip;
// stems are each instrument's signal after its effects, delays, volume and the main volume,
// unclipped, so that they add up to the mix before its clip. With a tail, no note starts after
// the last step: the notes sounding then play to their end, each instrument is muted once its
// notes have ended, and the delays ring out. Each step
// goes to the files as it is played: memory stays flat however long the render. Failed (with a
// message in `error`) when a file cannot be written, Cancelled when cancelRequested was seen:
// then no file is left behind. Sets progress.finished at the end either way.
RenderOutcome renderSongFiles(RenderSource& source, const RenderRequest& request,
                              RenderProgress& progress, std::string& error);
