// The temporary recording file: start, append one chunk, end, and the engine's recorder on it.
#pragma once

#include "engine/recorder.h"
#include "files/recording_state.h"

#include <cstdint>

// Creates the temporary file and marks the recording active with no chunks counted, made with a
// stream of `streamRate` Hz and `chunkFrames` frames per chunk. Returns false (and leaves
// recording inactive) when the file cannot be created.
bool beginRecordingFile(RecordingState& recording, int streamRate, int chunkFrames);

// Appends one mixed chunk (interleaved 16-bit samples) and counts it. A chunk that cannot be
// written whole (a full disk) ends the recording: it is not counted, and the take is marked
// incomplete with a failure to tell the user.
void appendRecordedChunk(RecordingState& recording, const int16_t* samples, int sampleCount);

// Closes the temporary file and marks the recording inactive.
void endRecordingFile(RecordingState& recording);

// The recording flags and file of a RecordingState as the engine's recorder: an armed start
// (startArmed) and a requested stop (stopRequested) wait for instrument 0's measure end; a start
// that finds no temporary file sets startFailed for the shell to report.
class FileRecorder final : public Recorder {
  public:
    explicit FileRecorder(RecordingState& recording) : recording_(recording) {}

    bool isRecording() const override { return recording_.active != 0; }
    bool waitsForMeasureEnd() const override;
    bool atMeasureEnd(int streamRate, int chunkFrames) override;
    void appendChunk(const int16_t* samples, int sampleCount) override;
    void endRecording() override { endRecordingFile(recording_); }

  private:
    RecordingState& recording_;
};
