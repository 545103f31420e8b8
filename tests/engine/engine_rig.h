// The engine's own records side by side, without the application around them, for the tests.
#pragma once

#include "engine/engine_state.h"
#include "engine/stream_state.h"
#include "model/song.h"

struct EngineRig {
    Song song;
    EngineState engine;
    StreamState stream;
    int currentInstrument = 0; // 0..3, the instrument the pump's knob readings follow
};
