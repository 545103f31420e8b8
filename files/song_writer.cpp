// Writes the song file's text: keyword lines in a fixed order, numbers in fixed formats.
#include "files/song_writer.h"

#include "files/number_text.h"
#include "model/song.h"

namespace {

// Decimals of the song file's float formats.
constexpr int kBpmDecimals = 5;        // "%1.5f"
constexpr int kShortDecimals = 3;      // "%1.3f"
constexpr int kLongDecimals = 6;       // "%f"
constexpr int kFileSampleDecimals = 2; // "%4.2f"

// A keyword line start: "Keyword index".
void appendKey(std::string& out, const char* keyword, int index) {
    out += keyword;
    out += ' ';
    appendInt(out, index);
}

void appendIntField(std::string& out, int32_t value) {
    out += ' ';
    appendInt(out, value);
}

void appendFloatField(std::string& out, float value, int decimals) {
    out += ' ';
    appendFixed(out, value, decimals);
}

// Values each followed by a blank, as the list lines write them.
void appendFloatList(std::string& out, const float* values, int count, int decimals) {
    for (int i = 0; i < count; ++i) {
        appendFixed(out, values[i], decimals);
        out += ' ';
    }
}

// "Keyword index count v v ... " and the line end: the values of a row of knobs.
void appendKnobLine(std::string& out, const char* keyword, int index, const KnobRecord* knobs,
                    int count, int decimals) {
    appendKey(out, keyword, index);
    appendIntField(out, count);
    out += ' ';
    for (int k = 0; k < count; ++k) {
        appendFixed(out, knobs[k].value, decimals);
        out += ' ';
    }
    out += '\n';
}

void appendNotes(std::string& out, int instrument, const NoteGrid& grid) {
    int count = 0;
    for (int step = 0; step < kGridSteps; ++step)
        for (int row = 0; row < kNoteRows; ++row) count += grid.notePosition[step][row] != 0;
    appendKey(out, "NumNotes", instrument);
    appendIntField(out, count);
    out += '\n';
    for (int step = 0; step < kGridSteps; ++step) {
        for (int row = 0; row < kNoteRows; ++row) {
            if (grid.notePosition[step][row] == 0) continue;
            appendInt(out, step);
            appendIntField(out, row);
            appendIntField(out, grid.notePosition[step][row]);
            appendIntField(out, grid.nextRow[step][row]);
            appendIntField(out, grid.noteLength[step][row]);
            out += '\n';
        }
    }
}

void appendInstrument(std::string& out, const Song& song, int i) {
    const struct {
        const char* keyword;
        int32_t value;
    } intLines[] = {{"Oct", song.Oct[i]},
                    {"Mute", song.Mute[i]},
                    {"BPMsr", song.BPMsr[i]},
                    {"EnvIdx", song.EnvIdx[i]},
                    {"SoundIdx", song.SoundIdx[i]}};
    appendKey(out, "Volume", i);
    appendFloatField(out, song.Volume[i], kShortDecimals);
    out += '\n';
    for (const auto& line : intLines) {
        appendKey(out, line.keyword, i);
        appendIntField(out, line.value);
        out += '\n';
    }
    appendKey(out, "BGR", i);
    for (float channel : song.BGR[i]) appendFloatField(out, channel, kShortDecimals);
    out += '\n';
    appendKey(out, "EffectDim", i);
    appendIntField(out, song.EffectDim[i].xKnob);
    appendIntField(out, song.EffectDim[i].yKnob);
    out += '\n';

    appendKey(out, "DelayParams", i);
    appendIntField(out, kDelayCount);
    appendIntField(out, kDelayValues);
    out += ' ';
    appendFloatList(out, &song.DelayParams[i][0][0], kDelayCount * kDelayValues, kLongDecimals);
    out += '\n';

    const BankStack& stack = song.PatternStack[i];
    appendKey(out, "PatternStack", i);
    appendIntField(out, kStackEntries);
    appendIntField(out, stack.stackMode);
    out += ' ';
    for (int32_t entry : stack.entries) {
        appendInt(out, entry);
        out += ' ';
    }
    out += '\n';
    appendKey(out, "PatternIdx", i);
    appendIntField(out, song.PatternIdx[i]);
    out += '\n';

    appendKnobLine(out, "Effect", i, song.Effect[i], kEffectKnobCount, kShortDecimals);

    appendNotes(out, i, song.noteGrid[i]);
    appendKey(out, "Pan", i);
    out += '\n';
    appendFloatList(out, song.Pan[i], kGridSteps, kShortDecimals);
    out += '\n';
    appendKey(out, "Vel", i);
    out += '\n';
    appendFloatList(out, song.Vel[i], kGridSteps, kShortDecimals);
    out += '\n';

    const ChordKeySet& chord = song.Chorus[i];
    // Never write beyond the record's room, whatever the count says.
    const int keys =
        chord.count < 0 ? 0 : (chord.count > kMaxChordKeys ? kMaxChordKeys : chord.count);
    appendKey(out, "Chorus", i);
    appendIntField(out, keys);
    out += '\n';
    for (int k = 0; k < keys; ++k) {
        appendFixed(out, chord.keys[k].semitoneOffset, kShortDecimals);
        out += ' ';
        appendFixed(out, chord.keys[k].level, kShortDecimals);
        out += ' ';
    }
    out += '\n';
}

void appendSoundFile(std::string& out, const Song& song, int s) {
    const FileFormat& format = song.SoundFileParams[s];
    appendKey(out, "SoundFileParams", s);
    appendIntField(out, format.fileSampleRate);
    appendIntField(out, format.fileChannels);
    appendIntField(out, format.fileReserved);
    out += '\n';
    appendKey(out, "SoundFileLoop", s);
    appendIntField(out, song.SoundFileLoop[s].loopStart);
    appendIntField(out, song.SoundFileLoop[s].loopEnd);
    out += '\n';
    const FileSamples& samples = song.SoundFileVals[s];
    // Without a buffer there are no samples to write, whatever the count says.
    int count = samples.fileSamples ? samples.fileSampleCount : 0;
    if (count < 0) count = 0;
    if (count > kMaxFileSamples) count = kMaxFileSamples;
    appendKey(out, "SoundFileVals", s);
    appendIntField(out, count);
    out += ' ';
    if (count > 0) appendFloatList(out, samples.fileSamples.get(), count, kFileSampleDecimals);
    out += '\n';
}

void appendWaveformSlot(std::string& out, const Song& song, int s) {
    appendKey(out, "Sound", s);
    appendIntField(out, kWaveformSamples);
    out += '\n';
    appendFloatList(out, song.Sound[s], kWaveformSamples, kShortDecimals);
    out += '\n';
    appendKnobLine(out, "SoundEffect", s, song.SoundEffect[s], kWaveformKnobCount, kLongDecimals);
    appendKey(out, "SoundType", s);
    appendIntField(out, song.SoundType[s]);
    out += '\n';
    if (song.SoundType[s] == 1) appendSoundFile(out, song, s);
}

void appendCurve(std::string& out, const char* keyword, int bank, const float* points) {
    constexpr int kSavedPoints = kEnvelopePoints - 1; // the guard point is not saved
    appendKey(out, keyword, bank);
    appendIntField(out, kSavedPoints);
    out += '\n';
    appendFloatList(out, points, kSavedPoints, kShortDecimals);
    out += '\n';
}

void appendEnvelopeBank(std::string& out, const Song& song, int e) {
    const EnvelopeSettings& settings = song.EnvelopeParams[e];
    appendKey(out, "EnvelopeParams", e);
    appendIntField(out, settings.sustainStart);
    appendIntField(out, settings.sustainEnd);
    appendIntField(out, settings.releaseEnd);
    appendIntField(out, settings.envelopeMode);
    out += '\n';
    appendCurve(out, "Envelope", e, song.Envelope[e]);
    appendCurve(out, "Pitch", e, song.Pitch[e]);
    appendCurve(out, "Cutoff", e, song.Cutoff[e]);
    appendCurve(out, "Ratio", e, song.Ratio[e]);
}

} // namespace

void appendSongText(const Song& song, std::string& out) {
    out += "v3\n";
    out += "BPM ";
    appendFixed(out, song.BPM, kBpmDecimals);
    out += '\n';
    out += "MainVolume";
    appendFloatField(out, song.MainVolume[0], kShortDecimals);
    appendFloatField(out, song.MainVolume[1], kShortDecimals);
    out += '\n';
    for (int i = 0; i < kInstrumentCount; ++i) appendInstrument(out, song, i);
    for (int s = 0; s < kWaveformSlotCount; ++s) appendWaveformSlot(out, song, s);
    for (int e = 0; e < kEnvelopeBankCount; ++e) appendEnvelopeBank(out, song, e);
}
