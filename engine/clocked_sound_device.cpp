// A silent sound device whose play cursor follows the wall clock, used when no audio device opens.
#include "engine/clocked_sound_device.h"

#include <cstddef>

bool ClockedSoundDevice::createBuffer(int sampleRate, int bufferBytes) {
    releaseBuffer();
    if (sampleRate <= 0 || bufferBytes <= 0 || bufferBytes % 4 != 0) return false;
    buffer_.assign(static_cast<size_t>(bufferBytes), 0);
    sampleRate_ = sampleRate;
    return true;
}

void ClockedSoundDevice::releaseBuffer() {
    buffer_.clear();
    buffer_.shrink_to_fit();
    sampleRate_ = 0;
    playing_ = false;
    locked_ = false;
    startByte_ = 0;
    stoppedByte_ = 0;
}

void ClockedSoundDevice::playLoopingFrom(int byteOffset) {
    if (buffer_.empty()) return;
    const int size = static_cast<int>(buffer_.size());
    int offset = byteOffset % size;
    if (offset < 0) offset += size;
    startByte_ = offset - offset % 4;
    startTime_ = Clock::now();
    playing_ = true;
}

void ClockedSoundDevice::stop() {
    stoppedByte_ = playCursor();
    playing_ = false;
}

int ClockedSoundDevice::playCursor() {
    if (buffer_.empty()) return 0;
    if (!playing_) return stoppedByte_;
    const int64_t bufferFrames = static_cast<int64_t>(buffer_.size()) / 4;
    const int64_t nanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - startTime_).count();
    // Whole seconds and the remainder separately, so that the product cannot overflow.
    const int64_t seconds = nanoseconds / 1000000000;
    const int64_t remainder = nanoseconds % 1000000000;
    const int64_t elapsedFrames =
        (seconds % bufferFrames) * sampleRate_ + remainder * sampleRate_ / 1000000000;
    const int64_t frame = (startByte_ / 4 + elapsedFrames) % bufferFrames;
    return static_cast<int>(frame * 4);
}

uint8_t* ClockedSoundDevice::lockRegion(int offset, int bytes) {
    const int size = static_cast<int>(buffer_.size());
    if (locked_ || offset < 0 || bytes <= 0 || offset > size - bytes) return nullptr;
    locked_ = true;
    return buffer_.data() + offset;
}
