// A whole file as bytes: mapped when it is a regular file, read otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct FileBytes {
    const uint8_t* data = nullptr;
    size_t size = 0;
    bool readFailed = false; // reading broke off: data holds what came before
    void* mapping = nullptr; // the mapped file, or nullptr when `copy` holds the bytes
    std::vector<uint8_t> copy;
};

// Opens `path` and makes its bytes available; false when it cannot be opened or is a folder.
// Mapping keeps a file of any size from being copied into memory.
bool openFileBytes(const std::string& path, FileBytes& file);

// Unmaps or frees the bytes.
void closeFileBytes(FileBytes& file);
