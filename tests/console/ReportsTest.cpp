// Decoding of answers and tag reports, the tag number in both display modes,
// and the report count.
#include "console/portable/Reports.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TChunkInfo Decode(const std::string& chunk)
{
    return DecodeChunk(reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size());
}

} // namespace

TEST(Reports, ChunkKindsAreDecidedByTheFirstBytes)
{
    const std::pair<std::string, TChunkKind> rows[] = {
        {"6", TChunkKind::Success},
        {"6\r\n", TChunkKind::Success},
        {"602A10000BC614E\r\n", TChunkKind::Success},
        {"9", TChunkKind::Failure},
        {"9xyz", TChunkKind::Failure},
        {"02", TChunkKind::Report},
        {"0", TChunkKind::Other},
        {"2", TChunkKind::Other},
        {"", TChunkKind::Other},
        {"03A1", TChunkKind::Other},
        {"20", TChunkKind::Other},
        {" 02", TChunkKind::Other},
        {std::string("\0" "02", 3), TChunkKind::Other},
        {"\x36\x39", TChunkKind::Success},
    };
    for (const auto& [chunk, kind] : rows) {
        const TChunkInfo info = Decode(chunk);
        EXPECT_EQ(info.Kind, kind) << '"' << chunk << '"';
        if (kind != TChunkKind::Report) {
            EXPECT_EQ(info.Line, "");
            EXPECT_FALSE(TagNumberText(info, true).has_value());
        }
    }
}

TEST(Reports, TypicalReport)
{
    const TChunkInfo info = Decode("02A10000BC614E\r\n");
    ASSERT_EQ(info.Kind, TChunkKind::Report);
    EXPECT_EQ(info.Line, "30 32 41 31 30 30 30 30 42 43 36 31 34 45 0D 0A");
    EXPECT_EQ(info.TagHex, "0000BC614E");
    EXPECT_EQ(TagNumberText(info, true), "0000BC614E");
    EXPECT_EQ(TagNumberText(info, false), "0012345678");
}

TEST(Reports, TagNumberInBothModes)
{
    struct TRow {
        std::string Chunk;
        std::string Hex;
        std::optional<std::string> Decimal;
    };
    const TRow rows[] = {
        {"02A100FFFFFFFF\r\n", "00FFFFFFFF", "4294967295"},
        {"02A10000000001\r\n", "0000000001", "0000000001"},
        {"02A1FFFFFFFFFF\r\n", "FFFFFFFFFF", std::nullopt},
        {"02A10100000000\r\n", "0100000000", std::nullopt},
        {"02A100000abcde\r\n", "00000abcde", "0000703710"},
        {"02A10000BC614E99\r\n", "0000BC614E", "0012345678"},
        // Fewer than five digits: an empty tag number.
        {"02\r\n", "", std::nullopt},
        {"02A1\r\n", "", std::nullopt},
        {"02", "", std::nullopt},
        {"02A1B", "B", "0000000011"},
        // Non-hexadecimal bytes inside are passed over, a zero byte included.
        {std::string("02 A1-00:00\xB0" "BC61\0" "4E\r\n", 21), "0000BC614E", "0012345678"},
        {"02\xA3\xB1\xA3\xB2" "A1gh12", "12", "0000000018"},
    };
    for (const auto& row : rows) {
        const TChunkInfo info = Decode(row.Chunk);
        ASSERT_EQ(info.Kind, TChunkKind::Report) << row.Chunk;
        EXPECT_EQ(info.TagHex, row.Hex) << row.Chunk;
        EXPECT_EQ(TagNumberText(info, true), row.Hex) << row.Chunk;
        EXPECT_EQ(TagNumberText(info, false), row.Decimal) << row.Chunk;
    }
}

TEST(Reports, LineHoldsEveryByteOfTheChunk)
{
    std::string chunk = "02";
    while (chunk.size() < 300) chunk += static_cast<char>(chunk.size() * 7);
    const TChunkInfo info = Decode(chunk);
    ASSERT_EQ(info.Kind, TChunkKind::Report);
    ASSERT_EQ(info.Line.size(), 300u * 3 - 1);
    for (size_t i = 0; i < 300; ++i) {
        static const char kDigits[] = "0123456789ABCDEF";
        const auto b = static_cast<uint8_t>(chunk[i]);
        EXPECT_EQ(info.Line[i * 3], kDigits[b >> 4]) << i;
        EXPECT_EQ(info.Line[i * 3 + 1], kDigits[b & 15]) << i;
        if (i != 299) {
            EXPECT_EQ(info.Line[i * 3 + 2], ' ') << i;
        }
    }

    const std::string big = "02" + std::string(4094, 'a');
    const TChunkInfo bigInfo = Decode(big);
    EXPECT_EQ(bigInfo.Line.size(), 4096u * 3 - 1);
    EXPECT_EQ(bigInfo.TagHex, "aaaaaaaaaa");
}

TEST(Reports, KeepHexDigitKeepsCaseAndDropsTheRest)
{
    for (int c = 0; c < 256; ++c) {
        const bool digit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        EXPECT_EQ(KeepHexDigit(static_cast<uint8_t>(c)), digit ? std::string(1, static_cast<char>(c)) : "") << c;
    }
}

TEST(Reports, DecimalTagNumberText)
{
    EXPECT_EQ(TagNumberDecimal("0"), "0000000000");
    EXPECT_EQ(TagNumberDecimal("FFFFFFFF"), "4294967295");
    EXPECT_EQ(TagNumberDecimal("000000000000000000001"), "0000000001");
    EXPECT_FALSE(TagNumberDecimal("100000000").has_value());
    EXPECT_FALSE(TagNumberDecimal("").has_value());
    EXPECT_FALSE(TagNumberDecimal("12 ").has_value());
    EXPECT_FALSE(TagNumberDecimal("$12").has_value());
}

TEST(Reports, CountGoesUpByOneOrStays)
{
    EXPECT_EQ(NextReportCount("0"), "1");
    EXPECT_EQ(NextReportCount("41"), "42");
    EXPECT_EQ(NextReportCount("-1"), "0");
    EXPECT_EQ(NextReportCount("2147483646"), "2147483647");
    for (const char* stays : {"", "abc", "1.5", "2147483647", "99999999999"})
        EXPECT_FALSE(NextReportCount(stays).has_value()) << stays;
}
