// Windows bitmap files (and the bitmap resources that are files without their
// 14-byte file header) decoded into a 24-bit top-down TImage. Uncompressed 1,
// 4, 8, 24 and 32 bits per pixel; anything else, or data that runs past the
// bytes given, is refused and leaves the image empty. Also the one writer of
// 24-bit bitmap files for the tools and tests.
#pragma once

#include "skin/portable/ImgUtil.h"

#include <cstdint>
#include <span>
#include <vector>

// Larger images are refused rather than allocated.
constexpr int64_t MaxBmpPixels = 16 * 1024 * 1024;

bool DecodeBmpFile(std::span<const uint8_t> File, TImage& Image);
// An info header, its colour table and the pixels, as bitmap resources hold them.
bool DecodeDib(std::span<const uint8_t> Dib, TImage& Image);

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
