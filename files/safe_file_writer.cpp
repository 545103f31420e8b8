// Replacing a file safely, so that a failed save never destroys the previous file.
#include "files/safe_file_writer.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kMaxLinkHops = 40; // as the kernel allows when it follows links itself

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
    std::vector<char> name(writer.targetPath.begin(), writer.targetPath.end());
    const char suffix[] = ".tmp-XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix); // with the terminator
    writer.fd = mkostemp(name.data(), O_CLOEXEC);
    if (writer.fd < 0) return false;
    writer.tempPath = name.data();
    return true;
}

bool writeSafeFile(SafeFileWriter& writer, const void* data, size_t size) {
    if (writer.fd < 0 || writer.failed) return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t written = write(writer.fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            writer.failed = true;
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool commitSafeFile(SafeFileWriter& writer) {
    if (writer.fd < 0) return false;
    bool ok = !writer.failed;
    ok = ok && fchmod(writer.fd, static_cast<mode_t>(writer.mode)) == 0;
    ok = ok && fsync(writer.fd) == 0;
    ok = close(writer.fd) == 0 && ok;
    writer.fd = -1;
    ok = ok && rename(writer.tempPath.c_str(), writer.targetPath.c_str()) == 0;
    if (!ok) {
        unlink(writer.tempPath.c_str());
        return false;
    }
    syncFolderOf(writer.targetPath);
    return true;
}

void abandonSafeFile(SafeFileWriter& writer) {
    if (writer.fd >= 0) close(writer.fd);
    writer.fd = -1;
    if (!writer.tempPath.empty()) unlink(writer.tempPath.c_str());
}
