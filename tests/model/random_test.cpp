// The random sequence: one per thread, and continuing a sequence from a remembered position.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "model/random.h"

namespace {

std::vector<int> draw(int count) {
    std::vector<int> numbers;
    for (int k = 0; k < count; ++k) numbers.push_back(nextRandom());
    return numbers;
}

} // namespace

TEST(RandomSequence, AnotherThreadDrawsItsOwnSequenceFromTheStart) {
    restartRandom();
    const std::vector<int> fromStart = draw(5);
    const uint32_t here = currentRandomState();
    std::vector<int> onThread;
    std::thread worker([&onThread] { onThread = draw(5); });
    worker.join();
    EXPECT_EQ(onThread, fromStart);
    EXPECT_EQ(currentRandomState(), here); // the other thread's draws left this one alone
}

TEST(RandomSequence, ContinuingFromARememberedStateRepeatsTheDraws) {
    restartRandom();
    draw(3);
    const uint32_t remembered = currentRandomState();
    const std::vector<int> first = draw(4);
    std::vector<int> again;
    std::thread worker([&] {
        continueRandomFrom(remembered);
        again = draw(4);
    });
    worker.join();
    EXPECT_EQ(again, first);
    uint32_t kept = remembered;
    EXPECT_EQ(nextRandom(kept), first[0]); // the caller-kept sequence is the same generator
}
