// The temporary recording file: start, append one chunk, end, and the engine's recorder on it.
#include "files/recording.h"

#include <cstdio>

#include "files/temp_recording_file.h"

namespace {

// Writes `value` as decimal digits followed by one blank; returns the characters written.
int formatUnsignedWithBlank(unsigned value, char* out) {
    char digits[8];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = 0; i < count; ++i) out[i] = digits[count - 1 - i];
    out[count] = ' ';
    return count + 1;
}

void closeRecordingFile(RecordingState& recording) {
    if (!recording.file) return;
    if (std::fclose(recording.file) != 0) recording.writeFailed = 1;
    recording.file = nullptr;
}

// A full disk ends the take at the last chunk written whole; the user is told once.
void stopAfterFailedWrite(RecordingState& recording) {
    recording.writeFailed = 1;
    recording.writeFailureToTell = 1;
    recording.active = 0;
    recording.stopRequested = 0;
    closeRecordingFile(recording);
}

} // namespace

bool beginRecordingFile(RecordingState& recording, int streamRate, int chunkFrames) {
    closeRecordingFile(recording);
    recording.active = 0;
    std::FILE* file = createTempRecordingFile();
    if (!file) return false;
    recording.file = file;
    recording.active = 1;
    recording.recordedChunks = 0;
    recording.writeFailed = 0;
    recording.writeFailureToTell = 0;
    recording.recordedRate = streamRate;
    recording.recordedChunkFrames = chunkFrames;
    return true;
}

void appendRecordedChunk(RecordingState& recording, const int16_t* samples, int sampleCount) {
    if (!recording.active || !recording.file) return;
    char text[4096];
    int used = 0;
    for (int i = 0; i < sampleCount; ++i) {
        if (used > static_cast<int>(sizeof text) - 8) {
            if (std::fwrite(text, 1, used, recording.file) != static_cast<size_t>(used)) {
                stopAfterFailedWrite(recording);
                return;
            }
            used = 0;
        }
        used += formatUnsignedWithBlank(static_cast<uint16_t>(samples[i]), text + used);
    }
    // A chunk counts once all of it has reached the file, not just the stream's buffer.
    if (std::fwrite(text, 1, used, recording.file) != static_cast<size_t>(used) ||
        std::fflush(recording.file) != 0) {
        stopAfterFailedWrite(recording);
        return;
    }
    ++recording.recordedChunks;
}

void endRecordingFile(RecordingState& recording) {
    recording.active = 0;
    recording.stopRequested = 0; // nothing is left to stop
    closeRecordingFile(recording);
}

bool FileRecorder::waitsForMeasureEnd() const {
    return recording_.startArmed || recording_.stopRequested;
}

bool FileRecorder::atMeasureEnd(int streamRate, int chunkFrames) {
    bool changed = false;
    if (recording_.startArmed) {
        recording_.startArmed = 0;
        if (!beginRecordingFile(recording_, streamRate, chunkFrames)) recording_.startFailed = 1;
        changed = true;
    }
    if (recording_.stopRequested) {
        recording_.stopRequested = 0;
        endRecordingFile(recording_);
        changed = true;
    }
    return changed;
}

void FileRecorder::appendChunk(const int16_t* samples, int sampleCount) {
    appendRecordedChunk(recording_, samples, sampleCount);
}
