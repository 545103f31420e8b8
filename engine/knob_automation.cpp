// Knob automation: effect-knob changes stamped into a ring and consumed chunk by chunk.
#include "engine/knob_automation.h"

#include "engine/sound_device.h"

void resetKnobAutomation(const Song& song, StreamState& stream, int instrument) {
    KnobAutomation& ring = stream.knobAutomation[instrument];
    const KnobRecord* knobs = song.Effect[instrument];
    for (int e = 0; e < kAutomationEntries; ++e) {
        ring.valid[e] = 0;
        ring.stamp[e] = 0;
        for (float& value : ring.values[e]) value = 0.0f;
    }
    for (int k = 0; k < kEffectKnobCount; ++k) ring.values[0][k] = knobs[k].value;
    ring.head = 0;
}

namespace {

int findAutomationSlot(const int* valid, const int* stamp, int head) {
    int entry = head;
    for (int searched = 0; searched < kAutomationEntries; ++searched) {
        if (!valid[entry] || stamp[entry] == -1) return entry;
        entry = (entry + 1) % kAutomationEntries;
    }
    return -1;
}

int automationStampNow(const EngineState& engine, const StreamState& stream) {
    if (!engine.playing || engine.ringSamples <= 0 || stream.device == nullptr) return -1;
    const int cursorSample = stream.device->playCursor() / 2;
    const int stamp =
        (cursorSample + engine.ringSamples - 2 * engine.noteLatency * engine.chunkFrames) %
        engine.ringSamples;
    return stamp < 0 ? stamp + engine.ringSamples : stamp;
}

} // namespace

int claimAutomationEntry(const EngineState& engine, const StreamState& stream, int* valid,
                         int* stamp, int head) {
    const int entry = findAutomationSlot(valid, stamp, head);
    if (entry < 0) return -1;
    stamp[entry] = automationStampNow(engine, stream);
    valid[entry] = 1;
    return entry;
}

void recordKnobChange(const Song& song, const EngineState& engine, StreamState& stream,
                      int instrument) {
    if (instrument < 0 || instrument >= kInstrumentCount) return;
    KnobAutomation& ring = stream.knobAutomation[instrument];
    const int entry = claimAutomationEntry(engine, stream, ring.valid, ring.stamp, ring.head);
    if (entry < 0) return; // full: the change is dropped
    const KnobRecord* knobs = song.Effect[instrument];
    for (int k = 0; k < kEffectKnobCount; ++k) ring.values[entry][k] = knobs[k].value;
}
