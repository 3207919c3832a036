// Nine-part rendering and the clipped pixel copies on plain images, and
// bitmap file decoding: every pixel is traced back to the strip pixel it
// came from (red = x, green = y, blue = cell number).
#include "skin/portable/BmpFile.h"
#include "skin/portable/LookCells.h"
#include "skin/portable/SkinCells.h"
#include "tests/skin/support/SkinTestData.h"

#include <gtest/gtest.h>

namespace {

TColor Rgb(int r, int g, int b)
{
    return r | g << 8 | b << 16;
}

// A strip of Count cells of W x H; pixel (x, y) of cell i is (x, y, i).
TImage Strip(int W, int H, int Count, bool Vertical, TImageFormat Format = TImageFormat::if24bit)
{
    TImage img(Vertical ? W : W * Count, Vertical ? H * Count : H, Format);
    for (int i = 0; i < Count; ++i)
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                img.SetPixel(Vertical ? x : i * W + x, Vertical ? i * H + y : y, Rgb(x, y, i + 1));
    return img;
}

TImage Target(int W, int H, TImageFormat Format = TImageFormat::if32bit)
{
    TImage img(W, H, Format);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) img.SetPixel(x, y, Rgb(200, 201, 202));
    return img;
}

// Source (x, y) a target pixel came from, with its cell.
struct TFrom {
    int x, y, cell;
    bool operator==(const TFrom&) const = default;
};

TFrom From(const TImage& img, int x, int y)
{
    const TColor c = img.Pixel(x, y);
    return {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF};
}

std::ostream& operator<<(std::ostream& os, const TFrom& f)
{
    return os << "(" << f.x << "," << f.y << " cell " << f.cell << ")";
}

const TSkinRect kMargins{10, 5, 10, 5};

} // namespace

TEST(SkinCells, CellGeometryOfBothStripLayouts)
{
    TSkinCell c;
    ASSERT_TRUE(StripCell(90, 20, 2, 3, false, c));
    EXPECT_EQ(c.X, 30);
    EXPECT_EQ(c.Width, 30);
    EXPECT_EQ(c.Height, 20);
    ASSERT_TRUE(StripCell(30, 60, 3, 3, true, c));
    EXPECT_EQ(c.Y, 40);
    EXPECT_EQ(c.Height, 20);
    // No cell: count 0, index out of range, more cells than pixels, no strip.
    EXPECT_FALSE(StripCell(90, 20, 1, 0, false, c));
    EXPECT_FALSE(StripCell(90, 20, 0, 3, false, c));
    EXPECT_FALSE(StripCell(90, 20, 4, 3, false, c));
    EXPECT_FALSE(StripCell(90, 20, -1, 3, false, c));
    EXPECT_FALSE(StripCell(2, 20, 1, 3, false, c));
    EXPECT_FALSE(StripCell(0, 0, 1, 1, false, c));
}

TEST(SkinCells, NinePartOntoAnExactlyFittingTargetIsACopyOfTheCell)
{
    TImage strip = Strip(30, 20, 2, false), target = Target(30, 20);
    ASSERT_TRUE(RenderNinePart(strip.View(), target.View(), kMargins, 2, 2, false, false));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(From(target, x, y), (TFrom{x, y, 2})) << x << "," << y;
}

TEST(SkinCells, NinePartOntoALargerTargetKeepsCornersAndStretchesEdges)
{
    TImage strip = Strip(30, 20, 2, false), target = Target(50, 30);
    ASSERT_TRUE(RenderNinePart(strip.View(), target.View(), kMargins, 1, 2, false, false));
    const struct {
        int x, y;
        TFrom from;
    } cases[] = {
        {0, 0, {0, 0, 1}},    {9, 4, {9, 4, 1}},     // top-left corner unscaled
        {40, 0, {20, 0, 1}},  {49, 4, {29, 4, 1}},   // top-right corner
        {0, 25, {0, 15, 1}},  {49, 29, {29, 19, 1}}, // bottom corners
        {10, 0, {10, 0, 1}},  {39, 4, {19, 4, 1}},   // top edge: 30 columns from 10
        {25, 2, {15, 2, 1}},
        {0, 5, {0, 5, 1}},    {0, 24, {0, 14, 1}},   // left edge: 20 rows from 10
        {45, 15, {25, 10, 1}},                       // right edge
        {10, 5, {10, 5, 1}},  {39, 24, {19, 14, 1}}, // centre stretched both ways
        {25, 15, {15, 10, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(From(target, c.x, c.y), c.from) << c.x << "," << c.y;
}

TEST(SkinCells, MarginPairsThatDoNotFitAreDropped)
{
    TImage strip = Strip(30, 20, 1, false);
    // 18 x 8: both pairs dropped, the whole cell stretched.
    TImage small = Target(18, 8);
    ASSERT_TRUE(RenderNinePart(strip.View(), small.View(), kMargins, 1, 1, false, false));
    EXPECT_EQ(From(small, 0, 0), (TFrom{0, 0, 1}));
    EXPECT_EQ(From(small, 17, 7), (TFrom{28, 17, 1}));
    EXPECT_EQ(From(small, 9, 4), (TFrom{15, 10, 1}));
    // 18 wide, 20 high: only left and right dropped; top rows stay unscaled.
    TImage narrow = Target(18, 20);
    ASSERT_TRUE(RenderNinePart(strip.View(), narrow.View(), kMargins, 1, 1, false, false));
    EXPECT_EQ(From(narrow, 17, 0), (TFrom{28, 0, 1}));
    EXPECT_EQ(From(narrow, 17, 19), (TFrom{28, 19, 1}));
    // Exactly Left + Right wide: margins kept, no centre columns.
    TImage exact = Target(20, 20);
    ASSERT_TRUE(RenderNinePart(strip.View(), exact.View(), kMargins, 1, 1, false, false));
    EXPECT_EQ(From(exact, 9, 10), (TFrom{9, 10, 1}));
    EXPECT_EQ(From(exact, 10, 10), (TFrom{20, 10, 1}));
}

TEST(SkinCells, TiledCentreRepeatsUnscaledAndTheRightEdgeCoversTheOverflow)
{
    // Cell 17 wide with margins 5: a 7-pixel centre piece over a 20-pixel centre.
    TImage strip = Strip(17, 10, 1, false), target = Target(30, 10);
    ASSERT_TRUE(RenderNinePart(strip.View(), target.View(), {5, 0, 5, 0}, 1, 1, true, false));
    for (int x = 5; x < 25; ++x) EXPECT_EQ(From(target, x, 3), (TFrom{5 + (x - 5) % 7, 3, 1})) << x;
    EXPECT_EQ(From(target, 25, 3), (TFrom{12, 3, 1})); // right edge, not a fourth tile
    // Taller target: rows repeat too.
    TImage tall = Target(30, 25);
    ASSERT_TRUE(RenderNinePart(strip.View(), tall.View(), {5, 2, 5, 2}, 1, 1, true, false));
    EXPECT_EQ(From(tall, 5, 2 + 6), (TFrom{5, 2, 1}));
    EXPECT_EQ(From(tall, 6, 2 + 7), (TFrom{6, 3, 1}));
}

TEST(SkinCells, StateCellsOfHorizontalAndStackedStrips)
{
    for (bool vertical : {false, true}) {
        TImage strip = Strip(12, 8, 4, vertical), target = Target(24, 16);
        for (int cell = 1; cell <= 4; ++cell) {
            ASSERT_TRUE(RenderNinePart(strip.View(), target.View(), {2, 2, 2, 2}, cell, 4, false, vertical));
            EXPECT_EQ(From(target, 0, 0), (TFrom{0, 0, cell})) << vertical;
            EXPECT_EQ(From(target, 23, 15), (TFrom{11, 7, cell})) << vertical;
        }
    }
}

TEST(SkinCells, BadArgumentsDrawNothingOrClamp)
{
    TImage strip = Strip(10, 10, 2, false);
    TImage target = Target(16, 16);
    for (auto [index, count] : {std::pair{0, 2}, {3, 2}, {1, 0}, {-1, 2}, {1, 21}}) {
        EXPECT_FALSE(RenderNinePart(strip.View(), target.View(), kMargins, index, count, false, false));
        EXPECT_EQ(target.Pixel(8, 8), Rgb(200, 201, 202));
    }
    // Margins larger than the cell are limited to it; nothing is read outside.
    ASSERT_TRUE(RenderNinePart(strip.View(), target.View(), {50, 50, 50, 50}, 2, 2, true, false));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const TFrom f = From(target, x, y);
            ASSERT_TRUE(f.cell == 2 || target.Pixel(x, y) == clKeyMagenta) << x << "," << y;
        }
    ASSERT_TRUE(RenderNinePart(strip.View(), target.View(), {-4, -4, -4, -4}, 1, 2, false, false));
    EXPECT_EQ(From(target, 15, 15), (TFrom{9, 9, 1}));

    // Empty target and negative or empty rectangles.
    TImage none;
    EXPECT_TRUE(RenderNinePart(strip.View(), none.View(), kMargins, 1, 2, false, false));
    TImage t2 = Target(8, 8);
    StretchPixels(strip.View(), {0, 0, 5, 5}, t2.View(), {6, 6, 2, 2});
    StretchPixels(strip.View(), {5, 5, 5, 9}, t2.View(), {0, 0, 8, 8});
    TilePixels(strip.View(), {0, 0, 0, 5}, t2.View(), {0, 0, 8, 8});
    FillPixels(t2.View(), {-5, -5, -1, 100}, 0);
    EXPECT_EQ(t2.Pixel(0, 0), Rgb(200, 201, 202));
    // Rectangles hanging over both images are clipped.
    StretchPixels(strip.View(), {-5, -5, 25, 15}, t2.View(), {-4, -4, 12, 12});
    StretchPixels(strip.View(), {15, 0, 40, 10}, t2.View(), {0, 0, 8, 8});
    TilePixels(strip.View(), {18, 8, 30, 20}, t2.View(), {-3, -3, 100, 100});
}

TEST(SkinCells, CopiesBetweenPixelSizes)
{
    TImage strip = Strip(6, 6, 1, false, TImageFormat::if32bit), target = Target(6, 6, TImageFormat::if24bit);
    StretchPixels(strip.View(), {0, 0, 6, 6}, target.View(), {0, 0, 6, 6});
    EXPECT_EQ(From(target, 5, 4), (TFrom{5, 4, 1}));
    TImage back = Target(3, 3);
    StretchPixels(target.View(), {0, 0, 6, 6}, back.View(), {0, 0, 3, 3});
    EXPECT_EQ(From(back, 2, 1), (TFrom{4, 2, 1}));
}

TEST(BmpFile, DecodesTheFormatsSkinsUseAndRefusesDamage)
{
    const std::vector<uint8_t> file = skintest::MakeBmp24(5, 3, 1);
    TImage img;
    ASSERT_TRUE(DecodeBmpFile(file, img));
    EXPECT_EQ(img.Width(), 5);
    EXPECT_EQ(img.Height(), 3);
    // Bottom-up rows: the file's last row is the top one.
    const uint8_t* top = file.data() + 54 + 2 * 16;
    EXPECT_EQ(img.Pixel(1, 0), Rgb(top[5], top[4], top[3]));

    // The same pixels as a resource (no file header), and top-down.
    std::vector<uint8_t> dib(file.begin() + 14, file.end());
    TImage fromDib;
    ASSERT_TRUE(DecodeDib(dib, fromDib));
    EXPECT_EQ(fromDib.Pixel(4, 2), img.Pixel(4, 2));
    std::vector<uint8_t> topDown = file;
    topDown[22] = static_cast<uint8_t>(-3);
    topDown[23] = topDown[24] = topDown[25] = 0xFF;
    ASSERT_TRUE(DecodeBmpFile(topDown, fromDib));
    EXPECT_EQ(fromDib.Pixel(1, 2), img.Pixel(1, 0));

    // 8-bit with a two-entry palette, 4-bit and 1-bit.
    for (int bits : {1, 4, 8}) {
        std::vector<uint8_t> pal{'B', 'M'};
        skintest::PutLE(pal, 0, 4);
        skintest::PutLE(pal, 0, 4);
        skintest::PutLE(pal, 14 + 40 + 8, 4);
        for (uint32_t v : {40u, 2u, 1u}) skintest::PutLE(pal, v, 4);
        skintest::PutLE(pal, 1, 2);
        skintest::PutLE(pal, static_cast<uint32_t>(bits), 2);
        skintest::PutLE(pal, 0, 4);
        skintest::PutLE(pal, 0, 4);
        skintest::PutLE(pal, 0, 4);
        skintest::PutLE(pal, 0, 4);
        skintest::PutLE(pal, 2, 4); // two colours used
        skintest::PutLE(pal, 0, 4);
        for (uint8_t b : {0, 0, 255, 0, 255, 0, 0, 0}) pal.push_back(b); // red, blue
        // Pixel 0 takes colour 0, pixel 1 colour 1, in each depth's packing.
        const uint8_t first = bits == 8 ? 0x00 : bits == 4 ? 0x01 : 0x40, second = bits == 8 ? 0x01 : 0x00;
        for (uint8_t b : {first, second, uint8_t{0}, uint8_t{0}}) pal.push_back(b);
        ASSERT_TRUE(DecodeBmpFile(pal, img)) << bits;
        EXPECT_EQ(img.Pixel(0, 0), Rgb(255, 0, 0)) << bits;
        EXPECT_EQ(img.Pixel(1, 0), Rgb(0, 0, 255)) << bits;
    }

    std::vector<uint8_t> bad = file;
    bad.resize(bad.size() - 1);
    EXPECT_FALSE(DecodeBmpFile(bad, img));
    EXPECT_EQ(img.Width(), 0);
    for (size_t at : {size_t{0}, size_t{10}, size_t{14}, size_t{18}, size_t{22}, size_t{28}, size_t{30}}) {
        bad = file;
        bad[at] = 0xFF;
        bad[at + 1] = 0xFF;
        bad[at + 2] = 0xFF;
        bad[at + 3] = 0x7F;
        EXPECT_FALSE(DecodeBmpFile(bad, img)) << at;
    }
    EXPECT_FALSE(DecodeBmpFile({}, img));
    EXPECT_FALSE(DecodeDib(std::vector<uint8_t>(39, 0), img));
}

// One order for every layout: disabled over pressed over hot over focused; a
// look a layout or a short strip lacks gives way, never beyond the strip.
TEST(LookCells, EachLayoutShowsTheStrongestLookItHasACellFor)
{
    const struct {
        const TCellLayout& Layout;
        TLooks Looks;
        int Count, Cell;
    } rows[] = {
        {kButtonCells, 0, 5, 1},
        {kButtonCells, lkHot | lkFocused, 5, 4},
        {kButtonCells, lkFocused, 5, 5},
        {kButtonCells, lkPressed | lkHot, 5, 2},
        {kButtonCells, lkDisabled | lkPressed | lkHot, 5, 3},
        {kButtonCells, lkFocused, 4, 1},       // no focused cell in a 4-cell strip
        {kButtonCells, lkHot | lkFocused, 3, 1},
        {kMenuButtonCells, lkFocused, 5, 4},
        {kEditCells, lkFocused, 4, 4},
        {kEditCells, lkDisabled | lkFocused, 4, 3},  // a disabled box shows no focus
        {kTabCells, lkPressed, 2, 2},
        {kTabCells, lkHot, 2, 1},
        {kHeaderCells, lkHot, 2, 2},
        {kHeaderCells, lkHot, 1, 1},
        {kArrowCells, lkHot | lkPressed, 4, 4},
        {kGlyphCells, lkDisabled | lkPressed, 4, 2},
        {kGlyphCells, lkPressed | lkHot, 4, 3},
        {kDownGlyphCells, lkPressed | lkHot, 4, 4},
        {kDownGlyphCells, lkDisabled | lkPressed, 4, 4},
        {kUpDownCells, lkPressed | lkFocused, 4, 2},
        {kUpDownCells, lkDisabled | lkPressed, 4, 3},
        {kUpDownCells, lkHot, 4, 1},            // the fourth cell is never shown
        {kScrollCells, lkDisabled | lkHot, 4, 3},  // a disabled bar's arrow under the mouse
        {kScrollCells, lkPressed | lkHot, 4, 2},
        {kScrollCells, lkHot, 4, 4},
        {kThumbCells, lkHot, 3, 3},
        {kThumbCells, lkPressed | lkHot, 3, 2},
        {TCellLayout{7}, 0, 3, 1},             // a normal cell beyond the strip
    };
    for (const auto& r : rows) EXPECT_EQ(r.Layout.Cell(r.Looks, r.Count), r.Cell) << int(r.Looks) << " of " << r.Count;
}
