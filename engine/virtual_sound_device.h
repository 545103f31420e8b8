// A sound device whose play cursor moves only when told: for tests and the headless renderer.
#pragma once

#include "engine/memory_sound_buffer.h"
#include "engine/sound_device.h"

#include <cstdint>

class VirtualSoundDevice final : public SoundDevice {
  public:
    bool createBuffer(int sampleRate, int bufferBytes) override;
    void releaseBuffer() override;
    void playLooping() override;
    void stop() override;
    int playCursor() override { return cursor_; }
    uint8_t* lockRegion(int offset, int bytes) override { return memory_.lock(offset, bytes); }
    void unlockRegion() override { memory_.locked = false; }
    bool isSilent() const override { return true; }

    // Puts the play cursor at `byteOffset`, taken modulo the buffer size and rounded down to a
    // whole frame (4 bytes).
    void setPlayCursor(int byteOffset);

    bool isPlaying() const { return playing_; }
    bool isLocked() const { return memory_.locked; }
    int sampleRate() const { return memory_.sampleRate; }
    int bufferSize() const { return memory_.size(); }
    // The buffer as it would be played.
    const uint8_t* bufferBytes() const { return memory_.bytes.data(); }

  private:
    MemorySoundBuffer memory_;
    int cursor_ = 0; // bytes
    bool playing_ = false;
};
