// The tempo as the five digits the BPM display shows and the digit keys edit (hundreds to
// hundredths).
#pragma once

inline constexpr int kBpmDigitCount = 5;

// Splits a tempo into hundreds, tens, units, tenths and hundredths. The tempo is rounded to the
// nearest hundredth first, so a typed tempo reads back as typed although the float holds it a
// hair low (123.45f is 123.4499969...). NaN and negative tempos show 000.00; tempos above 999.99
// show 999.99. Every digit is 0..9.
void splitBpmDigits(float bpm, int digits[kBpmDigitCount]);

// The tempo the five digits spell (digits outside 0..9 are clamped into it).
float bpmFromDigits(const int digits[kBpmDigitCount]);
