// Shapes on the generator's drawing surface and its bitmap file.
#include "ArtCanvas.h"

#include "skin/portable/BmpFile.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

TArtImage::TArtImage(int AWidth, int AHeight, TRgb Background)
    : FWidth(AWidth), FHeight(AHeight), FPixels(static_cast<size_t>(AWidth) * static_cast<size_t>(AHeight), Background)
{
    if (AWidth <= 0 || AHeight <= 0) throw std::invalid_argument("an image needs a positive size");
}

TRgb TArtImage::Pixel(int x, int y) const
{
    if (!Inside(x, y)) throw std::out_of_range("pixel outside the image");
    return FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)];
}

void TArtImage::SetPixel(int x, int y, TRgb Colour)
{
    if (Inside(x, y)) FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)] = Colour;
}

void TArtImage::FillRect(int x, int y, int w, int h, TRgb Colour)
{
    for (int py = std::max(y, 0); py < std::min(y + h, FHeight); ++py)
        for (int px = std::max(x, 0); px < std::min(x + w, FWidth); ++px) SetPixel(px, py, Colour);
}

void TArtImage::FrameRect(int x, int y, int w, int h, TRgb Colour)
{
    HLine(x, y, w, Colour);
    HLine(x, y + h - 1, w, Colour);
    VLine(x, y, h, Colour);
    VLine(x + w - 1, y, h, Colour);
}

namespace {

// Whether the centre of pixel (px, py) lies in the rounded rectangle.
bool InRound(int px, int py, int x, int y, int w, int h, int r, unsigned corners)
{
    if (px < x || py < y || px >= x + w || py >= y + h) return false;
    const bool left = px < x + r, right = px >= x + w - r, top = py < y + r, bottom = py >= y + h - r;
    double cx = 0, cy = 0;
    if (top && left && (corners & crTopLeft)) cx = x + r, cy = y + r;
    else if (top && right && (corners & crTopRight)) cx = x + w - r, cy = y + r;
    else if (bottom && left && (corners & crBottomLeft)) cx = x + r, cy = y + h - r;
    else if (bottom && right && (corners & crBottomRight)) cx = x + w - r, cy = y + h - r;
    else return true;
    const double dx = px + 0.5 - cx, dy = py + 0.5 - cy;
    return dx * dx + dy * dy <= static_cast<double>(r) * r;
}

} // namespace

void TArtImage::FillRound(int x, int y, int w, int h, int Radius, TRgb Colour, unsigned Corners)
{
    for (int py = y; py < y + h; ++py)
        for (int px = x; px < x + w; ++px)
            if (InRound(px, py, x, y, w, h, Radius, Corners)) SetPixel(px, py, Colour);
}

void TArtImage::FillRoundFramed(int x, int y, int w, int h, int Radius, TRgb Border, TRgb Fill, unsigned Corners)
{
    const int inner = std::max(Radius - 1, 0);
    for (int py = y; py < y + h; ++py)
        for (int px = x; px < x + w; ++px) {
            if (!InRound(px, py, x, y, w, h, Radius, Corners)) continue;
            SetPixel(px, py, InRound(px, py, x + 1, y + 1, w - 2, h - 2, inner, Corners) ? Fill : Border);
        }
}

void TArtImage::FillCircle(double cx, double cy, double Radius, TRgb Colour)
{
    // Edges are blended over what is drawn already, from 4 x 4 samples per
    // pixel; over the key colour a pixel is either in or out, since a blend
    // with magenta would show as a pink fringe.
    constexpr int n = 4;
    for (int py = 0; py < FHeight; ++py)
        for (int px = 0; px < FWidth; ++px) {
            int hits = 0;
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    const double dx = px + (sx + 0.5) / n - cx, dy = py + (sy + 0.5) / n - cy;
                    hits += dx * dx + dy * dy <= Radius * Radius;
                }
            if (hits == 0) continue;
            const TRgb under = Pixel(px, py);
            if (under == clMagenta) {
                if (2 * hits >= n * n) SetPixel(px, py, Colour);
                continue;
            }
            auto mix = [&](uint8_t a, uint8_t b) {
                return static_cast<uint8_t>((a * hits + b * (n * n - hits) + n * n / 2) / (n * n));
            };
            SetPixel(px, py, TRgb{mix(Colour.R, under.R), mix(Colour.G, under.G), mix(Colour.B, under.B)});
        }
}

void TArtImage::Line(int x0, int y0, int x1, int y1, TRgb Colour)
{
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        SetPixel(x0, y0, Colour);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

namespace {

// Plots a shape drawn pointing down, with a across and b along towards the
// tip, in the box at (x, y) turned to Direction.
void PlotTurned(TArtImage& image, int x, int y, int along, int a, int b, TDirection d, TRgb colour)
{
    switch (d) {
    case TDirection::dDown: image.SetPixel(x + a, y + b, colour); break;
    case TDirection::dUp: image.SetPixel(x + a, y + along - 1 - b, colour); break;
    case TDirection::dRight: image.SetPixel(x + b, y + a, colour); break;
    case TDirection::dLeft: image.SetPixel(x + along - 1 - b, y + a, colour); break;
    }
}

} // namespace

void TArtImage::Chevron(int x, int y, int Size, TDirection Direction, TRgb Colour)
{
    const int across = 2 * Size - 1, along = Size + 1;
    for (int b = 0; b < Size; ++b)
        for (int t = 0; t < 2; ++t) {
            PlotTurned(*this, x, y, along, b, b + t, Direction, Colour);
            PlotTurned(*this, x, y, along, across - 1 - b, b + t, Direction, Colour);
        }
}

void TArtImage::Triangle(int x, int y, int Size, TDirection Direction, TRgb Colour)
{
    const int across = 2 * Size - 1;
    for (int b = 0; b < Size; ++b)
        for (int a = b; a < across - b; ++a) PlotTurned(*this, x, y, Size, a, b, Direction, Colour);
}

void TArtImage::Draw(int x, int y, const TArtImage& Source)
{
    for (int py = 0; py < Source.Height(); ++py)
        for (int px = 0; px < Source.Width(); ++px) SetPixel(x + px, y + py, Source.Pixel(px, py));
}

TArtImage TArtImage::Transposed() const
{
    TArtImage result(FHeight, FWidth, TRgb{});
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) result.SetPixel(y, x, Pixel(x, y));
    return result;
}

TArtImage JoinCells(const std::vector<TArtImage>& Cells, bool Vertical)
{
    if (Cells.empty()) throw std::invalid_argument("a strip needs at least one cell");
    const int w = Cells.front().Width(), h = Cells.front().Height(), n = static_cast<int>(Cells.size());
    TArtImage strip(Vertical ? w : w * n, Vertical ? h * n : h, TRgb{});
    for (int i = 0; i < n; ++i) {
        if (Cells[static_cast<size_t>(i)].Width() != w || Cells[static_cast<size_t>(i)].Height() != h)
            throw std::invalid_argument("the cells of a strip differ in size");
        strip.Draw(Vertical ? 0 : w * i, Vertical ? h * i : 0, Cells[static_cast<size_t>(i)]);
    }
    return strip;
}

std::vector<uint8_t> EncodeBmp24(const TArtImage& Image)
{
    constexpr uint32_t pixelsPerMetre = 3780; // 96 dots per inch
    TImage pixels(Image.Width(), Image.Height());
    for (int y = 0; y < Image.Height(); ++y) {
        uint8_t* out = pixels.ScanLine(y);
        for (int x = 0; x < Image.Width(); ++x, out += 3) {
            const TRgb p = Image.Pixel(x, y);
            out[0] = p.B;
            out[1] = p.G;
            out[2] = p.R;
        }
    }
    return EncodeBmpFile(pixels.View(), {.StoreImageSize = true, .PixelsPerMetre = pixelsPerMetre});
}
