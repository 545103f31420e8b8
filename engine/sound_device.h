// The sound output behind one small interface: a looping stream buffer with a readable play cursor.
#pragma once

#include <cstdint>

// One looping buffer of 16-bit interleaved stereo PCM that plays on its own while the engine
// writes chunks ahead of the play cursor. Every implementation keeps its buffer until the next
// createBuffer or releaseBuffer; all calls come from the one UI thread.
class SoundDevice {
  public:
    virtual ~SoundDevice() = default;

    // Replaces any previous buffer by one of `bufferBytes` bytes (a multiple of 4) at
    // `sampleRate` frames per second, filled with silence, stopped, cursor at byte 0.
    // Returns false (and holds no buffer) when it cannot be created.
    virtual bool createBuffer(int sampleRate, int bufferBytes) = 0;
    // Stops and frees the buffer; the cursor reads 0 afterwards.
    virtual void releaseBuffer() = 0;

    // Moves the cursor to byte 0 and plays the buffer over and over.
    virtual void playLooping() = 0;
    // Stops playing; the cursor stays where it was.
    virtual void stop() = 0;

    // Byte offset 0..bufferBytes-1 of the frame being played, a multiple of 4 (0 without buffer).
    virtual int playCursor() = 0;

    // Gives write access to bytes offset .. offset+bytes-1 of the buffer (the region must lie
    // inside it), or nullptr when it cannot; every successful lock is followed by unlockRegion.
    virtual uint8_t* lockRegion(int offset, int bytes) = 0;
    virtual void unlockRegion() = 0;

    // True when nothing is heard from this device (no sound hardware behind it).
    virtual bool isSilent() const = 0;
};
