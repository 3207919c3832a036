#include "tests/skin/support/AllocationCount.h"
#include "tests/skin/support/SkinTestData.h"
#include "skin/portable/SkinContainer.h"

#include <gtest/gtest.h>

using namespace skintest;

namespace {

std::vector<uint8_t> Pack(const std::vector<TSkinEntry>& entries, int32_t version = 20000)
{
    return CompressContainer(BuildUnpacked(entries, version));
}

std::vector<uint8_t> Raw(const std::string& table, const std::vector<int32_t>& sizes, const std::string& data,
                         int32_t version = 20000)
{
    return CompressContainer(RawUnpacked(version, table, sizes, Bytes(data)));
}

std::string Text(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(SkinContainer, OnlyVersion20000LoadsAndOthersReportOnce)
{
    for (int32_t version : {19999, 20001, 0, -1, 10000}) {
        TSkinReader reader;
        std::vector<std::string> shown;
        reader.OnVersionMessage = [&](const std::string& text) { shown.push_back(text); };
        EXPECT_FALSE(reader.ReadSkin(Pack({{"a.ini", Bytes("x")}}, version))) << version;
        EXPECT_EQ(reader.LastResult(), TSkinReadResult::srOlderVersion);
        EXPECT_EQ(reader.Version(), version);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], "This is Older Skin File\rPlease update to new version !");
    }
    TSkinReader reader;
    EXPECT_TRUE(reader.ReadSkin(Pack({{"a.ini", Bytes("x")}})));
    EXPECT_EQ(reader.LastResult(), TSkinReadResult::srLoaded);
}

TEST(SkinContainer, RefusalsLeaveTheLoadedOneInPlaceAndOnlyAVersionRefusalTheHeader)
{
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadSkin(Pack({{"skin.ini", Bytes("[A]")}, {"t.bmp", Bytes("BM12")}})));
    const int32_t loadedTable = reader.NameTableSize();
    const auto expectLoadedEntries = [&](const char* step) {
        ASSERT_EQ(reader.Count(), 2) << step;
        std::vector<uint8_t> got;
        reader.GetFile("t.bmp", got);
        EXPECT_EQ(Text(got), "BM12") << step;
    };
    const std::vector<uint8_t> damaged = Raw("a\r\n", {-1}, "");
    const std::vector<uint8_t> older = Pack({{"other.ini", Bytes("")}}, 19999);

    EXPECT_FALSE(reader.ReadSkin(damaged));
    expectLoadedEntries("damaged");
    EXPECT_EQ(reader.Version(), 20000);
    EXPECT_EQ(reader.NameTableSize(), loadedTable);

    EXPECT_FALSE(reader.ReadSkin(older));
    expectLoadedEntries("older");
    EXPECT_EQ(reader.Version(), 19999);
    EXPECT_EQ(reader.NameTableSize(), 11); // "other.ini" CR LF

    EXPECT_FALSE(reader.ReadSkin(damaged));
    expectLoadedEntries("damaged after older");
    EXPECT_EQ(reader.Version(), 19999);
    EXPECT_EQ(reader.NameTableSize(), 11);
}

TEST(SkinContainer, AMillionBlankNamesAreRefusedWithoutMemoryGrowingWithThem)
{
    // Each blank line would be an entry; the table is refused at entry 1,002
    // without a string or a list slot made for the lines after it.
    const std::vector<uint8_t> unpacked = RawUnpacked(20000, std::string(1000000, '\n') + "a.ini\n", {}, {});
    const std::vector<uint8_t> container = CompressContainer(unpacked);
    TSkinReader reader;
    TAllocationCount count;
    EXPECT_FALSE(reader.ReadSkin(container));
    EXPECT_EQ(reader.LastResult(), TSkinReadResult::srDamaged);
    // The unpacked buffer itself, the decoder's tables and at most 1,001 names.
    EXPECT_LT(count.Bytes(), unpacked.size() + 256 * 1024);
}

TEST(SkinContainer, NameTableLinesAsTheClassLibrarySplitsThem)
{
    struct TCase {
        const char* Table;
        size_t TableSize;
        std::vector<std::string> Names;
    } cases[] = {
        {"", 0, {}},
        {"a.ini\r\nb.bmp\r\n", 14, {"a.ini", "b.bmp"}},
        {"a.ini\rb.bmp", 11, {"a.ini", "b.bmp"}},
        {"a.ini\nb.bmp\n", 12, {"a.ini", "b.bmp"}},
        {"a\r\n\r\nb", 6, {"a", "", "b"}},
        {"a\n\rb", 4, {"a", "", "b"}},
        {"a\r\n\nb", 5, {"a", "", "b"}},
        {"\r\n", 2, {""}},
        {"a\0b\r\nc", 6, {"a"}},
        {"Title.BMP\r\nSKIN.Ini", 19, {"title.bmp", "skin.ini"}},
        {"\xb1\xb3\xBE\xB0.bmp", 8, {"\xb1\xb3\xBE\xB0.bmp"}},
    };
    for (const TCase& c : cases) {
        const std::string table(c.Table, c.TableSize);
        std::vector<int32_t> sizes(c.Names.size(), 1);
        TSkinReader reader;
        ASSERT_TRUE(reader.ReadSkin(Raw(table, sizes, std::string(c.Names.size(), 'z')))) << table;
        ASSERT_EQ(reader.Count(), static_cast<int>(c.Names.size())) << table;
        for (size_t i = 0; i < c.Names.size(); ++i) EXPECT_EQ(reader.Names(static_cast<int>(i)), c.Names[i]);
    }
}

TEST(SkinContainer, LookupsFollowTheCaseRules)
{
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadSkin(Raw("Title.BMP\r\nskin.ini\r\nTITLE.bmp\r\n", {2, 3, 4}, "t1inidup!")));
    std::vector<uint8_t> got;
    std::string name = "unchanged";

    reader.GetFile("TITLE.bmp", got); // both sides lower-cased; first of two equal names
    EXPECT_EQ(Text(got), "t1");
    reader.GetFile("none.bmp", got);
    EXPECT_TRUE(got.empty());

    reader.FindFile(".BMP", got, name); // FindFile does not lower-case what it looks for
    EXPECT_TRUE(got.empty());
    EXPECT_EQ(name, "unchanged");
    reader.FindFile(".ini", got, name);
    EXPECT_EQ(Text(got), "ini");
    EXPECT_EQ(name, "skin.ini");
}

TEST(SkinContainer, EmptyNamesAndEmptyTable)
{
    TSkinReader empty;
    ASSERT_TRUE(empty.ReadSkin(Raw("", {}, "")));
    std::vector<uint8_t> got{1};
    std::string name = "kept";
    empty.GetFile("", got);
    empty.FindFile(".ini", got, name);
    EXPECT_TRUE(got.empty());
    EXPECT_EQ(name, "kept");

    // A blank line is an entry of its own with its own size.
    TSkinReader blank;
    ASSERT_TRUE(blank.ReadSkin(Raw("a.ini\r\n\r\nb.bmp", {1, 2, 3}, "ABBCCC")));
    blank.GetFile("", got);
    EXPECT_EQ(Text(got), "BB");
    blank.GetFile("b.bmp", got);
    EXPECT_EQ(Text(got), "CCC");
}

TEST(SkinContainer, ContainersThatWouldLeaveTheBuffersAreNotLoadable)
{
    std::string many;
    for (int i = 0; i < 1002; ++i) many += "e" + std::to_string(i) + "\r\n";
    const std::vector<uint8_t> good = Raw("a\r\n", {1}, "A");
    std::vector<uint8_t> hugeSize = good;
    hugeSize[3] = 0x7F;
    std::vector<uint8_t> negativeSize = good;
    negativeSize[3] = 0x80;
    std::vector<uint8_t> shortTable = RawUnpacked(20000, "a\r\nb", {1, 1}, Bytes("AB"));
    shortTable[4] = 100; // name table longer than everything after the header
    std::vector<uint8_t> negativeTable = RawUnpacked(20000, "a", {1}, Bytes("A"));
    negativeTable[7] = 0xFF;
    std::vector<uint8_t> truncated = Pack({{"big.bmp", RandomBytes(5000, 5)}});
    truncated.resize(truncated.size() - 200);
    // Input enough for the size, which no skin within the pixel budget needs.
    std::vector<uint8_t> tooLarge;
    PutLE(tooLarge, static_cast<uint32_t>(TSkinReader::kMaxUnpackedSize + 1), 4);
    const std::vector<uint8_t> noise = RandomBytes(static_cast<size_t>(TSkinReader::kMaxUnpackedSize / 40), 6);
    tooLarge.insert(tooLarge.end(), noise.begin(), noise.end());

    struct TCase {
        const char* Name;
        std::vector<uint8_t> Source;
        TSkinReadResult Result;
    } cases[] = {
        {"no bytes", {}, TSkinReadResult::srNoSize},
        {"three bytes", {1, 0, 0}, TSkinReadResult::srNoSize},
        {"size only", {0, 0, 0, 0}, TSkinReadResult::srDamaged},
        {"negative size", negativeSize, TSkinReadResult::srBadSize},
        {"size beyond the input", hugeSize, TSkinReadResult::srBadSize},
        {"stream cut short", truncated, TSkinReadResult::srTruncated},
        {"unpacks larger than a skin may", tooLarge, TSkinReadResult::srTooLarge},
        {"short header", CompressContainer(Bytes(std::string("\x20\x4e\0\0\0\0\0\0", 8))), TSkinReadResult::srDamaged},
        {"1002 entries", Raw(many, std::vector<int32_t>(1002, 0), ""), TSkinReadResult::srDamaged},
        {"table past the data", CompressContainer(shortTable), TSkinReadResult::srDamaged},
        {"negative table length", CompressContainer(negativeTable), TSkinReadResult::srDamaged},
        {"sizes past the data", Raw("a\r\nb\r\n", {1}, ""), TSkinReadResult::srDamaged},
        {"entries past the data", Raw("a\r\nb\r\n", {2, 2}, "abc"), TSkinReadResult::srDamaged},
        {"negative entry size", Raw("a\r\nb\r\n", {-1, 2}, "a"), TSkinReadResult::srDamaged},
        {"sizes whose sum overflows", Raw("a\r\nb\r\n", {INT32_MAX, INT32_MAX}, "ab"), TSkinReadResult::srDamaged},
    };
    for (const TCase& c : cases) {
        TSkinReader reader;
        bool shown = false;
        reader.OnVersionMessage = [&](const std::string&) { shown = true; };
        EXPECT_FALSE(reader.ReadSkin(c.Source)) << c.Name;
        EXPECT_EQ(reader.LastResult(), c.Result) << c.Name;
        EXPECT_EQ(reader.Count(), 0) << c.Name;
        EXPECT_FALSE(shown) << c.Name;
    }
}

TEST(SkinContainer, ExactlyTheLimitsLoad)
{
    std::vector<TSkinEntry> entries;
    for (int i = 0; i < 1001; ++i) entries.push_back({"e" + std::to_string(i) + ".bmp", Bytes(std::to_string(i))});
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadSkin(Pack(entries)));
    EXPECT_EQ(reader.Count(), 1001);
    std::vector<uint8_t> got;
    reader.GetFile("E1000.BMP", got);
    EXPECT_EQ(Text(got), "1000");
    // Sizes that add up to the data area exactly; trailing bytes beyond them are ignored.
    EXPECT_TRUE(reader.ReadSkin(Raw("a\r\nb\r\n", {1, 2}, "abc")));
    EXPECT_TRUE(reader.ReadSkin(Raw("a\r\nb\r\n", {1, 2}, "abcdef")));
}

TEST(SkinContainer, RealSkinRoundTripsThroughThePacker)
{
    const std::vector<TSkinEntry> entries = {
        {"Skin.ini", SampleText(4000)},
        {"Top.bmp", MakeBmp24(120, 60, 1)},
        {"buttons.bmp", MakeBmp24(75, 21, 2)},
        {"empty.bmp", {}},
    };
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadSkin(Pack(entries)));
    ASSERT_EQ(reader.Count(), 4);
    std::vector<uint8_t> got;
    std::string name;
    reader.FindFile(".ini", got, name);
    EXPECT_EQ(name, "skin.ini");
    EXPECT_EQ(got, entries[0].Bytes);
    for (size_t i = 1; i < entries.size(); ++i) {
        reader.GetFile(entries[i].Name, got);
        EXPECT_EQ(got, entries[i].Bytes) << entries[i].Name;
    }
}
