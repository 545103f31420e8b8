// One render function per panel: each fills its panel's canvas in `screen` from the song, the
// selections and the readings it draws. `instrument` is the instrument whose panel is drawn (the
// current one for the panels that show only it); a damaged index draws the nearest of 0..3. The
// caller then copies the canvas into the surface of the selection concerned (ui/panel_table.h).
#pragma once

#include "ui/panel_inputs.h"
#include "ui/screen.h"

// Waveform and envelope editors (ui/wave_editor_panels.cpp, ui/envelope_editor_panels.cpp).
// The wave editor draws the slot's playback form under its drawing.
void renderWaveEditor(const Song& song, const PlaybackWaveformRows& playback, const UiState& ui,
                      const DragState& drag, StreamClock clock, Screen& screen,
                      int waveform); // 399 x 128
void renderWaveButtons(const Song& song, const UiState& ui, StreamClock clock, Screen& screen,
                       int instrument); // 352 x 23
void renderEnvelopeEditor(const Song& song, const UiState& ui, Screen& screen, int bank,
                          int curve); // 354 x 163
void renderEnvelopeButtons(const Song& song, const UiState& ui, Screen& screen,
                           int instrument); // 304 x 23

// Note pad and pan/velocity (ui/note_pad_panels.cpp).
void renderNotePad(const Song& song, const UiState& ui, const DragState& drag, Screen& screen,
                   int instrument); // 409 x 201
void renderPanAndVelocity(const Song& song, const UiState& ui, const DragState& drag,
                          Screen& screen, int instrument); // 420 x 46

// Effect panels and delay display (ui/effect_panels.cpp). The knob values of a drag show only
// on the current instrument's panels (ui.currentInstrument).
// Draws into the instrument's own canvas, which keeps its pixels between renderings.
void renderEffectController2D(const Song& song, const UiState& ui, Screen& screen,
                              int instrument); // 201 x 201
// The caption under an effect knob: its value 0..100 while it is being turned (by itself, or as
// an axis of a 2D controller drag), else its short name.
struct KnobCaption {
    char text[16];
};
KnobCaption effectKnobCaption(const Song& song, const UiState& ui, const DragState& drag,
                              int instrument, int knob);
void renderEffectKnobs(const Song& song, const UiState& ui, const DragState& drag, Screen& screen,
                       int instrument); // 88 x 224
void renderDelayReverb(const Song& song, const UiState& ui, const DragState& drag, Screen& screen,
                       int instrument); // 288 x 90
void renderDelayDisplay(const Song& song, const UiState& ui, Screen& screen,
                        int instrument); // 377 x 50
// Blanks every instrument's 2D effect controller canvas and its cached background, so that the
// next rendering starts afresh without the trail of earlier knob values (File > New).
void clearEffectController2D(Screen& screen);

// Sequencer and transport panels (ui/sequencer_panels.cpp).
void renderNoteBankButtons(const Song& song, const UiState& ui, const DragState& drag,
                           Screen& screen, int instrument); // 312 x 23
void renderNoteBankSequencer(const Song& song, const UiState& ui, Screen& screen,
                             int instrument); // 207 x 92
void renderChordKeys(const Song& song, const UiState& ui, Screen& screen, int instrument); // 358x38
void renderBpmDisplay(const Song& song, const UiState& ui, Screen& screen); // 83 x 31
void renderPlayStopRecord(const UiState& ui, TransportReadings transport, Screen& screen); // 46x154

// Meters, mixer and help line (ui/meter_panels.cpp).
// The clip flash shows at meters.clipped; the caller decays it after each rendering.
void renderVolumeMeter(const UiState& ui, MeterReadings meters, Screen& screen); // 83 x 70
void renderCpuMeter(const UiState& ui, MeterReadings meters, Screen& screen);    // 27 x 63
void renderMainVolume(const Song& song, const UiState& ui, Screen& screen);      // 83 x 131
void renderInstrumentButtons(const Song& song, const UiState& ui, Screen& screen,
                             int instrument); // 204 x 23
// 204 x 69; the mute lamps show a pending toggle of transport as already made.
void renderInstrumentControl(const Song& song, const UiState& ui,
                             const TransportReadings& transport, Screen& screen);
void renderHelpLine(const UiState& ui, Screen& screen, const char* text); // 485 x 17
// Whether rendering the meter now would change its pixels (its values differ from those it was
// last rendered from).
bool volumeMeterChanged(MeterReadings meters, const Screen& screen);
bool cpuMeterChanged(MeterReadings meters, const Screen& screen);
