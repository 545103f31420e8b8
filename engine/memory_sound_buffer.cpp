// The in-memory looping buffer behind the silent sound devices (virtual and clocked).
#include "engine/memory_sound_buffer.h"

#include <cstddef>

bool MemorySoundBuffer::create(int rate, int bufferBytes) {
    release();
    if (rate <= 0 || bufferBytes <= 0 || bufferBytes % 4 != 0) return false;
    bytes.assign(static_cast<size_t>(bufferBytes), 0);
    sampleRate = rate;
    return true;
}

void MemorySoundBuffer::release() {
    bytes.clear();
    bytes.shrink_to_fit();
    sampleRate = 0;
    locked = false;
}

uint8_t* MemorySoundBuffer::lock(int offset, int count) {
    if (locked || offset < 0 || count <= 0 || offset > size() - count) return nullptr;
    locked = true;
    return bytes.data() + offset;
}

int MemorySoundBuffer::frameOffset(int byteOffset) const {
    const int total = size();
    if (total == 0) return 0;
    int offset = byteOffset % total;
    if (offset < 0) offset += total;
    return offset - offset % 4;
}
