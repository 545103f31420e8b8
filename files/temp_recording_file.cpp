// The temporary recording file: where it lives and how it is opened safely.
#include "files/temp_recording_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string privateTempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string folder = (base && *base) ? base : "/tmp";
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder + "/humbrook-" + std::to_string(static_cast<unsigned long>(getuid()));
}

// The folder must be a directory (not a link to one), ours, and closed to group and others;
// otherwise someone else could swap the file underneath us.
bool isSafeFolder(const std::string& folder) {
    struct stat info;
    if (lstat(folder.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

std::FILE* openWithoutFollowingLinks(int flags, const char* mode) {
    if (!preparePrivateTempFolder()) return nullptr;
    int fd = open(tempRecordingPath().c_str(), flags | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, mode);
    if (!file) close(fd);
    return file;
}

} // namespace

std::string tempRecordingPath() {
    return privateTempFolder() + "/" + kTempRecordingName;
}

bool preparePrivateTempFolder() {
    const std::string folder = privateTempFolder();
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    return isSafeFolder(folder);
}

std::FILE* createTempRecordingFile() {
    return openWithoutFollowingLinks(O_WRONLY | O_CREAT | O_TRUNC, "w");
}

std::FILE* openTempRecordingFileForReading() {
    return openWithoutFollowingLinks(O_RDONLY, "r");
}
