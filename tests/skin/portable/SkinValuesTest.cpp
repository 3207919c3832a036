// Value rules of the skin loader: colour texts, bitmap entry names, frame
// counts, the recording ini view and the foreign class list.
#include "skin/portable/ForeignClasses.h"
#include "skin/portable/SkinIniKeys.h"
#include "skin/portable/SkinValues.h"

#include "skin/portable/SkinText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

TColor Rgb(int r, int g, int b)
{
    return r | g << 8 | b << 16;
}

void Load(TQuickIni& ini, const std::string& text)
{
    ini.LoadFromBytes(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

} // namespace

TEST(ParseColor, SeparatorsDecideWhichNumbersCount)
{
    const struct {
        const char* text;
        TColor expected;
    } cases[] = {
        {"255,0,255", Rgb(255, 0, 255)},
        {"255 0 255", Rgb(255, 0, 255)},
        {"  10, 20, 30  ", Rgb(10, 20, 30)},
        {"255,", Rgb(255, 0, 0)},
        {"255", 0},                     // a lone last number is not the blue
        {"1,2", Rgb(1, 0, 0)},          // nor is a second one
        {"0,128,255,", Rgb(0, 128, 255)},
        {"12;34;56;78", Rgb(12, 34, 56)}, // a fourth number is ignored
        {"", 0},
        {"red", 0},
        {"256,257,513", Rgb(0, 1, 1)},  // each part modulo 256
        {"99999999999,5,6", 0},         // a part beyond 32 bits swallows the rest
        {"1,99999999999,6", Rgb(1, 0, 0)},
        {"0x10,2,3", Rgb(0, 10, 2)},    // "x" is a separator like any other
    };
    for (const auto& c : cases) EXPECT_EQ(ParseColor(c.text), c.expected) << c.text;
}

TEST(SkinValues, RgbNeedsAllThreeParts)
{
    EXPECT_EQ(ColourFromRGB(1, 2, 3, 77), Rgb(1, 2, 3));
    EXPECT_EQ(ColourFromRGB(256, 0, 0, 77), 0);
    EXPECT_EQ(ColourFromRGB(-1, 2, 3, 77), 77);
    EXPECT_EQ(ColourFromRGB(1, 2, -1, kSkinNoTextColour), kSkinNoTextColour);
}

TEST(SkinValues, BitmapEntryIsTheFileNameWithALowerCaseBmpExtension)
{
    const struct {
        const char* value;
        const char* entry; // null: refused
    } cases[] = {
        {"top.bmp", "top.bmp"},
        {"skins\\blue\\Top.bmp", "Top.bmp"},
        {"c:top.bmp", "top.bmp"},
        {"a/b.c/top.bmp", "top.bmp"},
        {"top.BMP", nullptr},
        {"top.bmpx", nullptr},
        {"top", nullptr},
        {"dir\\", nullptr},
        {"", nullptr},
        {".bmp", ".bmp"},
    };
    for (const auto& c : cases) {
        std::string entry = "stale";
        EXPECT_EQ(SkinBitmapEntry(c.value, entry), c.entry != nullptr) << c.value;
        EXPECT_EQ(entry, c.entry ? c.entry : "") << c.value;
    }
}

TEST(SkinValues, FrameCountsAreAtLeastOne)
{
    // Title buttons: frame read, action, strip size -> frames.
    const struct {
        int read, action, w, h, expected;
    } buttons[] = {
        {0, 1, 57, 19, 3},   // ratio 3.0
        {0, 1, 114, 19, 6},  // ratio 6.0
        {0, 1, 72, 19, 3},   // ratio 3.79
        {0, 1, 73, 19, 6},   // ratio 3.84
        {0, -2, 57, 19, 6},  // negative actions always get 6
        {0, 1, 0, 0, 6},     // no strip
        {4, 1, 57, 19, 4},   // the skin's own count
        {-3, 1, 57, 19, 1},
    };
    for (const auto& b : buttons)
        EXPECT_EQ(SysButtonFrames(b.read, b.action, b.w, b.h), b.expected) << b.read << " " << b.action << " " << b.w;

    EXPECT_EQ(GlyphFrames(0, 96, 16), 6);
    EXPECT_EQ(GlyphFrames(0, 52, 13), 4);
    EXPECT_EQ(GlyphFrames(0, 78, 13), 6);
    EXPECT_EQ(GlyphFrames(0, 20, 16), 4); // at least 4
    EXPECT_EQ(GlyphFrames(0, 0, 0), 4);
    EXPECT_EQ(GlyphFrames(7, 96, 16), 7);
    EXPECT_EQ(GlyphFrames(-1, 96, 16), 1);
    EXPECT_EQ(AtLeastOneFrame(0), 1);
    EXPECT_EQ(AtLeastOneFrame(-5), 1);
    EXPECT_EQ(AtLeastOneFrame(23), 23);
}

TEST(SkinIni, RecordsEveryLookupAndFindsWhatASkinLacks)
{
    TQuickIni ini;
    Load(ini, "[Colours]\r\nButtonFace=1,2,3,\r\nMenu=\r\n[Personality]\r\nActiveTextR=10\r\nActiveTextG=20\r\n"
              "ActiveTextB=30\r\nInActiveTextR=1\r\n");
    TSkinKeyLog log;
    const TSkinIni view(ini, &log);
    EXPECT_EQ(view.ReadColour("Colours", "ButtonFace", 5), Rgb(1, 2, 3));
    EXPECT_EQ(view.ReadColour("colours", "Menu", 5), 5); // an empty value gives the default
    TColor active = kSkinNoTextColour, inactive = kSkinNoTextColour;
    view.ReadRGB("Personality", "ActiveText", active);
    view.ReadRGB("Personality", "InActiveText", inactive);
    EXPECT_EQ(active, Rgb(10, 20, 30));
    EXPECT_EQ(inactive, kSkinNoTextColour);
    EXPECT_EQ(view.ReadInteger("Fonts", "FontHeight", 14), 14);

    EXPECT_TRUE(log.contains({"colours", "buttonface"}));
    EXPECT_TRUE(log.contains({"personality", "inactivetextb"}));
    EXPECT_EQ(MissingSkinKeys(log, ini),
              (std::vector<std::string>{"[colours] menu", "[fonts] fontheight", "[personality] inactivetextb",
                                        "[personality] inactivetextg"}));
    const TSkinIni silent(ini);
    EXPECT_EQ(silent.ReadString("Colours", "ButtonFace"), "1,2,3,");
}

TEST(ForeignClasses, DefaultListAndLookup)
{
    const std::vector<std::string>& lines = DefaultSkin3rd();
    ASSERT_EQ(lines.size(), 117u);
    EXPECT_EQ(lines.front(), "TCategoryButtons=scrollbar");
    EXPECT_EQ(lines.back(), "TOVCDBNUMERICFIELD=Edit");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "TWWDBCombobox=Combobox"), 2);
    std::map<std::string, int> kinds;
    for (const std::string& line : lines) ++kinds[LowerCaseAZ(line.substr(line.find('=') + 1))];
    EXPECT_EQ(kinds["combobox"], 39);
    EXPECT_EQ(kinds["edit"], 26);
    EXPECT_EQ(kinds["panel"], 15);

    TStringList list;
    list.Assign(lines);
    EXPECT_EQ(Skin3rdKind(list, "TRzButton"), "button");
    EXPECT_EQ(Skin3rdKind(list, "trzbutton"), "button");
    EXPECT_EQ(Skin3rdKind(list, "TRzGroupBar"), ""); // "TRzGroup=" is not a prefix match
    EXPECT_EQ(Skin3rdKind(list, "TButton"), "");

    TStringList own;
    own.Assign({"TMine =edit", "TTwice=edit", "TTwice=nil", "TLong=" + std::string(60, 'k'), "TEmpty="});
    EXPECT_EQ(Skin3rdKind(own, "TMine"), ""); // blank before the equals sign
    EXPECT_EQ(Skin3rdKind(own, "TTwice"), "edit");
    EXPECT_EQ(Skin3rdKind(own, "TLong"), std::string(50, 'k'));
    EXPECT_EQ(Skin3rdKind(own, "TEmpty"), "");
}
