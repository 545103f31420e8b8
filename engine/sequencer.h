// Note-bank sequencer: pattern-stack moves, the per-step advance and the pre-roll of playback.
#pragma once

#include "engine/engine_state.h"

// True for a note bank the grid holds (0..15); -1 and anything else play silence.
bool isPlayableBank(int bank);

// Advances the instrument's pattern stack by its mode (rotate, consume, hold) and returns the new
// head entry, or -1 when the stack is empty.
int nextBank(Song& song, int instrument);

// Steps the instrument's pattern stack back by one entry and returns the new head entry.
int previousBank(Song& song, int instrument);

// Writes `bank` into the first empty (-1) entry at or after position `from`; does nothing when
// there is none, or when `bank` is not 0..15.
void appendBank(Song& song, int instrument, int bank, int from);

// First part of a step: every instrument's step counter + 1, chunkIndex to the next chunk.
void advanceStepCounters(EngineState& engine);

// Bank change of every instrument whose step to render lies past its measure: applies a
// pending mute toggle, takes the next bank and resets the counter to its step 0. Returns true
// when any instrument changed bank (the note bank sequencer panel then redraws).
bool advanceBanks(Song& song, EngineState& engine);

// Renders steps 0 .. noteLatency-1 of the current banks of all instruments into ring chunks
// 0 .. noteLatency-1, leaving chunkIndex at 4 for the mixing that follows.
void preRollRender(const Song& song, EngineState& engine);

// After the pre-roll has been mixed: counters to one step before the current banks, so the
// first pump step renders step noteLatency.
void setCountersAfterPreRoll(const Song& song, EngineState& engine);

// Steps of each bank the instrument plays: BPMsr kept within 1..16.
int measureSteps(const Song& song, int instrument);
