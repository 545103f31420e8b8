// Autosave folders: made, locked, written atomically, found again after a crash, removed.
#include "files/autosave_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/file_bytes.h"
#include "files/locked_folder.h"
#include "files/safe_file_writer.h"
#include "files/song_file.h"

namespace {

constexpr size_t kMaxOriginalBytes = 4096; // a path and its line break
constexpr const char* kNewFolderPattern = ".new-XXXXXX";

// Makes every missing folder of `path` (mode 0700). True when `path` is a folder at the end.
bool makeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Opens a folder of ours (not a link) and takes its lock without waiting; -1 when it is someone
// else's, not a folder, or locked.
int lockFolderAt(int parent, const char* name) {
    int fd = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info;
    if (fstat(fd, &info) != 0 || info.st_uid != getuid() || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool writeTextFile(const std::string& path, const std::string& text) {
    SafeFileWriter writer;
    if (!beginSafeFile(writer, path)) return false;
    writeSafeFile(writer, text.data(), text.size());
    return commitSafeFile(writer);
}

// The first line of the "original" file; empty when it is missing, damaged or holds control
// bytes (it is read from disk, so anything may be in it).
std::string readOriginalPath(const std::string& folder) {
    FileBytes file;
    const std::string path = folder + "/" + kAutosaveOriginalName;
    if (openFileBytes(path, file, kMaxOriginalBytes) != FileOpenResult::Opened) return "";
    std::string text(reinterpret_cast<const char*>(file.data), file.size);
    closeFileBytes(file);
    const size_t end = text.find('\n');
    if (end != std::string::npos) text.resize(end);
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7f) return "";
    return text;
}

bool isAutosaveFolderName(const char* name) {
    return name[0] != '\0' && name[0] != '.';
}

} // namespace

std::string autosaveRoot(const char* xdgStateHome, const char* home) {
    if (xdgStateHome != nullptr && xdgStateHome[0] == '/')
        return std::string(xdgStateHome) + "/humbrook/autosave";
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.local/state/humbrook/autosave";
    return "";
}

std::string autosaveRootFromEnvironment() {
    return autosaveRoot(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

AutosaveFolder::~AutosaveFolder() {
    if (fd_ >= 0) close(fd_);
}

// The folder is made under a hidden name, locked, then renamed: another program never sees it
// unlocked and empty, which it would take for one left behind.
bool AutosaveFolder::prepare() {
    struct stat byPath, opened;
    if (fd_ >= 0 && lstat(path_.c_str(), &byPath) == 0 && fstat(fd_, &opened) == 0 &&
        byPath.st_ino == opened.st_ino && byPath.st_dev == opened.st_dev)
        return true;
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    path_.clear();
    if (root_.empty() || !makeFolders(root_)) return false;
    std::string temp = root_ + "/" + kNewFolderPattern;
    if (mkdtemp(temp.data()) == nullptr) return false;
    int fd = open(temp.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const std::string final = root_ + "/" + std::to_string(static_cast<long>(getpid())) + "-" +
                              temp.substr(temp.size() - 6);
    if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0 || rename(temp.c_str(), final.c_str()) != 0) {
        if (fd >= 0) close(fd);
        rmdir(temp.c_str());
        return false;
    }
    fd_ = fd;
    path_ = final;
    return true;
}

bool AutosaveFolder::write(const Song& song, const std::string& originalPath) {
    if (!prepare()) return false;
    if (!writeTextFile(path_ + "/" + kAutosaveOriginalName, originalPath + "\n")) return false;
    return writeSongFile(song, path_ + "/" + kAutosaveSongName) == SongFileWrite::Written;
}

bool AutosaveFolder::remove() {
    if (fd_ < 0) return true;
    const size_t slash = path_.rfind('/');
    int parent = open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent >= 0) {
        removeFolderAndFiles(parent, path_.c_str() + slash + 1, fd_);
        close(parent);
    }
    close(fd_);
    fd_ = -1;
    struct stat info;
    const bool gone = lstat(path_.c_str(), &info) != 0;
    path_.clear();
    return gone;
}

bool AutosaveFolder::adopt(const std::string& leftFolder) {
    const size_t slash = leftFolder.rfind('/');
    if (slash == std::string::npos || !prepare()) return false;
    const std::string parentPath = leftFolder.substr(0, slash);
    const std::string name = leftFolder.substr(slash + 1);
    int parent = open(parentPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0) return false;
    int left = lockFolderAt(parent, name.c_str());
    bool moved = false;
    if (left >= 0) {
        renameat(left, kAutosaveOriginalName, fd_, kAutosaveOriginalName);
        moved = renameat(left, kAutosaveSongName, fd_, kAutosaveSongName) == 0;
        if (moved) removeFolderAndFiles(parent, name.c_str(), left);
        close(left);
    }
    close(parent);
    return moved;
}

std::vector<LeftAutosave> findLeftAutosaves(const std::string& root) {
    std::vector<LeftAutosave> found;
    DIR* folders = root.empty() ? nullptr : opendir(root.c_str());
    if (!folders) return found;
    while (dirent* entry = readdir(folders)) {
        if (!isAutosaveFolderName(entry->d_name)) continue;
        int fd = lockFolderAt(dirfd(folders), entry->d_name);
        if (fd < 0) continue;
        struct stat song;
        if (fstatat(fd, kAutosaveSongName, &song, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(song.st_mode)) {
            const std::string folder = root + "/" + entry->d_name;
            found.push_back({folder, readOriginalPath(folder), song.st_mtime});
        } else {
            removeFolderAndFiles(dirfd(folders), entry->d_name, fd);
        }
        close(fd);
    }
    closedir(folders);
    std::stable_sort(found.begin(), found.end(), [](const LeftAutosave& a, const LeftAutosave& b) {
        return a.savedAt > b.savedAt;
    });
    return found;
}

bool discardLeftAutosave(const LeftAutosave& left) {
    const size_t slash = left.folder.rfind('/');
    if (slash == std::string::npos) return false;
    int parent = open(left.folder.substr(0, slash).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0) return false;
    const std::string name = left.folder.substr(slash + 1);
    int fd = lockFolderAt(parent, name.c_str());
    if (fd >= 0) {
        removeFolderAndFiles(parent, name.c_str(), fd);
        close(fd);
    }
    close(parent);
    struct stat info;
    return lstat(left.folder.c_str(), &info) != 0;
}
