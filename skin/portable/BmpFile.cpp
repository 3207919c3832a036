// Bounds-checked bitmap file decoding, and the 24-bit writer.
#include "BmpFile.h"

#include <cstring>

namespace {

uint32_t U32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void Put(std::vector<uint8_t>& Out, uint32_t Value, int Bytes)
{
    for (int i = 0; i < Bytes; ++i) Out.push_back(static_cast<uint8_t>(Value >> (8 * i)));
}

uint16_t U16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// Header at Dib[0]; pixels at Dib[PixelOffset] (both within Dib).
bool Decode(std::span<const uint8_t> Dib, size_t PixelOffset, bool FixedOffset, TImage& Image)
{
    Image.SetSize(0, 0);
    if (Dib.size() < 40) return false;
    const uint32_t headerSize = U32(Dib.data());
    if (headerSize < 40 || headerSize > Dib.size()) return false;
    const int32_t width = static_cast<int32_t>(U32(Dib.data() + 4));
    const int32_t rawHeight = static_cast<int32_t>(U32(Dib.data() + 8));
    const uint16_t bits = U16(Dib.data() + 14);
    const uint32_t compression = U32(Dib.data() + 16);
    uint32_t used = U32(Dib.data() + 32);
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return false;
    const bool topDown = rawHeight < 0;
    const int32_t height = topDown ? -rawHeight : rawHeight;
    if (static_cast<int64_t>(width) * height > MaxBmpPixels) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
    // Bit fields on 32-bit pixels are taken as the usual blue-green-red order.
    if (compression != 0 && !(compression == 3 && bits == 32)) return false;

    size_t tableAt = headerSize;
    if (compression == 3 && headerSize == 40) tableAt += 12;
    uint32_t entries = 0;
    if (bits <= 8) {
        const uint32_t full = 1u << bits;
        entries = used == 0 || used > full ? full : used;
    }
    if (tableAt + static_cast<size_t>(entries) * 4 > Dib.size()) return false;
    const uint8_t* table = Dib.data() + tableAt;
    if (!FixedOffset) PixelOffset = tableAt + static_cast<size_t>(entries) * 4;

    const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    if (PixelOffset > Dib.size() || stride * static_cast<size_t>(height) > Dib.size() - PixelOffset) return false;

    Image = TImage(width, height, TImageFormat::if24bit);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = Dib.data() + PixelOffset + stride * static_cast<size_t>(topDown ? y : height - 1 - y);
        uint8_t* out = Image.ScanLine(y);
        for (int32_t x = 0; x < width; ++x, out += 3) {
            if (bits >= 24) {
                std::memcpy(out, row + static_cast<size_t>(x) * (bits / 8), 3);
                continue;
            }
            const size_t bit = static_cast<size_t>(x) * bits;
            const uint32_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            if (index < entries) std::memcpy(out, table + index * 4, 3);
            else std::memset(out, 0, 3);
        }
    }
    return true;
}

} // namespace

bool DecodeBmpFile(std::span<const uint8_t> File, TImage& Image)
{
    Image.SetSize(0, 0);
    if (File.size() < 14 + 40 || File[0] != 'B' || File[1] != 'M') return false;
    const uint32_t offset = U32(File.data() + 10);
    if (offset < 14) return false;
    return Decode(File.subspan(14), offset - 14, true, Image);
}

bool DecodeDib(std::span<const uint8_t> Dib, TImage& Image)
{
    return Decode(Dib, 0, false, Image);
}

std::vector<uint8_t> EncodeBmpFile(const TImageView& Image, const TBmpWriteOptions& Options)
{
    constexpr uint32_t headers = 14 + 40;
    const uint32_t width = static_cast<uint32_t>(Image.Width), height = static_cast<uint32_t>(Image.Height);
    const uint32_t stride = (width * 3 + 3) & ~3u;
    const uint32_t imageSize = stride * height;
    std::vector<uint8_t> out;
    out.reserve(headers + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put(out, headers + imageSize, 4);
    Put(out, 0, 4);
    Put(out, headers, 4);
    Put(out, 40, 4);
    Put(out, width, 4);
    Put(out, height, 4);
    Put(out, 1, 2);
    Put(out, 24, 2);
    Put(out, 0, 4); // no compression
    Put(out, Options.StoreImageSize ? imageSize : 0, 4);
    Put(out, Options.PixelsPerMetre, 4);
    Put(out, Options.PixelsPerMetre, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    for (int y = Image.Height - 1; y >= 0; --y) {
        const uint8_t* row = Image.Row(y);
        for (int x = 0; x < Image.Width; ++x) {
            const uint8_t* p = row + static_cast<ptrdiff_t>(x) * Image.BytesPerPixel;
            out.insert(out.end(), p, p + 3);
        }
        out.resize(out.size() + (stride - width * 3), 0);
    }
    return out;
}
