// The song file reader: a token loop over keywords, each reading its own numbers.
#include "files/song_reader.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "files/number_text.h"
#include "model/song.h"

namespace {

constexpr size_t kMaxTokenLength = 99; // longer runs of characters are never a keyword

bool inRange(int32_t value, int32_t low, int32_t high) {
    return value >= low && value <= high;
}
bool isInstrument(int32_t i) {
    return inRange(i, 0, kInstrumentCount - 1);
}
bool isSlot(int32_t s) {
    return inRange(s, 0, kWaveformSlotCount - 1);
}
bool isEnvelopeBank(int32_t e) {
    return inRange(e, 0, kEnvelopeBankCount - 1);
}

// The reader's position and outcome. Each read returns false when the entry must stop: either
// a conversion failed (errorMessage is set) or the text has ended (ended is set).
struct SongReader {
    Song& song;
    const WaveformChanged& waveformChanged;
    TextCursor in;
    int version = 3; // files without a version token need no conversion
    const char* errorMessage = nullptr;
    bool ended = false;
    int keywordCount = 0;

    bool settle(ScanResult result, const char* message) {
        if (result == ScanResult::Ok) return true;
        if (result == ScanResult::Fail)
            errorMessage = message;
        else
            ended = true;
        return false;
    }
    bool readInt(int32_t& value, const char* message) {
        return settle(scanInt(in, value), message);
    }
    bool readFloat(float& value, const char* message) {
        return settle(scanFloat(in, value), message);
    }
    // Reads `count` floats into values[0..count-1], storing each as it is read.
    bool readFloats(float* values, int32_t count, const char* message) {
        for (int32_t k = 0; k < count; ++k)
            if (!readFloat(values[k], message)) return false;
        return true;
    }
    // Reads an int and stores it only when it lies in low..high.
    bool readIntInRange(int32_t& field, int32_t low, int32_t high, const char* message) {
        int32_t value;
        if (!readInt(value, message)) return false;
        if (inRange(value, low, high)) field = value;
        return true;
    }

    // Tells the caller that slot `s` has a new drawing or new knobs, unless the entry failed.
    void reportWaveform(int s) {
        if (!errorMessage && waveformChanged) waveformChanged(s);
    }
};

// "Keyword instrument value": the instrument is checked, the value is read only for a valid one.
template <typename Store>
void readInstrumentValue(SongReader& r, const char* message, Store store) {
    int32_t i;
    if (!r.readInt(i, message) || !isInstrument(i)) return;
    store(i);
}

void readBpm(SongReader& r) {
    r.readFloat(r.song.BPM, "Couldn't read BPM ");
}

void readMainVolume(SongReader& r) {
    const char* message = "Couldn't read Main Volume";
    if (r.readFloat(r.song.MainVolume[0], message)) r.readFloat(r.song.MainVolume[1], message);
}

void readVolume(SongReader& r) {
    const char* message = "Couldn't read inst volume ";
    readInstrumentValue(r, message, [&](int i) { r.readFloat(r.song.Volume[i], message); });
}

void readOct(SongReader& r) {
    const char* message = "Couldn't read inst octave ";
    readInstrumentValue(r, message, [&](int i) { r.readIntInRange(r.song.Oct[i], 0, 3, message); });
}

void readBpmsr(SongReader& r) {
    const char* message = "Couldn't read beats per measure ";
    readInstrumentValue(
        r, message, [&](int i) { r.readIntInRange(r.song.BPMsr[i], 1, kStepsPerBank, message); });
}

void readMute(SongReader& r) {
    const char* message = "Couldn't read mute ";
    readInstrumentValue(r, message, [&](int i) { r.readInt(r.song.Mute[i], message); });
}

void readEnvIdx(SongReader& r) {
    const char* message = "Couldn't read envelope index ";
    readInstrumentValue(r, message, [&](int i) {
        r.readIntInRange(r.song.EnvIdx[i], 0, kEnvelopeBankCount - 1, message);
    });
}

void readSoundIdx(SongReader& r) {
    const char* message = "Couldn't read sound index ";
    readInstrumentValue(r, message, [&](int i) {
        r.readIntInRange(r.song.SoundIdx[i], 0, kWaveformSlotCount - 1, message);
    });
}

void readBgr(SongReader& r) {
    const char* message = "Couldn't read BGR ";
    readInstrumentValue(r, message, [&](int i) { r.readFloats(r.song.BGR[i], 3, message); });
}

void readEffectDim(SongReader& r) {
    const char* message = "Couldn't read Effect Dimensions ";
    readInstrumentValue(r, message, [&](int i) {
        EffectAxes& axes = r.song.EffectDim[i];
        if (r.readIntInRange(axes.xKnob, 0, kEffectKnobCount - 1, message))
            r.readIntInRange(axes.yKnob, 0, kEffectKnobCount - 1, message);
    });
}

void readPatternStack(SongReader& r) {
    int32_t i, count;
    if (!r.readInt(i, "Couldn't read pattern stack index ") ||
        !r.readInt(count, "Couldn't read pattern stack index ") || !isInstrument(i))
        return;
    BankStack& stack = r.song.PatternStack[i];
    if (!r.readInt(stack.stackMode, "Couldn't read pattern stack type ")) return;
    const int32_t entries = count < kStackEntries ? count : kStackEntries;
    for (int32_t k = 0; k < entries; ++k)
        if (!r.readIntInRange(stack.entries[k], -1, kBankCount - 1, "Couldn't read pattern stack "))
            return;
}

// Songs of versions 1 and 2 kept the first delay in knobs 10 to 12.
void convertOldEffectKnobs(Song& song, int i, int version) {
    KnobRecord* knobs = song.Effect[i];
    constexpr float kDelayDefaults[kDelayValues] = {1.0f, 4.1f, 0.0f, 0.5f, 0.0f, 0.5f};
    for (int d = 1; d < kDelayCount; ++d)
        std::memcpy(song.DelayParams[i][d], kDelayDefaults, sizeof kDelayDefaults);
    float* delay = song.DelayParams[i][0];
    delay[kDelayOffset] = 4.0f * knobs[10].value;
    delay[kDelayUnused] = 4.1f;
    delay[kDelayFeedback] = std::sqrt(knobs[11].value);
    delay[kDelayLowPass] = knobs[12].value;
    delay[kDelayPan] = 0.0f;
    delay[kDelayFineTune] = 0.5f;
    if (version == 1) {
        knobs[11].value = 0.5f;
        knobs[10].value = knobs[13].value;
    } else {
        knobs[10].value = knobs[13].value;
        knobs[11].value = knobs[14].value;
    }
}

void readEffect(SongReader& r) {
    int32_t i, count;
    if (!r.readInt(i, "Couldn't read number of effects ") ||
        !r.readInt(count, "Couldn't read number of effects ") || !isInstrument(i))
        return;
    const int32_t values = count < kEffectKnobCount ? count : kEffectKnobCount;
    for (int32_t k = 0; k < values; ++k)
        if (!r.readFloat(r.song.Effect[i][k].value, "Couldn't read effect setting ")) return;
    if (r.version == 1 || r.version == 2) convertOldEffectKnobs(r.song, i, r.version);
}

void readSoundFileVals(SongReader& r) {
    int32_t s, count;
    if (!r.readInt(s, "Couldn't read sound index ") || !isSlot(s)) return;
    if (!r.readInt(count, "Couldn't read sound file length ")) return;
    if (count > kMaxFileSamples) {
        r.errorMessage = "Sound file buffer too long ";
        return;
    }
    if (count < 0) return; // a negative length is refused and its entry skipped
    FileSamples& samples = r.song.SoundFileVals[s];
    std::shared_ptr<float[]> buffer = newFileSampleBuffer();
    int32_t read = 0;
    while (read < count && r.readFloat(buffer[read], "Couldn't read sound file buffer ")) ++read;
    // An entry cut short keeps the earlier samples after the ones it gave.
    keepFileSamplesFrom(samples, buffer.get(), read);
    samples.fileSampleCount = count;
    samples.fileSamples = std::move(buffer);
}

void readSoundFileParams(SongReader& r) {
    int32_t s;
    if (!r.readInt(s, "Couldn't read sound index ") || !isSlot(s)) return;
    const char* message = "Couldn't read sound parameters ";
    FileFormat& format = r.song.SoundFileParams[s];
    int32_t rate;
    if (!r.readInt(rate, message)) return;
    if (rate == 22050 || rate == 44100) format.fileSampleRate = rate;
    if (r.readIntInRange(format.fileChannels, 1, 2, message))
        r.readInt(format.fileReserved, message);
}

void readSoundFileLoop(SongReader& r) {
    int32_t s;
    if (!r.readInt(s, "Couldn't read sound loop index ") || !isSlot(s)) return;
    const char* message = "Couldn't read sound loop ";
    LoopMarkers& loop = r.song.SoundFileLoop[s];
    if (r.readIntInRange(loop.loopStart, 0, kWaveformSamples - 1, message))
        r.readIntInRange(loop.loopEnd, 1, kWaveformSamples, message);
}

void readSoundType(SongReader& r) {
    int32_t s;
    if (!r.readInt(s, "Couldn't read sound index ") || !isSlot(s)) return;
    r.readIntInRange(r.song.SoundType[s], 0, 1, "Couldn't read sound type ");
}

void readSoundEffect(SongReader& r) {
    const char* countMessage = "Couldn't read number of sound effects ";
    int32_t s, count;
    if (!r.readInt(s, countMessage) || !r.readInt(count, countMessage)) return;
    if (!isSlot(s) || count > kWaveformKnobCount) return;
    KnobRecord* knobs = r.song.SoundEffect[s];
    for (int32_t k = 0; k < count; ++k)
        if (!r.readFloat(knobs[k].value, "Couldn't read sound effect setting ")) break;
    r.reportWaveform(s);
}

void readNumNotes(SongReader& r) {
    int32_t i, count;
    if (!r.readInt(i, "Couldn't read number of notes ") ||
        !r.readInt(count, "Couldn't read number of notes ") || !isInstrument(i))
        return;
    NoteGrid& grid = r.song.noteGrid[i];
    std::memset(grid.notePosition, 0, sizeof grid.notePosition);
    for (int32_t n = 0; n < count; ++n) {
        int32_t cell[5]; // step, row, notePosition, nextRow, noteLength
        for (int32_t& value : cell)
            if (!r.readInt(value, "Couldn't read notes ")) return;
        const int32_t step = cell[0], row = cell[1];
        if (!inRange(step, 0, kGridSteps - 1) || !inRange(row, 0, kNoteRows - 1)) continue;
        if (inRange(cell[2], 0, kGridSteps)) grid.notePosition[step][row] = cell[2];
        if (inRange(cell[3], -1, kNoteRows - 1)) grid.nextRow[step][row] = cell[3];
        if (inRange(cell[4], 1, kGridSteps)) grid.noteLength[step][row] = cell[4];
    }
}

void readStepValues(SongReader& r, float (&values)[kInstrumentCount][kGridSteps],
                    const char* message) {
    readInstrumentValue(r, message, [&](int i) { r.readFloats(values[i], kGridSteps, message); });
}

void readChorus(SongReader& r) {
    const char* message = "Couldn't read Chorus ";
    readInstrumentValue(r, message, [&](int i) {
        int32_t count;
        if (!r.readInt(count, message) || !inRange(count, 0, kMaxChordKeys)) return;
        ChordKeySet& chord = r.song.Chorus[i];
        chord.count = count;
        for (int32_t k = 0; k < count; ++k)
            if (!r.readFloat(chord.keys[k].semitoneOffset, message) ||
                !r.readFloat(chord.keys[k].level, message))
                return;
    });
}

void readSound(SongReader& r) {
    int32_t s, count;
    if (!r.readInt(s, "Couldn't read Sound ") || !r.readInt(count, "Couldn't read Sound ")) return;
    if (count > kWaveformSamples) {
        r.errorMessage = "Too many sound samples";
        return;
    }
    if (!isSlot(s)) return;
    r.readFloats(r.song.Sound[s], count, "Couldn't read sound buffer ");
    r.reportWaveform(s);
}

// "Envelope", "Pitch", "Cutoff" and "Ratio": bank, count, then count points.
void readCurve(SongReader& r, float (&curves)[kEnvelopeBankCount][kEnvelopePoints],
               const char* message, const char* bufferMessage) {
    int32_t e, count;
    if (!r.readInt(e, message) || !r.readInt(count, message)) return;
    if (count > kEnvelopePoints - 1) {
        r.errorMessage = "Too many envelope samples";
        return;
    }
    if (!isEnvelopeBank(e)) return;
    r.readFloats(curves[e], count, bufferMessage);
}

void readEnvelopeParams(SongReader& r) {
    const char* message = "Couldn't read envelope ";
    int32_t e;
    if (!r.readInt(e, message) || !isEnvelopeBank(e)) return;
    EnvelopeSettings& settings = r.song.EnvelopeParams[e];
    constexpr int kLastPoint = kEnvelopePoints - 2; // 299: the guard point is no sustain point
    if (r.readIntInRange(settings.sustainStart, 0, kLastPoint, message) &&
        r.readIntInRange(settings.sustainEnd, 0, kLastPoint, message) &&
        r.readIntInRange(settings.releaseEnd, 0, kLastPoint, message))
        r.readInt(settings.envelopeMode, message);
}

void readDelayParams(SongReader& r) {
    const char* message = "Couldn't read delay ";
    int32_t i, delays, values;
    if (!r.readInt(i, message) || !r.readInt(delays, message) || !r.readInt(values, message))
        return;
    if (delays > kDelayCount || values > kDelayValues) {
        r.errorMessage = "Too many delays or parameters ";
        return;
    }
    if (!isInstrument(i)) return;
    r.readFloats(&r.song.DelayParams[i][0][0], kDelayCount * kDelayValues,
                 "Couldn't read delay parameters ");
}

struct Keyword {
    const char* word;
    void (*read)(SongReader&);
};

const Keyword kKeywords[] = {
    {"BPM", readBpm},
    {"MainVolume", readMainVolume},
    {"Volume", readVolume},
    {"Oct", readOct},
    {"BPMsr", readBpmsr},
    {"Mute", readMute},
    {"PatternStack", readPatternStack},
    {"EnvIdx", readEnvIdx},
    {"SoundIdx", readSoundIdx},
    {"BGR", readBgr},
    {"EffectDim", readEffectDim},
    {"Effect", readEffect},
    {"SoundFileVals", readSoundFileVals},
    {"SoundFileParams", readSoundFileParams},
    {"SoundFileLoop", readSoundFileLoop},
    {"SoundType", readSoundType},
    {"SoundEffect", readSoundEffect},
    {"NumNotes", readNumNotes},
    {"Pan", [](SongReader& r) { readStepValues(r, r.song.Pan, "Couldn't read Pan "); }},
    {"Vel", [](SongReader& r) { readStepValues(r, r.song.Vel, "Couldn't read Velocity "); }},
    {"Chorus", readChorus},
    {"Sound", readSound},
    {"Envelope",
     [](SongReader& r) {
         readCurve(r, r.song.Envelope, "Couldn't read envelope ", "Couldn't read envelope buffer ");
     }},
    {"Pitch",
     [](SongReader& r) {
         readCurve(r, r.song.Pitch, "Couldn't read pitch ", "Couldn't read pitch buffer ");
     }},
    {"Cutoff",
     [](SongReader& r) {
         readCurve(r, r.song.Cutoff, "Couldn't read cutoff ", "Couldn't read cutoff buffer ");
     }},
    {"Ratio",
     [](SongReader& r) {
         readCurve(r, r.song.Ratio, "Couldn't read ratio ", "Couldn't read ratio buffer ");
     }},
    {"EnvelopeParams", readEnvelopeParams},
    {"DelayParams", readDelayParams},
};

bool tokenIs(const char* token, size_t length, const char* word) {
    return std::strlen(word) == length && std::memcmp(token, word, length) == 0;
}

void runToken(SongReader& r, const char* token, size_t length) {
    if (length > kMaxTokenLength) return;
    if (length == 2 && token[0] == 'v' && token[1] >= '1' && token[1] <= '3') {
        r.version = token[1] - '0';
        return;
    }
    for (const Keyword& keyword : kKeywords) {
        if (tokenIs(token, length, keyword.word)) {
            ++r.keywordCount;
            keyword.read(r);
            return;
        }
    }
}

} // namespace

SongReadResult readSongText(Song& song, std::string_view text,
                            const WaveformChanged& waveformChanged) {
    SongReader reader{song, waveformChanged, TextCursor{text.data(), text.data() + text.size()}};
    const char* token;
    size_t length;
    while (!reader.errorMessage && !reader.ended && scanToken(reader.in, token, length))
        runToken(reader, token, length);
    return SongReadResult{reader.errorMessage, reader.keywordCount};
}
