// A whole file read into memory, for the readers that parse from a buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct FileBytes {
    const uint8_t* data = nullptr;
    size_t size = 0;
    bool readFailed = false; // reading broke off: data holds what came before
    std::vector<uint8_t> copy;
};

// Reads the whole of `path`; false when it cannot be opened or is a folder. The file is copied
// rather than mapped, so another program cutting it short while it is read cannot fault us.
bool openFileBytes(const std::string& path, FileBytes& file);

// Frees the bytes.
void closeFileBytes(FileBytes& file);
