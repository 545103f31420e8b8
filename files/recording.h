// The temporary recording file: the hooks the engine calls while it plays, and its conversion to
// WAV.
#pragma once

#include <cstdint>

struct AppState;

// Creates the temporary file and marks the recording active with no chunks counted.
// Returns false (and leaves recording inactive) when the file cannot be created.
bool beginRecordingFile(AppState& app);

// Appends one mixed chunk (interleaved 16-bit samples) and counts it. A chunk that cannot be
// written whole (a full disk) ends the recording: it is not counted, and the take is marked
// incomplete with a failure to tell the user.
void appendRecordedChunk(AppState& app, const int16_t* samples, int sampleCount);

// Closes the temporary file and marks the recording inactive.
void endRecordingFile(AppState& app);
