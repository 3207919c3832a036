// The skin art generator: the committed bitmaps of skins/default and
// skins/resources and the program's icon are exactly what it makes, its BMP
// and icon files have the layout the platform reads, and the title's corners
// are cut for the window region.
#include "IconArt.h"
#include "SkinArt.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path SkinsDir = fs::path(TB_SOURCE_DIR) / "skins";

std::vector<uint8_t> ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> BitmapsIn(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& item : fs::directory_iterator(dir))
        if (item.path().extension() == ".bmp") names.insert(item.path().filename().string());
    return names;
}

void ExpectCommitted(const std::vector<TArtFile>& art, const fs::path& dir)
{
    std::set<std::string> generated;
    for (const TArtFile& file : art) {
        generated.insert(file.Name);
        EXPECT_TRUE(ReadFile(dir / file.Name) == EncodeBmp24(file.Image))
            << (dir / file.Name).string() << " differs from the generator's; run tools/skingen";
    }
    EXPECT_EQ(generated, BitmapsIn(dir)) << "the folder holds bitmaps the generator does not make, or lacks some";
}

const TArtFile& Find(const std::vector<TArtFile>& art, const std::string& name)
{
    for (const TArtFile& file : art)
        if (file.Name == name) return file;
    throw std::runtime_error("no art named " + name);
}

TEST(SkinArt, GeneratorReproducesTheCommittedSkin)
{
    ExpectCommitted(DefaultSkinArt(), SkinsDir / "default");
}

TEST(SkinArt, GeneratorReproducesTheCommittedResources)
{
    const std::vector<TArtFile> art = ProgramResourceArt();
    ExpectCommitted(art, SkinsDir / "resources");

    std::ifstream rc(SkinsDir / "resources" / "SkinResources.rc");
    const std::string text((std::istreambuf_iterator<char>(rc)), std::istreambuf_iterator<char>());
    for (const char* line : {"TORVELMENU BITMAP \"torvelmenu.bmp\"", "TRACK BITMAP \"track.bmp\"",
                             "TRACKVERT BITMAP \"trackvert.bmp\""})
        EXPECT_NE(text.find(line), std::string::npos) << line;

    // Sizes the engine relies on: four 16-pixel glyphs on white (the mask
    // colour), and channels it copies opaque with 3-pixel caps.
    const TArtImage& menu = Find(art, "torvelmenu.bmp").Image;
    EXPECT_EQ(menu.Width(), 64);
    EXPECT_EQ(menu.Height(), 16);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(menu.Pixel(16 * i, 0), clWhite);
        int ink = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 16 * i; x < 16 * i + 16; ++x) ink += menu.Pixel(x, y) != clWhite;
        EXPECT_GT(ink, 10) << "glyph " << i << " is empty";
    }
    const TArtImage& track = Find(art, "track.bmp").Image;
    const TArtImage& vert = Find(art, "trackvert.bmp").Image;
    EXPECT_EQ(std::pair(track.Width(), track.Height()), std::pair(16, 4));
    EXPECT_EQ(std::pair(vert.Width(), vert.Height()), std::pair(4, 16));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x) {
            EXPECT_NE(track.Pixel(x, y), clMagenta);
            EXPECT_EQ(vert.Pixel(y, x), track.Pixel(x, y)) << "the vertical channel is the horizontal one turned";
        }
}

TEST(SkinArt, GeneratorReproducesTheCommittedIcon)
{
    const std::vector<uint8_t> icon = ProgramIconFile();
    EXPECT_TRUE(ReadFile(fs::path(TB_SOURCE_DIR) / "console" / "tagbench.ico") == icon)
        << "console/tagbench.ico differs from the generator's; run tools/skingen --icon console/tagbench.ico";

    // A directory of square 32-bit images, each stored right after the one
    // before: an info header with the height doubled, the pixels bottom-up
    // with alpha (a corner clear, the middle opaque), then the 1-bit mask
    // that marks the clear corner.
    const auto word = [&](size_t at) { return static_cast<uint32_t>(icon.at(at) | icon.at(at + 1) << 8); };
    const auto dword = [&](size_t at) { return word(at) | word(at + 2) << 16; };
    ASSERT_EQ(word(2), 1u);
    const uint32_t count = word(4);
    uint32_t next = 6 + 16 * count;
    std::set<int> sizes;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        const int size = icon.at(entry);
        sizes.insert(size);
        const uint32_t n = static_cast<uint32_t>(size), maskRow = (n + 31) / 32 * 4;
        const uint32_t bytes = 40 + n * n * 4 + maskRow * n;
        EXPECT_EQ(icon.at(entry + 1), size);
        EXPECT_EQ(word(entry + 6), 32u);
        EXPECT_EQ(dword(entry + 8), bytes);
        ASSERT_EQ(dword(entry + 12), next) << size;
        EXPECT_EQ(dword(next), 40u);
        EXPECT_EQ(dword(next + 4), n);
        EXPECT_EQ(dword(next + 8), 2 * n);
        EXPECT_EQ(word(next + 14), 32u);
        const auto alpha = [&](uint32_t x, uint32_t y) { return icon.at(next + 40 + ((n - 1 - y) * n + x) * 4 + 3); };
        EXPECT_EQ(alpha(0, 0), 0) << size;
        EXPECT_EQ(alpha(n / 2, n / 2), 255) << size;
        EXPECT_EQ(icon.at(next + 40 + n * n * 4 + (n - 1) * maskRow) & 0x80, 0x80) << size;
        next += bytes;
    }
    EXPECT_EQ(next, icon.size());
    for (int size : {16, 24, 32, 48}) EXPECT_TRUE(sizes.count(size)) << size;
}

TEST(SkinArt, BmpFilesAreBottomUpWithPaddedRows)
{
    TArtImage image(3, 2, Rgb(1, 2, 3));
    image.SetPixel(0, 0, Rgb(10, 20, 30));
    image.SetPixel(2, 1, Rgb(40, 50, 60));
    const std::vector<uint8_t> bmp = EncodeBmp24(image);
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(bmp[2], 54 + 24);
    EXPECT_EQ(bmp[10], 54);
    EXPECT_EQ(bmp[14], 40);
    EXPECT_EQ(bmp[18], 3);
    EXPECT_EQ(bmp[22], 2);
    EXPECT_EQ(bmp[28], 24);
    // The first stored row is the bottom one, in blue, green, red order,
    // padded from 9 to 12 bytes with zeros.
    const std::vector<uint8_t> bottom(bmp.begin() + 54, bmp.begin() + 66);
    EXPECT_EQ(bottom, (std::vector<uint8_t>{3, 2, 1, 3, 2, 1, 60, 50, 40, 0, 0, 0}));
    const std::vector<uint8_t> top(bmp.begin() + 66, bmp.end());
    EXPECT_EQ(top, (std::vector<uint8_t>{30, 20, 10, 3, 2, 1, 3, 2, 1, 0, 0, 0}));
}

// The rounded top corners are magenta in the title and in the top of both
// side borders, so the shaped-window region has something to cut; the rest
// of the title is opaque.
TEST(SkinArt, TitleCornersAreCutOutOfTheWindow)
{
    const std::vector<TArtFile> art = DefaultSkinArt();
    const TArtImage& title = Find(art, "title.bmp").Image;
    const TArtImage& left = Find(art, "left.bmp").Image;
    const TArtImage& right = Find(art, "right.bmp").Image;
    const int w = title.Width();
    ASSERT_EQ(title.Height(), 2 * TitleHeight);
    for (int cell = 0; cell < 2; ++cell) {
        const int top = cell * TitleHeight;
        EXPECT_EQ(title.Pixel(0, top), clMagenta);
        EXPECT_EQ(title.Pixel(w - 1, top), clMagenta);
        EXPECT_EQ(left.Pixel(cell, 0), clMagenta);
        EXPECT_EQ(right.Pixel(cell, 0), clMagenta);
        EXPECT_NE(title.Pixel(TitleRadius, top), clMagenta);
        EXPECT_NE(title.Pixel(0, top + TitleRadius), clMagenta);
        EXPECT_NE(left.Pixel(cell, TitleRadius), clMagenta);
        for (int y = top + TitleRadius; y < top + TitleHeight; ++y)
            for (int x = 0; x < w; ++x) EXPECT_NE(title.Pixel(x, y), clMagenta) << x << "," << y;
    }
    EXPECT_EQ(title.Pixel(w / 2, TitleHeight / 2), clTitleActive);
    EXPECT_EQ(title.Pixel(w / 2, TitleHeight + TitleHeight / 2), clTitleInactive);
}

} // namespace
