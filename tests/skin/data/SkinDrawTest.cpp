// The drawing primitives under the real GDI: cells drawn into DIB-backed
// bitmaps and read back. Strip pixel (x, y) of cell i is (x, y, 10 i), so
// every drawn pixel names the strip pixel it came from.
#include "skin/SkinApi.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin/support/SkinTestData.h"
#include "tests/support/GdiObjectCount.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

TColor Rgb(int r, int g, int b)
{
    return r | g << 8 | b << 16;
}

std::unique_ptr<TBitmap> Strip(int W, int H, int Count, bool Vertical)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(TPixelFormat::pf24bit);
    bmp->SetSize(Vertical ? W : W * Count, Vertical ? H * Count : H);
    for (int i = 0; i < Count; ++i)
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                bmp->Canvas()->SetPixel(Vertical ? x : i * W + x, Vertical ? i * H + y : y, Rgb(x, y, 10 * (i + 1)));
    return bmp;
}

std::unique_ptr<TBitmap> Target(int W, int H, TColor Fill = Rgb(200, 201, 202))
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->Canvas()->SetBrushColor(Fill);
    bmp->SetSize(W, H);
    return bmp;
}

TColor At(TBitmap& Bitmap, int x, int y)
{
    return Bitmap.Canvas()->Pixel(x, y);
}

const TSkinRect kMargins{10, 5, 10, 5};

} // namespace

TEST(SkinDraw, ScratchBitmapIsReadyForPainters)
{
    ASSERT_NE(ScratchBitmap, nullptr);
    EXPECT_EQ(::GetStretchBltMode(ScratchBitmap->Canvas()->Handle()), COLORONCOLOR);
}

TEST(SkinDraw, NinePartIntoLargerSmallerAndExactTargets)
{
    auto strip = Strip(30, 20, 2, false);
    const struct {
        int w, h, x, y;
        TColor expected;
    } cases[] = {
        {30, 20, 17, 13, Rgb(17, 13, 20)}, // exact: a copy
        {50, 30, 0, 0, Rgb(0, 0, 20)},     // larger: corners unscaled
        {50, 30, 49, 29, Rgb(29, 19, 20)},
        {50, 30, 25, 2, Rgb(15, 2, 20)},   // top edge stretched along its length
        {50, 30, 25, 15, Rgb(15, 10, 20)}, // centre
        {18, 8, 17, 7, Rgb(28, 17, 20)},   // smaller: both margin pairs dropped
        {18, 8, 9, 4, Rgb(15, 10, 20)},
    };
    for (const auto& c : cases) {
        auto target = Target(c.w + 4, c.h + 4);
        DrawSkinPart(target->Canvas()->Handle(), RECT{2, 2, 2 + c.w, 2 + c.h}, *strip, kMargins,
                     {.Index = 2, .Count = 2});
        EXPECT_EQ(At(*target, 2 + c.x, 2 + c.y), c.expected) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
        EXPECT_EQ(At(*target, 1, 1), Rgb(200, 201, 202)); // outside Rect untouched
        EXPECT_EQ(At(*target, c.w + 2, c.h + 2), Rgb(200, 201, 202));

        auto made = CreateSkinPartBitmap(RECT{0, 0, c.w, c.h}, *strip, kMargins, {.Index = 2, .Count = 2});
        ASSERT_EQ(made->Width(), c.w);
        EXPECT_EQ(At(*made, c.x, c.y), c.expected);
    }
}

TEST(SkinDraw, OpaquePartsRenderedStraightIntoABufferMatchCopiedOnes)
{
    // A plain memory DC takes the rendering in place; a clip region or an
    // origin sends the same draw through the surface and a copy.
    auto strip = Strip(30, 20, 2, false);
    for (const TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        auto direct = Target(61, 37), copied = Target(61, 37), shifted = Target(61, 37);
        for (TBitmap* t : {direct.get(), copied.get(), shifted.get()}) t->SetPixelFormat(format);
        const RECT rect{3, 4, 57, 35};
        const TStripCell cell{.Index = 2, .Count = 2, .Tile = true};
        DrawSkinPart(direct->Canvas()->Handle(), rect, *strip, kMargins, cell);
        const HDC dc = copied->Canvas()->Handle();
        const HRGN all = ::CreateRectRgn(0, 0, 61, 37);
        ::SelectClipRgn(dc, all);
        DrawSkinPart(dc, rect, *strip, kMargins, cell);
        ::SelectClipRgn(dc, nullptr);
        ::DeleteObject(all);
        const HDC sdc = shifted->Canvas()->Handle();
        ::SetViewportOrgEx(sdc, 1, 2, nullptr);
        DrawSkinPart(sdc, RECT{2, 2, 56, 33}, *strip, kMargins, cell);
        ::SetViewportOrgEx(sdc, 0, 0, nullptr);
        for (int y = 0; y < 37; ++y)
            for (int x = 0; x < 61; ++x) {
                ASSERT_EQ(At(*direct, x, y), At(*copied, x, y)) << x << "," << y;
                ASSERT_EQ(At(*direct, x, y), At(*shifted, x, y)) << x << "," << y;
            }
    }
}

TEST(SkinDraw, TiledCentreAndStackedStateCells)
{
    auto strip = Strip(17, 10, 1, false);
    auto target = Target(30, 10);
    DrawSkinPart(target->Canvas()->Handle(), RECT{0, 0, 30, 10}, *strip, {5, 0, 5, 0},
                 {.Index = 1, .Count = 1, .Tile = true});
    EXPECT_EQ(At(*target, 5, 4), Rgb(5, 4, 10));
    EXPECT_EQ(At(*target, 12, 4), Rgb(5, 4, 10));  // second tile
    EXPECT_EQ(At(*target, 24, 4), Rgb(10, 4, 10)); // third tile, cut by the right edge
    EXPECT_EQ(At(*target, 25, 4), Rgb(12, 4, 10));

    auto stacked = Strip(12, 8, 3, true);
    for (int cell = 1; cell <= 3; ++cell) {
        DrawSkinPart(target->Canvas()->Handle(), RECT{0, 0, 24, 8}, *stacked, {2, 2, 2, 2},
                     {.Index = cell, .Count = 3, .Vertical = true});
        EXPECT_EQ(At(*target, 23, 7), Rgb(11, 7, 10 * cell));
    }
}

TEST(SkinDraw, MagentaIsLeftOutOnBothPlatformPaths)
{
    auto strip = Strip(8, 8, 1, false);
    strip->Canvas()->SetPixel(3, 3, clKeyMagenta);
    for (bool nt : {true, false}) {
        SkinNTPlatform = nt;
        auto target = Target(8, 8, Rgb(1, 2, 3));
        DrawSkinPart(target->Canvas()->Handle(), RECT{0, 0, 8, 8}, *strip, {},
                     {.Index = 1, .Count = 1, .Transparent = true});
        EXPECT_EQ(At(*target, 3, 3), Rgb(1, 2, 3)) << nt;
        EXPECT_EQ(At(*target, 4, 3), Rgb(4, 3, 10)) << nt;
        auto opaque = Target(8, 8, Rgb(1, 2, 3));
        DrawSkinPart(opaque->Canvas()->Handle(), RECT{0, 0, 8, 8}, *strip, {}, {.Index = 1, .Count = 1});
        EXPECT_EQ(At(*opaque, 3, 3), clKeyMagenta) << nt;
    }
    SkinNTPlatform = true;
}

TEST(SkinDraw, ArgumentsWithoutACellDrawNothing)
{
    auto strip = Strip(10, 10, 2, false);
    TBitmap empty;
    auto target = Target(20, 20);
    HDC dc = target->Canvas()->Handle();
    for (auto [index, count] : {std::pair{0, 2}, {3, 2}, {1, 0}, {1, -1}, {1, 50}}) {
        DrawSkinPart(dc, RECT{0, 0, 20, 20}, *strip, kMargins, {.Index = index, .Count = count, .Tile = true});
        DrawSkinBar(*target->Canvas(), RECT{0, 0, 20, 20}, *strip, kMargins, {.Index = index, .Count = count});
        DrawSkinCell(dc, RECT{0, 0, 20, 20}, *strip, {.Index = index, .Count = count});
        DrawSkinCellCentered(dc, RECT{0, 0, 20, 20}, *strip, {.Index = index, .Count = count});
        DrawSkinCellThreePart(dc, RECT{0, 0, 20, 20}, *strip, kMargins, {.Index = index, .Count = count});
    }
    DrawSkinPart(dc, RECT{10, 10, 5, 20}, *strip, kMargins, {.Index = 1, .Count = 2});
    DrawSkinPart(dc, RECT{0, 0, 20, 20}, empty, kMargins, {.Index = 1, .Count = 1, .Transparent = true});
    DrawSkinCell(dc, RECT{0, 10, 20, 0}, *strip, {.Index = 1, .Count = 2, .Transparent = true});
    DrawTransparentBitmap(dc, RECT{5, 5, 0, 0}, *strip, clKeyMagenta);
    DrawTransparentBitmap(dc, RECT{0, 0, 20, 20}, empty, clKeyMagenta);
    TileBitmap(*target->Canvas(), RECT{0, 0, 20, 20}, *strip, RECT{4, 4, 4, 9});
    TileBitmap(*target->Canvas(), RECT{0, 0, 20, 20}, *strip, RECT{30, 0, 40, 5}); // outside the bitmap
    for (int y = 0; y < 20; y += 3)
        for (int x = 0; x < 20; x += 3) ASSERT_EQ(At(*target, x, y), Rgb(200, 201, 202)) << x << "," << y;

    // A margin larger than the bitmap is limited to the cell.
    DrawSkinPart(dc, RECT{0, 0, 20, 20}, *strip, {99, 0, 99, 0}, {.Index = 2, .Count = 2});
    EXPECT_EQ(At(*target, 0, 0), Rgb(0, 0, 20));
}

TEST(SkinDraw, CellCopies)
{
    auto strip = Strip(16, 16, 2, false);
    auto target = Target(40, 40);
    HDC dc = target->Canvas()->Handle();
    // A 16 x 16 cell centred on a 10 x 10 rectangle overflows it by 3 on each side.
    DrawSkinCellCentered(dc, RECT{20, 20, 30, 30}, *strip, {.Index = 2, .Count = 2});
    EXPECT_EQ(At(*target, 17, 17), Rgb(0, 0, 20));
    EXPECT_EQ(At(*target, 32, 32), Rgb(15, 15, 20));
    EXPECT_EQ(At(*target, 16, 16), Rgb(200, 201, 202));

    DrawSkinCell(dc, RECT{0, 0, 32, 8}, *strip, {.Index = 1, .Count = 2});
    EXPECT_EQ(At(*target, 31, 7), Rgb(15, 14, 10));

    // Three parts: a cell wider than the rectangle is stretched whole (GDI
    // picks which source pixel stands for a shrunk block).
    ::SetStretchBltMode(dc, COLORONCOLOR);
    DrawSkinCellThreePart(dc, RECT{0, 10, 8, 18}, *strip, {4, 0, 4, 0}, {.Index = 1, .Count = 2});
    const auto closeTo = [&](int x, int y, int sx, int sy) {
        const TColor c = At(*target, x, y);
        return (c >> 16) == 10 && std::abs((c & 0xFF) - sx) <= 1 && std::abs(((c >> 8) & 0xFF) - sy) <= 1;
    };
    EXPECT_TRUE(closeTo(0, 10, 0, 0));
    EXPECT_TRUE(closeTo(7, 17, 15, 15));
    DrawSkinCellThreePart(dc, RECT{0, 20, 20, 36}, *strip, {4, 0, 4, 0}, {.Index = 1, .Count = 2});
    EXPECT_EQ(At(*target, 2, 22), Rgb(2, 2, 10));
    EXPECT_EQ(At(*target, 17, 22), Rgb(13, 2, 10));

    // Bar: left piece, middle repeated at its own width, right piece.
    auto bar = Target(40, 16);
    DrawSkinBar(*bar->Canvas(), RECT{0, 0, 40, 16}, *strip, {4, 0, 4, 0}, {.Index = 1, .Count = 2});
    EXPECT_EQ(At(*bar, 3, 5), Rgb(3, 5, 10));
    EXPECT_EQ(At(*bar, 4, 5), Rgb(4, 5, 10));
    EXPECT_EQ(At(*bar, 12, 5), Rgb(4, 5, 10)); // the second copy of the 8-pixel middle
    EXPECT_EQ(At(*bar, 39, 5), Rgb(15, 5, 10));
}

TEST(SkinDraw, TileBitmapRepeatsAndOverflows)
{
    auto strip = Strip(10, 10, 1, false);
    auto target = Target(20, 20);
    TileBitmap(*target->Canvas(), RECT{2, 2, 9, 9}, *strip, RECT{1, 1, 4, 4});
    EXPECT_EQ(At(*target, 2, 2), Rgb(1, 1, 10));
    EXPECT_EQ(At(*target, 5, 5), Rgb(1, 1, 10));
    EXPECT_EQ(At(*target, 10, 10), Rgb(3, 3, 10)); // the last tile runs past Dest
    EXPECT_EQ(At(*target, 11, 11), Rgb(200, 201, 202));
}

TEST(SkinDraw, TileBitmapOverAHugeDestFinishesAndDrawsWhatASmallOneDraws)
{
    auto strip = Strip(10, 10, 1, false);
    auto huge = Target(20, 20), small = Target(20, 20);
    // The same tile grid (3 x 3 tiles, columns at 2 mod 3, rows at 1 mod 3),
    // one reaching to the ends of the coordinate range.
    TileBitmap(*huge->Canvas(), RECT{-2099999998, -2099999999, INT_MAX, INT_MAX}, *strip, RECT{1, 1, 4, 4});
    TileBitmap(*small->Canvas(), RECT{-1, -2, 20, 20}, *strip, RECT{1, 1, 4, 4});
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(At(*huge, x, y), At(*small, x, y)) << x << "," << y;
}

TEST(SkinDraw, RegionsFromShapedBitmaps)
{
    TBitmap bmp;
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    bmp.SetSize(4, 2);
    const TColor row0[] = {Rgb(1, 1, 1), clKeyMagenta, Rgb(2, 2, 2), Rgb(3, 3, 3)};
    const TColor row1[] = {Rgb(255, 1, 255), Rgb(254, 0, 255), clKeyMagenta, Rgb(255, 0, 254)};
    for (int x = 0; x < 4; ++x) {
        bmp.Canvas()->SetPixel(x, 0, row0[x]);
        bmp.Canvas()->SetPixel(x, 1, row1[x]);
    }
    HRGN rgn = CreateRegionFromBitmap(bmp, 10, 20, clKeyMagenta, 1, 1, 1);
    ASSERT_NE(rgn, nullptr);
    std::vector<uint8_t> data(::GetRegionData(rgn, 0, nullptr));
    ::GetRegionData(rgn, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    const auto* header = reinterpret_cast<const RGNDATAHEADER*>(data.data());
    const RECT* rects = reinterpret_cast<const RECT*>(data.data() + header->dwSize);
    std::vector<std::tuple<int, int, int, int>> got;
    for (DWORD i = 0; i < header->nCount; ++i) got.emplace_back(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
    // Row 0: [0,1) and [2,4); row 1: (255,1,255) is within tolerance, the others are not the key.
    EXPECT_EQ(got, (std::vector<std::tuple<int, int, int, int>>{
                       {10, 20, 11, 21}, {12, 20, 14, 21}, {11, 21, 12, 22}, {13, 21, 14, 22}}));
    ::DeleteObject(rgn);

    // More runs than one batch: every other pixel opaque on 100 rows of 100.
    TBitmap comb;
    comb.SetPixelFormat(TPixelFormat::pf32bit);
    comb.Canvas()->SetBrushColor(clKeyMagenta);
    comb.SetSize(100, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = y % 2; x < 100; x += 2) comb.Canvas()->SetPixel(x, y, 0);
    const int gdiBefore = GdiObjectCount();
    ASSERT_GE(gdiBefore, 0) << kNoGdiObjectCount;
    rgn = CreateRegionFromBitmap(comb, 0, 0, clKeyMagenta, 1, 1, 1);
    EXPECT_EQ(GdiObjectCount(), gdiBefore + 1) << "the batches' regions are not freed";
    int wrong = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) wrong += (::PtInRegion(rgn, x, y) != 0) != ((x + y) % 2 == 0);
    EXPECT_EQ(wrong, 0);
    ::DeleteObject(rgn);

    TBitmap none;
    rgn = CreateRegionFromBitmap(none, 0, 0, clKeyMagenta, 1, 1, 1);
    RECT box{};
    EXPECT_EQ(::GetRgnBox(rgn, &box), NULLREGION);
    ::DeleteObject(rgn);
}

TEST(SkinDraw, BitmapFilesAndResources)
{
    TBitmap bmp;
    ASSERT_TRUE(LoadBitmapFromBmp(skintest::MakeBmp24(7, 5, 3), bmp));
    EXPECT_EQ(bmp.Width(), 7);
    EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_FALSE(LoadBitmapFromBmp(skintest::Bytes("BMnot a bitmap"), bmp));
    EXPECT_TRUE(bmp.Empty());
    EXPECT_FALSE(LoadBitmapResource("NO SUCH BITMAP", bmp));
    EXPECT_TRUE(bmp.Empty());
}

TEST(SkinDraw, PaintControlToDCWithoutParentLeavesTheDCAlone)
{
    auto target = Target(4, 4);
    PaintControlToDC(nullptr, target->Canvas()->Handle());
    EXPECT_EQ(At(*target, 1, 1), Rgb(200, 201, 202));
}
