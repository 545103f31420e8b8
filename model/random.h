// The program's pseudo-random generator of integers 0..32767, never seeded, one sequence per
// thread.
#pragma once

#include <cstdint>

// The generator's state at program start.
inline constexpr uint32_t kRandomStartState = 1;

// Next number of the calling thread's sequence, 0..32767. Every run of the program draws the
// same sequence. Each thread has a sequence of its own, starting at kRandomStartState: a render
// on another thread never moves the one the window plays from.
int nextRandom();

// Next number of a sequence whose state the caller keeps (start it at kRandomStartState): the
// same numbers as nextRandom, without moving the program's one sequence.
int nextRandom(uint32_t& state);

// Uniform number in 0..1: nextRandom() / 32767.
inline float nextUniform() {
    return static_cast<float>(nextRandom()) / 32767.0f;
}

// Puts the sequence back to its start, as at program start (tests use this).
void restartRandom();

// Where the calling thread's sequence stands, and putting it there again: a render that must
// draw what another one would have drawn from that point starts its thread's sequence there.
uint32_t currentRandomState();
void continueRandomFrom(uint32_t state);
