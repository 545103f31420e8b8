// The program's one pseudo-random generator of integers 0..32767, never seeded.
#pragma once

#include <cstdint>

// The generator's state at program start.
inline constexpr uint32_t kRandomStartState = 1;

// Next number of the sequence, 0..32767. Every run of the program draws the same sequence.
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
