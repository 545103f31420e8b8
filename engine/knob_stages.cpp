// The instrument-wide effect-knob stages: resonant low-pass filter and amplitude cutoff.
#include "engine/knob_stages.h"

#include "engine/knob_automation.h"

namespace {

// The knobs that ramp, in the order of the automation values handed to the stages.
constexpr int kRampedKnobs[4] = {kKnobCutoff, kKnobRes, kKnobDistort, kKnobDistDrag};
enum RampedValue { kRampCutoff = 0, kRampRes = 1, kRampDistort = 2, kRampDrag = 3 };

} // namespace

void applyKnobStages(const Song& song, EngineState& engine, StreamState& stream, int instrument,
                     int start, int end) {
    KnobAutomation& ring = stream.knobAutomation[instrument];
    EffectChain& effects = stream.effects[instrument];
    float* samples = engine.instrumentRing[instrument].get();
    const int ringSamples = engine.ringSamples;
    auto readValues = [&ring](int entry, float* values) {
        for (int v = 0; v < 4; ++v) values[v] = ring.values[entry][kRampedKnobs[v]];
    };
    auto writeValues = [&ring](int entry, const float* values) {
        for (int v = 0; v < 4; ++v) ring.values[entry][kRampedKnobs[v]] = values[v];
    };
    auto runSpan = [&](int spanStart, int spanEnd, const float* from, const float* to,
                       bool ramping) {
        const float resOver = song.Effect[instrument][kKnobResOver].value;
        if (ramping) {
            effects.cutoff.process(samples, spanStart, spanEnd,
                                   {from[kRampDistort], to[kRampDistort]},
                                   {from[kRampDrag], to[kRampDrag]});
            effects.filter.process(samples, ringSamples, spanStart, spanEnd,
                                   {from[kRampCutoff], to[kRampCutoff]},
                                   {from[kRampRes], to[kRampRes]}, resOver);
        } else {
            // With the values settled the filter runs first.
            effects.filter.process(samples, ringSamples, spanStart, spanEnd,
                                   {from[kRampCutoff], from[kRampCutoff]},
                                   {from[kRampRes], from[kRampRes]}, resOver);
            effects.cutoff.process(samples, spanStart, spanEnd,
                                   {from[kRampDistort], from[kRampDistort]},
                                   {from[kRampDrag], from[kRampDrag]});
        }
    };
    consumeAutomation<4>(ring.valid, ring.stamp, ring.head, ringSamples, start, end, readValues,
                         writeValues, runSpan);
}
