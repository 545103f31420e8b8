// Start-up and shutdown of the AppState, and its replacement by File > New.
#pragma once

#include <memory>

class SoundDevice;
struct AppState;
struct Screen;

// The song of a fresh start: defaults, preset waveforms and empty clipboards (resetSong), then
// the playback form of every slot, slot 0 first.
void resetSongAndWaveforms(AppState& app);

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

// The whole start-up after the screen exists: a new AppState on `device`, every panel
// rendered. The window is shown next.
std::unique_ptr<AppState> startApp(Screen& screen, SoundDevice& device);

// Once the window is shown: it counts as active, start-up has finished, the window background
// is painted, every panel is presented and the help line drawn for no pointer position.
void finishStartup(AppState& app, Screen& screen);

// Fills the whole window picture with the window background colour (the gaps between panels).
void paintWindowBackground(const AppState& app, Screen& screen);

// Shutdown: releases the stream, the rings and every buffer of the AppState.
void shutdownApp(std::unique_ptr<AppState>& app);
