// A sound device whose play cursor moves only when told: for tests and the headless renderer.
#include "engine/virtual_sound_device.h"

#include <cstddef>

bool VirtualSoundDevice::createBuffer(int sampleRate, int bufferBytes) {
    releaseBuffer();
    if (sampleRate <= 0 || bufferBytes <= 0 || bufferBytes % 4 != 0) return false;
    buffer_.assign(static_cast<size_t>(bufferBytes), 0);
    sampleRate_ = sampleRate;
    return true;
}

void VirtualSoundDevice::releaseBuffer() {
    buffer_.clear();
    buffer_.shrink_to_fit();
    sampleRate_ = 0;
    cursor_ = 0;
    playing_ = false;
    locked_ = false;
}

void VirtualSoundDevice::playLooping() {
    cursor_ = 0;
    playing_ = !buffer_.empty();
}

void VirtualSoundDevice::stop() {
    playing_ = false;
}

uint8_t* VirtualSoundDevice::lockRegion(int offset, int bytes) {
    if (locked_ || offset < 0 || bytes <= 0 || offset > bufferSize() - bytes) return nullptr;
    locked_ = true;
    return buffer_.data() + offset;
}

void VirtualSoundDevice::setPlayCursor(int byteOffset) {
    const int size = bufferSize();
    if (size == 0) {
        cursor_ = 0;
        return;
    }
    int offset = byteOffset % size;
    if (offset < 0) offset += size;
    cursor_ = offset - offset % 4;
}
