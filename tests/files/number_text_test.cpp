// The song file's number conversions against the C library's printf and scanf.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "files/number_text.h"

namespace {

std::string printfFixed(float value, int decimals) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
    return buffer;
}

std::string fastFixed(float value, int decimals) {
    std::string out;
    appendFixed(out, value, decimals);
    return out;
}

TEST(NumberText, FixedMatchesPrintfByteForByte) {
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> small(-200.0f, 200.0f);
    std::uniform_int_distribution<uint32_t> bits;
    for (int decimals : {2, 3, 5, 6}) {
        for (int n = 0; n < 200000; ++n) {
            float value = small(random);
            if (n % 4 == 0) {
                uint32_t raw = bits(random);
                std::memcpy(&value, &raw, sizeof value); // any float, huge, tiny, nan, inf
            }
            ASSERT_EQ(fastFixed(value, decimals), printfFixed(value, decimals))
                << "value " << value << " decimals " << decimals;
        }
    }
    // Exact ties round to even, as printf does; negative zero keeps its sign.
    for (float tie : {0.125f, 0.375f, 2.5f, -0.125f, 0.0005f, -0.0f, 1e-9f, -1e-9f})
        for (int decimals : {0, 2, 3})
            EXPECT_EQ(fastFixed(tie, decimals), printfFixed(tie, decimals));
}

TEST(NumberText, IntegersMatchPrintf) {
    for (int32_t value : {0, 7, -1, 65535, 2147483647, -2147483647 - 1}) {
        std::string out;
        appendInt(out, value);
        EXPECT_EQ(out, std::to_string(value));
    }
}

// Reads `text` with both the scanner and sscanf: same result, value and characters consumed.
void expectIntLikeScanf(const char* text) {
    TextCursor in{text, text + std::strlen(text)};
    int32_t value = -7;
    ScanResult result = scanInt(in, value);
    int expected = -7, consumed = -1;
    int matched = std::sscanf(text, "%d%n", &expected, &consumed);
    if (matched == 1) {
        EXPECT_EQ(result, ScanResult::Ok) << text;
        EXPECT_EQ(value, expected) << text;
        EXPECT_EQ(in.pos - text, consumed) << text;
    } else {
        EXPECT_EQ(result, matched == EOF ? ScanResult::End : ScanResult::Fail) << text;
    }
}

void expectFloatLikeScanf(const char* text) {
    TextCursor in{text, text + std::strlen(text)};
    float value = -7.0f;
    ScanResult result = scanFloat(in, value);
    float expected = -7.0f;
    int consumed = -1;
    int matched = std::sscanf(text, "%f%n", &expected, &consumed);
    if (matched == 1) {
        EXPECT_EQ(result, ScanResult::Ok) << text;
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(value)) << text;
            EXPECT_EQ(std::signbit(value), std::signbit(expected)) << text;
        } else {
            EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0)
                << text << ": " << value << " vs " << expected;
        }
        EXPECT_EQ(in.pos - text, consumed) << text;
    } else {
        EXPECT_EQ(result, matched == EOF ? ScanResult::End : ScanResult::Fail) << text;
    }
}

TEST(NumberText, IntScanAgreesWithScanf) {
    for (const char* text : {"0",
                             "  42",
                             "\n\t-17 ",
                             "+5",
                             "5.7",
                             "12abc",
                             "0x10",
                             "99999999999",
                             "-99999999999",
                             "2147483648",
                             "9223372036854775808",
                             "-9223372036854775809",
                             "4294967297",
                             "-",
                             "+",
                             "--1",
                             "x",
                             "",
                             "   ",
                             "\v\f\r7"})
        expectIntLikeScanf(text);
}

TEST(NumberText, FloatScanAgreesWithScanf) {
    for (const char* text : {"0",
                             "1.5",
                             "-0.125",
                             " .5",
                             "1.",
                             "1e5",
                             "1E-3",
                             "1ex",
                             "1e",
                             "1e+",
                             "1.e2",
                             "12abc",
                             "1.5.5",
                             "nan",
                             "-nan",
                             "NaN",
                             "nan(123)",
                             "inf",
                             "-inf",
                             "INF",
                             "infinity",
                             "infx",
                             "Infinityy",
                             "0x1p3",
                             "0X1.8P1",
                             "-0x.8",
                             "0x1p",
                             "1e400",
                             "-1e400",
                             "1e-50",
                             "1e-40",
                             "3.4028235e38",
                             "3.4028236e38",
                             "0.1000000000000000055511151231257827",
                             "-",
                             ".",
                             "+-1",
                             "0x",
                             "e5",
                             "+.e1",
                             "",
                             "  ",
                             "abc",
                             "123456789012345678901234567890"})
        expectFloatLikeScanf(text);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> any(-1000.0, 1000.0);
    for (int n = 0; n < 20000; ++n) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*g", 1 + n % 17, any(random));
        expectFloatLikeScanf(text);
    }
}

TEST(NumberText, TokensAreRunsOfNonSpace) {
    const char text[] = "  v3\nBPM\t120.5 \r\n";
    TextCursor in{text, text + sizeof text - 1};
    const char* token;
    size_t length;
    ASSERT_TRUE(scanToken(in, token, length));
    EXPECT_EQ(std::string(token, length), "v3");
    ASSERT_TRUE(scanToken(in, token, length));
    EXPECT_EQ(std::string(token, length), "BPM");
    ASSERT_TRUE(scanToken(in, token, length));
    EXPECT_EQ(std::string(token, length), "120.5");
    EXPECT_FALSE(scanToken(in, token, length));
}

} // namespace
