// Pixel loops of the bitmap utilities and the gradient cache.
#include "ImgUtil.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

int Red(TColor c) { return static_cast<int>(static_cast<uint32_t>(c) & 0xFF); }
int Green(TColor c) { return static_cast<int>((static_cast<uint32_t>(c) >> 8) & 0xFF); }
int Blue(TColor c) { return static_cast<int>((static_cast<uint32_t>(c) >> 16) & 0xFF); }
TColor MakeColor(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}

struct TGradientCache {
    std::array<std::vector<TColor>, kGradientSlots> Slots;
    int Next = 0;
};

TGradientCache& Cache()
{
    static TGradientCache cache;
    return cache;
}

int FloorDiv(int64_t a, int64_t n)
{
    int64_t q = a / n;
    if (a % n != 0 && a < 0) --q;
    return static_cast<int>(q);
}

} // namespace

TImage::TImage(int AWidth, int AHeight, TImageFormat AFormat) : FFormat(AFormat)
{
    SetSize(AWidth, AHeight);
}

void TImage::SetPixelFormat(TImageFormat AFormat)
{
    if (AFormat == FFormat) return;
    TImage converted(FWidth, FHeight, AFormat);
    const int from = BytesPerPixel(FFormat), to = BytesPerPixel(AFormat);
    for (int y = 0; y < FHeight; ++y) {
        const uint8_t* s = ScanLine(y);
        uint8_t* d = converted.ScanLine(y);
        for (int x = 0; x < FWidth; ++x) std::memcpy(d + x * to, s + x * from, 3);
    }
    *this = std::move(converted);
}

void TImage::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    const size_t oldStride = Stride();
    const int oldHeight = FHeight;
    std::vector<uint8_t> old = std::move(FBits);
    FWidth = AWidth;
    FHeight = AHeight;
    FBits.assign(Stride() * static_cast<size_t>(FHeight), 0);
    const size_t keep = std::min(oldStride, Stride());
    for (int y = 0; y < std::min(oldHeight, FHeight) && keep > 0; ++y)
        std::memcpy(ScanLine(y), old.data() + static_cast<size_t>(y) * oldStride, keep);
}

TImageView TImage::View()
{
    return TImageView{FBits.data(), FWidth, FHeight, static_cast<ptrdiff_t>(Stride()), BytesPerPixel(FFormat)};
}

TColor TImage::Pixel(int x, int y) const
{
    const uint8_t* p = ScanLine(y) + x * BytesPerPixel(FFormat);
    return MakeColor(p[2], p[1], p[0]);
}

void TImage::SetPixel(int x, int y, TColor Colour)
{
    uint8_t* p = ScanLine(y) + x * BytesPerPixel(FFormat);
    p[0] = static_cast<uint8_t>(Blue(Colour));
    p[1] = static_cast<uint8_t>(Green(Colour));
    p[2] = static_cast<uint8_t>(Red(Colour));
}

void GrayPixels(const TImageView& View)
{
    for (int y = 0; y < View.Height; ++y) {
        uint8_t* p = View.Row(y);
        for (int x = 0; x < View.Width; ++x, p += View.BytesPerPixel) {
            const uint8_t g = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
            p[0] = p[1] = p[2] = g;
        }
    }
}

void ReplaceKeyPixels(const TImageView& View, TColor Colour)
{
    const uint8_t r = static_cast<uint8_t>(Red(Colour)), g = static_cast<uint8_t>(Green(Colour)),
                  b = static_cast<uint8_t>(Blue(Colour));
    for (int y = 0; y < View.Height; ++y) {
        uint8_t* p = View.Row(y);
        for (int x = 0; x < View.Width; ++x, p += View.BytesPerPixel) {
            if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
                p[0] = b;
                p[1] = g;
                p[2] = r;
            }
        }
    }
}

void MirrorPixels(const TImageView& View)
{
    const int bpp = View.BytesPerPixel;
    uint8_t tmp[4];
    for (int y = 0; y < View.Height; ++y) {
        uint8_t* row = View.Row(y);
        for (int l = 0, r = View.Width - 1; l < r; ++l, --r) {
            std::memcpy(tmp, row + l * bpp, bpp);
            std::memcpy(row + l * bpp, row + r * bpp, bpp);
            std::memcpy(row + r * bpp, tmp, bpp);
        }
    }
}

void FlipPixels(const TImageView& View)
{
    const size_t bytes = static_cast<size_t>(View.Width) * View.BytesPerPixel;
    std::vector<uint8_t> tmp(bytes);
    for (int t = 0, b = View.Height - 1; t < b; ++t, --b) {
        std::memcpy(tmp.data(), View.Row(t), bytes);
        std::memcpy(View.Row(t), View.Row(b), bytes);
        std::memcpy(View.Row(b), tmp.data(), bytes);
    }
}

void RotatePixels(const TImageView& Source, const TImageView& Target, bool Clockwise)
{
    const int w = Source.Width, h = Source.Height, bpp = Source.BytesPerPixel;
    if (Target.Width != h || Target.Height != w || Target.BytesPerPixel != bpp) return;
    for (int y = 0; y < w; ++y) {
        uint8_t* d = Target.Row(y);
        for (int x = 0; x < h; ++x, d += bpp) {
            // Counter-clockwise: new (x, y) is old (W - 1 - y, x); clockwise: old (y, H - 1 - x).
            const int sx = Clockwise ? y : w - 1 - y;
            const int sy = Clockwise ? h - 1 - x : x;
            std::memcpy(d, Source.Row(sy) + sx * bpp, bpp);
        }
    }
}

void GrayBitmap(TImage& Bitmap)
{
    Bitmap.SetPixelFormat(TImageFormat::if24bit);
    GrayPixels(Bitmap.View());
}

void ReplaceKeyColor(TImage& Bitmap, TColor Colour)
{
    Bitmap.SetPixelFormat(TImageFormat::if24bit);
    ReplaceKeyPixels(Bitmap.View(), Colour);
}

void MirrorBitmap(TImage& Bitmap)
{
    MirrorPixels(Bitmap.View());
}

void FlipBitmap(TImage& Bitmap)
{
    FlipPixels(Bitmap.View());
}

namespace {

void RotateImage(TImage& Bitmap, bool Clockwise)
{
    TImage rotated(Bitmap.Height(), Bitmap.Width(), Bitmap.PixelFormat());
    RotatePixels(Bitmap.View(), rotated.View(), Clockwise);
    Bitmap = std::move(rotated);
}

} // namespace

void RotateBitmapCCW(TImage& Bitmap)
{
    RotateImage(Bitmap, false);
}

void RotateBitmapCW(TImage& Bitmap)
{
    RotateImage(Bitmap, true);
}

TColor ResolveColor(TColor Colour, TSysColorFunc SysColor)
{
    if (Colour < 0 && SysColor != nullptr) return SysColor(Colour & 0xFF);
    return Colour;
}

TColor BlendColors(TColor Colour1, TColor Colour2, int Amount, TSysColorFunc SysColor)
{
    Colour1 = ResolveColor(Colour1, SysColor);
    Colour2 = ResolveColor(Colour2, SysColor);
    const int64_t scale = Amount < 100 ? 100 : 1000;
    const auto mix = [&](int c1, int c2) {
        return static_cast<int>((c2 * (scale - Amount) + static_cast<int64_t>(c1) * Amount + scale / 2) / scale);
    };
    return MakeColor(mix(Red(Colour1), Red(Colour2)), mix(Green(Colour1), Green(Colour2)),
                     mix(Blue(Colour1), Blue(Colour2)));
}

int ColorSaturation(TColor Colour)
{
    const int r = Red(Colour), g = Green(Colour), b = Blue(Colour);
    if (r < 160 && g < 160 && b < 160) return 200;
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
    // Exact integer quotient, so halves are real halves and round to even.
    return static_cast<int>(std::nearbyint(static_cast<double>(hi - lo) * 255.0 / hi));
}

int GradientFind(int Count, TColor Colour1, TColor Colour2)
{
    const auto& slots = Cache().Slots;
    for (int i = kGradientSlots - 1; i >= 0; --i) {
        const auto& s = slots[static_cast<size_t>(i)];
        if (static_cast<int>(s.size()) == Count && !s.empty() && s.front() == Colour1 && s.back() == Colour2) return i;
    }
    return -1;
}

TColor GradientColor(int Count, TColor Colour1, TColor Colour2, int Index)
{
    const int r1 = Red(Colour1), g1 = Green(Colour1), b1 = Blue(Colour1);
    const int dr = Red(Colour2) - r1, dg = Green(Colour2) - g1, db = Blue(Colour2) - b1;
    if (Count <= 1) return MakeColor(r1 + dr / 2, g1 + dg / 2, b1 + db / 2);
    const int64_t n = Count - 1, i = Index;
    const auto at = [&](int c1, int d) { return c1 + FloorDiv(d * i + n / 2, n); };
    return MakeColor(at(r1, dr), at(g1, dg), at(b1, db));
}

int GradientMake(int Count, TColor Colour1, TColor Colour2)
{
    if (Count < 1) return -1;
    auto& cache = Cache();
    const int slot = cache.Next;
    cache.Next = (cache.Next + 1) % kGradientSlots;
    auto& entries = cache.Slots[static_cast<size_t>(slot)];
    entries.resize(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i) entries[static_cast<size_t>(i)] = GradientColor(Count, Colour1, Colour2, i);
    return slot;
}

int GradientGet(int Count, TColor Colour1, TColor Colour2)
{
    const int slot = GradientFind(Count, Colour1, Colour2);
    return slot >= 0 ? slot : GradientMake(Count, Colour1, Colour2);
}

const std::vector<TColor>& GradientSlot(int Slot)
{
    return Cache().Slots.at(static_cast<size_t>(Slot));
}

int GradientBands(int RectStart, int RectEnd, int ClipStart, int ClipEnd, int& First, int& Last)
{
    const int64_t n = static_cast<int64_t>(RectEnd) - RectStart;
    if (n <= 0 || n > INT32_MAX) return 0;
    const int64_t first = ClipStart > RectStart ? static_cast<int64_t>(ClipStart) - RectStart : 0;
    int64_t last = n - 1;
    if (ClipEnd < RectEnd) last -= static_cast<int64_t>(RectEnd) - ClipEnd;
    First = static_cast<int>(std::min(first, n));
    Last = static_cast<int>(std::clamp<int64_t>(last, -1, n - 1));
    return static_cast<int>(n);
}
