#include "tests/skin/support/AllocationCount.h"
#include "skin/portable/QuickIni.h"

#include <gtest/gtest.h>

namespace {

void Load(TQuickIni& ini, const std::string& text)
{
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    ini.LoadFromStream(&bytes);
}

} // namespace

TEST(QuickIni, SectionsMatchTheBracketedLineWithoutRegardToCase)
{
    TQuickIni ini;
    Load(ini, "[Colours]\r\nA=1\r\n[ Fonts ]\r\nB=2\r\n[colours]\r\nA=3\r\n");
    EXPECT_EQ(ini.ReadString("colours", "a", "d"), "1");
    EXPECT_EQ(ini.ReadString("COLOURS", "A", "d"), "1"); // the first of two equal sections
    EXPECT_EQ(ini.ReadString("Fonts", "B", "d"), "d");   // blanks inside the brackets are part of the line
    EXPECT_EQ(ini.ReadString(" Fonts ", "B", "d"), "2");
    std::vector<std::string> sections{"stale"};
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{"Colours", "Fonts", "colours"}));
}

TEST(QuickIni, KeysAndValues)
{
    TQuickIni ini;
    Load(ini, 
        "top=never read\n"
        "[Fonts]\n"
        "   FontHeight = 14   \n"
        "Name=\n"
        "Name=x\n"
        "Tile=1 ; stretch\n"
        "; Comment=1\n"
        "Quoted = \"a  b\" \n"
        "NoEquals\n"
        "Path=c:\\a=b.bmp\n"
        "[Next]\n"
        "Other=1\n");
    struct TCase {
        const char* Key;
        const char* Expected;
    } cases[] = {
        {"FONTHEIGHT", "14"},       {"fontheight", "14"},   {"Name", "dflt"},  // first line with the key ends the search
        {"Tile", "1 ; stretch"},    {"; Comment", "dflt"},  {"Quoted", "\"a  b\""},
        {"NoEquals", "dflt"},       {"", "dflt"},           {"Path", "c:\\a=b.bmp"},
        {"Other", "dflt"},          {"top", "dflt"},
    };
    for (const TCase& c : cases) EXPECT_EQ(ini.ReadString("Fonts", c.Key, "dflt"), c.Expected) << c.Key;
}

TEST(QuickIni, LinesCommentsAndTheEndOfText)
{
    static const char raw[] = "\t[A]\r\rk1=a\n\rk2=b\r\n;k3=c\r\n  ; k4=d\nk5=e\0k6=f\n";
    const std::string text(raw, sizeof(raw) - 1);
    TQuickIni ini;
    Load(ini, text);
    EXPECT_EQ(ini.ReadString("A", "k1", "-"), "a");
    EXPECT_EQ(ini.ReadString("A", "k2", "-"), "b");
    EXPECT_EQ(ini.ReadString("A", "k3", "-"), "-");
    EXPECT_EQ(ini.ReadString("A", "k4", "-"), "-");
    EXPECT_EQ(ini.ReadString("A", "k5", "-"), "e");
    EXPECT_EQ(ini.ReadString("A", "k6", "-"), "-"); // after the NUL
}

TEST(QuickIni, IntegerConversion)
{
    TQuickIni ini;
    Load(ini, 
        "[N]\nhex=0x1F\nHEX=0X1f\ndollar=$1F\nneg=-5\nplus=+7\nempty=\nbad=12a\nspaced=1 2\n"
        "sys=0xFF00000F\nwide=$FFFFFFFF\nbig=0x100000000\ndec=2147483648\nmin=-2147483648\nbare=0x\nsemi=1 ; x\n");
    struct TCase {
        const char* Key;
        int32_t Expected;
    } cases[] = {
        {"hex", 31},
        {"HEX", 31},
        {"dollar", 31},
        {"neg", -5},
        {"plus", 7},
        {"empty", 99},
        {"bad", 99},
        {"spaced", 99},
        {"sys", static_cast<int32_t>(0xFF00000F)}, // eight digits wrap: a system colour, negative
        {"wide", -1},
        {"big", 99},
        {"dec", 99},
        {"min", INT32_MIN},
        {"bare", 99},
        {"semi", 99},
        {"missing", 99},
    };
    for (const TCase& c : cases) EXPECT_EQ(ini.ReadInteger("N", c.Key, 99), c.Expected) << c.Key;
    EXPECT_EQ(ini.ReadInteger("nosection", "hex", 7), 7);
}

TEST(QuickIni, LoadingReplacesAndNullChangesNothing)
{
    TQuickIni ini;
    Load(ini, "[A]\nk=1\n");
    ini.LoadFromStream(nullptr);
    EXPECT_EQ(ini.ReadString("A", "k", "-"), "1");
    const std::vector<uint8_t> next{'[', 'B', ']', '\n', 'k', '=', '2'};
    ini.LoadFromStream(&next, 4); // from the stream's position: no section line left
    EXPECT_EQ(ini.ReadString("A", "k", "-"), "-");
    EXPECT_EQ(ini.ReadString("B", "k", "-"), "-");
    ini.LoadFromStream(&next);
    EXPECT_EQ(ini.ReadString("B", "k", "-"), "2");
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, std::vector<std::string>{"B"});
}

TEST(QuickIni, SectionLineRecognition)
{
    EXPECT_TRUE(TQuickIni::IsSectionLine("[]"));
    EXPECT_TRUE(TQuickIni::IsSectionLine("[a=b]"));
    EXPECT_FALSE(TQuickIni::IsSectionLine("["));
    EXPECT_FALSE(TQuickIni::IsSectionLine("[a] x"));
    EXPECT_EQ(TQuickIni::KeyOf(" Key Name =v"), "key name");
    EXPECT_EQ(TQuickIni::ValueOf("k=v", "K"), ""); // the key must already be lower case
    EXPECT_EQ(TQuickIni::ValueOf("k= v ", "k"), "v");
}

TEST(QuickIni, OnlyKeptLinesTakeMemory)
{
    std::string text = "[A]\r\n";
    for (int i = 0; i < 1000000; ++i) text += i % 2 == 0 ? "\r\n" : "   ;\n";
    text += "key=value\r\n";
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    TQuickIni ini;
    {
        TAllocationCount count;
        ini.LoadFromStream(&bytes);
        EXPECT_LT(count.Bytes(), 4096u);
    }
    EXPECT_EQ(ini.ReadString("A", "KEY", "-"), "value");
    // Lookups compare keys in place: a search through many lines makes no copies of them.
    std::string many = "[B]\n";
    for (int i = 0; i < 1000; ++i) many += "SomeLongerKeyName" + std::to_string(i) + " = a value long enough to allocate\n";
    Load(ini, many);
    TAllocationCount count;
    EXPECT_EQ(ini.ReadString("B", "somelongerkeyname999", "-"), "a value long enough to allocate");
    EXPECT_EQ(ini.ReadString("B", "absent key name that is long", "-"), "-");
    EXPECT_LT(count.Bytes(), 1024u);
}
