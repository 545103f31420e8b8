// A private folder for one test, removed with everything in it at the end.
#pragma once

#include <cstdlib>
#include <string>

struct ScratchFolder {
    std::string path;
    ScratchFolder() {
        char pattern[] = "/tmp/hb-files-test-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~ScratchFolder() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string file(const std::string& name) const { return path + "/" + name; }
};
