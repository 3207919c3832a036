// libFuzzer target: reading a skin container and every lookup on it.
#include "skin/portable/SkinContainer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TSkinReader reader;
    if (!reader.ReadSkin(std::span<const uint8_t>(data, size))) return 0;
    std::vector<uint8_t> entry;
    std::string name;
    reader.FindFile(".ini", entry, name);
    reader.FindFile("", entry, name);
    for (int i = 0; i < reader.Count(); ++i) {
        reader.GetFile(reader.Names(i), entry);
        if (reader.Entry(i).size() != static_cast<size_t>(reader.Sizes(i))) __builtin_trap();
    }
    return 0;
}
