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

// Points TMPDIR at `path` for the life of the record and puts the previous value back after.
struct TmpdirOverride {
    std::string previous;
    bool hadPrevious = false;
    explicit TmpdirOverride(const std::string& path) {
        const char* old = std::getenv("TMPDIR");
        hadPrevious = old != nullptr;
        if (old) previous = old;
        setenv("TMPDIR", path.c_str(), 1);
    }
    ~TmpdirOverride() {
        if (hadPrevious)
            setenv("TMPDIR", previous.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
};
