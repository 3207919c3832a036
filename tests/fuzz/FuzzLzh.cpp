// libFuzzer target: the LZH decoder on a 4-byte size and a stream, through the
// reader's own unpacking and its size checks.
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
    return 0;
}
