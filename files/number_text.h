// Numbers as text: printf-exact fixed-point formatting and scanf-exact %d and %f reading.
#pragma once

#include <cstdint>
#include <string>

// Appends `value` as printf("%d") writes it.
void appendInt(std::string& out, int32_t value);

// Appends `value` as printf("%.<decimals>f") writes it (decimals 0..6), byte for byte, with
// "-0.000" for negative values that round to zero and "nan"/"inf" for the special values.
void appendFixed(std::string& out, float value, int decimals);

enum class ScanResult {
    Ok,   // a number was read
    Fail, // text is present that is not a number
    End,  // only white space is left
};

// A read position in a byte buffer.
struct TextCursor {
    const char* pos;
    const char* end;
};

// Reads like scanf("%d"): leading white space, sign, decimal digits. A value beyond the int
// range keeps its low 32 bits, as the C library on this platform stores it.
ScanResult scanInt(TextCursor& in, int32_t& value);

// Reads like scanf("%f"): decimal and hexadecimal floats, "inf", "infinity" and "nan" in any
// case, an exponent marker without digits consumed and ignored. Correctly rounded to float;
// out of range gives infinity or zero.
ScanResult scanFloat(TextCursor& in, float& value);

// Skips white space and takes the next run of other characters. Returns false at the end.
bool scanToken(TextCursor& in, const char*& tokenStart, size_t& tokenLength);

// The white space of the C locale: blank, tab, line feed, vertical tab, form feed, return.
inline bool isTextSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
