#include "skin/portable/ImgUtil.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TColor Rgb(int r, int g, int b)
{
    return r | g << 8 | b << 16;
}

// A W x H image whose every pixel is distinct: red = x, green = y.
TImage Numbered(int w, int h, TImageFormat format = TImageFormat::if24bit)
{
    TImage img(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.SetPixel(x, y, Rgb(x, y, 7));
    return img;
}

bool SamePixels(const TImage& a, const TImage& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

TColor FakeSysColor(int index)
{
    return index == 0x0F ? Rgb(212, 208, 200) : Rgb(index, 0, 0);
}

} // namespace

TEST(ImgUtil, GrayAndKeyReplacementMakeThe24BitImageTheyChange)
{
    TImage img(3, 1, TImageFormat::if32bit);
    img.SetPixel(0, 0, Rgb(10, 20, 31));
    img.SetPixel(1, 0, Rgb(255, 0, 255));
    img.SetPixel(2, 0, Rgb(255, 1, 255));
    TImage keyed = img;
    ReplaceKeyColor(keyed, Rgb(1, 2, 3));
    EXPECT_EQ(keyed.PixelFormat(), TImageFormat::if24bit);
    EXPECT_EQ(keyed.Pixel(0, 0), Rgb(10, 20, 31));
    EXPECT_EQ(keyed.Pixel(1, 0), Rgb(1, 2, 3));
    EXPECT_EQ(keyed.Pixel(2, 0), Rgb(255, 1, 255)); // near-magenta stays
    ReplaceKeyColor(img, static_cast<TColor>(0xFF00000F)); // low three bytes, not resolved
    EXPECT_EQ(img.Pixel(1, 0), Rgb(0x0F, 0, 0));

    GrayBitmap(img);
    EXPECT_EQ(img.PixelFormat(), TImageFormat::if24bit);
    EXPECT_EQ(img.Pixel(0, 0), Rgb(20, 20, 20));
    EXPECT_EQ(img.Pixel(2, 0), Rgb(170, 170, 170));
}

TEST(ImgUtil, MirrorAndFlip)
{
    for (TImageFormat format : {TImageFormat::if24bit, TImageFormat::if32bit}) {
        TImage img = Numbered(3, 2, format);
        MirrorBitmap(img);
        EXPECT_EQ(img.Pixel(0, 0), Rgb(2, 0, 7));
        EXPECT_EQ(img.Pixel(1, 1), Rgb(1, 1, 7));
        EXPECT_EQ(img.Pixel(2, 1), Rgb(0, 1, 7));
        FlipBitmap(img);
        EXPECT_EQ(img.Pixel(0, 0), Rgb(2, 1, 7));
        EXPECT_EQ(img.Pixel(2, 1), Rgb(0, 0, 7));
        MirrorBitmap(img);
        FlipBitmap(img);
        EXPECT_TRUE(SamePixels(img, Numbered(3, 2, format)));
    }
}

TEST(ImgUtil, RotationsAndTheirInverses)
{
    const TImage original = Numbered(3, 2);
    TImage ccw = original;
    RotateBitmapCCW(ccw);
    ASSERT_EQ(ccw.Width(), 2);
    ASSERT_EQ(ccw.Height(), 3);
    EXPECT_EQ(ccw.Pixel(0, 0), original.Pixel(2, 0)); // old top-right becomes top-left
    EXPECT_EQ(ccw.Pixel(0, 2), original.Pixel(0, 0)); // old top edge becomes the left edge
    EXPECT_EQ(ccw.Pixel(1, 0), original.Pixel(2, 1));

    TImage cw = original;
    RotateBitmapCW(cw);
    EXPECT_EQ(cw.Pixel(0, 0), original.Pixel(0, 1)); // old bottom-left becomes top-left
    EXPECT_EQ(cw.Pixel(1, 0), original.Pixel(0, 0)); // old left edge becomes the top edge

    RotateBitmapCW(ccw);
    EXPECT_TRUE(SamePixels(ccw, original));
    TImage four = Numbered(5, 3, TImageFormat::if32bit);
    for (int i = 0; i < 4; ++i) RotateBitmapCCW(four);
    EXPECT_TRUE(SamePixels(four, Numbered(5, 3, TImageFormat::if32bit)));

    TImage empty;
    RotateBitmapCW(empty);
    EXPECT_EQ(empty.Width(), 0);
}

TEST(ImgUtil, BlendColors)
{
    const TColor white = Rgb(255, 255, 255), black = 0;
    EXPECT_EQ(BlendColors(white, black, 50, FakeSysColor), Rgb(128, 128, 128));
    EXPECT_EQ(BlendColors(white, black, 500, FakeSysColor), Rgb(128, 128, 128));
    EXPECT_EQ(BlendColors(white, black, 99, FakeSysColor), Rgb(252, 252, 252));
    EXPECT_EQ(BlendColors(white, black, 100, FakeSysColor), Rgb(26, 26, 26)); // tenths of a percent from 100 on
    EXPECT_EQ(BlendColors(white, black, 150, FakeSysColor), Rgb(38, 38, 38));
    EXPECT_EQ(BlendColors(Rgb(200, 0, 100), Rgb(0, 100, 0), 0, FakeSysColor), Rgb(0, 100, 0));
    // A system colour is resolved before mixing.
    EXPECT_EQ(BlendColors(static_cast<TColor>(0xFF00000F), black, 50, FakeSysColor), Rgb(106, 104, 100));
}

TEST(ImgUtil, ColorSaturation)
{
    EXPECT_EQ(ColorSaturation(Rgb(200, 100, 100)), 128); // 127.5 rounds to even
    EXPECT_EQ(ColorSaturation(Rgb(150, 10, 10)), 200);    // no channel reaches 160
    EXPECT_EQ(ColorSaturation(Rgb(160, 160, 160)), 0);
    EXPECT_EQ(ColorSaturation(Rgb(0, 0, 255)), 255);
    EXPECT_EQ(ColorSaturation(Rgb(255, 153, 255)), 102);
    EXPECT_EQ(ColorSaturation(0), 200);
}

TEST(ImgUtil, GradientEntriesAndCache)
{
    const TColor white = Rgb(255, 255, 255);
    const int up = GradientGet(5, 0, white);
    ASSERT_GE(up, 0);
    std::vector<TColor> expect;
    for (int v : {0, 64, 128, 191, 255}) expect.push_back(Rgb(v, v, v));
    EXPECT_EQ(GradientSlot(up), expect);
    const int down = GradientGet(5, white, 0);
    std::reverse(expect.begin(), expect.end());
    EXPECT_EQ(GradientSlot(down), expect);
    EXPECT_EQ(GradientGet(5, 0, white), up); // served from the cache
    EXPECT_EQ(GradientGet(5, white, 0), down);

    const int one = GradientMake(1, Rgb(10, 200, 0), Rgb(21, 100, 255));
    EXPECT_EQ(GradientSlot(one), std::vector<TColor>{Rgb(15, 150, 127)});
    EXPECT_EQ(GradientMake(0, 0, 0), -1);
}

TEST(ImgUtil, GradientColoursOfGradientsTooLongToCache)
{
    const TColor white = Rgb(255, 255, 255);
    const int n = INT32_MAX;
    EXPECT_EQ(GradientColor(n, 0, white, 0), 0);
    EXPECT_EQ(GradientColor(n, 0, white, n - 1), white);
    EXPECT_EQ(GradientColor(n, 0, white, n / 2), Rgb(128, 128, 128));
    EXPECT_EQ(GradientColor(n, white, 0, n / 2), Rgb(128, 128, 128));
    EXPECT_EQ(GradientColor(5, 0, white, 3), Rgb(191, 191, 191));
}

TEST(ImgUtil, SeventeenthGradientOverwritesTheOldest)
{
    std::vector<int> slots;
    for (int i = 0; i < kGradientSlots; ++i) slots.push_back(GradientGet(10 + i, Rgb(i, 1, 2), Rgb(3, 4, 5)));
    for (int i = 0; i < kGradientSlots; ++i) EXPECT_EQ(GradientFind(10 + i, Rgb(i, 1, 2), Rgb(3, 4, 5)), slots[i]);
    const int seventeenth = GradientGet(99, Rgb(9, 9, 9), Rgb(1, 1, 1));
    EXPECT_EQ(seventeenth, slots[0]);
    EXPECT_EQ(GradientFind(10, Rgb(0, 1, 2), Rgb(3, 4, 5)), -1);
    EXPECT_EQ(GradientFind(11, Rgb(1, 1, 2), Rgb(3, 4, 5)), slots[1]);
}

TEST(ImgUtil, GradientBandsFollowTheClipButSpanTheWholeRect)
{
    struct TCase {
        int RectStart, RectEnd, ClipStart, ClipEnd;
        int Count, First, Last;
    } cases[] = {
        {0, 40, 0, 100, 40, 0, 39},   // unclipped
        {0, 40, 20, 100, 40, 20, 39}, // only the lower half visible
        {10, 50, 0, 30, 40, 0, 19},   // clipped at the end
        {10, 50, 20, 30, 40, 10, 19},
        {10, 50, 60, 70, 40, 40, 39}, // nothing visible: First is past Last
        {5, 5, 0, 100, 0, 0, 0},      // empty
        {9, 5, 0, 100, 0, 0, 0},
    };
    for (const TCase& c : cases) {
        int first = 0, last = 0;
        EXPECT_EQ(GradientBands(c.RectStart, c.RectEnd, c.ClipStart, c.ClipEnd, first, last), c.Count);
        if (c.Count == 0) continue;
        EXPECT_EQ(first, c.First) << c.RectStart << " " << c.ClipStart;
        EXPECT_EQ(last, c.Last) << c.RectStart << " " << c.ClipStart;
    }
}
