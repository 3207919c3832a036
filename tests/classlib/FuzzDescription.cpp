// Feeds arbitrary text to the description parser: it must either build a
// tree or raise EReadError, never crash or read out of bounds.
#include "classlib/portable/Description.h"
#include "classlib/portable/SysUtils.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        (void)ParseDescription(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const EReadError&) {
    }
    return 0;
}
