// TArtImage: the generator's 24-bit drawing surface (top-down rows of red,
// green, blue) with the few shapes the skin art needs, and its encoding as a
// bottom-up 24-bit BMP file. Every shape clips to the image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Red, green, blue; compared exactly, so magenta stays the one key colour.
struct TRgb {
    uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TRgb&) const = default;
};

constexpr TRgb Rgb(int r, int g, int b)
{
    return TRgb{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
}

// The transparent colour of every skin strip.
constexpr TRgb clMagenta = Rgb(255, 0, 255);

// Which corners of a rectangle are rounded.
enum TCorners : unsigned {
    crTopLeft = 1,
    crTopRight = 2,
    crBottomLeft = 4,
    crBottomRight = 8,
    crTop = crTopLeft | crTopRight,
    crAll = 15,
};

enum class TDirection { dUp, dDown, dLeft, dRight };

class TArtImage {
public:
    TArtImage() = default;
    TArtImage(int AWidth, int AHeight, TRgb Background);

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    TRgb Pixel(int x, int y) const;
    void SetPixel(int x, int y, TRgb Colour);

    void FillRect(int x, int y, int w, int h, TRgb Colour);
    void FrameRect(int x, int y, int w, int h, TRgb Colour);
    void HLine(int x, int y, int w, TRgb Colour) { FillRect(x, y, w, 1, Colour); }
    void VLine(int x, int y, int h, TRgb Colour) { FillRect(x, y, 1, h, Colour); }
    // Pixels whose centres lie inside the rectangle with the given corners
    // rounded to Radius; the rest is left alone.
    void FillRound(int x, int y, int w, int h, int Radius, TRgb Colour, unsigned Corners = crAll);
    // A one-pixel outline of that shape around a filled inside.
    void FillRoundFramed(int x, int y, int w, int h, int Radius, TRgb Border, TRgb Fill, unsigned Corners = crAll);
    // A disc of Radius around (cx, cy), in pixel-edge units, its edge blended
    // into the pixels beneath unless they are the key colour.
    void FillCircle(double cx, double cy, double Radius, TRgb Colour);
    // A one-pixel line from one pixel to another, both included.
    void Line(int x0, int y0, int x1, int y1, TRgb Colour);
    // An open arrow head, two pixels thick, pointing in Direction, in the box
    // at (x, y) that is Size*2-1 pixels across and Size+1 along.
    void Chevron(int x, int y, int Size, TDirection Direction, TRgb Colour);
    // A solid triangle, Size*2-1 pixels across and Size along.
    void Triangle(int x, int y, int Size, TDirection Direction, TRgb Colour);
    // Copies Source with its top-left corner at (x, y).
    void Draw(int x, int y, const TArtImage& Source);
    // The image mirrored across its main diagonal: rows become columns.
    TArtImage Transposed() const;

private:
    bool Inside(int x, int y) const noexcept { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }

    int FWidth = 0;
    int FHeight = 0;
    std::vector<TRgb> FPixels;
};

// Cells of equal size laid side by side (Vertical false) or stacked.
TArtImage JoinCells(const std::vector<TArtImage>& Cells, bool Vertical = false);

// A Windows bitmap file: 14-byte file header, 40-byte info header, 24 bits
// per pixel, rows bottom-up and padded to four bytes, no colour table.
std::vector<uint8_t> EncodeBmp24(const TArtImage& Image);
