// Start-up and shutdown of the AppState, and its replacement by File > New.
#pragma once

#include <memory>

class SoundDevice;
struct AppState;
struct Screen;

// Gives a freshly value-initialised AppState its start-up state: the sound device and the
// 16-bit stereo 22050 Hz output format, the song defaults with the preset waveforms, and the
// stream for the default tempo.
void initAppState(AppState& app, SoundDevice& device);

// Releases what the AppState holds outside itself: stops playback and frees the stream buffer,
// and closes a recording in progress.
void releaseAppState(AppState& app);

// File > New: releases the AppState and creates a fresh one in its place with every start-up
// default, on the same sound device.
void renewAppState(AppState& app);

// The whole start-up after the display exists: a new AppState on `device`, every panel
// rendered; the window is shown next, and `initialised` set.
std::unique_ptr<AppState> startApp(Screen& screen, SoundDevice& device);

// Shutdown: releases the stream, the rings and every buffer of the AppState.
void shutdownApp(std::unique_ptr<AppState>& app);
