// Replacing a file safely: write a temporary file beside it, flush it to disk, rename it over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file being written. Until commitSafeFile succeeds the target keeps its old contents.
struct SafeFileWriter {
    int fd = -1;
    std::string targetPath; // the file that is replaced (at the end of the links to it, if any)
    std::string tempPath;   // ".NAME.humbrook-tmp" beside it, locked while it is written
    unsigned mode = 0;      // permissions the new file gets: the old file's, else 0666 less umask
    bool failed = false;    // a write failed: commit refuses
};

// Creates the temporary file beside the file `path` names, following symbolic links so that the
// links stay. A temporary file left by an interrupted save of the same file is taken over; one
// that another running save holds makes this fail. Returns false on failure.
bool beginSafeFile(SafeFileWriter& writer, const std::string& path);

// Appends bytes; a failure is remembered and reported by the commit.
bool writeSafeFile(SafeFileWriter& writer, const void* data, size_t size);

// Overwrites bytes already written, `offset` bytes from the start (a header completed at the
// end); a failure is remembered as writeSafeFile's are.
bool rewriteSafeFile(SafeFileWriter& writer, uint64_t offset, const void* data, size_t size);

// Flushes the temporary file to disk, gives it its permissions and renames it over the target.
// On any failure the temporary file is removed and the target is left as it was.
bool commitSafeFile(SafeFileWriter& writer);

// Gives up: removes the temporary file.
void abandonSafeFile(SafeFileWriter& writer);
