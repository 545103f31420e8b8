// What the program does after undo or redo wrote song fields back: the same as the edits that
// change those fields do, so that the sound follows within a step.
#pragma once

#include "model/song.h"

struct AppState;
struct SongChange;

// Which follow-ups a change asks for, per waveform slot and instrument.
struct FollowUps {
    bool stream = false;                    // the tempo changed: the stream is rebuilt
    bool waveform[kWaveformSlotCount] = {}; // the slot's playback waveform is rebuilt
    bool knobs[kInstrumentCount] = {};      // knob values go to the engine as a change
    bool delays[kInstrumentCount] = {};     // delay values go to the engine as a change
    bool bankInPlay[kInstrumentCount] = {}; // playing restarts at the bank in play
};

// The follow-ups of the fields `change` wrote, read from the field table; `song` is the song
// as written.
FollowUps followUpsOf(const Song& song, const SongChange& change);

// Runs them: playback waveforms by slot, the stream, knobs, delays, and (while playing) each
// instrument's bank in play from its first step.
void runFollowUps(AppState& app, const FollowUps& followUps);
