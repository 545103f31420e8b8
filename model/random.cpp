// Linear congruential generator; each thread's state lives as long as the thread, so that New
// does not restart it.
#include "model/random.h"

#include <cstdint>

namespace {
thread_local uint32_t randomState = kRandomStartState;
}

int nextRandom(uint32_t& state) {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

int nextRandom() {
    return nextRandom(randomState);
}

void restartRandom() {
    randomState = kRandomStartState;
}

uint32_t currentRandomState() {
    return randomState;
}

void continueRandomFrom(uint32_t state) {
    randomState = state;
}
