// The program's icon, drawn for each size from the same shapes on a 16-unit
// grid: each pixel's colour and alpha come from 8 x 8 samples, so edges are
// smooth over any background. Only the four operations and square roots,
// which IEEE arithmetic rounds one way everywhere (no trigonometry, no fused
// multiply-add: see CMakeLists.txt), so the file comes out the same byte for
// byte wherever it is made.
#include "IconArt.h"

#include "SkinArt.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double Grid = 16;
constexpr int Samples = 8;

// The tile: the accent, lighter at the top and darker at the bottom, so it
// stands out on the slate title too, with a one-pixel slate rim that keeps
// it apart from a light background.
constexpr double TileLeft = 1, TileTop = 1, TileSize = 14, TileRadius = 3;
// The tag, a card with a hole for its string at the lower left, and two
// waves from its centre towards the upper right. The waves span the angles
// between (24, 7) and (7, 24) of a 7-24-25 triangle, so their ends are exact.
constexpr double TagLeft = 2.5, TagTop = 8.5, TagSize = 5, TagRadius = 1.25;
constexpr double HoleX = 4, HoleY = 10, HoleRadius = 0.9;
constexpr double WaveX = 5, WaveY = 11, WaveWidth = 1.5;
constexpr double Waves[] = {5.75, 9};

struct TSample {
    bool Inside = false;
    TRgb Colour;
};

TRgb Mix(TRgb a, TRgb b, double t)
{
    auto mix = [t](uint8_t x, uint8_t y) { return static_cast<uint8_t>(std::lround(x + (y - x) * t)); };
    return TRgb{mix(a.R, b.R), mix(a.G, b.G), mix(a.B, b.B)};
}

// Signed distance from the edge of a rounded rectangle: negative inside.
double RoundDistance(double x, double y, double left, double top, double w, double h, double radius)
{
    const double qx = std::abs(x - left - w / 2) - (w / 2 - radius), qy = std::abs(y - top - h / 2) - (h / 2 - radius);
    const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
}

bool InCircle(double x, double y, double cx, double cy, double radius)
{
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

// Within the part of the ring of Radius that faces the upper right, its ends round.
bool OnWave(double x, double y, double radius)
{
    const double dx = x - WaveX, dy = y - WaveY, half = WaveWidth / 2;
    if (-dy * 24 >= dx * 7 && dx * 24 >= -dy * 7) return std::abs(std::sqrt(dx * dx + dy * dy) - radius) <= half;
    const double far = radius * 24 / 25, near = radius * 7 / 25;
    return InCircle(x, y, WaveX + far, WaveY - near, half) || InCircle(x, y, WaveX + near, WaveY - far, half);
}

// The icon at a point of the grid; Pixel is one pixel's width there.
TSample IconAt(double x, double y, double pixel)
{
    const double edge = RoundDistance(x, y, TileLeft, TileTop, TileSize, TileSize, TileRadius);
    if (edge > 0) return {};
    if (edge > -pixel) return {true, clTitleActive};
    if (RoundDistance(x, y, TagLeft, TagTop, TagSize, TagSize, TagRadius) <= 0 && !InCircle(x, y, HoleX, HoleY, HoleRadius))
        return {true, clWhite};
    for (const double radius : Waves)
        if (OnWave(x, y, radius)) return {true, clWhite};
    return {true, Mix(clAccentHot, clAccentPressed, (y - TileTop) / TileSize)};
}

struct TRgba {
    uint8_t R = 0, G = 0, B = 0, A = 0;
};

// Top-down rows of Size pixels, straight (not premultiplied) alpha.
std::vector<TRgba> DrawIcon(int size)
{
    const double unit = Grid / size;
    std::vector<TRgba> pixels(static_cast<size_t>(size) * static_cast<size_t>(size));
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            int hits = 0, r = 0, g = 0, b = 0;
            for (int sy = 0; sy < Samples; ++sy)
                for (int sx = 0; sx < Samples; ++sx) {
                    const double x = (px + (sx + 0.5) / Samples) * unit, y = (py + (sy + 0.5) / Samples) * unit;
                    const TSample s = IconAt(x, y, unit);
                    if (!s.Inside) continue;
                    ++hits;
                    r += s.Colour.R, g += s.Colour.G, b += s.Colour.B;
                }
            if (hits == 0) continue;
            auto mean = [hits](int sum) { return static_cast<uint8_t>((sum + hits / 2) / hits); };
            pixels[static_cast<size_t>(py) * static_cast<size_t>(size) + static_cast<size_t>(px)] = {
                mean(r), mean(g), mean(b), static_cast<uint8_t>((hits * 255 + Samples * Samples / 2) / (Samples * Samples))};
        }
    return pixels;
}

void Put16(std::vector<uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

uint32_t MaskRowBytes(int size)
{
    return static_cast<uint32_t>((size + 31) / 32 * 4);
}

uint32_t ImageBytes(int size)
{
    const uint32_t n = static_cast<uint32_t>(size);
    return 40 + n * n * 4 + MaskRowBytes(size) * n;
}

// One image: the info header, the colour pixels, then the mask, which marks
// the pixels less than half covered for a reader that ignores alpha.
void PutImage(std::vector<uint8_t>& out, int size)
{
    const std::vector<TRgba> pixels = DrawIcon(size);
    const uint32_t n = static_cast<uint32_t>(size);
    Put32(out, 40);
    Put32(out, n);
    Put32(out, 2 * n);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0); // BI_RGB
    Put32(out, ImageBytes(size) - 40);
    for (int i = 0; i < 4; ++i) Put32(out, 0); // resolution, colour counts
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            const TRgba& p = pixels[static_cast<size_t>(y) * n + static_cast<size_t>(x)];
            out.insert(out.end(), {p.B, p.G, p.R, p.A});
        }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(MaskRowBytes(size), 0);
        for (int x = 0; x < size; ++x)
            if (pixels[static_cast<size_t>(y) * n + static_cast<size_t>(x)].A < 128)
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
}

} // namespace

std::vector<uint8_t> ProgramIconFile()
{
    constexpr int count = static_cast<int>(std::size(ProgramIconSizes));
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1); // an icon, not a cursor
    Put16(out, count);
    uint32_t offset = 6 + 16 * count;
    for (const int size : ProgramIconSizes) {
        out.push_back(static_cast<uint8_t>(size)); // width, height: 0 would mean 256
        out.push_back(static_cast<uint8_t>(size));
        out.push_back(0); // no palette
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, 32); // bits per pixel
        Put32(out, ImageBytes(size));
        Put32(out, offset);
        offset += ImageBytes(size);
    }
    for (const int size : ProgramIconSizes) PutImage(out, size);
    return out;
}
