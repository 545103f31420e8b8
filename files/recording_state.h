// Recording flags and the temporary recording file that the recording code keeps.
#pragma once

#include <cstdio>

struct RecordingState {
    int active = 0;         // chunks are being appended to the temporary file
    int stopRequested = 0;  // stop at instrument 0's next measure end
    int startArmed = 0;     // start at instrument 0's next measure end
    int recordedChunks = 0; // chunks written since the recording started
    std::FILE* file = nullptr;
    int recordedRate = 0;        // stream rate the recording was made with
    int recordedChunkFrames = 0; // chunk length the recording was made with
    int writeFailed = 0;         // a chunk could not be written: the take ended there, incomplete
    int writeFailureToTell = 0;  // that failure ended a running recording: the shell tells the user
    int startFailed = 0;         // an armed start found no temporary file: the shell tells the user
};
