// A silent sound device whose play cursor follows the wall clock, used when no audio device opens.
#include "engine/clocked_sound_device.h"

bool ClockedSoundDevice::createBuffer(int sampleRate, int bufferBytes) {
    releaseBuffer();
    return memory_.create(sampleRate, bufferBytes);
}

void ClockedSoundDevice::releaseBuffer() {
    memory_.release();
    playing_ = false;
    startByte_ = 0;
    stoppedByte_ = 0;
}

void ClockedSoundDevice::playLoopingFrom(int byteOffset) {
    if (memory_.size() == 0) return;
    startByte_ = memory_.frameOffset(byteOffset);
    startTime_ = Clock::now();
    playing_ = true;
}

void ClockedSoundDevice::stop() {
    stoppedByte_ = playCursor();
    playing_ = false;
}

int ClockedSoundDevice::playCursor() {
    if (memory_.size() == 0) return 0;
    if (!playing_) return stoppedByte_;
    const int64_t bufferFrames = memory_.size() / 4;
    const int64_t sampleRate = memory_.sampleRate;
    const int64_t nanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - startTime_).count();
    // Whole seconds and the remainder separately, so that the product cannot overflow.
    const int64_t seconds = nanoseconds / 1000000000;
    const int64_t remainder = nanoseconds % 1000000000;
    const int64_t elapsedFrames =
        (seconds % bufferFrames) * sampleRate + remainder * sampleRate / 1000000000;
    const int64_t frame = (startByte_ / 4 + elapsedFrames) % bufferFrames;
    return static_cast<int>(frame * 4);
}
