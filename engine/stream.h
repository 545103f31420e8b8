// The audio stream: building it, starting and stopping playback, the pump that feeds it.
#pragma once

#include "engine/engine_state.h"
#include "engine/stream_state.h"

class Recorder;

// Stops and releases the stream buffer (clearing `playing`), ends a running recording, takes
// streamRate from the output format, sizes chunkFrames for the song's BPM, creates a buffer of
// 20 * chunkFrames bytes and allocates every ring. The knob and delay automation restart from
// the song's current values (the delays are not reset by a start, so a loaded song's delays
// sound at once). Pending mute toggles stay pending. `recorder` may be null.
void rebuildStream(const Song& song, EngineState& engine, StreamState& stream, Recorder* recorder);

// Stops the stream, applies every pending mute toggle to the song's Mute and clears `playing`.
void stopPlayback(Song& song, EngineState& engine, StreamState& stream);

// Stops, clears the rings and the stage, delay and automation state, takes each instrument's
// bank from the head of its stack, pre-rolls steps 0..noteLatency-1 into the first chunks and
// plays the stream from its start. Does nothing before the stream has been built.
void startPlayback(Song& song, EngineState& engine, StreamState& stream, Recorder* recorder);

// The one call that keeps the sound fed, made as often as possible from the UI thread: reads
// the play cursor, updates the volume meter, takes at most one step when the cursor has entered
// another chunk (sequencer, recording start or stop at instrument 0's measure end, bank
// changes, the four voices, the mix), then the CPU meter and the marker of `markerInstrument`
// (the one the step strip shows), and sets the redraw requests in stream.redraws.
void pumpAudio(Song& song, EngineState& engine, StreamState& stream, Recorder* recorder,
               int markerInstrument);

// Whether the pump has work to do at its usual rate: while playback runs, and while a meter is
// still falling after it stopped (each pump lowers a meter until it needs no more redraws).
// Otherwise a pump changes nothing that can be heard or seen, and the loop may sleep until
// the next event.
bool pumpHasWork(const EngineState& engine, const StreamState& stream);

// The Sample Rate menu: stops playback, sets the output format to `rate` (22050 or 44100) and
// rebuilds the stream; asks for a redraw of the play panel. Any other rate is refused (false).
bool setSampleRate(Song& song, EngineState& engine, StreamState& stream, Recorder* recorder,
                   int rate);
