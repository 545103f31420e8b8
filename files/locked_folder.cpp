// Removing a folder that a program which no longer runs left behind.
#include "files/locked_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>

void removeFolderAndFiles(int parent, const char* name, int fd) {
    int listFd = dup(fd);
    DIR* inside = listFd >= 0 ? fdopendir(listFd) : nullptr;
    if (!inside) {
        if (listFd >= 0) close(listFd);
        return;
    }
    while (dirent* entry = readdir(inside)) {
        const std::string entryName = entry->d_name;
        if (entryName != "." && entryName != "..") unlinkat(fd, entry->d_name, 0);
    }
    closedir(inside);
    unlinkat(parent, name, AT_REMOVEDIR);
}
