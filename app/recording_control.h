// Start/Stop Recording, shared by the L key and the record button.
#pragma once

class Platform;
struct AppState;

// While recording: asks the engine to stop at instrument 0's next measure end. While a start is
// armed: disarms it. While playing: arms a start at that measure end. Stopped: starts recording
// at once and starts playback. When the temporary file cannot be created the user is told and
// nothing starts.
void toggleRecording(AppState& app, Platform& platform);

// Tells the user once of an armed start that reached its measure end without a temporary file,
// and of a recording that stopped because its temporary file could not be written (a full
// disk). Called after every pump.
void reportRecordingFailures(AppState& app, Platform& platform);
