// What the panels draw besides the song and the selections: readings of the audio stream, the
// sequencer and the recorder, handed over as values by the caller.
#pragma once

#include "model/song.h"
#include "ui/drag_state.h"
#include "ui/ui_state.h"

// The meters' readings of the mix.
struct MeterReadings {
    float volumeLevel = 0.0f; // 0..127, the mix level at the play cursor
    float clipped = 0.0f;     // 0..1, the clip flash (1 just after a sample clipped)
    float cpuLoad = 0.0f;     // 0..1
};

// What the play, stop and record buttons show.
struct TransportReadings {
    bool playing = false;
    bool recordArmed = false; // recording starts at instrument 0's next measure end
    bool recording = false;
    int recordedChunks = 0;                        // chunks recorded so far
    bool muteTogglePending[kInstrumentCount] = {}; // Mute toggles at the next bank change
};

// The output stream's timing, which sets how much of an imported file one note bank spans.
struct StreamClock {
    int streamRate = 0;  // Hz
    int chunkFrames = 0; // frames per step
};

// What the voices play of each waveform slot, the drawing after MIX, HIGH and NOISE (the
// engine's copy): per slot kWaveformSamples samples and a guard repeating sample 0.
using PlaybackWaveformRows = float[kWaveformSlotCount][kWaveformSamples + 1];

// Everything a panel renderer may read.
struct PanelInputs {
    const Song& song;
    const PlaybackWaveformRows& playbackWaveforms;
    const UiState& ui;
    const DragState& drag;
    MeterReadings meters;
    TransportReadings transport;
    StreamClock clock;
};
