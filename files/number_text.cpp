// Numbers as text: fast printf/scanf-exact conversions for the song file.
#include "files/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>

namespace {

constexpr double kPowersOfTen[7] = {1, 10, 100, 1000, 10000, 100000, 1000000};

// Writes `value` with at least `minDigits` digits ending just before `end`; returns the start.
char* formatUnsigned(char* end, uint64_t value, int minDigits) {
    char* p = end;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0 || end - p < minDigits);
    return p;
}

void skipSpace(TextCursor& in) {
    while (in.pos < in.end && isTextSpace(*in.pos)) ++in.pos;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Case-insensitive match of an ASCII lower-case word at the cursor.
bool startsWithWord(const char* p, const char* end, const char* word) {
    for (; *word; ++word, ++p)
        if (p >= end || (*p | 0x20) != *word) return false;
    return true;
}

float signedValue(bool negative, float magnitude) {
    return negative ? -magnitude : magnitude;
}

// Converts the text [begin, end) of a number without sign, which the caller has already checked,
// with the C library's correctly rounded conversion, in the C locale's notation.
float convertWithLibrary(const char* begin, const char* end) {
    char buffer[128];
    std::string heap;
    const char* text;
    size_t length = static_cast<size_t>(end - begin);
    if (length < sizeof buffer) {
        std::memcpy(buffer, begin, length);
        buffer[length] = '\0';
        text = buffer;
    } else {
        heap.assign(begin, end);
        text = heap.c_str();
    }
    // The C locale, whatever the program's locale says about the decimal point.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtof_l(text, nullptr, cLocale);
}

// Digits, an optional fraction and an exponent marker with optional sign and digits, the way
// the scanner of the C library takes them. Returns false when the mantissa has no digit.
bool scanDecimalText(TextCursor& in, const char*& numberEnd) {
    const char* p = in.pos;
    bool anyDigit = false;
    while (p < in.end && isDigit(*p)) ++p, anyDigit = true;
    if (p < in.end && *p == '.') {
        ++p;
        while (p < in.end && isDigit(*p)) ++p, anyDigit = true;
    }
    if (!anyDigit) {
        in.pos = p;
        return false;
    }
    numberEnd = p;
    if (p < in.end && (*p == 'e' || *p == 'E')) {
        const char* exponent = p + 1;
        if (exponent < in.end && (*exponent == '+' || *exponent == '-')) ++exponent;
        const char* digits = exponent;
        while (exponent < in.end && isDigit(*exponent)) ++exponent;
        if (exponent > digits) numberEnd = exponent; // a marker without digits is not used
        p = exponent;
    }
    in.pos = p;
    return true;
}

bool scanHexText(TextCursor& in, const char*& numberEnd) {
    const char* p = in.pos + 2; // after "0x"
    bool anyDigit = false;
    while (p < in.end && isHexDigit(*p)) ++p, anyDigit = true;
    if (p < in.end && *p == '.') {
        ++p;
        while (p < in.end && isHexDigit(*p)) ++p, anyDigit = true;
    }
    if (!anyDigit) {
        in.pos = p;
        return false;
    }
    numberEnd = p;
    if (p < in.end && (*p == 'p' || *p == 'P')) {
        const char* exponent = p + 1;
        if (exponent < in.end && (*exponent == '+' || *exponent == '-')) ++exponent;
        const char* digits = exponent;
        while (exponent < in.end && isDigit(*exponent)) ++exponent;
        if (exponent > digits) numberEnd = exponent;
        p = exponent;
    }
    in.pos = p;
    return true;
}

float convertDecimal(const char* begin, const char* end) {
    float value = 0.0f;
    auto [ptr, error] = std::from_chars(begin, end, value, std::chars_format::general);
    if (error == std::errc() && ptr == end) return value;
    return convertWithLibrary(begin, end); // out of range: infinity or a (sub)normal near zero
}

} // namespace

void appendInt(std::string& out, int32_t value) {
    char text[16];
    char* end = text + sizeof text;
    const int64_t wide = value;
    char* p = formatUnsigned(end, static_cast<uint64_t>(wide < 0 ? -wide : wide), 1);
    if (wide < 0) *--p = '-';
    out.append(p, static_cast<size_t>(end - p));
}

void appendFixed(std::string& out, float value, int decimals) {
    // A float times a power of ten up to 10^6 is exact in double, so rounding the product to
    // the nearest integer (ties to even) is the rounding printf applies to the exact value.
    const double scaled = std::fabs(static_cast<double>(value)) * kPowersOfTen[decimals];
    if (!std::isfinite(value) || scaled >= 9.0e15) {
        char buffer[64];
        char format[8] = {'%', '.', static_cast<char>('0' + decimals), 'f', '\0'};
        int length = std::snprintf(buffer, sizeof buffer, format, static_cast<double>(value));
        if (length >= static_cast<int>(sizeof buffer)) {
            std::string big(static_cast<size_t>(length) + 1, '\0');
            std::snprintf(big.data(), big.size(), format, static_cast<double>(value));
            out.append(big.data(), static_cast<size_t>(length));
        } else {
            out.append(buffer, static_cast<size_t>(length));
        }
        return;
    }
    const uint64_t units = static_cast<uint64_t>(std::nearbyint(scaled));
    const uint64_t divisor = static_cast<uint64_t>(kPowersOfTen[decimals]);
    char text[40];
    char* end = text + sizeof text;
    char* p = end;
    if (decimals > 0) {
        p = formatUnsigned(end, units % divisor, decimals);
        *--p = '.';
    }
    p = formatUnsigned(p, units / divisor, 1);
    if (std::signbit(value)) *--p = '-';
    out.append(p, static_cast<size_t>(end - p));
}

ScanResult scanInt(TextCursor& in, int32_t& value) {
    skipSpace(in);
    if (in.pos == in.end) return ScanResult::End;
    bool negative = false;
    if (*in.pos == '+' || *in.pos == '-') negative = *in.pos++ == '-';
    if (in.pos == in.end || !isDigit(*in.pos)) return ScanResult::Fail;
    // Accumulate as the library's strtol does, saturating at the 64-bit limits.
    const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
    uint64_t magnitude = 0;
    for (; in.pos < in.end && isDigit(*in.pos); ++in.pos) {
        const uint64_t digit = static_cast<uint64_t>(*in.pos - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    const uint64_t bits = negative ? ~magnitude + 1 : magnitude;
    value = static_cast<int32_t>(static_cast<uint32_t>(bits));
    return ScanResult::Ok;
}

ScanResult scanFloat(TextCursor& in, float& value) {
    skipSpace(in);
    if (in.pos == in.end) return ScanResult::End;
    bool negative = false;
    if (*in.pos == '+' || *in.pos == '-') negative = *in.pos++ == '-';
    if (startsWithWord(in.pos, in.end, "inf")) {
        in.pos += startsWithWord(in.pos, in.end, "infinity") ? 8 : 3;
        value = signedValue(negative, std::numeric_limits<float>::infinity());
        return ScanResult::Ok;
    }
    if (startsWithWord(in.pos, in.end, "nan")) {
        in.pos += 3;
        value = signedValue(negative, std::numeric_limits<float>::quiet_NaN());
        return ScanResult::Ok;
    }
    const char* begin = in.pos;
    const char* numberEnd = nullptr;
    if (in.end - in.pos >= 2 && in.pos[0] == '0' && (in.pos[1] | 0x20) == 'x') {
        if (!scanHexText(in, numberEnd)) return ScanResult::Fail;
        value = signedValue(negative, convertWithLibrary(begin, numberEnd));
        return ScanResult::Ok;
    }
    if (!scanDecimalText(in, numberEnd)) return ScanResult::Fail;
    value = signedValue(negative, convertDecimal(begin, numberEnd));
    return ScanResult::Ok;
}

bool scanToken(TextCursor& in, const char*& tokenStart, size_t& tokenLength) {
    skipSpace(in);
    if (in.pos == in.end) return false;
    tokenStart = in.pos;
    while (in.pos < in.end && !isTextSpace(*in.pos)) ++in.pos;
    tokenLength = static_cast<size_t>(in.pos - tokenStart);
    return true;
}
