// Windows bitmap files (and the bitmap resources that are files without their
// 14-byte file header) decoded into a 24-bit top-down TImage. Uncompressed 1,
// 4, 8, 24 and 32 bits per pixel; anything else, or data that runs past the
// bytes given, is refused and leaves the image empty.
#pragma once

#include "skin/portable/ImgUtil.h"

#include <cstdint>
#include <span>

// Larger images are refused rather than allocated.
constexpr int64_t MaxBmpPixels = 16 * 1024 * 1024;

bool DecodeBmpFile(std::span<const uint8_t> File, TImage& Image);
// An info header, its colour table and the pixels, as bitmap resources hold them.
bool DecodeDib(std::span<const uint8_t> Dib, TImage& Image);
