// The tempo as the five digits the BPM display shows and the digit keys edit.
#include "model/bpm_digits.h"

#include <cmath>

namespace {

constexpr int kLargestHundredths = 99999; // 999.99

// Hundredths of a beat per minute, 0..99999, without ever converting NaN or an infinity.
int bpmHundredths(float bpm) {
    const double scaled = std::round(static_cast<double>(bpm) * 100.0);
    if (!(scaled >= 0.0)) return 0; // NaN and negative tempos
    if (scaled >= kLargestHundredths) return kLargestHundredths;
    return static_cast<int>(scaled);
}

} // namespace

void splitBpmDigits(float bpm, int digits[kBpmDigitCount]) {
    int rest = bpmHundredths(bpm);
    for (int place = kBpmDigitCount - 1; place >= 0; --place) {
        digits[place] = rest % 10;
        rest /= 10;
    }
}

float bpmFromDigits(const int digits[kBpmDigitCount]) {
    int hundredths = 0;
    for (int place = 0; place < kBpmDigitCount; ++place) {
        const int d = digits[place] < 0 ? 0 : (digits[place] > 9 ? 9 : digits[place]);
        hundredths = hundredths * 10 + d;
    }
    return static_cast<float>(hundredths / 100.0);
}
