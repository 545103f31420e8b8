// The program's one pseudo-random generator of integers 0..32767, never seeded.
#pragma once

// Next number of the sequence, 0..32767. Every run of the program draws the same sequence.
int nextRandom();

// Uniform number in 0..1: nextRandom() / 32767.
inline float nextUniform() {
    return static_cast<float>(nextRandom()) / 32767.0f;
}

// Puts the sequence back to its start, as at program start (tests use this).
void restartRandom();
