// libFuzzer target: parsing an ini text and looking up every section with
// the keys a skin reads.
#include "skin/portable/QuickIni.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TQuickIni ini;
    ini.LoadFromBytes(std::span<const uint8_t>(data, size));
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    static const char* keys[] = {"Image", "Frame", "Tile", "", "color", "SkinName", "Left"};
    for (const std::string& section : sections) {
        for (const char* key : keys) {
            ini.ReadString(section, key, "default");
            ini.ReadInteger(section, key, -1);
        }
    }
    return 0;
}
