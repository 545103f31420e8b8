// Start/Stop Recording.
#include "app/recording_control.h"

#include "app/app_state.h"
#include "app/platform.h"
#include "app/playback.h"
#include "files/recording.h"

namespace {
constexpr const char* kNoTempFileMessage = "Couldn't Create Temp File";
}

void toggleRecording(AppState& app, Platform& platform) {
    RecordingState& recording = app.recording;
    if (recording.active) {
        recording.stopRequested = 1;
    } else if (recording.startArmed) {
        recording.startArmed = 0;
    } else if (app.engine.playing) {
        recording.startArmed = 1;
    } else {
        recording.startArmed = 0;
        if (!beginRecordingFile(app.recording, app.engine.streamRate, app.engine.chunkFrames)) {
            showWarning(platform, kNoTempFileMessage);
            return;
        }
        startPlayback(app);
    }
}

void reportRecordingFailures(AppState& app, Platform& platform) {
    RecordingState& recording = app.recording;
    if (recording.startFailed) {
        recording.startFailed = 0;
        showWarning(platform, kNoTempFileMessage);
    }
    if (recording.writeFailureToTell) {
        recording.writeFailureToTell = 0;
        showWarning(platform, "Couldn't Write Temp File");
    }
}
