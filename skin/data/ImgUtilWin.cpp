// Bitmap utilities over TBitmap and device contexts.
#include "skin/data/ImgUtilWin.h"

#include <cstring>

TColor SysColorRGB(int Index)
{
    return static_cast<TColor>(::GetSysColor(Index));
}

TColor SkinColorToRGB(TColor Colour)
{
    return ResolveColor(Colour, SysColorRGB);
}

TColor BlendColors(TColor Colour1, TColor Colour2, int Amount)
{
    return BlendColors(Colour1, Colour2, Amount, SysColorRGB);
}

TImageView PixelsOf(TBitmap& Bitmap)
{
    if (Bitmap.Empty()) return TImageView{};
    return TImageView{Bitmap.ScanLine(0), Bitmap.Width(), Bitmap.Height(), Bitmap.RowStep(), Bitmap.BitsPerPixel() / 8};
}

void GrayBitmap(TBitmap& Bitmap)
{
    Bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    GrayPixels(PixelsOf(Bitmap));
}

void ReplaceKeyColor(TBitmap& Bitmap, TColor Colour)
{
    Bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    ReplaceKeyPixels(PixelsOf(Bitmap), Colour);
}

void MirrorBitmap(TBitmap& Bitmap)
{
    MirrorPixels(PixelsOf(Bitmap));
}

void FlipBitmap(TBitmap& Bitmap)
{
    FlipPixels(PixelsOf(Bitmap));
}

namespace {

void Rotate(TBitmap& Bitmap, bool Clockwise)
{
    if (Bitmap.Empty()) return;
    const TImageView source = PixelsOf(Bitmap);
    const int bpp = source.BytesPerPixel;
    TImage copy(source.Width, source.Height, bpp == 3 ? TImageFormat::if24bit : TImageFormat::if32bit);
    for (int y = 0; y < source.Height; ++y)
        std::memcpy(copy.ScanLine(y), source.Row(y), static_cast<size_t>(source.Width) * bpp);
    Bitmap.SetSize(source.Height, source.Width);
    RotatePixels(copy.View(), PixelsOf(Bitmap), Clockwise);
}

} // namespace

void RotateBitmapCCW(TBitmap& Bitmap)
{
    Rotate(Bitmap, false);
}

void RotateBitmapCW(TBitmap& Bitmap)
{
    Rotate(Bitmap, true);
}

void GradientFillRect(HDC DC, const RECT& Rect, TColor Colour1, TColor Colour2, int Direction)
{
    if (!::RectVisible(DC, &Rect)) return;
    Colour1 = SkinColorToRGB(Colour1);
    Colour2 = SkinColorToRGB(Colour2);
    RECT clip{};
    ::GetClipBox(DC, &clip);
    const bool across = Direction == 0;
    int first = 0, last = -1;
    const int n = across ? GradientBands(Rect.left, Rect.right, clip.left, clip.right, first, last)
                         : GradientBands(Rect.top, Rect.bottom, clip.top, clip.bottom, first, last);
    if (n == 0) return;
    const std::vector<TColor>* entries = n <= kGradientMaxCached ? &GradientSlot(GradientGet(n, Colour1, Colour2)) : nullptr;
    RECT band = Rect;
    if (across) {
        band.left = Rect.left + first;
        band.right = band.left + 1;
    } else {
        band.top = Rect.top + first;
        band.bottom = band.top + 1;
    }
    for (int i = first; i <= last; ++i) {
        const TColor colour = entries != nullptr ? (*entries)[static_cast<size_t>(i)] : GradientColor(n, Colour1, Colour2, i);
        HBRUSH brush = ::CreateSolidBrush(static_cast<COLORREF>(colour));
        ::FillRect(DC, &band, brush);
        ::DeleteObject(brush);
        if (across) {
            ++band.left;
            ++band.right;
        } else {
            ++band.top;
            ++band.bottom;
        }
    }
}
