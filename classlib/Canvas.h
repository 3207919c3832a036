// TBitmap: an image held in a DIB section (24 or 32 bits per pixel) with row
// access, and TCanvas: the memory DC the bitmap is selected into, or a device
// context someone else made (a WM_DRAWITEM's), handed back as it was found.
// Row 0 of ScanLine is the top row whatever the DIB's own layout.
#pragma once

#include <windows.h>

#include "Graphics.h"
#include "classlib/portable/Classes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

class TBitmap;

// pfDevice is the screen's format, kept as 32 bits per pixel.
enum class TPixelFormat { pfDevice, pf24bit, pf32bit };

// bsClear: text is drawn without a background and FillRect draws nothing.
enum class TBrushStyle { bsSolid, bsClear };

class TCanvas : public TObject {
public:
    explicit TCanvas(TBitmap* ABitmap);
    // A canvas without a DC until SetHandle gives it one.
    TCanvas();
    // Hands a foreign DC back (see SetHandle).
    ~TCanvas() override;

    // A memory DC holding the bitmap, valid until the bitmap is freed; or the
    // foreign DC. Font, text colour and brush style are applied to it as soon
    // as they are set, so drawing on the handle directly sees them.
    HDC Handle();
    bool HandleAllocated() const noexcept { return FHandle != nullptr; }
    // Only for a canvas without a bitmap: draws on DC (not freed here) until
    // the next SetHandle; the DC's font, colours and modes are put back when
    // it is let go (null lets go).
    void SetHandle(HDC DC);

    // Colours are TColor values: red in the low byte, negative for a system colour.
    int32_t BrushColor() const noexcept { return FBrushColor; }
    void SetBrushColor(int32_t Colour);
    // Once Font or BrushStyle is used, text is drawn on the brush colour, or
    // without a background when the style is bsClear.
    TBrushStyle BrushStyle() const noexcept { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle Value);
    // Its Color is the text colour.
    TFont* Font();

    void FillRect(const RECT& Rect);
    void Draw(int X, int Y, TBitmap& Source);
    int32_t Pixel(int X, int Y);
    void SetPixel(int X, int Y, int32_t Colour);
    // Texts are 8-bit GB2312, drawn with the canvas font.
    void TextOut(int X, int Y, std::string_view Text);
    SIZE TextExtent(std::string_view Text);
    int TextWidth(std::string_view Text) { return TextExtent(Text).cx; }
    int TextHeight(std::string_view Text) { return TextExtent(Text).cy; }
    // DrawTextW with Format (DT_xxx); returns the text height. With
    // DT_CALCRECT, Rect receives the measured rectangle.
    int TextRect(RECT& Rect, std::string_view Text, UINT Format);

private:
    friend class TBitmap;
    void Select(HBITMAP Bitmap);
    // Puts the font, text colour and background mode into the DC.
    void ApplyTextState();
    void Release();

    TBitmap* FBitmap;
    HDC FHandle = nullptr;
    bool FForeign = false;
    bool FTextState = false;    // Font or BrushStyle used: the DC follows them
    bool FTextPending = false;  // ... but has not been told yet
    int FSavedState = 0;  // SaveDC of a foreign DC
    HGDIOBJ FOldBitmap = nullptr;
    HGDIOBJ FOldFont = nullptr;
    int32_t FBrushColor = 0xFFFFFF;
    TBrushStyle FBrushStyle = TBrushStyle::bsSolid;
    std::unique_ptr<TFont> FFont;
};

class TBitmap : public TPersistent {
public:
    DECLARE_CLASS_INFO()
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
