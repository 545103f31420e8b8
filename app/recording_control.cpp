// Start/Stop Recording.
#include "app/recording_control.h"

#include "app/app_state.h"
#include "app/platform.h"
#include "engine/stream.h"
#include "files/recording.h"

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
        if (!beginRecordingFile(app)) {
            showWarning(platform, "Couldn't Create Temp File");
            return;
        }
        startPlayback(app);
    }
}
