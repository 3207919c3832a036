// TBitmap and TCanvas over DIB sections, system-colour resolution and the
// gradient fill of a device context, under the real GDI.
#include "classlib/portable/SysUtils.h"
#include "skin/data/ImgUtilWin.h"
#include "tests/support/GdiObjectCount.h"

#include <gtest/gtest.h>

namespace {

TColor Rgb(int r, int g, int b)
{
    return r | g << 8 | b << 16;
}

void Fill(TBitmap& bmp)
{
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) bmp.Canvas()->SetPixel(x, y, Rgb(x, y, 9));
}

} // namespace

TEST(Bitmap, RowZeroIsTheTopRowAsGdiDrawsIt)
{
    for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit, TPixelFormat::pfDevice}) {
        TBitmap bmp;
        bmp.SetPixelFormat(format);
        bmp.SetSize(5, 3);
        ASSERT_FALSE(bmp.Empty());
        ::SetPixel(bmp.Canvas()->Handle(), 1, 0, RGB(10, 20, 30));
        ::GdiFlush();
        const uint8_t* row = bmp.ScanLine(0) + (bmp.BitsPerPixel() / 8);
        EXPECT_EQ(row[0], 30);
        EXPECT_EQ(row[1], 20);
        EXPECT_EQ(row[2], 10);
        bmp.ScanLine(2)[0] = 0x77; // blue of the bottom-left pixel
        EXPECT_EQ(::GetPixel(bmp.Canvas()->Handle(), 0, 2) >> 16, 0x77u);
        EXPECT_EQ(bmp.ScanLine(1) - bmp.ScanLine(0), bmp.RowStep());
    }
}

TEST(Bitmap, ResizeKeepsPixelsAndFillsWithTheBrush)
{
    TBitmap bmp;
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    bmp.SetWidth(4); // no pixels until both sides are set
    EXPECT_TRUE(bmp.Empty());
    bmp.SetHeight(2);
    Fill(bmp);
    bmp.Canvas()->SetBrushColor(clKeyMagenta);
    bmp.SetSize(6, 3);
    EXPECT_EQ(bmp.Canvas()->Pixel(3, 1), Rgb(3, 1, 9));
    EXPECT_EQ(bmp.Canvas()->Pixel(5, 0), clKeyMagenta);
    EXPECT_EQ(bmp.Canvas()->Pixel(0, 2), clKeyMagenta);
    EXPECT_EQ(bmp.Canvas()->Pixel(6, 0), -1);

    bmp.SetPixelFormat(TPixelFormat::pf32bit); // conversion keeps colours
    EXPECT_EQ(bmp.BitsPerPixel(), 32);
    EXPECT_EQ(bmp.Canvas()->Pixel(3, 1), Rgb(3, 1, 9));

    TBitmap copy;
    copy.Assign(bmp);
    EXPECT_EQ(copy.Width(), 6);
    EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(copy.Canvas()->Pixel(3, 1), Rgb(3, 1, 9));
    copy.Canvas()->SetPixel(3, 1, 0);
    EXPECT_EQ(bmp.Canvas()->Pixel(3, 1), Rgb(3, 1, 9)); // its own pixels

    TBitmap target;
    target.SetSize(8, 8);
    target.Canvas()->SetBrushColor(0);
    target.Canvas()->FillRect(RECT{0, 0, 8, 8});
    target.Canvas()->Draw(2, 2, bmp);
    EXPECT_EQ(target.Canvas()->Pixel(5, 3), Rgb(3, 1, 9));
    EXPECT_EQ(target.Canvas()->Pixel(1, 1), 0);
}

TEST(Bitmap, UtilitiesOnBitmapsMatchThePortableImage)
{
    TBitmap bmp;
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    bmp.SetSize(3, 2);
    Fill(bmp);
    RotateBitmapCCW(bmp);
    ASSERT_EQ(bmp.Width(), 2);
    ASSERT_EQ(bmp.Height(), 3);
    EXPECT_EQ(bmp.Canvas()->Pixel(0, 0), Rgb(2, 0, 9)); // the old top-right corner
    RotateBitmapCW(bmp);
    EXPECT_EQ(bmp.Canvas()->Pixel(2, 1), Rgb(2, 1, 9));
    MirrorBitmap(bmp);
    FlipBitmap(bmp);
    EXPECT_EQ(bmp.Canvas()->Pixel(0, 0), Rgb(2, 1, 9));

    bmp.SetPixelFormat(TPixelFormat::pf32bit);
    bmp.Canvas()->SetPixel(1, 1, clKeyMagenta);
    ReplaceKeyColor(bmp, Rgb(1, 2, 3));
    EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(bmp.Canvas()->Pixel(1, 1), Rgb(1, 2, 3));
    GrayBitmap(bmp);
    EXPECT_EQ(bmp.Canvas()->Pixel(1, 1), Rgb(2, 2, 2));
}

TEST(SystemColours, ResolveThroughTheSystem)
{
    const TColor face = static_cast<TColor>(::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(SkinColorToRGB(static_cast<TColor>(0xFF00000F)), face);
    EXPECT_EQ(SkinColorToRGB(static_cast<TColor>(0x8000000F)), face);
    EXPECT_EQ(SkinColorToRGB(Rgb(1, 2, 3)), Rgb(1, 2, 3));
    EXPECT_EQ(BlendColors(static_cast<TColor>(0xFF00000F), static_cast<TColor>(0xFF00000F), 30), face);

    TBitmap bmp;
    bmp.SetSize(1, 1);
    bmp.Canvas()->SetBrushColor(static_cast<TColor>(0xFF000008));
    bmp.Canvas()->FillRect(RECT{0, 0, 1, 1});
    EXPECT_EQ(bmp.Canvas()->Pixel(0, 0), static_cast<TColor>(::GetSysColor(COLOR_WINDOWTEXT)));
}

TEST(GradientFill, ClippedFillShowsTheColoursOfTheWholeGradient)
{
    TBitmap bmp;
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    bmp.SetSize(10, 50);
    bmp.Canvas()->SetBrushColor(Rgb(1, 1, 1));
    bmp.Canvas()->FillRect(RECT{0, 0, 10, 50});
    HDC dc = bmp.Canvas()->Handle();

    const TColor from = Rgb(0, 0, 0), to = Rgb(0, 195, 0);
    ::SaveDC(dc);
    ::IntersectClipRect(dc, 0, 25, 10, 50); // only the lower half of the rect
    GradientFillRect(dc, RECT{2, 5, 8, 45}, from, to, 1);
    ::RestoreDC(dc, -1);
    const std::vector<TColor>& entries = GradientSlot(GradientFind(40, from, to));
    ASSERT_EQ(entries.size(), 40u);
    EXPECT_EQ(bmp.Canvas()->Pixel(4, 24), Rgb(1, 1, 1)); // clipped away
    EXPECT_EQ(bmp.Canvas()->Pixel(4, 25), entries[20]);
    EXPECT_EQ(bmp.Canvas()->Pixel(7, 44), to);
    EXPECT_EQ(bmp.Canvas()->Pixel(8, 30), Rgb(1, 1, 1)); // outside the rect
    EXPECT_EQ(bmp.Canvas()->Pixel(4, 45), Rgb(1, 1, 1));

    GradientFillRect(dc, RECT{0, 0, 10, 2}, static_cast<TColor>(0xFF00000F), to, 0);
    EXPECT_EQ(bmp.Canvas()->Pixel(0, 1), static_cast<TColor>(::GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(bmp.Canvas()->Pixel(9, 0), to);

    for (const RECT& nothing : {RECT{3, 3, 3, 9}, RECT{5, 5, 2, 9}, RECT{20, 60, 30, 70}}) {
        GradientFillRect(dc, nothing, from, to, 0);
        GradientFillRect(dc, nothing, from, to, 1);
    }
    EXPECT_EQ(bmp.Canvas()->Pixel(3, 3), Rgb(1, 1, 1));
}

TEST(Bitmap, AssignFromEmptyAndZeroWideBitmaps)
{
    for (const auto& [w, h] : {std::pair{0, 0}, std::pair{0, 7}, std::pair{7, 0}}) {
        TBitmap source;
        source.SetPixelFormat(TPixelFormat::pf24bit);
        source.SetSize(w, h);
        TBitmap target;
        target.SetSize(4, 4);
        HDC dc = target.Canvas()->Handle();
        ASSERT_NO_THROW(target.Assign(source)) << w << "x" << h;
        EXPECT_EQ(target.Width(), w);
        EXPECT_EQ(target.Height(), h);
        EXPECT_TRUE(target.Empty());
        EXPECT_EQ(target.PixelFormat(), TPixelFormat::pf24bit);
        EXPECT_EQ(target.Canvas()->Handle(), dc); // the canvas stays usable
        target.SetSize(2, 2);
        EXPECT_EQ(target.Canvas()->Pixel(1, 1), Rgb(255, 255, 255));
    }
    const TBitmap constSource;
    TBitmap target;
    target.Assign(constSource);
    EXPECT_TRUE(target.Empty());
}

TEST(Bitmap, ScanLineOutsideTheRowsIsARangeError)
{
    TBitmap bmp;
    bmp.SetSize(3, 2);
    EXPECT_THROW(bmp.ScanLine(2), ERangeError);
    EXPECT_THROW(bmp.ScanLine(-1), ERangeError);
    TBitmap zeroWide;
    zeroWide.SetSize(0, 5);
    EXPECT_THROW(zeroWide.ScanLine(0), ERangeError);
}

TEST(Bitmap, NoGdiObjectsLeakThroughItsLife)
{
    {
        // The first round makes whatever the process keeps for good (stock objects, caches).
        TBitmap warm;
        warm.SetSize(2, 2);
        warm.Canvas()->FillRect(RECT{0, 0, 2, 2});
    }
    TBitmap source;
    source.SetPixelFormat(TPixelFormat::pf32bit);
    source.SetSize(9, 5);
    source.Canvas()->Handle();
    const int before = GdiObjectCount();
    ASSERT_GE(before, 0) << kNoGdiObjectCount;
    for (int i = 0; i < 2000; ++i) {
        TBitmap bmp;
        bmp.SetPixelFormat(i % 2 == 0 ? TPixelFormat::pf24bit : TPixelFormat::pf32bit);
        bmp.SetSize(4 + i % 5, 3);
        bmp.Canvas()->SetBrushColor(Rgb(i % 256, 0, 0));
        bmp.Canvas()->FillRect(RECT{0, 0, 2, 2});
        bmp.SetSize(6, 2 + i % 3);
        bmp.Assign(source);
        bmp.Canvas()->Draw(0, 0, source);
        if (i % 7 == 0) bmp.SetSize(0, 4);
        bmp.SetPixelFormat(TPixelFormat::pf24bit);
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(GradientFill, ARectFarLargerThanAnyCacheIsFilledBandByBand)
{
    TBitmap bmp;
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    bmp.SetSize(6, 4);
    HDC dc = bmp.Canvas()->Handle();
    const TColor from = Rgb(0, 0, 0), to = Rgb(255, 0, 255);
    const RECT huge{-1000000000, 0, 1000000000, 4};
    const int n = 2000000000;
    ASSERT_NO_THROW(GradientFillRect(dc, huge, from, to, 0));
    EXPECT_EQ(GradientFind(n, from, to), -1); // not cached
    for (int x : {0, 5}) EXPECT_EQ(bmp.Canvas()->Pixel(x, 2), GradientColor(n, from, to, 1000000000 + x)) << x;
    EXPECT_EQ(bmp.Canvas()->Pixel(0, 0), Rgb(128, 0, 128));
}
