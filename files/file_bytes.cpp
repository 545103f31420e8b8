// A whole file read into memory, for the readers that parse from a buffer.
#include "files/file_bytes.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool openFileBytes(const std::string& path, FileBytes& file) {
    file = FileBytes{};
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(fd);
        return false;
    }
    // The size is only a hint: the file may grow or shrink while it is read.
    if (S_ISREG(info.st_mode) && info.st_size > 0)
        file.copy.reserve(static_cast<size_t>(info.st_size));
    uint8_t block[1 << 16];
    for (;;) {
        ssize_t got = read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got == 0) break;
        if (got < 0) {
            file.readFailed = true;
            break;
        }
        file.copy.insert(file.copy.end(), block, block + got);
    }
    close(fd);
    file.data = file.copy.data();
    file.size = file.copy.size();
    return true;
}

void closeFileBytes(FileBytes& file) {
    file = FileBytes{};
}
