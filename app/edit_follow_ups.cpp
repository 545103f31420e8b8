// The table from song field to follow-up, and the follow-ups.
#include "app/edit_follow_ups.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/app_state.h"
#include "app/edit_history.h"
#include "app/mouse_wave_editor.h"
#include "app/playback.h"

namespace {

enum class FollowUp {
    Stream,              // BPM: typed digits rebuild the stream
    Waveform,            // a slot's knobs, type, sound file or loop: its playback waveform
    WaveformAndPrevious, // a slot's drawing: its own and the previous slot's (MIX blends it in)
    ChosenWaveform,      // an instrument's waveform choice: the chosen slot's playback waveform
    Knobs,               // an instrument's effect knobs
    Delays,              // an instrument's delay values
    BankInPlay,          // an instrument's bank in play: the arrow keys restart it
};

struct FieldFollowUp {
    size_t offset; // bytes from the start of the Song
    size_t size;   // bytes of the whole field
    int count;     // slots or instruments it holds, in equal parts
    FollowUp followUp;
};

template <typename Field>
FieldFollowUp field(const Song& song, const Field& member, int count, FollowUp followUp) {
    const auto* base = reinterpret_cast<const uint8_t*>(&song);
    const auto* at = reinterpret_cast<const uint8_t*>(&member);
    return {static_cast<size_t>(at - base), sizeof(Field), count, followUp};
}

// Every field an edit follows up; the others are read by the engine as it renders.
std::vector<FieldFollowUp> followUpTable(const Song& s) {
    using F = FollowUp;
    constexpr int kSlots = kWaveformSlotCount;
    constexpr int kInstruments = kInstrumentCount;
    return {
        field(s, s.BPM, 1, F::Stream),
        field(s, s.Sound, kSlots, F::WaveformAndPrevious),
        field(s, s.SoundEffect, kSlots, F::Waveform),
        field(s, s.SoundType, kSlots, F::Waveform),
        field(s, s.SoundFileParams, kSlots, F::Waveform),
        field(s, s.SoundFileLoop, kSlots, F::Waveform),
        field(s, s.SoundIdx, kInstruments, F::ChosenWaveform),
        field(s, s.Effect, kInstruments, F::Knobs),
        field(s, s.DelayParams, kInstruments, F::Delays),
        field(s, s.PatternIdx, kInstruments, F::BankInPlay),
    };
}

void markSlot(FollowUps& out, int slot) {
    if (slot >= 0 && slot < kWaveformSlotCount) out.waveform[slot] = true;
}

void mark(FollowUps& out, const Song& song, FollowUp followUp, int index) {
    switch (followUp) {
    case FollowUp::Stream:
        out.stream = true;
        break;
    case FollowUp::Waveform:
        markSlot(out, index);
        break;
    case FollowUp::WaveformAndPrevious:
        markSlot(out, index);
        markSlot(out, previousWaveformSlot(index));
        break;
    case FollowUp::ChosenWaveform:
        markSlot(out, song.SoundIdx[index]);
        break;
    case FollowUp::Knobs:
        out.knobs[index] = true;
        break;
    case FollowUp::Delays:
        out.delays[index] = true;
        break;
    case FollowUp::BankInPlay:
        out.bankInPlay[index] = true;
        break;
    }
}

} // namespace

FollowUps followUpsOf(const Song& song, const SongChange& change) {
    FollowUps out;
    const std::vector<FieldFollowUp> table = followUpTable(song);
    for (const SongChange::Range& range : change.ranges) {
        const size_t first = range.offset, end = range.offset + range.length;
        for (const FieldFollowUp& f : table) {
            if (end <= f.offset || first >= f.offset + f.size) continue;
            const size_t part = f.size / static_cast<size_t>(f.count);
            const size_t from = (first > f.offset ? first - f.offset : 0) / part;
            const size_t to = (std::min(end, f.offset + f.size) - f.offset - 1) / part;
            for (size_t index = from; index <= to; ++index)
                mark(out, song, f.followUp, static_cast<int>(index));
        }
    }
    for (const SongChange::Samples& samples : change.samples) markSlot(out, samples.slot);
    return out;
}

void runFollowUps(AppState& app, const FollowUps& followUps) {
    for (int slot = 0; slot < kWaveformSlotCount; ++slot)
        if (followUps.waveform[slot]) rebuildPlaybackWaveform(app, slot);
    if (followUps.stream) rebuildStream(app);
    for (int instrument = 0; instrument < kInstrumentCount; ++instrument) {
        if (followUps.knobs[instrument]) recordKnobChange(app, instrument);
        if (followUps.delays[instrument]) recordDelayChange(app, instrument);
        if (followUps.bankInPlay[instrument] && app.engine.playing) restartAtBank(app, instrument);
    }
}
