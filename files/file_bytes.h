// Reading files safely: whole into memory with a limit, or a few bytes at a time where needed.
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

enum class FileOpenResult {
    Opened,     // the bytes are in the FileBytes
    CannotOpen, // missing, unreadable, or not a regular file (a folder, a pipe, a device)
    TooLarge,   // more than the limit: nothing was allocated for it
};

// Reads the whole of `path`, at most `limit` bytes. Opening never waits (a pipe with no writer
// is refused at once) and only regular files are read, so neither a device that never ends nor
// a file larger than the limit can take the memory. The file is copied rather than mapped, so
// another program cutting it short while it is read cannot fault us.
FileOpenResult openFileBytes(const std::string& path, FileBytes& file, size_t limit);

// Opens `path` for reading without waiting and returns its descriptor when it is a regular file,
// with the file's size; else -1. The caller closes it.
int openRegularFile(const std::string& path, uint64_t& size);

// Reads exactly `count` bytes at `offset`; false on a read error or when the file ends first.
bool readFileAt(int fd, uint64_t offset, void* out, size_t count);

// Reads the whole of an input that may also be a pipe or a terminal (a script; "-" is standard
// input), at most `limit` bytes. Such an input may make the read wait; a folder is refused.
FileOpenResult readInputBytes(const std::string& path, FileBytes& file, size_t limit);

// Frees the bytes.
void closeFileBytes(FileBytes& file);
