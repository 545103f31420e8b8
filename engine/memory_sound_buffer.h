// The in-memory looping buffer behind the silent sound devices (virtual and clocked).
#pragma once

#include <cstdint>
#include <vector>

struct MemorySoundBuffer {
    std::vector<uint8_t> bytes; // 16-bit interleaved stereo frames of 4 bytes
    int sampleRate = 0;         // frames per second, 0 without buffer
    bool locked = false;

    // Replaces the buffer by `bufferBytes` bytes of silence (a positive multiple of 4); false,
    // and no buffer, otherwise.
    bool create(int rate, int bufferBytes);
    // Frees the buffer and unlocks.
    void release();
    // Bytes offset .. offset+count-1 when they lie inside the buffer and it is not locked yet.
    uint8_t* lock(int offset, int count);
    // `byteOffset` modulo the buffer size, rounded down to a whole frame; 0 without buffer.
    int frameOffset(int byteOffset) const;
    int size() const { return static_cast<int>(bytes.size()); }
};
