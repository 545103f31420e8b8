// Where the mix goes besides the sound device: a recording that starts and stops at measure ends.
#pragma once

#include <cstdint>

// The stream hands every finished chunk to the recorder while it records, and tells it when
// instrument 0 reaches the end of its measure, where an armed start or a requested stop takes
// effect. The engine keeps no recording state of its own; all calls come from the one UI thread.
class Recorder {
  public:
    virtual ~Recorder() = default;

    // True while finished chunks go to the recording.
    virtual bool isRecording() const = 0;
    // True when a start is armed or a stop requested, waiting for instrument 0's measure end.
    virtual bool waitsForMeasureEnd() const = 0;
    // Instrument 0's measure end while waitsForMeasureEnd: carries out the armed start (for a
    // stream of `streamRate` Hz and `chunkFrames` frames per chunk) and then the requested stop.
    // Returns true when it started, failed to start or stopped a recording.
    virtual bool atMeasureEnd(int streamRate, int chunkFrames) = 0;
    // Appends one finished chunk of interleaved 16-bit samples.
    virtual void appendChunk(const int16_t* samples, int sampleCount) = 0;
    // Ends a running recording at once (the stream is about to change its chunk length).
    virtual void endRecording() = 0;
};
