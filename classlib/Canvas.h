// TBitmap: an image held in a DIB section (24 or 32 bits per pixel) with row
// access, and TCanvas: the memory DC the bitmap is selected into. Row 0 of
// ScanLine is the top row whatever the DIB's own layout.
#pragma once

#include <windows.h>

#include "classlib/portable/Classes.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class TBitmap;

// pfDevice is the screen's format, kept as 32 bits per pixel.
enum class TPixelFormat { pfDevice, pf24bit, pf32bit };

class TCanvas : public TObject {
public:
    explicit TCanvas(TBitmap* ABitmap);
    ~TCanvas() override;

    // A memory DC holding the bitmap; valid until the bitmap is freed.
    HDC Handle();
    // Colours are TColor values: red in the low byte, negative for a system colour.
    int32_t BrushColor() const noexcept { return FBrushColor; }
    void SetBrushColor(int32_t Colour) noexcept { FBrushColor = Colour; }
    void FillRect(const RECT& Rect);
    void Draw(int X, int Y, TBitmap& Source);
    int32_t Pixel(int X, int Y);
    void SetPixel(int X, int Y, int32_t Colour);

private:
    friend class TBitmap;
    void Select(HBITMAP Bitmap);

    TBitmap* FBitmap;
    HDC FHandle = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
    int32_t FBrushColor = 0xFFFFFF;
};

class TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    bool Empty() const noexcept { return FWidth == 0 || FHeight == 0; }
    // Resizing keeps the pixels inside both sizes; new ones take the canvas
    // brush colour.
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    void SetHeight(int Value) { SetSize(FWidth, Value); }
    void SetSize(int AWidth, int AHeight);
    TPixelFormat PixelFormat() const noexcept { return FPixelFormat; }
    // Converts the pixels to the new format.
    void SetPixelFormat(TPixelFormat Value);
    int BitsPerPixel() const noexcept { return FPixelFormat == TPixelFormat::pf24bit ? 24 : 32; }

    // Row y (0 = top); rows are BitsPerPixel / 8 bytes per pixel, blue first.
    uint8_t* ScanLine(int y);
    // Bytes from one row to the next one down (negative: the DIB is bottom-up).
    ptrdiff_t RowStep() const noexcept { return -static_cast<ptrdiff_t>(FStride); }

    HBITMAP Handle() const noexcept { return FHandle; }
    TCanvas* Canvas();
    // Size, format and pixels of Source.
    void Assign(const TBitmap& Source);

    bool Transparent = false;
    int32_t TransparentColor = 0xFF00FF;

private:
    void Recreate(int AWidth, int AHeight, TPixelFormat AFormat);

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = TPixelFormat::pfDevice;
    HBITMAP FHandle = nullptr;
    uint8_t* FBits = nullptr;
    size_t FStride = 0;
    std::unique_ptr<TCanvas> FCanvas;
};
