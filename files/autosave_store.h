// Autosaves on disk: one locked folder per running program under the user's state folder, the
// song written into it atomically beside the path of the file it belongs to, and the autosaves
// that programs no longer running left behind.
#pragma once

#include <ctime>
#include <string>
#include <vector>

struct Song;

// The files inside an autosave folder.
inline constexpr const char* kAutosaveSongName = "song.zwv";
inline constexpr const char* kAutosaveOriginalName = "original"; // the song's own file, one line

// $XDG_STATE_HOME/humbrook/autosave, else $HOME/.local/state/humbrook/autosave (a relative
// XDG_STATE_HOME is ignored, as the base directory convention says); empty when neither helps.
std::string autosaveRoot(const char* xdgStateHome, const char* home);
// The same from the environment.
std::string autosaveRootFromEnvironment();

// This program's autosave folder. It is made on the first write, named after the process with a
// unique ending, and locked (flock) for as long as the record lives: a folder whose lock nobody
// holds belongs to a program that no longer runs, whatever pid now has its number.
class AutosaveFolder {
  public:
    explicit AutosaveFolder(std::string root) : root_(std::move(root)) {}
    ~AutosaveFolder(); // releases the lock; the files stay
    AutosaveFolder(const AutosaveFolder&) = delete;
    AutosaveFolder& operator=(const AutosaveFolder&) = delete;

    // Writes the song and the path of its own file (empty: never saved), each through a
    // temporary file renamed into place. False when the folder cannot be made or a write fails;
    // an earlier autosave then stays as it was.
    bool write(const Song& song, const std::string& originalPath);
    // Removes the autosave and the folder. True when nothing of it is left.
    bool remove();
    // Whether this program has an autosave folder now.
    bool exists() const { return fd_ >= 0; }
    // The folder's path; empty before the first write.
    const std::string& path() const { return path_; }
    // Makes the folder (if needed) and moves a left autosave's files into it, removing the
    // left folder: the song recovered from it is this program's autosave from now on.
    bool adopt(const std::string& leftFolder);

  private:
    bool prepare();

    std::string root_;
    std::string path_;
    int fd_ = -1; // the open folder, holding the lock
};

// An autosave left by a program that no longer runs.
struct LeftAutosave {
    std::string folder;       // its folder under the autosave root
    std::string originalPath; // the file the song belongs to; empty: it was never saved
    std::time_t savedAt = 0;  // when the song was written
};

// The autosaves under `root` whose folders nobody holds locked, newest first. Unlocked folders
// without a song (a program that ended before its first autosave finished) are removed.
std::vector<LeftAutosave> findLeftAutosaves(const std::string& root);

// Removes a left autosave's folder with its files, if nobody has locked it since. True when it
// is gone.
bool discardLeftAutosave(const LeftAutosave& left);
