// Bitmap forms other tools write (core headers, 16-bit, bit fields, RLE4 and
// RLE8 with their escapes) decoded to known pixels, in files and resources;
// damaged or foreign forms refused with their reason; truncation never crashes.
#include "skin/portable/BmpFile.h"
#include "tests/skin/support/SkinTestData.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using skintest::PutLE;

TColor Rgb(int r, int g, int b)
{
    return r | g << 8 | b << 16;
}

// Palette letters: '.', 'r', 'g', 'b' are entries 0 to 3; 'k' is black, what
// pixels an RLE image skips are left.
TColor Letter(char c)
{
    switch (c) {
    case '.': return Rgb(10, 20, 30);
    case 'r': return Rgb(200, 0, 0);
    case 'g': return Rgb(0, 200, 0);
    case 'b': return Rgb(0, 0, 200);
    default: return 0;
    }
}

std::vector<uint8_t> Table(int Entries, int EntrySize)
{
    std::vector<uint8_t> t;
    for (int i = 0; i < Entries; ++i) {
        const TColor c = Letter(".rgb"[i % 4]);
        t.push_back(static_cast<uint8_t>(c >> 16));
        t.push_back(static_cast<uint8_t>(c >> 8));
        t.push_back(static_cast<uint8_t>(c));
        if (EntrySize == 4) t.push_back(0);
    }
    return t;
}

// An info header of Size bytes, zero beyond the fields given (cut short below 40).
std::vector<uint8_t> Info(int32_t W, int32_t H, uint16_t Bits, uint32_t Compression, uint32_t Used = 0,
                          uint32_t Size = 40)
{
    std::vector<uint8_t> h;
    for (uint32_t v : {Size, static_cast<uint32_t>(W), static_cast<uint32_t>(H)}) PutLE(h, v, 4);
    PutLE(h, 1, 2);
    PutLE(h, Bits, 2);
    PutLE(h, Compression, 4);
    for (uint32_t v : {0u, 0u, 0u, Used, 0u}) PutLE(h, v, 4);
    h.resize(Size, 0);
    return h;
}

std::vector<uint8_t> Core(uint16_t W, uint16_t H, uint16_t Bits)
{
    std::vector<uint8_t> h;
    PutLE(h, 12, 4);
    for (uint16_t v : {W, H, uint16_t{1}, Bits}) PutLE(h, v, 2);
    return h;
}

// A file: header, then what precedes the pixels (masks, colour table), then pixels.
std::vector<uint8_t> File(std::vector<uint8_t> Header, const std::vector<uint8_t>& Before,
                          const std::vector<uint8_t>& Pixels)
{
    std::vector<uint8_t> f{'B', 'M'};
    PutLE(f, static_cast<uint32_t>(14 + Header.size() + Before.size() + Pixels.size()), 4);
    PutLE(f, 0, 4);
    PutLE(f, static_cast<uint32_t>(14 + Header.size() + Before.size()), 4);
    f.insert(f.end(), Header.begin(), Header.end());
    f.insert(f.end(), Before.begin(), Before.end());
    f.insert(f.end(), Pixels.begin(), Pixels.end());
    return f;
}

std::vector<uint8_t> Words(std::initializer_list<uint32_t> Values, int Bytes)
{
    std::vector<uint8_t> out;
    for (uint32_t v : Values) PutLE(out, v, Bytes);
    return out;
}

struct TFormCase {
    const char* Name;
    std::vector<uint8_t> File;
    std::vector<std::vector<TColor>> Rows; // top-down
};

std::vector<std::vector<TColor>> Letters(std::initializer_list<const char*> Rows)
{
    std::vector<std::vector<TColor>> out;
    for (const char* row : Rows) {
        out.emplace_back();
        for (const char* c = row; *c != 0; ++c) out.back().push_back(Letter(*c));
    }
    return out;
}

std::vector<TFormCase> FormCases()
{
    // 10 (5 bits) widens to 132: the field's bits repeated into the low bits.
    return {
        {"core header, 4 bits, 3-byte colours",
         File(Core(3, 2, 4), Table(16, 3), {0x12, 0x30, 0, 0, 0x01, 0x10, 0, 0}),
         Letters({".rr", "rgb"})},
        {"core header, 8 bits", File(Core(2, 1, 8), Table(256, 3), {3, 2, 0, 0}), Letters({"bg"})},
        // Bottom row: run of 2, literal of 3 (padded); a move skips the rest
        // of the middle row and one pixel of the top one; end of bitmap.
        {"RLE8 runs, literal, move, end of line and bitmap",
         File(Info(5, 3, 8, 1, 4), Table(4, 4), {2, 1, 0, 3, 2, 3, 0, 0, 0, 0, 0, 2, 1, 1, 3, 3, 0, 1}),
         Letters({"kbbbk", "kkkkk", "rrgb."})},
        {"RLE4 alternating run, odd literal, end without a last end of line",
         File(Info(5, 2, 4, 2, 4), Table(4, 4), {5, 0x12, 0, 0, 0, 5, 0x30, 0x21, 0x10, 0, 0, 1}),
         Letters({"b.grr", "rgrgr"})},
        {"16 bits 5-5-5, top-down", File(Info(2, -1, 16, 0), {}, Words({0x7C00, 0x0210}, 2)),
         {{Rgb(255, 0, 0), Rgb(0, 132, 132)}}},
        {"16 bits 5-6-5 bit fields after an info header",
         File(Info(2, 1, 16, 3), Words({0xF800, 0x07E0, 0x001F}, 4), Words({0xF800, 0x07E1}, 2)),
         {{Rgb(255, 0, 0), Rgb(0, 255, 8)}}},
        {"32 bits, bit fields inside a larger header, red in the low byte",
         [] {
             std::vector<uint8_t> h = Info(1, 1, 32, 3, 0, 108);
             const std::vector<uint8_t> masks = Words({0x000000FF, 0x0000FF00, 0x00FF0000}, 4);
             std::copy(masks.begin(), masks.end(), h.begin() + 40);
             return File(h, {}, {10, 20, 30, 0});
         }(),
         {{Rgb(10, 20, 30)}}},
    };
}

void ExpectPixels(const TImage& Image, const std::vector<std::vector<TColor>>& Rows, const std::string& Name)
{
    ASSERT_EQ(Image.Height(), static_cast<int>(Rows.size())) << Name;
    ASSERT_EQ(Image.Width(), static_cast<int>(Rows[0].size())) << Name;
    for (int y = 0; y < Image.Height(); ++y)
        for (int x = 0; x < Image.Width(); ++x)
            EXPECT_EQ(Image.Pixel(x, y), Rows[static_cast<size_t>(y)][static_cast<size_t>(x)])
                << Name << " at " << x << "," << y;
}

} // namespace

TEST(BmpFile, EveryFormDecodesToItsPixelsAndNoPrefixDecodes)
{
    for (const TFormCase& c : FormCases()) {
        TImage image;
        TBmpError error = TBmpError::beCorrupt;
        ASSERT_TRUE(DecodeBmpFile(c.File, image, &error)) << c.Name << ": " << BmpErrorText(error);
        EXPECT_EQ(error, TBmpError::beNone);
        ExpectPixels(image, c.Rows, c.Name);
        // As a resource the pixels follow the masks and colour table.
        const std::span<const uint8_t> dib = std::span<const uint8_t>(c.File).subspan(14);
        ASSERT_TRUE(DecodeDib(dib, image)) << c.Name;
        ExpectPixels(image, c.Rows, c.Name);

        for (size_t n = 0; n < c.File.size(); ++n) {
            EXPECT_FALSE(DecodeBmpFile(std::span<const uint8_t>(c.File).first(n), image)) << c.Name << " " << n;
            EXPECT_EQ(image.Width(), 0);
        }
        for (size_t n = 0; n < dib.size(); ++n) EXPECT_FALSE(DecodeDib(dib.first(n), image)) << c.Name << " " << n;
    }
}

TEST(BmpFile, ForeignFormsAndDamageAreRefusedWithTheirReason)
{
    const std::vector<uint8_t> pal = Table(4, 4);
    const struct {
        const char* Name;
        std::vector<uint8_t> File;
        TBmpError Expected;
    } cases[] = {
        {"no signature", {'M', 'B', 0, 0, 0, 0}, TBmpError::beNotBitmap},
        {"JPEG", File(Info(1, 1, 0, 4), {}, {0xFF, 0xD8, 0, 0}), TBmpError::beCompression},
        {"PNG", File(Info(1, 1, 0, 5), {}, {0x89, 'P', 'N', 'G'}), TBmpError::beCompression},
        {"header of 20 bytes", File(Info(1, 1, 24, 0, 0, 20), {}, {0, 0, 0, 0}), TBmpError::beHeader},
        {"2 bits", File(Info(1, 1, 2, 0), pal, {0, 0, 0, 0}), TBmpError::beHeader},
        {"RLE8 of 4 bits", File(Info(1, 1, 4, 1), pal, {0, 1}), TBmpError::beHeader},
        {"top-down RLE8", File(Info(1, -1, 8, 1, 4), pal, {1, 1, 0, 1}), TBmpError::beHeader},
        {"more colours than 1 bit has", File(Info(1, 1, 1, 0, 3), Table(3, 4), {0, 0, 0, 0}), TBmpError::beCorrupt},
        {"mask with a gap", File(Info(1, 1, 16, 3), Words({0xF0F0, 0x0F00, 0x000F}, 4), {0, 0, 0, 0}),
         TBmpError::beCorrupt},
        {"masks overlap", File(Info(1, 1, 16, 3), Words({0xFF00, 0x0FF0, 0x000F}, 4), {0, 0, 0, 0}),
         TBmpError::beCorrupt},
        {"run past the line", File(Info(5, 1, 8, 1, 4), pal, {6, 1, 0, 1}), TBmpError::beCorrupt},
        {"literal past the line", File(Info(2, 1, 8, 1, 4), pal, {0, 3, 1, 1, 1, 0, 0, 1}), TBmpError::beCorrupt},
        {"move past the image", File(Info(5, 2, 8, 1, 4), pal, {0, 2, 0, 3, 0, 1}), TBmpError::beCorrupt},
        {"pixels after the last line", File(Info(1, 1, 8, 1, 4), pal, {0, 0, 1, 1, 0, 1}), TBmpError::beCorrupt},
        {"too many pixels", File(Info(5000, 5000, 24, 0), {}, {0, 0, 0, 0}), TBmpError::beTooLarge},
    };
    for (const auto& c : cases) {
        TImage image(3, 3);
        TBmpError error = TBmpError::beNone;
        EXPECT_FALSE(DecodeBmpFile(c.File, image, &error)) << c.Name;
        EXPECT_EQ(error, c.Expected) << c.Name << ": " << BmpErrorText(error);
        EXPECT_EQ(image.Width(), 0) << c.Name;
    }
}
