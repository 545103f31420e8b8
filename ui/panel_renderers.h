// One render function per panel: each fills its panel's canvas in `screen` from the AppState.
// The caller then copies the canvas into the surface of the selection concerned and presents it
// (see ui/panel_update.h).
#pragma once

#include "app/app_state.h"
#include "ui/screen.h"

// Waveform and envelope editors (ui/wave_editor_panels.cpp, ui/envelope_editor_panels.cpp).
void renderWaveEditor(const AppState& app, Screen& screen, int waveform);            // 399 x 128
void renderWaveButtons(const AppState& app, Screen& screen);                         // 352 x 23
void renderEnvelopeEditor(const AppState& app, Screen& screen, int bank, int curve); // 354 x 163
void renderEnvelopeButtons(const AppState& app, Screen& screen);                     // 304 x 23

// Note pad and pan/velocity (ui/note_pad_panels.cpp).
void renderNotePad(const AppState& app, Screen& screen);                        // 409 x 201
void renderPanAndVelocity(const AppState& app, Screen& screen, int instrument); // 420 x 46

// Effect panels and delay display (ui/effect_panels.cpp).
// Draws into the instrument's own canvas, which keeps its pixels between renderings.
void renderEffectController2D(const AppState& app, Screen& screen, int instrument); // 201 x 201
void renderEffectKnobs(const AppState& app, Screen& screen, int instrument);        // 88 x 224
void renderDelayReverb(const AppState& app, Screen& screen, int instrument);        // 288 x 90
void renderDelayDisplay(const AppState& app, Screen& screen, int instrument);       // 377 x 50
// Blanks every instrument's 2D effect controller canvas and its cached background, so that the
// next rendering starts afresh without the trail of earlier knob values (File > New).
void clearEffectController2D(Screen& screen);

// Sequencer and transport panels (ui/sequencer_panels.cpp).
void renderNoteBankButtons(const AppState& app, Screen& screen);   // 312 x 23
void renderNoteBankSequencer(const AppState& app, Screen& screen); // 207 x 92
void renderChordKeys(const AppState& app, Screen& screen);         // 358 x 38
void renderBpmDisplay(const AppState& app, Screen& screen);        // 83 x 31
void renderPlayStopRecord(const AppState& app, Screen& screen);    // 46 x 154

// Meters, mixer and help line (ui/meter_panels.cpp).
void renderVolumeMeter(AppState& app, Screen& screen);      // 83 x 70; also decays the clip flash
void renderCpuMeter(const AppState& app, Screen& screen);   // 27 x 63
void renderMainVolume(const AppState& app, Screen& screen); // 83 x 131
void renderInstrumentButtons(const AppState& app, Screen& screen);          // 204 x 23
void renderInstrumentControl(const AppState& app, Screen& screen);          // 204 x 69
void renderHelpLine(const AppState& app, Screen& screen, const char* text); // 485 x 17
// Whether rendering the meter now would change its pixels (its values differ from those it was
// last rendered from).
bool volumeMeterChanged(const AppState& app, const Screen& screen);
bool cpuMeterChanged(const AppState& app, const Screen& screen);
