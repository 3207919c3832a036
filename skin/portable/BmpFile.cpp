// Bounds-checked bitmap file decoding, and the 24-bit writer.
#include "BmpFile.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4, kBiPng = 5;
constexpr size_t kCoreHeaderSize = 12, kInfoHeaderSize = 40;

uint32_t U32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint16_t U16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

void Put(std::vector<uint8_t>& Out, uint32_t Value, int Bytes)
{
    for (int i = 0; i < Bytes; ++i) Out.push_back(static_cast<uint8_t>(Value >> (8 * i)));
}

// One colour channel of a bit-field pixel, widened to 8 bits the way the
// platform does: the field's bits repeated into the low bits.
struct TChannel {
    uint32_t Mask = 0;
    int Shift = 0;
    int Length = 0;

    explicit TChannel(uint32_t AMask)
        : Mask(AMask), Shift(AMask != 0 ? std::countr_zero(AMask) : 0), Length(std::popcount(AMask))
    {
    }
    bool Contiguous() const { return Mask == 0 || ((Mask >> Shift) & ((Mask >> Shift) + 1)) == 0; }
    uint8_t Of(uint32_t Pixel) const
    {
        if (Length == 0) return 0;
        const uint32_t v = (Pixel & Mask) >> Shift;
        if (Length >= 8) return static_cast<uint8_t>(v >> (Length - 8));
        uint32_t wide = 0;
        int filled = 0;
        for (; filled < 8; filled += Length) wide = wide << Length | v;
        return static_cast<uint8_t>(wide >> (filled - 8));
    }
};

struct THeader {
    int32_t Width = 0;
    int32_t Height = 0;
    bool TopDown = false;
    uint16_t Bits = 0;
    uint32_t Compression = kBiRgb;
    uint32_t Masks[3] = {};  // red, green, blue
    size_t TableAt = 0;
    size_t EntrySize = 4;    // core headers have 3-byte colour entries
    uint32_t Entries = 0;    // colours of a palette image
    uint64_t TableEnd = 0;   // where the pixels follow in a resource
};

TBmpError ReadHeader(std::span<const uint8_t> Dib, THeader& H)
{
    if (Dib.size() < 4) return TBmpError::beTruncated;
    const uint32_t size = U32(Dib.data());
    if (size != kCoreHeaderSize && size < kInfoHeaderSize) return TBmpError::beHeader;
    if (size > Dib.size()) return TBmpError::beTruncated;
    const uint8_t* d = Dib.data();
    uint32_t used = 0;
    if (size == kCoreHeaderSize) {
        H.Width = U16(d + 4);
        H.Height = U16(d + 6);
        H.Bits = U16(d + 10);
        H.EntrySize = 3;
        if (H.Bits != 1 && H.Bits != 4 && H.Bits != 8 && H.Bits != 24) return TBmpError::beHeader;
    } else {
        H.Width = static_cast<int32_t>(U32(d + 4));
        H.Height = static_cast<int32_t>(U32(d + 8));
        H.Bits = U16(d + 14);
        H.Compression = U32(d + 16);
        used = U32(d + 32);
    }
    if (H.Width <= 0 || H.Height == 0 || H.Height == INT32_MIN) return TBmpError::beHeader;
    H.TopDown = H.Height < 0;
    if (H.TopDown) H.Height = -H.Height;

    H.TableAt = size;
    switch (H.Compression) {
    case kBiRgb:
        if (H.Bits != 1 && H.Bits != 4 && H.Bits != 8 && H.Bits != 16 && H.Bits != 24 && H.Bits != 32)
            return TBmpError::beHeader;
        if (H.Bits == 16) H.Masks[0] = 0x7C00, H.Masks[1] = 0x03E0, H.Masks[2] = 0x001F;
        break;
    case kBiRle8:
    case kBiRle4:
        if (H.Bits != (H.Compression == kBiRle8 ? 8 : 4)) return TBmpError::beHeader;
        // Run-length pixels are always stored bottom-up.
        if (H.TopDown) return TBmpError::beHeader;
        break;
    case kBiBitfields: {
        if (H.Bits != 16 && H.Bits != 32) return TBmpError::beHeader;
        // A plain info header is followed by the three masks; later headers hold them.
        H.TableAt = std::max<size_t>(size, kInfoHeaderSize + 12);
        if (H.TableAt > Dib.size()) return TBmpError::beTruncated;
        uint32_t all = 0;
        for (int i = 0; i < 3; ++i) {
            H.Masks[i] = U32(d + kInfoHeaderSize + 4 * i);
            const TChannel c(H.Masks[i]);
            if (!c.Contiguous() || (all & H.Masks[i]) != 0) return TBmpError::beCorrupt;
            if (H.Bits == 16 && H.Masks[i] > 0xFFFF) return TBmpError::beCorrupt;
            all |= H.Masks[i];
        }
        break;
    }
    case kBiJpeg:
    case kBiPng:
    default: return TBmpError::beCompression;
    }

    if (H.Bits <= 8) {
        const uint32_t full = 1u << H.Bits;
        if (used > full) return TBmpError::beCorrupt;
        H.Entries = used == 0 ? full : used;
        if (static_cast<size_t>(H.Entries) * H.EntrySize > Dib.size() - H.TableAt) return TBmpError::beTruncated;
    }
    // Above 8 bits a colour count only says how many entries precede the pixels.
    H.TableEnd = static_cast<uint64_t>(H.TableAt) + static_cast<uint64_t>(H.Bits <= 8 ? H.Entries : used) * H.EntrySize;
    if (static_cast<int64_t>(H.Width) * H.Height > kMaxBmpPixels) return TBmpError::beTooLarge;
    return TBmpError::beNone;
}

class TPixelWriter {
public:
    TPixelWriter(const THeader& AHeader, std::span<const uint8_t> Dib, TImage& AImage)
        : H(AHeader), Table(Dib.data() + AHeader.TableAt), Image(AImage)
    {
    }

    // Row y counts in file order (from the bottom unless top-down).
    uint8_t* Row(int32_t y) { return Image.ScanLine(H.TopDown ? y : H.Height - 1 - y); }
    // Indices outside the colour table give black.
    void PutIndex(uint8_t* Out, uint32_t Index) const
    {
        if (Index < H.Entries) {
            const uint8_t* e = Table + Index * H.EntrySize;
            Out[0] = e[0], Out[1] = e[1], Out[2] = e[2];
        }
    }

private:
    const THeader& H;
    const uint8_t* Table;
    TImage& Image;
};

TBmpError DecodeUncompressed(const THeader& H, std::span<const uint8_t> Dib, size_t At, TImage& Image)
{
    const size_t stride = ((static_cast<size_t>(H.Width) * H.Bits + 31) / 32) * 4;
    if (At > Dib.size() || stride * static_cast<size_t>(H.Height) > Dib.size() - At) return TBmpError::beTruncated;
    Image = TImage(H.Width, H.Height, TImageFormat::if24bit);
    TPixelWriter writer(H, Dib, Image);
    const TChannel red(H.Masks[0]), green(H.Masks[1]), blue(H.Masks[2]);
    for (int32_t y = 0; y < H.Height; ++y) {
        const uint8_t* row = Dib.data() + At + stride * static_cast<size_t>(y);
        uint8_t* out = writer.Row(y);
        for (int32_t x = 0; x < H.Width; ++x, out += 3) {
            if (H.Bits == 24 || (H.Bits == 32 && H.Compression == kBiRgb)) {
                std::memcpy(out, row + static_cast<size_t>(x) * (H.Bits / 8), 3);
            } else if (H.Bits >= 16) {
                const uint8_t* p = row + static_cast<size_t>(x) * (H.Bits / 8);
                const uint32_t v = H.Bits == 16 ? U16(p) : U32(p);
                out[0] = blue.Of(v), out[1] = green.Of(v), out[2] = red.Of(v);
            } else {
                const size_t bit = static_cast<size_t>(x) * H.Bits;
                writer.PutIndex(out, (row[bit / 8] >> (8 - H.Bits - bit % 8)) & ((1u << H.Bits) - 1));
            }
        }
    }
    return TBmpError::beNone;
}

// Run-length codes: (n > 0, c) n pixels of c (RLE4: c's two nibbles in turn);
// (0, 0) end of line; (0, 1) end of bitmap; (0, 2, dx, dy) move; (0, n >= 3)
// n literal pixels padded to an even byte count. Skipped pixels stay black. A
// run past the line or image, or data without an end of bitmap, is refused.
TBmpError DecodeRle(const THeader& H, std::span<const uint8_t> Dib, size_t At, TImage& Image)
{
    if (At > Dib.size()) return TBmpError::beTruncated;
    const bool four = H.Compression == kBiRle4;
    Image = TImage(H.Width, H.Height, TImageFormat::if24bit);
    TPixelWriter writer(H, Dib, Image);
    const uint8_t* d = Dib.data();
    const size_t end = Dib.size();
    size_t p = At;
    int32_t x = 0, y = 0;
    const auto room = [&](uint32_t n) { return y < H.Height && n <= static_cast<uint32_t>(H.Width - x); };
    for (;;) {
        if (end - p < 2) return TBmpError::beTruncated;
        const uint8_t n = d[p], c = d[p + 1];
        p += 2;
        if (n > 0) {
            if (!room(n)) return TBmpError::beCorrupt;
            uint8_t* out = writer.Row(y) + static_cast<size_t>(x) * 3;
            for (uint32_t i = 0; i < n; ++i, out += 3)
                writer.PutIndex(out, four ? (i % 2 == 0 ? c >> 4 : c & 0x0F) : c);
            x += n;
        } else if (c == 0) {
            if (y >= H.Height) return TBmpError::beCorrupt;
            x = 0;
            ++y;
        } else if (c == 1) {
            return TBmpError::beNone;
        } else if (c == 2) {
            if (end - p < 2) return TBmpError::beTruncated;
            const uint8_t dx = d[p], dy = d[p + 1];
            p += 2;
            if (dx > H.Width - x || dy > H.Height - y) return TBmpError::beCorrupt;
            x += dx;
            y += dy;
        } else {
            const size_t bytes = four ? (c + 1u) / 2 : c;
            const size_t padded = (bytes + 1) & ~size_t{1};
            if (end - p < padded) return TBmpError::beTruncated;
            if (!room(c)) return TBmpError::beCorrupt;
            uint8_t* out = writer.Row(y) + static_cast<size_t>(x) * 3;
            for (uint32_t i = 0; i < c; ++i, out += 3)
                writer.PutIndex(out, four ? (i % 2 == 0 ? d[p + i / 2] >> 4 : d[p + i / 2] & 0x0F) : d[p + i]);
            x += c;
            p += padded;
        }
    }
}

// Header at Dib[0]; pixels at Dib[PixelOffset], or right after the colour
// table when the offset is not fixed (resources).
TBmpError Decode(std::span<const uint8_t> Dib, size_t PixelOffset, bool FixedOffset, TImage& Image)
{
    THeader header;
    if (const TBmpError e = ReadHeader(Dib, header); e != TBmpError::beNone) return e;
    if (!FixedOffset) {
        if (header.TableEnd > Dib.size()) return TBmpError::beTruncated;
        PixelOffset = static_cast<size_t>(header.TableEnd);
    }
    if (header.Compression == kBiRle8 || header.Compression == kBiRle4)
        return DecodeRle(header, Dib, PixelOffset, Image);
    return DecodeUncompressed(header, Dib, PixelOffset, Image);
}

bool Finish(TBmpError Result, TImage& Image, TBmpError* Error)
{
    if (Result != TBmpError::beNone) Image.SetSize(0, 0);
    if (Error != nullptr) *Error = Result;
    return Result == TBmpError::beNone;
}

} // namespace

const char* BmpErrorText(TBmpError Error)
{
    switch (Error) {
    case TBmpError::beNone: return "decoded";
    case TBmpError::beNotBitmap: return "not a bitmap file";
    case TBmpError::beHeader: return "a header size, width, height or bit count no bitmap has";
    case TBmpError::beCompression: return "JPEG, PNG or an unknown compression";
    case TBmpError::beTooLarge: return "more pixels than a skin bitmap may have";
    case TBmpError::beTruncated: return "the data ends before the bitmap does";
    case TBmpError::beCorrupt: return "colour count, bit masks or run-length codes are damaged";
    }
    return "unknown";
}

int64_t BmpFilePixels(std::span<const uint8_t> File)
{
    if (File.size() < 14 || File[0] != 'B' || File[1] != 'M') return 0;
    THeader header;
    const TBmpError e = ReadHeader(File.subspan(14), header);
    if (e != TBmpError::beNone && e != TBmpError::beTooLarge) return 0;
    return static_cast<int64_t>(header.Width) * header.Height;
}

bool DecodeBmpFile(std::span<const uint8_t> File, TImage& Image, TBmpError* Error)
{
    Image.SetSize(0, 0);
    if (File.size() < 2 || File[0] != 'B' || File[1] != 'M') return Finish(TBmpError::beNotBitmap, Image, Error);
    if (File.size() < 14) return Finish(TBmpError::beTruncated, Image, Error);
    const uint32_t offset = U32(File.data() + 10);
    if (offset < 14) return Finish(TBmpError::beHeader, Image, Error);
    return Finish(Decode(File.subspan(14), offset - 14, true, Image), Image, Error);
}

bool DecodeDib(std::span<const uint8_t> Dib, TImage& Image, TBmpError* Error)
{
    Image.SetSize(0, 0);
    return Finish(Decode(Dib, 0, false, Image), Image, Error);
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
