// Pixel work for skin images on a plain 24/32-bit image (rows of blue, green,
// red[, unused] bytes): grey, key-colour replacement, mirror, flip, rotations,
// colour mixing, the gradient cache and the saturation measure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Red in the low byte, then green, then blue; a negative value names the
// system colour of its low byte. The same type as the class library's TColor.
using TColor = int32_t;
// The platform's colour for a system-colour index (red in the low byte).
using TSysColorFunc = TColor (*)(int Index);

constexpr TColor clKeyMagenta = 0xFF00FF;

enum class TImageFormat { if24bit, if32bit };

inline int BytesPerPixel(TImageFormat Format) { return Format == TImageFormat::if24bit ? 3 : 4; }

// Rows of pixels somewhere in memory; Stride may be negative (bottom-up DIBs).
struct TImageView {
    uint8_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    ptrdiff_t Stride = 0;
    int BytesPerPixel = 3;

    uint8_t* Row(int y) const { return Bits + static_cast<ptrdiff_t>(y) * Stride; }
};

// An owned image with top-down rows and no row padding.
class TImage {
public:
    TImage() = default;
    TImage(int AWidth, int AHeight, TImageFormat AFormat = TImageFormat::if24bit);

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    TImageFormat PixelFormat() const noexcept { return FFormat; }
    // Changing the format converts the pixels (32 to 24 drops the fourth byte).
    void SetPixelFormat(TImageFormat AFormat);
    // Pixels that stay inside keep their value; new ones are black.
    void SetSize(int AWidth, int AHeight);
    uint8_t* ScanLine(int y) { return FBits.data() + static_cast<size_t>(y) * Stride(); }
    const uint8_t* ScanLine(int y) const { return FBits.data() + static_cast<size_t>(y) * Stride(); }
    size_t Stride() const noexcept { return static_cast<size_t>(FWidth) * BytesPerPixel(FFormat); }
    TImageView View();

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor Colour);

private:
    int FWidth = 0;
    int FHeight = 0;
    TImageFormat FFormat = TImageFormat::if24bit;
    std::vector<uint8_t> FBits;
};

// In place on any view.
void GrayPixels(const TImageView& View);
void ReplaceKeyPixels(const TImageView& View, TColor Colour);
void MirrorPixels(const TImageView& View);
void FlipPixels(const TImageView& View);
// Target is Source's height wide and its width high, of the same pixel size.
// Counter-clockwise: the old top edge becomes the left edge.
void RotatePixels(const TImageView& Source, const TImageView& Target, bool Clockwise);

// On an owned image: grey and key replacement make it 24-bit first.
void GrayBitmap(TImage& Bitmap);
void ReplaceKeyColor(TImage& Bitmap, TColor Colour);
void MirrorBitmap(TImage& Bitmap);
void FlipBitmap(TImage& Bitmap);
void RotateBitmapCCW(TImage& Bitmap);
void RotateBitmapCW(TImage& Bitmap);

// A system colour becomes SysColor's answer for its low byte; others are kept.
TColor ResolveColor(TColor Colour, TSysColorFunc SysColor);
// Amount below 100 is a percentage of Colour1, from 100 on tenths of a percent.
TColor BlendColors(TColor Colour1, TColor Colour2, int Amount, TSysColorFunc SysColor);
// 0..255 from the spread of the channels, or 200 when no channel reaches 160.
int ColorSaturation(TColor Colour);

// Gradient cache: 16 slots overwritten in cyclic order. Colours are plain RGB.
constexpr int kGradientSlots = 16;
int GradientFind(int Count, TColor Colour1, TColor Colour2);
// Fills the next slot; -1 for a Count below 1.
int GradientMake(int Count, TColor Colour1, TColor Colour2);
int GradientGet(int Count, TColor Colour1, TColor Colour2);
const std::vector<TColor>& GradientSlot(int Slot);
// Entry Index of the Count-entry gradient, as GradientMake computes it.
TColor GradientColor(int Count, TColor Colour1, TColor Colour2, int Index);
// Longer gradients are not cached: a fill computes only the bands it draws,
// which the clip box bounds, instead of an array as long as the rectangle.
constexpr int kGradientMaxCached = 1 << 16;

// Which entries of a gradient spanning [RectStart, RectEnd) fall inside
// [ClipStart, ClipEnd): the gradient's length, or 0 when there is nothing to
// draw; First..Last are the visible entries (First > Last when none).
int GradientBands(int RectStart, int RectEnd, int ClipStart, int ClipEnd, int& First, int& Last);
