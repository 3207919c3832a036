// Windows bitmap files (and the bitmap resources that are files without their
// 14-byte file header) decoded into a 24-bit top-down TImage: every form a
// Windows bitmap loader takes (core and info headers; 1, 4, 8, 16, 24 and 32
// bits per pixel; bottom-up and top-down; RLE4, RLE8; bit fields for 16 and
// 32 bits). Anything else, or data that runs past the bytes given, is refused
// with a reason and leaves the image empty. Also the one writer of 24-bit
// bitmap files for the tools and tests.
#pragma once

#include "skin/portable/ImgUtil.h"

#include <cstdint>
#include <span>
#include <vector>

// Larger images are refused rather than allocated.
constexpr int64_t kMaxBmpPixels = 16 * 1024 * 1024;
// All the bitmaps one skin decodes, together. The default skin decodes about
// 64 K pixels; 2 M pixels leave room for a skin with a picture as large as
// the screen behind its forms, while a hostile skin costs a few megabytes
// and a moment rather than gigabytes and seconds of the GUI thread.
constexpr int64_t kMaxSkinPixels = 2 * 1024 * 1024;

enum class TBmpError {
    beNone,
    beNotBitmap,   // no "BM" file header
    beHeader,      // a header size, width, height or bit count no loader takes
    beCompression, // JPEG, PNG or an unknown compression
    beTooLarge,    // more than kMaxBmpPixels pixels
    beTruncated,   // the header, colour table or pixels run past the data
    beCorrupt,     // a colour count, bit masks or RLE codes that cannot be right
};
const char* BmpErrorText(TBmpError Error);

// The pixel count a bitmap file's header declares, read without decoding
// (0 when the header is not one DecodeBmpFile takes).
int64_t BmpFilePixels(std::span<const uint8_t> File);

// Error, when given, says why a false result was returned (beNone on success).
bool DecodeBmpFile(std::span<const uint8_t> File, TImage& Image, TBmpError* Error = nullptr);
// An info header, its colour table and the pixels, as bitmap resources hold them.
bool DecodeDib(std::span<const uint8_t> Dib, TImage& Image, TBmpError* Error = nullptr);

// Info-header fields a writer may leave 0: the pixel bytes' size and the
// resolution (both axes).
struct TBmpWriteOptions {
    bool StoreImageSize = false;
    uint32_t PixelsPerMetre = 0;
};
// A bitmap file of Image's pixels (blue, green, red first in each pixel):
// 14-byte file header, 40-byte info header, 24 bits per pixel, rows bottom-up
// and padded to four bytes, no colour table.
std::vector<uint8_t> EncodeBmpFile(const TImageView& Image, const TBmpWriteOptions& Options = {});
