// Cell geometry, clipped pixel copies and the nine-part rendering.
#include "SkinCells.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Source column (or row) for each target column, reused between calls: the
// primitives run on the GUI thread only.
std::vector<int>& Map()
{
    static std::vector<int> map;
    return map;
}

void CopyPixel(uint8_t* d, int dBytes, const uint8_t* s)
{
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
    if (dBytes == 4) d[3] = 0;
}

int Clamp(int v, int lo, int hi)
{
    return std::max(lo, std::min(v, hi));
}

} // namespace

bool StripCell(int StripWidth, int StripHeight, int Index, int Count, bool Vertical, TSkinCell& Cell)
{
    if (Count < 1 || Index < 1 || Index > Count || StripWidth <= 0 || StripHeight <= 0) return false;
    if (Vertical) {
        Cell = {0, (Index - 1) * (StripHeight / Count), StripWidth, StripHeight / Count};
    } else {
        Cell = {(Index - 1) * (StripWidth / Count), 0, StripWidth / Count, StripHeight};
    }
    return Cell.Width > 0 && Cell.Height > 0;
}

namespace {

// Copies Target's pixels [x0, x1) x [y0, y1) (already inside Target) from the
// source pixel that SourceX / SourceY name; names outside Source are skipped.
template <class FX, class FY>
void CopyMapped(const TImageView& Source, const TImageView& Target, int x0, int x1, int y0, int y1, FX SourceX,
                FY SourceY)
{
    const int sBytes = Source.BytesPerPixel, dBytes = Target.BytesPerPixel;
    std::vector<int>& map = Map();
    map.assign(static_cast<size_t>(x1 - x0), -1);
    bool straight = sBytes == dBytes;
    for (int x = x0; x < x1; ++x) {
        const int sx = SourceX(x);
        if (sx >= 0 && sx < Source.Width) map[static_cast<size_t>(x - x0)] = sx * sBytes;
        straight = straight && sx >= 0 && sx < Source.Width && sx - SourceX(x0) == x - x0;
    }
    int lastSy = -1;
    const uint8_t* lastRow = nullptr;
    for (int y = y0; y < y1; ++y) {
        const int sy = SourceY(y);
        if (sy < 0 || sy >= Source.Height) continue;
        uint8_t* d = Target.Row(y) + static_cast<ptrdiff_t>(x0) * dBytes;
        const size_t bytes = static_cast<size_t>(x1 - x0) * dBytes;
        if (sy == lastSy) {
            std::memcpy(d, lastRow, bytes); // the same source row as the row just drawn
            continue;
        }
        const uint8_t* s = Source.Row(sy);
        if (straight) {
            std::memcpy(d, s + map[0], bytes);
        } else if (dBytes == 4) {
            // One 32-bit store per pixel: the common case of skin strips drawn off screen.
            uint8_t* p = d;
            for (int sx : map) {
                if (sx >= 0) {
                    const uint8_t* q = s + sx;
                    const uint32_t v = q[0] | static_cast<uint32_t>(q[1]) << 8 | static_cast<uint32_t>(q[2]) << 16;
                    std::memcpy(p, &v, 4);
                }
                p += 4;
            }
        } else {
            uint8_t* p = d;
            for (int sx : map) {
                if (sx >= 0) CopyPixel(p, dBytes, s + sx);
                p += dBytes;
            }
        }
        lastSy = sy;
        lastRow = d;
    }
}

bool Usable(const TImageView& Source, const TSkinRect& From, const TImageView& Target, const TSkinRect& To)
{
    return From.Width() > 0 && From.Height() > 0 && To.Width() > 0 && To.Height() > 0 && Source.Bits != nullptr &&
           Target.Bits != nullptr;
}

} // namespace

void StretchPixels(const TImageView& Source, const TSkinRect& From, const TImageView& Target, const TSkinRect& To)
{
    if (!Usable(Source, From, Target, To)) return;
    const int x0 = std::max(To.Left, 0), x1 = std::min(To.Right, Target.Width);
    const int y0 = std::max(To.Top, 0), y1 = std::min(To.Bottom, Target.Height);
    if (x0 >= x1 || y0 >= y1) return;
    const int64_t sw = From.Width(), sh = From.Height(), dw = To.Width(), dh = To.Height();
    CopyMapped(
        Source, Target, x0, x1, y0, y1, [&](int x) { return From.Left + static_cast<int>((x - To.Left) * sw / dw); },
        [&](int y) { return From.Top + static_cast<int>((y - To.Top) * sh / dh); });
}

void TilePixels(const TImageView& Source, const TSkinRect& From, const TImageView& Target, const TSkinRect& To)
{
    if (!Usable(Source, From, Target, To)) return;
    const int x0 = std::max(To.Left, 0), x1 = std::min(To.Right, Target.Width);
    const int y0 = std::max(To.Top, 0), y1 = std::min(To.Bottom, Target.Height);
    if (x0 >= x1 || y0 >= y1) return;
    const int sw = From.Width(), sh = From.Height();
    CopyMapped(
        Source, Target, x0, x1, y0, y1, [&](int x) { return From.Left + (x - To.Left) % sw; },
        [&](int y) { return From.Top + (y - To.Top) % sh; });
}

void FillPixels(const TImageView& Target, const TSkinRect& To, TColor Colour)
{
    if (Target.Bits == nullptr) return;
    const int x0 = std::max(To.Left, 0), x1 = std::min(To.Right, Target.Width);
    const int y0 = std::max(To.Top, 0), y1 = std::min(To.Bottom, Target.Height);
    const uint8_t px[4] = {static_cast<uint8_t>(Colour >> 16), static_cast<uint8_t>(Colour >> 8),
                           static_cast<uint8_t>(Colour), 0};
    for (int y = y0; y < y1; ++y) {
        uint8_t* d = Target.Row(y) + static_cast<ptrdiff_t>(x0) * Target.BytesPerPixel;
        for (int x = x0; x < x1; ++x, d += Target.BytesPerPixel) std::memcpy(d, px, static_cast<size_t>(Target.BytesPerPixel));
    }
}

void CopyPixels(const TImageView& Source, const TImageView& Target, int X, int Y, bool Keyed, TColor Key)
{
    if (Source.Bits == nullptr || Target.Bits == nullptr) return;
    const int x0 = std::max(X, 0), x1 = std::min(X + Source.Width, Target.Width);
    const int y0 = std::max(Y, 0), y1 = std::min(Y + Source.Height, Target.Height);
    const uint8_t kb = static_cast<uint8_t>(Key >> 16), kg = static_cast<uint8_t>(Key >> 8),
                  kr = static_cast<uint8_t>(Key);
    const int sBytes = Source.BytesPerPixel, dBytes = Target.BytesPerPixel;
    for (int y = y0; y < y1; ++y) {
        const uint8_t* s = Source.Row(y - Y) + static_cast<ptrdiff_t>(x0 - X) * sBytes;
        uint8_t* d = Target.Row(y) + static_cast<ptrdiff_t>(x0) * dBytes;
        for (int x = x0; x < x1; ++x, s += sBytes, d += dBytes)
            if (!Keyed || s[0] != kb || s[1] != kg || s[2] != kr) CopyPixel(d, dBytes, s);
    }
}

bool RenderNinePart(const TImageView& Strip, const TImageView& Target, TSkinRect Margins, int Index, int Count,
                    bool Tile, bool Vertical)
{
    TSkinCell c;
    if (!StripCell(Strip.Width, Strip.Height, Index, Count, Vertical, c)) return false;
    const int W = Target.Width, H = Target.Height;
    if (W <= 0 || H <= 0) return true;

    int L = Clamp(Margins.Left, 0, c.Width), R = Clamp(Margins.Right, 0, c.Width - L);
    int T = Clamp(Margins.Top, 0, c.Height), B = Clamp(Margins.Bottom, 0, c.Height - T);
    if (L + R > W) L = R = 0;
    if (T + B > H) T = B = 0;
    const int x0 = c.X, y0 = c.Y, cw = c.Width, ch = c.Height;

    const auto piece = [&](TSkinRect to, TSkinRect from) {
        if (from.Width() <= 0 || from.Height() <= 0) FillPixels(Target, to, clKeyMagenta);
        else StretchPixels(Strip, from, Target, to);
    };
    if (L * T > 0) piece({0, 0, L, T}, {x0, y0, x0 + L, y0 + T});
    if (L * B > 0) piece({0, H - B, L, H}, {x0, y0 + ch - B, x0 + L, y0 + ch});
    if (R * T > 0) piece({W - R, 0, W, T}, {x0 + cw - R, y0, x0 + cw, y0 + T});
    if (L > 0) piece({0, T, L, H - B}, {x0, y0 + T, x0 + L, y0 + ch - B});
    if (T > 0) piece({L, 0, W - R, T}, {x0 + L, y0, x0 + cw - R, y0 + T});
    const TSkinRect centre{L, T, W - R, H - B}, centreFrom{x0 + L, y0 + T, x0 + cw - R, y0 + ch - B};
    if (Tile && centreFrom.Width() > 0 && centreFrom.Height() > 0) TilePixels(Strip, centreFrom, Target, centre);
    else piece(centre, centreFrom);
    if (R * B > 0) piece({W - R, H - B, W, H}, {x0 + cw - R, y0 + ch - B, x0 + cw, y0 + ch});
    if (R > 0) piece({W - R, T, W, H - B}, {x0 + cw - R, y0 + T, x0 + cw, y0 + ch - B});
    if (B > 0) piece({L, H - B, W - R, H}, {x0 + L, y0 + ch - B, x0 + cw - R, y0 + ch});
    return true;
}
