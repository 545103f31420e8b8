// The song's edit history: each step holds what one gesture changed, for undo and redo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/song.h"

struct PlaybackMoves;

inline constexpr size_t kHistoryMemoryLimit = size_t{64} << 20; // bytes the steps may hold

// What one step changed: byte ranges of the song's saved plain fields (offsets from the start of
// the Song) with their bytes before and after, and the slots whose sound-file samples it
// replaced. Samples are shared with the song and other steps, never copied.
struct SongChange {
    struct Range {
        uint32_t offset;
        uint32_t length;
    };
    struct Samples {
        int slot; // 0..7
        FileSamples before;
        FileSamples after;
    };
    std::vector<Range> ranges;   // in increasing offset, not overlapping
    std::vector<uint8_t> before; // the ranges' bytes before the step, one range after another
    std::vector<uint8_t> after;  // and after it
    std::vector<Samples> samples;
};

// What names the song outside it: the window title without the modified mark, and the file the
// song belongs to (File > Save writes there; empty for a song never saved).
struct SongLabel {
    std::string title;
    std::string path;
    bool operator==(const SongLabel&) const = default;
};

struct EditStep {
    std::string name; // the action, as the Edit menu names it: "Draw Notes"
    SongChange change;
    SongLabel labelBefore; // New and Open change the label; undo takes it back
    SongLabel labelAfter;
};

// The steps, the history's view of the song (the song as the last step left it), and the point
// the song was last opened or saved at.
class EditHistory {
  public:
    explicit EditHistory(size_t memoryLimit = kHistoryMemoryLimit);

    // Forgets every step: the song as it is now, with this label, is unmodified.
    void restart(const Song& song, const SongLabel& label);

    // Replays what playback changed in the song on the view, so that the sequencer's moves are
    // never taken for an edit; empties `moves`.
    void followPlayback(PlaybackMoves& moves);

    // Compares the song (and the label) with the view; when anything saved changed, records one
    // step named `name` after the current one, dropping the redo steps and, beyond the memory
    // limit, the oldest steps. Returns true when a step was recorded.
    bool record(const Song& song, const std::string& name, const SongLabel& label);

    // Whether the song differs in anything saved from the view: a gesture not yet recorded
    // changed it.
    bool differsFromView(const Song& song) const;

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    // Name of the step undo (redo) would apply; empty when there is none.
    std::string undoName() const;
    std::string redoName() const;

    // Writes the step back into the song (only the bytes and samples it changed) and returns
    // it, or nullptr when there is nothing to undo (redo).
    const EditStep* undo(Song& song);
    const EditStep* redo(Song& song);

    // The song differs from what was last opened or saved: it is at another step than then.
    bool modified() const { return savedPosition_ != static_cast<long>(position_); }
    // The song as it is now was saved (or opened).
    void markSaved() { savedPosition_ = static_cast<long>(position_); }
    // The song counts as modified until the next save, whatever undo does (a recovered song).
    void markModified() { savedPosition_ = kNeverSaved; }

    size_t stepCount() const { return steps_.size(); }
    // Bytes the steps hold: their records, and once each sample buffer that only they keep alive
    // (not the song as it is now).
    size_t memoryBytes() const;
    const SongLabel& label() const { return label_; }

  private:
    static constexpr long kNeverSaved = -1;

    void applyStep(Song& song, const EditStep& step, bool forward);
    void dropOldestBeyondLimit();
    void pushStep(EditStep step);
    void forgetStep(const EditStep& step);

    std::deque<EditStep> steps_;
    size_t position_ = 0;        // steps applied: undo takes back steps_[position_ - 1]
    long savedPosition_ = 0;     // the position last opened or saved at, or kNeverSaved
    std::unique_ptr<Song> view_; // the song as the history last saw it
    SongLabel label_;
    size_t recordBytes_ = 0;                  // the steps' records without their sample buffers
    std::map<const float*, int> bufferUsers_; // sample buffers the steps hold: sides holding each
    size_t memoryLimit_;
};
