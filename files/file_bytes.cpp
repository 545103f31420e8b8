// Reading files safely: whole into memory with a limit, or a few bytes at a time where needed.
#include "files/file_bytes.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Appends what is left of the file, reading at most one byte past `limit` so that a longer
// file (or one that grew while it was read) is noticed: false then, with `file` emptied.
bool readRest(int fd, FileBytes& file, size_t limit) {
    uint8_t block[1 << 16];
    while (file.copy.size() <= limit) {
        const size_t room = limit - file.copy.size();
        const size_t wanted = room < sizeof block ? room + 1 : sizeof block;
        ssize_t got = read(fd, block, wanted);
        if (got < 0 && errno == EINTR) continue;
        if (got == 0) break;
        if (got < 0) {
            file.readFailed = true;
            break;
        }
        file.copy.insert(file.copy.end(), block, block + got);
    }
    if (file.copy.size() > limit) {
        file = FileBytes{};
        return false;
    }
    file.data = file.copy.data();
    file.size = file.copy.size();
    return true;
}

} // namespace

int openRegularFile(const std::string& path, uint64_t& size) {
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return -1;
    }
    size = static_cast<uint64_t>(info.st_size);
    return fd;
}

bool readFileAt(int fd, uint64_t offset, void* out, size_t count) {
    uint8_t* bytes = static_cast<uint8_t*>(out);
    while (count > 0) {
        ssize_t got = pread(fd, bytes, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        bytes += got;
        offset += static_cast<uint64_t>(got);
        count -= static_cast<size_t>(got);
    }
    return true;
}

FileOpenResult openFileBytes(const std::string& path, FileBytes& file, size_t limit) {
    file = FileBytes{};
    uint64_t size = 0;
    int fd = openRegularFile(path, size);
    if (fd < 0) return FileOpenResult::CannotOpen;
    if (size > limit) {
        close(fd);
        return FileOpenResult::TooLarge;
    }
    // The size is only a hint: the file may grow or shrink while it is read.
    file.copy.reserve(static_cast<size_t>(size));
    const bool whole = readRest(fd, file, limit);
    close(fd);
    return whole ? FileOpenResult::Opened : FileOpenResult::TooLarge;
}

FileOpenResult readInputBytes(const std::string& path, FileBytes& file, size_t limit) {
    file = FileBytes{};
    const bool standardInput = path == "-";
    int fd = standardInput ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return FileOpenResult::CannotOpen;
    struct stat info;
    FileOpenResult result = FileOpenResult::CannotOpen;
    if (fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode))
        result = readRest(fd, file, limit) ? FileOpenResult::Opened : FileOpenResult::TooLarge;
    if (!standardInput) close(fd);
    return result;
}

void closeFileBytes(FileBytes& file) {
    file = FileBytes{};
}
