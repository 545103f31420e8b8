// Autosave: while the song is modified, a copy of it is written every so many seconds by a
// worker thread, so that neither the window nor the sound waits for the disk.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "files/autosave_store.h"

struct Song;

// When the next autosave is due: `intervalSeconds` after the song was first seen modified, then
// again every interval while it stays modified. Seen unmodified, nothing is due.
struct AutosaveSchedule {
    bool waiting = false; // the song is modified and a copy is due at dueAt
    double dueAt = 0;     // seconds on the owner's clock
};

// Advances the schedule to `now` for a song that is (or is not) modified. True when a copy is
// due; the next one is then planned.
bool autosaveDue(AutosaveSchedule& schedule, bool modified, double now, int intervalSeconds);

class Autosaver {
  public:
    // Autosaves go to a folder of this program under `root`; an empty root disables them.
    explicit Autosaver(std::string root);
    ~Autosaver(); // waits for a write in progress; the autosave stays
    Autosaver(const Autosaver&) = delete;
    Autosaver& operator=(const Autosaver&) = delete;

    // Called by the owner's timer (about once a second) and after commands: hands a copy of the
    // song to the worker when one is due; once the song is no longer modified (saved, or let go
    // by New or Open), has its autosave removed. Never waits for the disk; a copy due while the
    // worker still writes the last one is taken at the next tick.
    void tick(const Song& song, const std::string& songPath, bool modified, double now,
              int intervalSeconds);
    // Writes a copy now and waits for it: before the program ends on a signal. True when written.
    bool writeNow(const Song& song, const std::string& songPath);
    // Waits until the worker has nothing left to do.
    void waitIdle();
    // The program ends normally, or the user discarded the song: the autosave is removed.
    void removeAutosave();
    // The left autosave in `folder` becomes this program's own (after Recover).
    bool adopt(const std::string& folder);
    // The root it writes under (empty: disabled).
    const std::string& root() const { return root_; }
    // This program's autosave folder; empty while it has none.
    std::string folder();
    // Autosaves written so far (for tests and measurements).
    int writesDone();

  private:
    enum class Job { None, Write, Remove };
    void run();
    void post(Job job, std::unique_ptr<Song> song, const std::string& songPath);

    std::string root_;
    AutosaveSchedule schedule_;
    bool hasAutosave_ = false; // a copy was handed over or adopted and not removed since
    std::mutex mutex_;
    std::condition_variable changed_;
    Job job_ = Job::None;        // the next job; guarded by mutex_
    bool working_ = false;       // the worker is doing a job; guarded by mutex_
    bool stopping_ = false;      // guarded by mutex_
    std::unique_ptr<Song> song_; // the copy to write; guarded by mutex_
    std::string songPath_;       // the song's own file; guarded by mutex_
    int writes_ = 0;             // guarded by mutex_
    AutosaveFolder folder_;      // used by the worker, and by the owner only while idle
    std::thread worker_;
};
