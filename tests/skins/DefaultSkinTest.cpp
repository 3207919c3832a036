// The default skin as the program receives it: packed from skins/default,
// read back, its ini parsed, and every bitmap it names present as a 24-bit
// BMP whose size fits the cell count and layout the loader gives it.
#include "skin/portable/QuickIni.h"
#include "skin/portable/SkinContainer.h"
#include "tools/skinpack-src/SkinPacker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path SkinDir = fs::path(TB_SOURCE_DIR) / "skins" / "default";

struct TBmpInfo {
    bool Valid = false;
    int Width = 0;
    int Height = 0;
    std::string Why;
};

uint32_t LE(const std::vector<uint8_t>& b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + static_cast<size_t>(i)];
    return v;
}

// Reads the headers the way the program's bitmap loading needs them: a
// bottom-up, uncompressed 24-bit file whose pixel rows are all there.
TBmpInfo InspectBmp(const std::vector<uint8_t>& b)
{
    TBmpInfo info;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return info.Why = "no BMP header", info;
    if (LE(b, 2, 4) != b.size()) return info.Why = "file size field differs from the size", info;
    if (LE(b, 14, 4) != 40) return info.Why = "not a 40-byte info header", info;
    const auto w = static_cast<int32_t>(LE(b, 18, 4)), h = static_cast<int32_t>(LE(b, 22, 4));
    if (w <= 0 || h <= 0) return info.Why = "not a bottom-up image of positive size", info;
    if (LE(b, 26, 2) != 1 || LE(b, 28, 2) != 24 || LE(b, 30, 4) != 0)
        return info.Why = "not 24 bits per pixel, uncompressed", info;
    const uint64_t stride = (static_cast<uint64_t>(w) * 3 + 3) & ~uint64_t{3};
    if (LE(b, 10, 4) + stride * static_cast<uint64_t>(h) > b.size()) return info.Why = "pixel rows missing", info;
    info.Valid = true;
    info.Width = w;
    info.Height = h;
    return info;
}

// The bytes of one cell, row by row, from a checked BMP file.
std::vector<uint8_t> CellPixels(const std::vector<uint8_t>& b, const TBmpInfo& info, int index, int frames,
                                bool stacked)
{
    const int cw = stacked ? info.Width : info.Width / frames, ch = stacked ? info.Height / frames : info.Height;
    const int x0 = stacked ? 0 : cw * index, y0 = stacked ? ch * index : 0;
    const size_t stride = (static_cast<size_t>(info.Width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> cell;
    for (int y = y0; y < y0 + ch; ++y) {
        const size_t row = LE(b, 10, 4) + static_cast<size_t>(info.Height - 1 - y) * stride;
        cell.insert(cell.end(), b.begin() + static_cast<ptrdiff_t>(row + static_cast<size_t>(x0) * 3),
                    b.begin() + static_cast<ptrdiff_t>(row + static_cast<size_t>(x0 + cw) * 3));
    }
    return cell;
}

bool HasMagenta(const std::vector<uint8_t>& cell)
{
    for (size_t i = 0; i + 2 < cell.size(); i += 3)
        if (cell[i] == 255 && cell[i + 1] == 0 && cell[i + 2] == 255) return true;
    return false;
}

class DefaultSkin : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::vector<std::string> skipped;
        Entries = new std::vector<TSkinEntry>(CollectSkinFolder(SkinDir, skipped));
        Skipped = new std::vector<std::string>(skipped);
        Reader = new TSkinReader;
        Loaded = Reader->ReadSkin(PackSkin(*Entries));
        std::vector<uint8_t> ini;
        std::string name;
        Reader->FindFile(".ini", ini, name);
        Ini = new TQuickIni;
        Ini->LoadFromBytes(ini);
    }
    static void TearDownTestSuite()
    {
        delete Ini;
        delete Reader;
        delete Skipped;
        delete Entries;
    }

    // The named entry of the container, checked as a bitmap.
    static TBmpInfo Bitmap(const std::string& name)
    {
        std::vector<uint8_t> bytes;
        Reader->GetFile(name, bytes);
        if (bytes.empty()) return TBmpInfo{false, 0, 0, "not in the container"};
        return InspectBmp(bytes);
    }

    static inline std::vector<TSkinEntry>* Entries = nullptr;
    static inline std::vector<std::string>* Skipped = nullptr;
    static inline TSkinReader* Reader = nullptr;
    static inline TQuickIni* Ini = nullptr;
    static inline bool Loaded = false;
};

TEST_F(DefaultSkin, PacksEveryFileAndReadsBack)
{
    ASSERT_TRUE(Loaded) << SkinReadResultText(Reader->LastResult());
    EXPECT_TRUE(Skipped->empty()) << "a file the ini does not name: " << Skipped->front();
    ASSERT_EQ(Reader->Count(), static_cast<int>(Entries->size()));
    EXPECT_EQ(Reader->Names(0), "skin.ini");
    for (int i = 0; i < Reader->Count(); ++i) {
        const auto entry = Reader->Entry(i);
        EXPECT_TRUE(std::equal(entry.begin(), entry.end(), (*Entries)[static_cast<size_t>(i)].Bytes.begin(),
                               (*Entries)[static_cast<size_t>(i)].Bytes.end()))
            << Reader->Names(i);
    }
}

TEST_F(DefaultSkin, IniTextIsPlainAscii)
{
    const std::vector<uint8_t>& ini = Entries->front().Bytes;
    const auto bad = std::find_if(ini.begin(), ini.end(), [](uint8_t c) { return c >= 0x80 || c == 0; });
    EXPECT_EQ(bad, ini.end()) << "byte " << (bad - ini.begin());
}

// How the loader cuts an image key's strip into cells: a fixed count, or
// the count the ini gives in FrameKey.
struct TStripRule {
    const char* Section;
    const char* Key;
    int Frames;
    const char* FrameKey;
    bool Stacked;
};

const TStripRule StripRules[] = {
    {"Personality", "Left", 0, "LeftFrame", false},
    {"Personality", "Right", 0, "RightFrame", false},
    {"Personality", "Top", 0, "TopFrame", true},
    {"Personality", "Bottom", 0, "BottomFrame", true},
    {"Personality", "TextBack", 2, nullptr, false},
    {"Personality", "menuBar", 2, nullptr, true},
    {"MDICONTROLS", "Image", 12, nullptr, false},
    {"Buttons", "Bitmap", 5, nullptr, false},
    {"Buttons", "CheckButton", 0, "CheckButtonFrame", false},
    {"Buttons", "RadioButton", 0, "RadioButtonFrame", false},
    {"Progress", "Bitmap", 2, nullptr, false},
    {"Progress.Chunk", "Image", 0, "Frame", false},
    {"GroupBoxEdge", "Image", 2, nullptr, false},
    {"GroupBox", "Image", 1, nullptr, false},
    {"Tabs", "Image", 5, nullptr, false},
    {"Tabs", "Border", 1, nullptr, false},
    {"StatusBarEdges", "Image", 3, nullptr, false},
    {"Tab.Pane", "Image", 1, nullptr, false},
    {"ToolBars", "Image", 5, nullptr, false},
    {"ComboButton", "Image", 4, nullptr, false},
    {"ComboButton", "****", 4, nullptr, false},
    {"SunkEdge", "Image", 4, nullptr, false},
    {"ExtraImages", "Image", 5, nullptr, false},
    {"Headerbar", "Image", 0, "Frame", false},
    {"MenuItem", "Image", 5, nullptr, false},
    {"MenuBackground", "Image", 1, nullptr, false},
    {"Scrollbar", "Image", 23, nullptr, false},
    {"HorzScroll", "Image", 4, nullptr, false},
    {"VertScroll", "Image", 4, nullptr, false},
    {"HorzScrollThumb", "Image", 0, "FrameCount", false},
    {"VertScrollThumb", "Image", 0, "FrameCount", false},
    {"Trackbar.ThumbHorz", "Image", 5, nullptr, false},
    {"Trackbar.ThumbVert", "Image", 5, nullptr, false},
    {"Trackbar.ThumbLeft", "Image", 5, nullptr, false},
    {"Trackbar.ThumbRight", "Image", 5, nullptr, false},
    {"Trackbar.ThumbUp", "Image", 5, nullptr, false},
    {"Trackbar.ThumbDown", "Image", 5, nullptr, false},
    {"UpDown.Horz", "Image", 8, nullptr, false},
    {"UpDown.Horz", "GlyphImage", 8, nullptr, false},
    {"UpDown.Vert", "Image", 8, nullptr, false},
    {"UpDown.Vert", "GlyphImage", 8, nullptr, false},
    {"Track", "Image", 0, "Frame", false},
    {"TRACKVERT", "Image", 0, "Frame", false},
};

bool IsTitleButtonSection(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    return name.starts_with("BUTTON") && name != "BUTTONS" && name != "BUTTON" && name != "BUTTON.RADIO" &&
           name != "BUTTON.CHECKBOX";
}

TEST_F(DefaultSkin, EveryStripExistsAndFitsItsCells)
{
    std::vector<TStripRule> rules(std::begin(StripRules), std::end(StripRules));
    std::vector<std::string> sections;
    Ini->ReadSections(sections);
    std::vector<std::string> titleButtons;
    for (const std::string& s : sections)
        if (IsTitleButtonSection(s)) titleButtons.push_back(s);
    ASSERT_GE(titleButtons.size(), 4u) << "close, maximize, restore and minimize at least";
    for (const std::string& s : titleButtons) rules.push_back({s.c_str(), "ButtonImage", 0, "frame", false});

    for (const TStripRule& rule : rules) {
        SCOPED_TRACE(std::string(rule.Section) + "/" + rule.Key);
        const std::string name = Ini->ReadString(rule.Section, rule.Key, "");
        ASSERT_TRUE(name.ends_with(".bmp")) << "image key missing or not a .bmp name: \"" << name << "\"";
        const TBmpInfo bmp = Bitmap(name);
        ASSERT_TRUE(bmp.Valid) << name << ": " << bmp.Why;
        const int frames = rule.FrameKey ? Ini->ReadInteger(rule.Section, rule.FrameKey, 0) : rule.Frames;
        ASSERT_GT(frames, 0);
        const int along = rule.Stacked ? bmp.Height : bmp.Width;
        EXPECT_EQ(along % frames, 0) << name << " is " << bmp.Width << " x " << bmp.Height << " for " << frames
                                     << (rule.Stacked ? " stacked" : " side-by-side") << " cells";
        // Where the loader imposes the count, the ini's own Frame agrees.
        const int stated = Ini->ReadInteger(rule.Section, "Frame", -1);
        if (!rule.FrameKey && stated != -1 && std::string(rule.Key) == "Image") {
            EXPECT_EQ(stated, frames);
        }
        if (along % frames != 0) continue;

        // Each state has a look of its own, and strips drawn opaque carry
        // no key colour that would show as magenta.
        std::vector<uint8_t> bytes;
        Reader->GetFile(name, bytes);
        std::vector<std::vector<uint8_t>> cells;
        for (int i = 0; i < frames; ++i) cells.push_back(CellPixels(bytes, bmp, i, frames, rule.Stacked));
        for (int i = 0; i < frames; ++i) {
            for (int j = i + 1; j < frames; ++j) {
                EXPECT_NE(cells[i], cells[j]) << "cells " << i + 1 << " and " << j + 1;
            }
        }
        const std::string section = rule.Section, key = rule.Key;
        const std::string transKey = section == "Personality" ? key + "Trans" : "Trans";
        const bool opaque = Ini->ReadInteger(rule.Section, transKey, 1) == 0 || section == "Track" ||
                            section == "TRACKVERT" || key == "menuBar";
        for (int i = 0; opaque && i < frames; ++i) {
            EXPECT_FALSE(HasMagenta(cells[i])) << "cell " << i + 1 << " of " << name;
        }
    }
}

// Nine-part margins must fit inside one cell, or the corners would be cut
// from the neighbouring cell.
TEST_F(DefaultSkin, MarginsFitInsideOneCell)
{
    struct TMarginRule {
        const char* Section;
        const char* Image;
        const char* Left;
        const char* Right;
        const char* Top;
        const char* Bottom;
        int Frames;
        bool Stacked;
    };
    const TMarginRule rules[] = {
        {"Personality", "Left", nullptr, nullptr, "LeftTopHeight", "LeftBotHeight", 2, false},
        {"Personality", "Right", nullptr, nullptr, "RightTopHeight", "RightBotHeight", 2, false},
        {"Personality", "Top", "TopTopHeight", "TopBotHeight", nullptr, nullptr, 2, true},
        {"Personality", "Bottom", "BottomTopHeight", "BottomBotHeight", nullptr, nullptr, 2, true},
        {"Personality", "menuBar", "TileLeftMenu", "TileRightMenu", nullptr, nullptr, 2, true},
        {"Buttons", "Bitmap", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", 5, false},
    };
    auto check = [](const char* section, const std::string& image, int l, int r, int t, int b, int frames,
                    bool stacked) {
        SCOPED_TRACE(std::string(section) + " " + image);
        const TBmpInfo bmp = Bitmap(image);
        ASSERT_TRUE(bmp.Valid);
        const int cw = stacked ? bmp.Width : bmp.Width / frames, ch = stacked ? bmp.Height / frames : bmp.Height;
        EXPECT_LE(l + r, cw);
        EXPECT_LE(t + b, ch);
    };
    auto value = [](const char* section, const char* key) { return key ? Ini->ReadInteger(section, key, 0) : 0; };
    for (const TMarginRule& m : rules)
        check(m.Section, Ini->ReadString(m.Section, m.Image, ""), value(m.Section, m.Left), value(m.Section, m.Right),
              value(m.Section, m.Top), value(m.Section, m.Bottom), m.Frames, m.Stacked);
    for (const TStripRule& rule : StripRules) {
        if (std::string(rule.Key) != "Image" && std::string(rule.Key) != "Bitmap") continue;
        if (std::string(rule.Section) == "Personality" || std::string(rule.Section) == "MDICONTROLS") continue;
        const int frames = rule.FrameKey ? Ini->ReadInteger(rule.Section, rule.FrameKey, 0) : rule.Frames;
        check(rule.Section, Ini->ReadString(rule.Section, rule.Key, ""), value(rule.Section, "LeftWidth"),
              value(rule.Section, "RightWidth"), value(rule.Section, "TopHeight"), value(rule.Section, "BottomHeight"),
              frames, false);
    }
}

} // namespace
