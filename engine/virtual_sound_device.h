// A sound device whose play cursor moves only when told: for tests and the headless renderer.
#pragma once

#include "engine/sound_device.h"

#include <cstdint>
#include <vector>

class VirtualSoundDevice final : public SoundDevice {
  public:
    bool createBuffer(int sampleRate, int bufferBytes) override;
    void releaseBuffer() override;
    void playLooping() override;
    void stop() override;
    int playCursor() override { return cursor_; }
    uint8_t* lockRegion(int offset, int bytes) override;
    void unlockRegion() override { locked_ = false; }
    bool isSilent() const override { return true; }

    // Puts the play cursor at `byteOffset`, taken modulo the buffer size and rounded down to a
    // whole frame (4 bytes).
    void setPlayCursor(int byteOffset);

    bool isPlaying() const { return playing_; }
    bool isLocked() const { return locked_; }
    int sampleRate() const { return sampleRate_; }
    int bufferSize() const { return static_cast<int>(buffer_.size()); }
    // The buffer as it would be played.
    const uint8_t* bufferBytes() const { return buffer_.data(); }

  private:
    std::vector<uint8_t> buffer_;
    int sampleRate_ = 0;
    int cursor_ = 0; // bytes
    bool playing_ = false;
    bool locked_ = false;
};
