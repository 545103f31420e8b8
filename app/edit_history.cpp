// The edit history: byte differences of the song's plain fields, shared samples, undo and redo.
#include "app/edit_history.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <set>
#include <utility>

#include "app/playback_moves.h"
#include "engine/sequencer.h"

namespace {

using Range = SongChange::Range;

constexpr size_t kCompareBlock = 256; // bytes compared at once while looking for changes
constexpr size_t kWord = 4;           // every plain field is a 4-byte float or integer
// Changed bytes closer than this join one range: a range's record costs about as much.
constexpr size_t kJoinGap = 32;
constexpr size_t kSampleBufferBytes = sizeof(float) * kMaxFileSamples;

struct ByteSpan {
    size_t offset;
    size_t length;
};

size_t offsetIn(const Song& song, const void* field) {
    return static_cast<size_t>(static_cast<const uint8_t*>(field) -
                               reinterpret_cast<const uint8_t*>(&song));
}

// The song's saved plain fields: from the tempo to the sound-file loops, and from the envelopes
// to the end. Between them lie the sample buffers (compared by buffer) and the voices' copies
// of the waveforms (rebuilt, not saved).
std::array<ByteSpan, 2> plainSpans(const Song& song) {
    const size_t first = offsetIn(song, &song.BPM);
    const size_t firstEnd = offsetIn(song, std::end(song.SoundFileLoop));
    const size_t second = offsetIn(song, &song.Envelope);
    const size_t secondEnd = offsetIn(song, std::end(song.Vel));
    return {{{first, firstEnd - first}, {second, secondEnd - second}}};
}

const uint8_t* bytesOf(const Song& song) {
    return reinterpret_cast<const uint8_t*>(&song);
}
uint8_t* bytesOf(Song& song) {
    return reinterpret_cast<uint8_t*>(&song);
}

void addChangedWord(std::vector<Range>& ranges, size_t offset) {
    if (!ranges.empty() && offset <= ranges.back().offset + ranges.back().length + kJoinGap) {
        ranges.back().length = static_cast<uint32_t>(offset + kWord - ranges.back().offset);
        return;
    }
    ranges.push_back({static_cast<uint32_t>(offset), static_cast<uint32_t>(kWord)});
}

// Appends the ranges where `was` and `now` differ within the span, skipping equal blocks whole.
void findChanges(const uint8_t* was, const uint8_t* now, ByteSpan span, std::vector<Range>& out) {
    const size_t end = span.offset + span.length;
    for (size_t block = span.offset; block < end; block += kCompareBlock) {
        const size_t blockEnd = std::min(end, block + kCompareBlock);
        if (std::memcmp(was + block, now + block, blockEnd - block) == 0) continue;
        for (size_t word = block; word < blockEnd; word += kWord)
            if (std::memcmp(was + word, now + word, kWord) != 0) addChangedWord(out, word);
    }
}

bool sameSamples(const FileSamples& a, const FileSamples& b) {
    return a.fileSampleCount == b.fileSampleCount && a.fileSamples == b.fileSamples;
}

// What changed from `was` to `now`, or an empty change.
SongChange changeBetween(const Song& was, const Song& now) {
    SongChange change;
    for (const ByteSpan& span : plainSpans(now))
        findChanges(bytesOf(was), bytesOf(now), span, change.ranges);
    for (const Range& range : change.ranges) {
        change.before.insert(change.before.end(), bytesOf(was) + range.offset,
                             bytesOf(was) + range.offset + range.length);
        change.after.insert(change.after.end(), bytesOf(now) + range.offset,
                            bytesOf(now) + range.offset + range.length);
    }
    for (int slot = 0; slot < kWaveformSlotCount; ++slot)
        if (!sameSamples(was.SoundFileVals[slot], now.SoundFileVals[slot]))
            change.samples.push_back({slot, was.SoundFileVals[slot], now.SoundFileVals[slot]});
    return change;
}

// Writes one side of the change into the song.
void writeChange(Song& song, const SongChange& change, bool after) {
    const std::vector<uint8_t>& bytes = after ? change.after : change.before;
    size_t at = 0;
    for (const Range& range : change.ranges) {
        std::memcpy(bytesOf(song) + range.offset, bytes.data() + at, range.length);
        at += range.length;
    }
    for (const SongChange::Samples& samples : change.samples)
        song.SoundFileVals[samples.slot] = after ? samples.after : samples.before;
}

size_t recordBytes(const EditStep& step) {
    const SongChange& c = step.change;
    return sizeof(EditStep) + step.name.capacity() + step.labelBefore.title.capacity() +
           step.labelBefore.path.capacity() + step.labelAfter.title.capacity() +
           step.labelAfter.path.capacity() + c.ranges.capacity() * sizeof(Range) +
           c.before.capacity() + c.after.capacity() +
           c.samples.capacity() * sizeof(SongChange::Samples);
}

} // namespace

EditHistory::EditHistory(size_t memoryLimit)
    : view_(std::make_unique<Song>()), memoryLimit_(memoryLimit) {
    setSongDefaults(*view_);
}

void EditHistory::restart(const Song& song, const SongLabel& label) {
    steps_.clear();
    recordBytes_ = 0;
    bufferUsers_.clear();
    position_ = 0;
    savedPosition_ = 0;
    *view_ = song;
    label_ = label;
}

void EditHistory::followPlayback(PlaybackMoves& moves) {
    Song& view = *view_;
    for (int i = 0; i < kInstrumentCount; ++i) {
        if (moves.muteFlipped[i]) view.Mute[i] = view.Mute[i] ? 0 : 1;
        for (int k = 0; k < moves.stackAdvances[i]; ++k) nextBank(view, i);
        if (moves.bankSet[i]) view.PatternIdx[i] = moves.bank[i];
    }
    moves = PlaybackMoves{};
}

bool EditHistory::record(const Song& song, const std::string& name, const SongLabel& label) {
    SongChange change = changeBetween(*view_, song);
    const SongLabel labelBefore = std::exchange(label_, label);
    // A label alone (a save under another name) is no edit.
    if (change.ranges.empty() && change.samples.empty()) return false;
    if (savedPosition_ > static_cast<long>(position_)) savedPosition_ = kNeverSaved;
    while (steps_.size() > position_) {
        forgetStep(steps_.back());
        steps_.pop_back();
    }
    writeChange(*view_, change, true);
    pushStep({name, std::move(change), labelBefore, label});
    ++position_;
    dropOldestBeyondLimit();
    return true;
}

bool EditHistory::differsFromView(const Song& song) const {
    const SongChange change = changeBetween(*view_, song);
    return !change.ranges.empty() || !change.samples.empty();
}

std::string EditHistory::undoName() const {
    return canUndo() ? steps_[position_ - 1].name : std::string();
}

std::string EditHistory::redoName() const {
    return canRedo() ? steps_[position_].name : std::string();
}

void EditHistory::applyStep(Song& song, const EditStep& step, bool forward) {
    writeChange(song, step.change, forward);
    writeChange(*view_, step.change, forward);
    // Only the steps that renamed the song (New, Open) take the label along: a save since keeps
    // its name and file.
    if (step.labelBefore != step.labelAfter) label_ = forward ? step.labelAfter : step.labelBefore;
}

const EditStep* EditHistory::undo(Song& song) {
    if (!canUndo()) return nullptr;
    const EditStep& step = steps_[--position_];
    applyStep(song, step, false);
    return &step;
}

const EditStep* EditHistory::redo(Song& song) {
    if (!canRedo()) return nullptr;
    const EditStep& step = steps_[position_++];
    applyStep(song, step, true);
    return &step;
}

void EditHistory::pushStep(EditStep step) {
    recordBytes_ += recordBytes(step);
    for (const SongChange::Samples& samples : step.change.samples)
        for (const FileSamples* side : {&samples.before, &samples.after})
            if (side->fileSamples) ++bufferUsers_[side->fileSamples.get()];
    steps_.push_back(std::move(step));
}

void EditHistory::forgetStep(const EditStep& step) {
    recordBytes_ -= recordBytes(step);
    for (const SongChange::Samples& samples : step.change.samples) {
        for (const FileSamples* side : {&samples.before, &samples.after}) {
            if (!side->fileSamples) continue;
            const auto user = bufferUsers_.find(side->fileSamples.get());
            if (--user->second == 0) bufferUsers_.erase(user);
        }
    }
}

size_t EditHistory::memoryBytes() const {
    size_t onlyHere = bufferUsers_.size();
    std::set<const float*> songBuffers;
    for (const FileSamples& held : view_->SoundFileVals)
        if (bufferUsers_.count(held.fileSamples.get()) &&
            songBuffers.insert(held.fileSamples.get()).second)
            --onlyHere;
    return recordBytes_ + onlyHere * kSampleBufferBytes;
}

// The newest step always stays, whatever it holds.
void EditHistory::dropOldestBeyondLimit() {
    while (steps_.size() > 1 && memoryBytes() > memoryLimit_) {
        forgetStep(steps_.front());
        steps_.pop_front();
        --position_;
        if (savedPosition_ != kNeverSaved) --savedPosition_;
    }
}
