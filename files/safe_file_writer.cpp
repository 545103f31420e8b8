// Replacing a file safely, so that a failed save never destroys the previous file.
#include "files/safe_file_writer.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxLinkHops = 40; // as the kernel allows when it follows links itself
constexpr int kOpenAttempts = 4; // a temporary file renamed or removed under us is opened anew
constexpr long kDefaultNameMax = 255;
constexpr const char kTempSuffix[] = ".humbrook-tmp";

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a save replaces: `path` with the symbolic links at its end followed, so the links stay
// and the file they name (even one that does not exist yet) is written. Empty for a link loop.
std::string followLinks(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<size_t>(length) >= sizeof target) return "";
        const std::string destination(target, static_cast<size_t>(length));
        path = destination[0] == '/' ? destination : folderOf(path) + destination;
    }
    return "";
}

unsigned permissionsFor(const std::string& target) {
    struct stat info;
    if (stat(target.c_str(), &info) == 0) return info.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

uint64_t nameHash(const std::string& name) {
    uint64_t hash = 14695981039346656037u; // 64-bit FNV-1a
    for (unsigned char c : name) hash = (hash ^ c) * 1099511628211u;
    return hash;
}

// ".NAME.humbrook-tmp" beside the target: one name per target, so a save finds and reuses what
// an interrupted save of the same file left, and never touches anything else. A name too long
// for the folder is cut (at a character boundary) and told apart from others by a hash.
std::string tempPathFor(const std::string& target) {
    const std::string folder = folderOf(target);
    const std::string name = target.substr(folder.size());
    long nameMax = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    if (nameMax <= 0) nameMax = kDefaultNameMax;
    const size_t room = static_cast<size_t>(nameMax) - 1 - (sizeof kTempSuffix - 1);
    if (name.size() <= room) return folder + "." + name + kTempSuffix;
    char hash[18];
    std::snprintf(hash, sizeof hash, "~%016llx", static_cast<unsigned long long>(nameHash(name)));
    size_t kept = room > sizeof hash - 1 ? room - (sizeof hash - 1) : 0;
    while (kept > 0 && (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80) --kept;
    return folder + "." + name.substr(0, kept) + hash + kTempSuffix;
}

// Opens the temporary file and locks it: a lock that cannot be had means another save of the
// same file is running. The lock dies with its process, so a killed save's file is free.
int openLockedTemp(const std::string& tempPath) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        int fd =
            open(tempPath.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd < 0) return -1;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);
            return -1;
        }
        // The file locked must still be the one of that name (a save that ended meanwhile has
        // renamed it over its target), and no other name may share it.
        struct stat opened, named;
        if (fstat(fd, &opened) == 0 && lstat(tempPath.c_str(), &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            if (S_ISREG(opened.st_mode) && opened.st_nlink == 1 && ftruncate(fd, 0) == 0) return fd;
            unlink(tempPath.c_str());
        }
        close(fd);
    }
    return -1;
}

// Writes all `size` bytes at `offset`, or at the end when it is negative; a failure is
// remembered so that the commit refuses.
bool writeAll(SafeFileWriter& writer, const void* data, size_t size, int64_t offset) {
    if (writer.fd < 0 || writer.failed) return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written =
            offset < 0 ? write(writer.fd, bytes, size) : pwrite(writer.fd, bytes, size, offset);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            writer.failed = true;
            return false;
        }
        bytes += written;
        if (offset >= 0) offset += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

void syncFolderOf(const std::string& path) {
    const std::string folder = folderOf(path);
    int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd); // the rename is durable once the folder is; a failure here loses nothing
    close(fd);
}

} // namespace

bool beginSafeFile(SafeFileWriter& writer, const std::string& path) {
    writer = SafeFileWriter{};
    writer.targetPath = followLinks(path);
    if (writer.targetPath.empty()) return false;
    struct stat info;
    if (stat(writer.targetPath.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return false;
    writer.mode = permissionsFor(writer.targetPath);
    const std::string tempPath = tempPathFor(writer.targetPath);
    writer.fd = openLockedTemp(tempPath);
    if (writer.fd < 0) return false;
    writer.tempPath = tempPath;
    return true;
}

bool writeSafeFile(SafeFileWriter& writer, const void* data, size_t size) {
    return writeAll(writer, data, size, -1);
}

bool rewriteSafeFile(SafeFileWriter& writer, uint64_t offset, const void* data, size_t size) {
    return writeAll(writer, data, size, static_cast<int64_t>(offset));
}

bool commitSafeFile(SafeFileWriter& writer) {
    if (writer.fd < 0) return false;
    bool ok = !writer.failed;
    ok = ok && fchmod(writer.fd, static_cast<mode_t>(writer.mode)) == 0;
    ok = ok && fsync(writer.fd) == 0;
    // Renamed while still locked, so no other save can take the file over in between.
    ok = ok && rename(writer.tempPath.c_str(), writer.targetPath.c_str()) == 0;
    if (!ok) unlink(writer.tempPath.c_str());
    close(writer.fd);
    writer.fd = -1;
    if (ok) syncFolderOf(writer.targetPath);
    return ok;
}

void abandonSafeFile(SafeFileWriter& writer) {
    if (writer.fd < 0) return;
    unlink(writer.tempPath.c_str());
    close(writer.fd);
    writer.fd = -1;
}
