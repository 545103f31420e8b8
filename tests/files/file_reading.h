// Reading back what a test wrote: the bytes of a file, and whether anything is at a path.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

// The whole file; empty when it cannot be read.
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A file, folder or link (even a dangling one) is at `path`.
inline bool pathExists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}
