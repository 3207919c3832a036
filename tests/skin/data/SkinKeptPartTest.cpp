// Drawing paths that must give the pixels of the plain primitives: the
// renderings kept for a loaded skin's strips, and the in-memory drawing the
// loader composes images with.
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "tests/skin/support/SkinTestData.h"
#include "tests/support/GdiObjectCount.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using skintest::MakeBmp24;

void LoadStrip(TBitmap& B, int W, int H, unsigned Seed)
{
    EXPECT_TRUE(LoadBitmapFromBmp(MakeBmp24(W, H, Seed), B));
}

// A 24-bit target with a pattern, so that left-out pixels show.
void Background(TBitmap& B, int W, int H)
{
    B.SetPixelFormat(TPixelFormat::pf24bit);
    B.SetSize(W, H);
    const TImageView v = PixelsOf(B);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint8_t* p = v.Row(y) + x * 3;
            p[0] = static_cast<uint8_t>(x * 5);
            p[1] = static_cast<uint8_t>(y * 7);
            p[2] = static_cast<uint8_t>(x ^ y);
        }
}

::testing::AssertionResult SamePixels(TBitmap& A, TBitmap& B)
{
    if (A.Width() != B.Width() || A.Height() != B.Height()) return ::testing::AssertionFailure() << "sizes differ";
    const TImageView a = PixelsOf(A), b = PixelsOf(B);
    for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x)
            if (std::memcmp(a.Row(y) + x * a.BytesPerPixel, b.Row(y) + x * b.BytesPerPixel, 3) != 0)
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
    return ::testing::AssertionSuccess();
}

struct TPartCase {
    const char* Name;
    RECT Rect;
    TSkinRect Margins;
    TStripCell Cell;
};

const TPartCase kCases[] = {
    {"larger", {3, 2, 83, 32}, {4, 3, 5, 2}, {.Index = 2, .Count = 3}},
    {"larger transparent tiled", {3, 2, 83, 32}, {4, 3, 5, 2},
        {.Index = 3, .Count = 3, .Transparent = true, .Tile = true}},
    {"smaller, margins dropped", {0, 0, 6, 4}, {4, 3, 5, 2}, {.Index = 1, .Count = 3, .Transparent = true}},
    {"exact cell", {10, 10, 30, 34}, {2, 2, 2, 2}, {.Index = 1, .Count = 3}},
    {"stacked cells", {0, 5, 70, 17}, {6, 0, 6, 0}, {.Index = 2, .Count = 2, .Transparent = true, .Vertical = true}},
    {"partly outside the target", {-7, 30, 40, 55}, {3, 3, 3, 3},
        {.Index = 1, .Count = 3, .Transparent = true, .Tile = true}},
    {"no such cell", {0, 0, 20, 20}, {0, 0, 0, 0}, {.Index = 4, .Count = 3}},
    {"negative", {20, 20, 10, 30}, {0, 0, 0, 0}, {.Index = 1, .Count = 3}},
};

TEST(SkinDrawIntoTest, GivesThePixelsOfDrawingOnTheTargetsDC)
{
    TBitmap strip;
    LoadStrip(strip, 60, 24, 5);
    for (const TPartCase& c : kCases) {
        SCOPED_TRACE(c.Name);
        TBitmap onDC, inMemory;
        Background(onDC, 90, 48);
        Background(inMemory, 90, 48);
        DrawSkinPart(onDC.Canvas()->Handle(), c.Rect, strip, c.Margins, c.Cell);
        DrawSkinPartInto(inMemory, c.Rect, strip, c.Margins, c.Cell);
        EXPECT_TRUE(SamePixels(onDC, inMemory));
    }
}

TEST(SkinDrawIntoTest, CentredCellsMatchTooAtEverySize)
{
    TBitmap strip;
    LoadStrip(strip, 48, 16, 9);
    for (const RECT& r : {RECT{4, 4, 40, 30}, RECT{10, 10, 14, 12}, RECT{-3, -2, 13, 14}}) {
        for (bool transparent : {false, true}) {
            TBitmap onDC, inMemory;
            Background(onDC, 44, 32);
            Background(inMemory, 44, 32);
            DrawSkinCellCentered(onDC.Canvas()->Handle(), r, strip,
                                 {.Index = 2, .Count = 3, .Transparent = transparent});
            DrawSkinCellCenteredInto(inMemory, r, strip, {.Index = 2, .Count = 3, .Transparent = transparent});
            EXPECT_TRUE(SamePixels(onDC, inMemory)) << r.left << "," << r.top << " transparent " << transparent;
        }
    }
}

class TKeptPartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadStrip(Kept, 60, 24, 5);
        LoadStrip(Copy, 60, 24, 5);
    }
    void TearDown() override { DropSkinPartRenderings(this); }

    // The kept strip and a copy no skin registered, drawn alike.
    void ExpectSameAsUnkept(const TPartCase& c)
    {
        TBitmap viaKept, viaCopy;
        Background(viaKept, 90, 48);
        Background(viaCopy, 90, 48);
        DrawSkinPart(viaKept.Canvas()->Handle(), c.Rect, Kept, c.Margins, c.Cell);
        DrawSkinPart(viaCopy.Canvas()->Handle(), c.Rect, Copy, c.Margins, c.Cell);
        EXPECT_TRUE(SamePixels(viaKept, viaCopy));
    }

    void Keep()
    {
        const TBitmap* strips[] = {&Kept};
        KeepSkinPartRenderings(this, strips);
    }

    TBitmap Kept, Copy;
};

TEST_F(TKeptPartTest, DrawsWhatTheRenderingWouldDrawFirstTimeAndAfter)
{
    Keep();
    const int before = KeptSkinPartRenderings();
    for (int pass = 0; pass < 2; ++pass)
        for (const TPartCase& c : kCases) {
            SCOPED_TRACE(std::string(c.Name) + (pass == 0 ? " (first)" : " (kept)"));
            ExpectSameAsUnkept(c);
        }
    // One rendering per drawable case, none for the cases that draw nothing.
    EXPECT_EQ(KeptSkinPartRenderings() - before, 6);
}

TEST_F(TKeptPartTest, DroppingTheOwnerForgetsRenderingsSoChangedPixelsShow)
{
    Keep();
    const TPartCase c = kCases[0];
    ExpectSameAsUnkept(c);
    DropSkinPartRenderings(this);
    EXPECT_EQ(KeptSkinPartRenderings(), 0);
    // The strip changes while no skin holds it; the next draw must show that.
    for (TBitmap* b : {&Kept, &Copy}) {
        const TImageView v = PixelsOf(*b);
        for (int y = 0; y < v.Height; ++y) std::memset(v.Row(y), 0x40, static_cast<size_t>(v.Width) * 3);
    }
    ExpectSameAsUnkept(c);
    Keep();
    ExpectSameAsUnkept(c);
}

TEST_F(TKeptPartTest, KeepsABoundedNumberOfRenderings)
{
    Keep();
    int whenFull = -1;
    for (int w = 10; w < 110; ++w) {
        if (w == 60) whenFull = GdiObjectCount();
        TBitmap target;
        Background(target, 120, 30);
        DrawSkinPart(target.Canvas()->Handle(), RECT{0, 0, w, 24}, Kept, TSkinRect{2, 2, 2, 2},
                     {.Index = 1, .Count = 3});
    }
    EXPECT_GT(KeptSkinPartRenderings(), 0);
    EXPECT_LE(KeptSkinPartRenderings(), 32);
    ASSERT_GE(whenFull, 0) << kNoGdiObjectCount;
    EXPECT_EQ(GdiObjectCount(), whenFull) << "a rendering dropped for a newer one keeps GDI objects";
    ExpectSameAsUnkept(kCases[0]);
}

TBytes Stored(const std::vector<uint8_t>& Container)
{
    TBytes out;
    skintest::PutLE(out, static_cast<uint32_t>(Container.size()), 4);
    out.insert(out.end(), Container.begin(), Container.end());
    return out;
}

TBytes SkinWithTop(unsigned Seed)
{
    const std::string ini = "[Personality]\r\nTop=top.bmp\r\nTopTopHeight=5\r\nTopBotHeight=5\r\nTopFrame=2\r\n";
    return Stored(PackSkin({{"skin.ini", skintest::Bytes(ini)}, {"top.bmp", MakeBmp24(40, 40, Seed)}}));
}

// A title drawn the way the frame draws it, against the same strip unkept.
void ExpectTitleAsUnkept(TSkinData& Data)
{
    TDataSkinBorder& top = *Data.FBorderTop;
    TBitmap copy;
    copy.Assign(*top.FBitmap);
    TBitmap viaKept, viaCopy;
    Background(viaKept, 300, 20);
    Background(viaCopy, 300, 20);
    const TStripCell title{.Index = 1, .Count = 2, .Vertical = true};
    DrawSkinPart(viaKept.Canvas()->Handle(), RECT{0, 0, 300, 20}, *top.FBitmap, MarginsOf(top), title);
    DrawSkinPart(viaCopy.Canvas()->Handle(), RECT{0, 0, 300, 20}, copy, MarginsOf(top), title);
    EXPECT_TRUE(SamePixels(viaKept, viaCopy));
}

TEST(SkinDataKeptPartTest, ANewSkinDropsTheOldRenderingsAndAFailedOneKeepsThem)
{
    SetSkinMessageHook([](const std::string&) {});
    const int before = KeptSkinPartRenderings();
    const int gdiBefore = GdiObjectCount();
    ASSERT_GE(gdiBefore, 0) << kNoGdiObjectCount;
    {
        TSkinData data(nullptr);
        data.SetSkinStreamBytes(SkinWithTop(1));
        ASSERT_FALSE(data.NotLoaded()) << data.LoadError();
        ExpectTitleAsUnkept(data);
        EXPECT_EQ(KeptSkinPartRenderings(), before + 1);

        data.SetSkinStreamBytes(Stored({1, 2, 3, 4, 5, 6, 7, 8}));
        EXPECT_TRUE(data.NotLoaded());
        EXPECT_EQ(KeptSkinPartRenderings(), before + 1);
        ExpectTitleAsUnkept(data);

        data.SetSkinStreamBytes(SkinWithTop(2));
        ASSERT_FALSE(data.NotLoaded()) << data.LoadError();
        EXPECT_EQ(KeptSkinPartRenderings(), before);
        ExpectTitleAsUnkept(data);
    }
    EXPECT_EQ(KeptSkinPartRenderings(), before);
    EXPECT_EQ(GdiObjectCount(), gdiBefore);
    SetSkinMessageHook(nullptr);
}

} // namespace
