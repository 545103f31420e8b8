// The temporary recording file: where it lives and how it is opened safely.
#include "files/temp_recording_file.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/locked_folder.h"

namespace {

// This program's folder, open and locked for as long as the program runs: the lock, not the
// pid in the name, tells other programs that the folder is in use (a pid is reused).
struct ProgramFolder {
    std::string path; // the folder's path when it was made; empty before that
    int fd = -1;      // the open folder, holding an exclusive flock
};

ProgramFolder& programFolder() {
    static ProgramFolder folder;
    return folder;
}

std::string userTempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string folder = (base && *base) ? base : "/tmp";
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder + "/humbrook-" + std::to_string(static_cast<unsigned long>(getuid()));
}

std::string programFolderPath() {
    return userTempFolder() + "/" + std::to_string(static_cast<long>(getpid()));
}

// A folder must be a directory (not a link to one), ours, and closed to group and others;
// otherwise someone else could swap the file underneath us.
bool isSafeFolder(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

bool isSafeFolderPath(const std::string& folder) {
    struct stat info;
    return lstat(folder.c_str(), &info) == 0 && isSafeFolder(info);
}

// Whether `path` still names the folder open as `fd` (nobody removed or replaced it).
bool pathNamesFolder(const std::string& path, int fd) {
    struct stat byPath, open;
    return lstat(path.c_str(), &byPath) == 0 && fstat(fd, &open) == 0 &&
           byPath.st_dev == open.st_dev && byPath.st_ino == open.st_ino && isSafeFolder(open);
}

bool isProgramFolderName(const char* name) {
    if (*name == '\0') return false;
    for (; *name; ++name)
        if (*name < '0' || *name > '9') return false;
    return true;
}

// Removes the folders of programs that no longer run: those whose lock nobody holds.
void removeStaleFolders(const std::string& userFolder, const std::string& ownName) {
    DIR* folders = opendir(userFolder.c_str());
    if (!folders) return;
    while (dirent* entry = readdir(folders)) {
        if (!isProgramFolderName(entry->d_name) || ownName == entry->d_name) continue;
        int fd =
            openat(dirfd(folders), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info;
        if (fstat(fd, &info) == 0 && info.st_uid == getuid() && flock(fd, LOCK_EX | LOCK_NB) == 0)
            removeFolderAndFiles(dirfd(folders), entry->d_name, fd);
        close(fd);
    }
    closedir(folders);
}

// Makes, opens and locks this program's folder `path`. A program removing a stale folder of the
// same name may hold its lock a moment and leave the path empty: then it is made again.
int makeLockedFolder(const std::string& path) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return -1;
        int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) continue;
        if (fd < 0) return -1;
        struct stat info;
        if (fstat(fd, &info) != 0 || !isSafeFolder(info)) {
            close(fd);
            return -1;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);
            usleep(20000); // a program removing the stale folder of this name holds it a moment
            continue;
        }
        if (pathNamesFolder(path, fd)) return fd;
        close(fd);
    }
    return -1;
}

// The open folder of this program, made (and stale ones removed) on first use and again when
// $TMPDIR changed or the folder went away. -1 when it cannot be made safe.
int openProgramFolder() {
    ProgramFolder& own = programFolder();
    const std::string path = programFolderPath();
    const std::string userFolder = userTempFolder();
    if (mkdir(userFolder.c_str(), 0700) != 0 && errno != EEXIST) return -1;
    if (!isSafeFolderPath(userFolder)) return -1;
    if (own.fd >= 0 && own.path == path && pathNamesFolder(path, own.fd)) return own.fd;
    if (own.fd >= 0) close(own.fd); // releases the lock on a folder no longer ours to use
    own = ProgramFolder{};
    int fd = makeLockedFolder(path);
    if (fd < 0) return -1;
    own = ProgramFolder{path, fd};
    removeStaleFolders(userFolder, path.substr(userFolder.size() + 1));
    return fd;
}

std::FILE* openWithoutFollowingLinks(int flags, const char* mode) {
    int folder = openProgramFolder();
    if (folder < 0) return nullptr;
    int fd = openat(folder, kTempRecordingName, flags | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, mode);
    if (!file) close(fd);
    return file;
}

} // namespace

std::string tempRecordingPath() {
    return programFolderPath() + "/" + kTempRecordingName;
}

bool preparePrivateTempFolder() {
    return openProgramFolder() >= 0;
}

std::FILE* createTempRecordingFile() {
    return openWithoutFollowingLinks(O_WRONLY | O_CREAT | O_TRUNC, "w");
}

std::FILE* openTempRecordingFileForReading() {
    return openWithoutFollowingLinks(O_RDONLY, "r");
}
