// Running state of the stream, the mixer and the effects: format, rings, automation, meters.
#pragma once

#include "engine/effect_chain.h"
#include "model/song.h"

#include <cstdint>
#include <memory>

class SoundDevice;

inline constexpr int kAutomationEntries = 4000; // entries of every automation ring
inline constexpr int kDelayAutomationValues = kDelayCount * kDelayValues; // 18

// The stream's PCM format as handed to the sound device.
struct OutputFormat {
    int formatTag = 1;             // PCM
    int channels = 2;              // interleaved, even samples left
    int sampleRate = 22050;        // Hz, 22050 or 44100
    int avgBytesPerSecond = 88200; // blockAlign * sampleRate
    int blockAlign = 4;            // bytes per frame
    int bitsPerSample = 16;
};

// Pending effect-knob changes of one instrument: the 16 knob values per entry, by knob index;
// the head entry holds the values in force.
struct KnobAutomation {
    int valid[kAutomationEntries] = {}; // 1 = a change not yet consumed
    int stamp[kAutomationEntries] = {}; // ring sample 0..ringSamples-1 where it is reached, -1 =
                                        // recorded while stopped
    float values[kAutomationEntries][kEffectKnobCount] = {};
    int head = 0;
};

// Pending DELAY/REVERB changes of one instrument: the 18 DelayParams values per entry, in
// the order delay 0 values 0..5, delay 1 ..., delay 2 ...
struct DelayAutomation {
    int valid[kAutomationEntries] = {};
    int stamp[kAutomationEntries] = {};
    float values[kAutomationEntries][kDelayAutomationValues] = {};
    int head = 0;
};

// Panels the pump asks the screen to redraw. The engine only ever sets these flags; the screen
// code acts on them after a pump (once start-up has finished) and clears the ones it handled.
struct PumpRedraws {
    bool playPanel = false; // PLAY, STOP AND RECORD: a recording started or stopped, a chunk was
                            // recorded, or the sample rate changed
    bool sequencer = false; // NOTE BANK SEQUENCER: an instrument changed bank
    bool stepStrip = false; // playing: clear the step strip and draw the marker at markerX
    bool meters = false;    // VOLUME METER and CPU METER: cpuLoad or volumeLevel above 0.01
    float markerX = 0.0f;   // playback marker centre as a fraction 0..1 of the step strip width
                            // (the current instrument's position in its note bank)
};

struct StreamState {
    OutputFormat format;
    SoundDevice* device = nullptr; // not owned: the device lives for the life of the process

    // ringSamples values each, mirroring the stream buffer sample for sample (even index left).
    std::unique_ptr<float[]> mixRing;      // master mix before clipping, +-127 full scale
    std::unique_ptr<int16_t[]> outputRing; // the clipped mix as written to the stream

    float volumeLevel = 0.0f; // 0..127, follows |mix| at the play cursor
    float cpuLoad = 0.0f;     // 0..1, how far the cursor had moved into its chunk when written
    float clipped = 0.0f;     // set to 1 when a sample clips; the volume meter decays it

    KnobAutomation knobAutomation[kInstrumentCount];
    DelayAutomation delayAutomation[kInstrumentCount];
    EffectChain effects[kInstrumentCount]; // every unit at rest at the start of playback

    PumpRedraws redraws;
};
