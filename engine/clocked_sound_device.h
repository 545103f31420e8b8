// A silent sound device whose play cursor follows the wall clock, used when no audio device opens.
#pragma once

#include "engine/memory_sound_buffer.h"
#include "engine/sound_device.h"

#include <chrono>
#include <cstdint>

class ClockedSoundDevice final : public SoundDevice {
  public:
    bool createBuffer(int sampleRate, int bufferBytes) override;
    void releaseBuffer() override;
    void playLooping() override { playLoopingFrom(0); }
    void stop() override;
    int playCursor() override;
    uint8_t* lockRegion(int offset, int bytes) override { return memory_.lock(offset, bytes); }
    void unlockRegion() override { memory_.locked = false; }
    bool isSilent() const override { return true; }

    // Plays looping with the cursor starting at `byteOffset` (rounded down to a frame), so that a
    // device taking over from another keeps its place in the buffer.
    void playLoopingFrom(int byteOffset);

  private:
    using Clock = std::chrono::steady_clock;

    MemorySoundBuffer memory_; // written by the engine, heard by nobody
    bool playing_ = false;
    Clock::time_point startTime_{}; // when the cursor was at startByte_
    int startByte_ = 0;
    int stoppedByte_ = 0; // cursor while stopped
};
