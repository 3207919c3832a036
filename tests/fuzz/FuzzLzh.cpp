// libFuzzer target: the LZH decoder on a 4-byte size and a stream, through the
// reader's own unpacking and its size checks, and the same stream through the
// decoder's read and write methods, which must give the same bytes.
#include "skin/portable/LzhDecoder.h"
#include "skin/portable/SkinContainer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TSkinReader reader;
    std::vector<uint8_t> out;
    const bool complete = reader.Unpack(std::span<const uint8_t>(data, size), out);
    if (size < 4) return 0;
    int32_t declared;
    std::memcpy(&declared, data, 4);
    if (declared < 0) {
        if (complete || !out.empty()) __builtin_trap();
        return 0;
    }
    if (out.size() > static_cast<size_t>(declared)) __builtin_trap();
    if (complete && out.size() != static_cast<size_t>(declared)) __builtin_trap();
    if (declared > TLZH::MaxOutput(size - 4)) return 0; // refused before decoding

    TLZH lzh;
    std::vector<uint8_t> byMethods;
    lzh.FSource = std::span<const uint8_t>(data, size);
    lzh.FSourcePos = 4;
    lzh.FTarget = &byMethods;
    const bool methodsComplete = lzh.Decode(declared, TLzhReadMethod::Bind<&TLZH::ReadSource>(&lzh),
                                            TLzhWriteMethod::Bind<&TLZH::WriteTarget>(&lzh));
    if (methodsComplete != complete || byMethods != out) __builtin_trap();
    return 0;
}
