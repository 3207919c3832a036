// TBitmap over a DIB section and its memory-DC canvas.
#include "Canvas.h"

#include "Controls.h"
#include "Text.h"
#include "classlib/portable/SysUtils.h"
#include "classlib/portable/TypInfo.h"

#include <algorithm>
#include <cstring>

namespace {

COLORREF ToRGB(int32_t Colour)
{
    return Colour < 0 ? ::GetSysColor(Colour & 0xFF) : static_cast<COLORREF>(Colour);
}

int BytesOf(TPixelFormat Format)
{
    return Format == TPixelFormat::pf24bit ? 3 : 4;
}

} // namespace

TCanvas::TCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}

TCanvas::TCanvas() : FBitmap(nullptr) {}

TCanvas::~TCanvas()
{
    Release();
}

void TCanvas::Release()
{
    if (FHandle == nullptr) return;
    if (FForeign) {
        // The owner of the DC gets it back with its own font and modes.
        ::RestoreDC(FHandle, FSavedState);
    } else {
        if (FOldBitmap != nullptr) ::SelectObject(FHandle, FOldBitmap);
        if (FOldFont != nullptr) ::SelectObject(FHandle, FOldFont);
        ::DeleteDC(FHandle);
    }
    FHandle = nullptr;
    FForeign = false;
    FOldBitmap = FOldFont = nullptr;
}

HDC TCanvas::Handle()
{
    if (FHandle == nullptr) {
        if (FBitmap == nullptr) throw EInvalidOperation("the canvas has no device context");
        FHandle = ::CreateCompatibleDC(nullptr);
        if (FHandle == nullptr) throw EOutOfResources("CreateCompatibleDC failed", ::GetLastError());
        Select(FBitmap->Handle());
        ApplyTextState();
    } else if (FTextPending) {
        ApplyTextState();
    }
    return FHandle;
}

void TCanvas::SetHandle(HDC DC)
{
    if (FBitmap != nullptr) throw EInvalidOperation("a bitmap's canvas draws on the bitmap's own DC");
    if (DC == FHandle) return;
    Release();
    if (DC == nullptr) return;
    const int saved = ::SaveDC(DC);
    if (saved == 0) throw EOutOfResources("SaveDC failed", ::GetLastError());
    FHandle = DC;
    FForeign = true;
    FSavedState = saved;
    ApplyTextState();
}

TFont* TCanvas::Font()
{
    if (!FFont) {
        FFont = std::make_unique<TFont>();
        FFont->OnChange = [this](TObject*) { ApplyTextState(); };
        // Selected by the first Handle() or change: a caller that sets the
        // font right away makes one GDI font, not two.
        FTextState = FTextPending = true;
    }
    return FFont.get();
}

void TCanvas::SetBrushColor(int32_t Colour)
{
    FBrushColor = Colour;
    ApplyTextState();
}

void TCanvas::SetBrushStyle(TBrushStyle Value)
{
    FBrushStyle = Value;
    FTextState = true;
    ApplyTextState();
}

void TCanvas::ApplyTextState()
{
    // Canvases that never asked for text settings leave the DC's own alone.
    if (FHandle == nullptr || !FTextState) return;
    FTextPending = false;
    ::SetBkMode(FHandle, FBrushStyle == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
    ::SetBkColor(FHandle, ToRGB(FBrushColor));
    if (!FFont) return;
    ::SetTextColor(FHandle, ColorToRGB(FFont->Color()));
    const HFONT font = FFont->Handle();
    if (font == nullptr) {
        // The font that was selected may be about to be deleted (TFont::Changed):
        // the DC must not keep it.
        ::SelectObject(FHandle, FOldFont != nullptr ? FOldFont : ::GetStockObject(SYSTEM_FONT));
        return;
    }
    const HGDIOBJ previous = ::SelectObject(FHandle, font);
    // A foreign DC gets its font back from RestoreDC.
    if (!FForeign && FOldFont == nullptr) FOldFont = previous;
}

void TCanvas::Select(HBITMAP Bitmap)
{
    if (FHandle == nullptr) return;
    if (Bitmap != nullptr) {
        HGDIOBJ previous = ::SelectObject(FHandle, Bitmap);
        if (FOldBitmap == nullptr) FOldBitmap = previous;
    } else if (FOldBitmap != nullptr) {
        ::SelectObject(FHandle, FOldBitmap);
        FOldBitmap = nullptr;
    }
}

void TCanvas::FillRect(const RECT& Rect)
{
    if (FBrushStyle == TBrushStyle::bsClear) return;
    HBRUSH brush = ::CreateSolidBrush(ToRGB(FBrushColor));
    ::FillRect(Handle(), &Rect, brush);
    ::DeleteObject(brush);
}

void TCanvas::Draw(int X, int Y, TBitmap& Source)
{
    if (Source.Empty()) return;
    ::BitBlt(Handle(), X, Y, Source.Width(), Source.Height(), Source.Canvas()->Handle(), 0, 0, SRCCOPY);
}

int32_t TCanvas::Pixel(int X, int Y)
{
    if (FBitmap == nullptr) {
        const COLORREF c = FHandle != nullptr ? ::GetPixel(FHandle, X, Y) : CLR_INVALID;
        return c == CLR_INVALID ? -1 : static_cast<int32_t>(c);
    }
    if (X < 0 || Y < 0 || X >= FBitmap->Width() || Y >= FBitmap->Height()) return -1;
    const uint8_t* p = FBitmap->ScanLine(Y) + X * (FBitmap->BitsPerPixel() / 8);
    return p[2] | p[1] << 8 | p[0] << 16;
}

void TCanvas::SetPixel(int X, int Y, int32_t Colour)
{
    if (FBitmap == nullptr) {
        if (FHandle != nullptr) ::SetPixelV(FHandle, X, Y, ToRGB(Colour));
        return;
    }
    if (X < 0 || Y < 0 || X >= FBitmap->Width() || Y >= FBitmap->Height()) return;
    const COLORREF c = ToRGB(Colour);
    uint8_t* p = FBitmap->ScanLine(Y) + X * (FBitmap->BitsPerPixel() / 8);
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
}

void TCanvas::TextOut(int X, int Y, std::string_view Text)
{
    const std::wstring text = TextToWide(Text);
    ::TextOutW(Handle(), X, Y, text.c_str(), static_cast<int>(text.size()));
}

SIZE TCanvas::TextExtent(std::string_view Text)
{
    const std::wstring text = TextToWide(Text);
    SIZE size{};
    if (!::GetTextExtentPoint32W(Handle(), text.c_str(), static_cast<int>(text.size()), &size)) return SIZE{};
    return size;
}

int TCanvas::TextRect(RECT& Rect, std::string_view Text, UINT Format)
{
    std::wstring text = TextToWide(Text);
    return ::DrawTextW(Handle(), text.data(), static_cast<int>(text.size()), &Rect, Format);
}

const TClassInfo& TBitmap::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TBitmap>("TBitmap", TPersistent::StaticClassInfo()).Build();
    return info;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    FCanvas.reset();
    if (FHandle != nullptr) ::DeleteObject(FHandle);
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>(this);
    return FCanvas.get();
}

uint8_t* TBitmap::ScanLine(int y)
{
    if (FBits == nullptr || y < 0 || y >= FHeight) throw ERangeError("scan line index out of range");
    ::GdiFlush();
    return FBits + static_cast<size_t>(FHeight - 1 - y) * FStride;
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == FWidth && AHeight == FHeight) return;
    Recreate(AWidth, AHeight, FPixelFormat);
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (Value == FPixelFormat) return;
    Recreate(FWidth, FHeight, Value);
}

void TBitmap::Assign(const TBitmap& Source)
{
    if (&Source == this) return;
    Transparent = Source.Transparent;
    TransparentColor = Source.TransparentColor;
    // Copy through a temporary so that Recreate's own-pixel copy reads Source.
    TBitmap copy;
    copy.FPixelFormat = Source.FPixelFormat;
    copy.Recreate(Source.FWidth, Source.FHeight, Source.FPixelFormat);
    // A 0-wide bitmap may still have a height, but it has no rows.
    if (!Source.Empty()) {
        ::GdiFlush();
        // Same size and format, so the same row layout.
        std::memcpy(copy.FBits, Source.FBits, Source.FStride * static_cast<size_t>(Source.FHeight));
    }
    std::swap(FWidth, copy.FWidth);
    std::swap(FHeight, copy.FHeight);
    std::swap(FPixelFormat, copy.FPixelFormat);
    std::swap(FHandle, copy.FHandle);
    std::swap(FBits, copy.FBits);
    std::swap(FStride, copy.FStride);
    if (FCanvas) FCanvas->Select(FHandle);
}

void TBitmap::Recreate(int AWidth, int AHeight, TPixelFormat AFormat)
{
    const int newBytes = BytesOf(AFormat);
    HBITMAP handle = nullptr;
    uint8_t* bits = nullptr;
    size_t stride = 0;
    if (AWidth > 0 && AHeight > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = AWidth;
        info.bmiHeader.biHeight = AHeight; // bottom-up, as GDI's own bitmaps
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<WORD>(newBytes * 8);
        info.bmiHeader.biCompression = BI_RGB;
        void* raw = nullptr;
        handle = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
        if (handle == nullptr) throw EOutOfResources("CreateDIBSection failed", ::GetLastError());
        bits = static_cast<uint8_t*>(raw);
        stride = (static_cast<size_t>(AWidth) * newBytes + 3) & ~size_t{3};

        // One row filled pixel by pixel, the others copied from it: buffers
        // as large as a window are made while it is skinned.
        const COLORREF fill = ToRGB(FCanvas ? FCanvas->BrushColor() : 0xFFFFFF);
        const uint8_t px[4] = {GetBValue(fill), GetGValue(fill), GetRValue(fill), 0};
        for (int x = 0; x < AWidth; ++x) std::memcpy(bits + x * newBytes, px, newBytes);
        for (int y = 1; y < AHeight; ++y) std::memcpy(bits + y * stride, bits, stride);

        if (FBits != nullptr) {
            ::GdiFlush();
            const int oldBytes = BytesOf(FPixelFormat);
            const int rows = std::min(AHeight, FHeight), cols = std::min(AWidth, FWidth);
            for (int y = 0; y < rows; ++y) {
                const uint8_t* s = FBits + static_cast<size_t>(FHeight - 1 - y) * FStride;
                uint8_t* d = bits + static_cast<size_t>(AHeight - 1 - y) * stride;
                if (newBytes == 3 && oldBytes == 3)
                    std::memcpy(d, s, static_cast<size_t>(cols) * 3);
                else
                    for (int x = 0; x < cols; ++x) std::memcpy(d + x * newBytes, s + x * oldBytes, 3);
            }
        }
    }
    if (FCanvas) FCanvas->Select(handle);
    if (FHandle != nullptr) ::DeleteObject(FHandle);
    FHandle = handle;
    FBits = bits;
    FStride = stride;
    FWidth = AWidth;
    FHeight = AHeight;
    FPixelFormat = AFormat;
}
