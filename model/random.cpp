// Linear congruential generator; the state is process-wide so that New does not restart it.
#include "model/random.h"

#include <cstdint>

namespace {
uint32_t randomState = 1;
}

int nextRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFF);
}

void restartRandom() {
    randomState = 1;
}
