// A sound device whose play cursor moves only when told: for tests and the headless renderer.
#include "engine/virtual_sound_device.h"

bool VirtualSoundDevice::createBuffer(int sampleRate, int bufferBytes) {
    releaseBuffer();
    return memory_.create(sampleRate, bufferBytes);
}

void VirtualSoundDevice::releaseBuffer() {
    memory_.release();
    cursor_ = 0;
    playing_ = false;
}

void VirtualSoundDevice::playLooping() {
    cursor_ = 0;
    playing_ = memory_.size() > 0;
}

void VirtualSoundDevice::stop() {
    playing_ = false;
}

void VirtualSoundDevice::setPlayCursor(int byteOffset) {
    cursor_ = memory_.frameOffset(byteOffset);
}
