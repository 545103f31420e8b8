// The autosave schedule and its worker thread.
#include "app/autosave.h"

#include "model/song.h"

bool autosaveDue(AutosaveSchedule& schedule, bool modified, double now, int intervalSeconds) {
    if (!modified) {
        schedule.waiting = false;
        return false;
    }
    if (!schedule.waiting) {
        schedule.waiting = true;
        schedule.dueAt = now + intervalSeconds;
        return false;
    }
    if (now < schedule.dueAt) return false;
    schedule.dueAt = now + intervalSeconds;
    return true;
}

Autosaver::Autosaver(std::string root) : root_(std::move(root)), folder_(root_) {
    if (!root_.empty()) worker_ = std::thread([this] { run(); });
}

Autosaver::~Autosaver() {
    if (!worker_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void Autosaver::tick(const Song& song, const std::string& songPath, bool modified, double now,
                     int intervalSeconds) {
    if (root_.empty()) return;
    if (!modified && hasAutosave_) {
        hasAutosave_ = false;
        post(Job::Remove, nullptr, "");
    }
    if (!autosaveDue(schedule_, modified, now, intervalSeconds)) return;
    bool busy;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        busy = working_ || job_ != Job::None;
    }
    if (busy) {
        schedule_.dueAt = now; // the copy is taken at the next tick instead
        return;
    }
    hasAutosave_ = true;
    post(Job::Write, std::make_unique<Song>(song), songPath);
}

void Autosaver::post(Job job, std::unique_ptr<Song> song, const std::string& songPath) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_ = job;
        song_ = std::move(song);
        songPath_ = songPath;
    }
    changed_.notify_all();
}

void Autosaver::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || job_ != Job::None; });
        if (job_ == Job::None) return; // stopping with nothing left to do
        const Job job = job_;
        std::unique_ptr<Song> song = std::move(song_);
        const std::string songPath = songPath_;
        job_ = Job::None;
        working_ = true;
        lock.unlock();
        bool written = false;
        if (job == Job::Write)
            written = folder_.write(*song, songPath);
        else
            folder_.remove();
        song.reset(); // the copy is freed here, not on the owner's thread
        lock.lock();
        working_ = false;
        if (written) ++writes_;
        changed_.notify_all();
    }
}

void Autosaver::waitIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !worker_.joinable() || (!working_ && job_ == Job::None); });
}

bool Autosaver::writeNow(const Song& song, const std::string& songPath) {
    if (root_.empty()) return false;
    waitIdle();
    const bool written = folder_.write(song, songPath);
    hasAutosave_ = hasAutosave_ || written;
    std::lock_guard<std::mutex> lock(mutex_);
    if (written) ++writes_;
    return written;
}

void Autosaver::removeAutosave() {
    waitIdle();
    folder_.remove();
    schedule_ = AutosaveSchedule{};
    hasAutosave_ = false;
}

bool Autosaver::adopt(const std::string& folder) {
    if (root_.empty()) return false;
    waitIdle();
    const bool adopted = folder_.adopt(folder);
    hasAutosave_ = hasAutosave_ || adopted;
    return adopted;
}

std::string Autosaver::folder() {
    waitIdle();
    return folder_.path();
}

int Autosaver::writesDone() {
    std::lock_guard<std::mutex> lock(mutex_);
    return writes_;
}
