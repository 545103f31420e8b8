// The song document: tempo, master gains, waveform slots, envelope banks and instruments.
#pragma once

#include <cstdint>
#include <memory>

inline constexpr int kInstrumentCount = 4;
inline constexpr int kWaveformSlotCount = 8;
inline constexpr int kWaveformSamples = 350; // samples of one drawn waveform
inline constexpr int kEnvelopeBankCount = 8;
inline constexpr int kEnvelopePoints = 301; // points 0..299 are edited, 300 is a guard
inline constexpr int kEffectKnobCount = 16;
inline constexpr int kWaveformKnobCount = 3; // MIX, HIGH, NOISE
inline constexpr int kGridSteps = 256;
inline constexpr int kNoteRows = 24;
inline constexpr int kStepsPerBank = 16;
inline constexpr int kBankCount = 16;         // banks stored in the grid
inline constexpr int kEditableBankCount = 10; // banks the editors show and queue
inline constexpr int kStackEntries = 8;
inline constexpr int kDelayCount = 3;
inline constexpr int kDelayValues = 6;
inline constexpr int kMaxChordKeys = 992; // room in the record; the editor keeps 8
inline constexpr int kEditorChordKeys = 8;
inline constexpr int kMaxFileSamples = 400000; // floats of an imported sound file

// Waveform knob indices.
enum WaveformKnob { kKnobMix = 0, kKnobHigh = 1, kKnobNoise = 2 };

// Effect knob indices.
enum EffectKnob {
    kKnobCutoff = 0,
    kKnobRes = 1,
    kKnobResOver = 2,
    kKnobDistort = 3,
    kKnobDistDrag = 4,
    kKnobRandomFreq = 5,
    kKnobRandomPitch = 6,
    kKnobChorus = 7,
    kKnobRandomAttack = 8,
    kKnobShiftAttack = 9,
    kKnobSlide = 10,
    kKnobPitch = 11,
};

// Delay value indices within one delay's six values.
enum DelayValue {
    kDelayOffset = 0,   // steps
    kDelayUnused = 1,   // stored and saved, read by nothing
    kDelayFeedback = 2, // 0..1
    kDelayLowPass = 3,  // 0..1
    kDelayPan = 4,      // 0..1, 1 takes the other channel
    kDelayFineTune = 5, // 0..1, 0.5 = none
};

// Envelope curves of a bank, in the order the editor numbers them.
enum EnvelopeCurve { kCurveAmplitude = 0, kCurvePitch = 1, kCurveCutoff = 2, kCurveRatio = 3 };

struct KnobRecord {
    float value; // 0..1
};

struct ChordKey {
    float semitoneOffset; // note rows; the editor sets -25..24
    float level;          // 0..1; at most 0.01 is silent
};

struct ChordKeySet {
    int32_t count; // chord keys in use
    ChordKey keys[kMaxChordKeys];
};

struct EffectAxes {
    int32_t xKnob; // effect knob 0..15 on the 2D controller's X axis
    int32_t yKnob; // effect knob 0..15 on the Y axis
};

// Notes of one instrument: a note is a chain of cells on consecutive steps.
struct NoteGrid {
    int32_t notePosition[kGridSteps][kNoteRows]; // 1-based step within its note, 0 = empty
    int32_t nextRow[kGridSteps][kNoteRows];      // row of the note's next step, -1 on its last
    int32_t noteLength[kGridSteps][kNoteRows];   // length of the note in steps
};

enum StackMode { kStackRotate = 0, kStackConsume = 1 }; // any other value holds the head

struct BankStack {
    int32_t entries[kStackEntries]; // note banks 0..15 in play order, -1 = empty
    int32_t stackMode;
};

struct FileFormat {
    int32_t fileSampleRate; // 22050 or 44100
    int32_t fileChannels;   // 1 or 2
    int32_t fileReserved;   // carried through load and save, read by nothing
};

struct LoopMarkers {
    int32_t loopStart; // 0..349 on the 0..350 marker scale
    int32_t loopEnd;   // 1..350
};

// A buffer is never changed once a song holds it, so every copy of the song shares it; an edit
// fills a new buffer (newFileSampleBuffer, keepFileSamplesFrom) and puts that in its place.
struct FileSamples {
    int32_t fileSampleCount;                    // samples held (interleaved for stereo)
    std::shared_ptr<const float[]> fileSamples; // kMaxFileSamples floats once allocated
};

struct EnvelopeSettings {
    int32_t sustainStart; // point 0..299
    int32_t sustainEnd;   // point 0..299
    int32_t releaseEnd;   // point 0..299
    int32_t envelopeMode; // 0 looped, 1 stretched
};

struct Song {
    float BPM;
    float MainVolume[2]; // left gain, right gain, 0..1

    // Waveform slots, as parallel arrays indexed by slot.
    float Sound[kWaveformSlotCount][kWaveformSamples]; // +-127 full scale
    KnobRecord SoundEffect[kWaveformSlotCount][kWaveformKnobCount];
    int32_t SoundType[kWaveformSlotCount]; // 0 drawn waveform, 1 sound file
    FileFormat SoundFileParams[kWaveformSlotCount];
    LoopMarkers SoundFileLoop[kWaveformSlotCount];
    FileSamples SoundFileVals[kWaveformSlotCount];

    // Envelope banks.
    float Envelope[kEnvelopeBankCount][kEnvelopePoints]; // amplitude 0..1
    float Pitch[kEnvelopeBankCount][kEnvelopePoints];    // 0..1, 0.5 = no change
    float Cutoff[kEnvelopeBankCount][kEnvelopePoints];   // 0..1
    float Ratio[kEnvelopeBankCount][kEnvelopePoints];    // high pass to low pass, 0..1
    EnvelopeSettings EnvelopeParams[kEnvelopeBankCount];

    // Instruments, as parallel arrays indexed by instrument.
    float Volume[kInstrumentCount]; // 0..1
    int32_t Oct[kInstrumentCount];  // 0..3: frequency x0.5, x1, x2, x4
    int32_t Mute[kInstrumentCount];
    int32_t BPMsr[kInstrumentCount];      // steps played of each bank, 1..16
    int32_t EnvIdx[kInstrumentCount];     // envelope bank 0..7
    int32_t PatternIdx[kInstrumentCount]; // bank playing 0..15, -1 none
    int32_t SoundIdx[kInstrumentCount];   // waveform slot 0..7
    float BGR[kInstrumentCount][3];       // drawing colour, blue green red 0..255
    ChordKeySet Chorus[kInstrumentCount];
    EffectAxes EffectDim[kInstrumentCount];
    float DelayParams[kInstrumentCount][kDelayCount][kDelayValues];
    BankStack PatternStack[kInstrumentCount];
    KnobRecord Effect[kInstrumentCount][kEffectKnobCount];
    NoteGrid noteGrid[kInstrumentCount];
    float Pan[kInstrumentCount][kGridSteps]; // 0..1, 0.5 centre
    float Vel[kInstrumentCount][kGridSteps]; // 0..1
};

// Gives every field its default; the sound-file buffers are freed. Presets are not generated here.
void setSongDefaults(Song& song);

// A new sound-file buffer of kMaxFileSamples floats, not yet filled.
std::shared_ptr<float[]> newFileSampleBuffer();

// Fills `buffer` from sample `from` (0..kMaxFileSamples) on with what `samples` holds there, or
// with zeros when it holds no buffer: an edit that writes the samples before `from` then leaves
// the rest as an edit in place would.
void keepFileSamplesFrom(const FileSamples& samples, float* buffer, int from);

// The kEnvelopePoints points of curve `curve` (EnvelopeCurve) of envelope bank `bank` (0..7, not
// checked); an unknown curve number gives the amplitude curve.
inline const float* envelopeCurvePoints(const Song& song, int bank, int curve) {
    switch (curve) {
    case kCurvePitch:
        return song.Pitch[bank];
    case kCurveCutoff:
        return song.Cutoff[bank];
    case kCurveRatio:
        return song.Ratio[bank];
    default:
        return song.Envelope[bank];
    }
}

// Removes the entry at `position` by the stack's rule: position 0 only becomes -1, later
// entries close the gap.
void removeStackEntry(BankStack& stack, int position);
