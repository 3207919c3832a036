// libFuzzer target: bitmap decoding as a file and as a resource; a decoded
// image is never larger than allowed, a refused one is empty with a reason.
#include "skin/portable/BmpFile.h"

#include <cstddef>
#include <cstdint>

namespace {

void Check(bool Decoded, const TImage& Image, TBmpError Error)
{
    if (Decoded != (Error == TBmpError::beNone)) __builtin_trap();
    if (!Decoded && (Image.Width() != 0 || Image.Height() != 0)) __builtin_trap();
    if (static_cast<int64_t>(Image.Width()) * Image.Height() > kMaxBmpPixels) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    TImage image;
    TBmpError error = TBmpError::beNone;
    Check(DecodeBmpFile(bytes, image, &error), image, error);
    Check(DecodeDib(bytes, image, &error), image, error);
    return 0;
}
