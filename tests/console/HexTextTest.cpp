// Hexadecimal text to bytes: examples, separators of every kind, lone digits,
// bytes outside ASCII, and long text.
#include "console/portable/Frames.h"

#include <gtest/gtest.h>

#include <string>

TEST(HexText, Examples)
{
    const std::pair<std::string, TBytes> rows[] = {
        {"08 01 0A", {0x08, 0x01, 0x0A}},
        {"0801", {0x08, 0x01}},
        {"123", {0x12, 0x03}},
        {"1 2", {0x01, 0x02}},
        {"abc", {0xAB, 0x0C}},
        {"02 0a ff", {0x02, 0x0A, 0xFF}},
        {"xyz", {}},
        {"", {}},
        {"   ", {}},
        {"1", {0x01}},
        {"  F", {0x0F}},
        {"fF", {0xFF}},
        {"A 1B", {0x0A, 0x1B}},
        {"1 2 3 4 5", {0x01, 0x02, 0x03, 0x04, 0x05}},
        {"0x1F", {0x00, 0x1F}},
    };
    for (const auto& [text, bytes] : rows) EXPECT_EQ(HexTextToBytes(text), bytes) << '"' << text << '"';
}

TEST(HexText, EveryNonDigitByteSeparates)
{
    for (int c = 0; c < 256; ++c) {
        const bool digit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        if (digit) continue;
        const std::string sep(1, static_cast<char>(c));
        EXPECT_EQ(HexTextToBytes("1" + sep + "2" + sep + sep + "AB" + sep), (TBytes{0x01, 0x02, 0xAB})) << c;
        EXPECT_EQ(HexTextToBytes(sep + "0a" + sep + "F"), (TBytes{0x0A, 0x0F})) << c;
    }
}

TEST(HexText, BytesOutsideAsciiAreNotDigits)
{
    // GB2312 text, full-width digits, and bytes whose low 7 bits are digits.
    EXPECT_EQ(HexTextToBytes("\xD6\xD0\xCE\xC4"), TBytes{});
    EXPECT_EQ(HexTextToBytes("\xA3\xB1\xA3\xB2"), TBytes{});
    EXPECT_EQ(HexTextToBytes("\xB1\xC1\xE1\xB9"), TBytes{});
    EXPECT_EQ(HexTextToBytes("A\xB1" "B"), (TBytes{0x0A, 0x0B}));
    EXPECT_EQ(HexTextToBytes("\xD6" "12\xD0" "3"), (TBytes{0x12, 0x03}));
}

TEST(HexText, NeverReadsPastTheText)
{
    const std::string backing = "1234";
    EXPECT_EQ(HexTextToBytes(std::string_view(backing).substr(0, 3)), (TBytes{0x12, 0x03}));
    EXPECT_EQ(HexTextToBytes(std::string_view(backing).substr(0, 1)), (TBytes{0x01}));
    EXPECT_EQ(HexTextToBytes(std::string_view(backing).substr(0, 0)), TBytes{});
    const std::string withNul("1\0" "2", 3);
    EXPECT_EQ(HexTextToBytes(withNul), (TBytes{0x01, 0x02}));
}

TEST(HexText, LongText)
{
    const size_t size = 64 * 1024;
    EXPECT_EQ(HexTextToBytes(std::string(size, 'f')), TBytes(size / 2, 0xFF));
    TBytes odd(size / 2, 0xEE);
    odd.push_back(0x0E);
    EXPECT_EQ(HexTextToBytes(std::string(size + 1, 'E')), odd);
    EXPECT_EQ(HexTextToBytes(std::string(size, ' ')), TBytes{});

    std::string spaced;
    TBytes expected;
    for (size_t i = 0; spaced.size() + 3 <= size; ++i) {
        const uint8_t b = static_cast<uint8_t>(i * 37);
        spaced += BytesToHexText(&b, 1) + ' ';
        expected.push_back(b);
    }
    EXPECT_EQ(HexTextToBytes(spaced), expected);
}
