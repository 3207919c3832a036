// libFuzzer target: the LZH decoder on a 4-byte size and a stream, with the
// size checks that loading a container applies first.
#include "skin/portable/LzhDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4) return 0;
    int32_t declared;
    std::memcpy(&declared, data, 4);
    if (declared < 0 || declared > TLZH::MaxOutput(size - 4)) return 0;
    std::vector<uint8_t> out;
    TLZH lzh;
    lzh.FSource = std::span<const uint8_t>(data, size);
    lzh.FSourcePos = 4;
    lzh.FTarget = &out;
    const bool complete = lzh.Decode(declared, TLzhReadMethod::Bind<&TLZH::ReadSource>(&lzh),
                                     TLzhWriteMethod::Bind<&TLZH::WriteTarget>(&lzh));
    if (out.size() > static_cast<size_t>(declared)) __builtin_trap();
    if (complete && out.size() != static_cast<size_t>(declared)) __builtin_trap();
    return 0;
}
