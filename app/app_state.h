// The one record that owns everything that changes: song, engine, recording, clipboards, UI state.
#pragma once

#include <cstdint>
#include <string>

#include "app/playback_moves.h"
#include "engine/engine_state.h"
#include "engine/stream_state.h"
#include "files/recording_state.h"
#include "model/random.h"
#include "model/song.h"
#include "tools/clipboards.h"
#include "ui/drag_state.h"
#include "ui/ui_state.h"

struct AppState {
    Song song;
    EngineState engine;       // sequencer counters, rings and voice state
    StreamState stream;       // stream format, device, mixer, knob and delay automation, meters
    RecordingState recording; // recording flags and the temporary file
    Clipboards clipboards;
    UiState ui;                  // selections the keyboard and menus change
    DragState drag;              // which control a held mouse button is editing
    PlaybackMoves playbackMoves; // what playback changed in the song, for the edit history
    // Where the random sequence stood when the song was opened or made new: where
    // humbrook-render's stands when it renders that song, and so where an export starts.
    uint32_t randomAtSongStart = kRandomStartState;
    // The file the song was opened from or last saved to, which File > Save writes without
    // asking; empty for a song never saved.
    std::string songPath;
};
