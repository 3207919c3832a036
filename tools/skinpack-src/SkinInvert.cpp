// The inverted copy of a skin (SkinInvert.h).
#include "SkinInvert.h"

#include "skin/portable/SkinContainer.h"

#include <cstdlib>
#include <cstring>

namespace {

// Inverts the pixels of a 24-bit uncompressed bitmap file in place; other
// files are left as they are.
void InvertBitmap(std::vector<uint8_t>& b)
{
    if (b.size() < 54 || b[0] != 'B' || b[28] != 24) return;
    int32_t offset = 0, width = 0, height = 0;
    std::memcpy(&offset, &b[10], 4);
    std::memcpy(&width, &b[18], 4);
    std::memcpy(&height, &b[22], 4);
    if (offset < 0 || width < 0) return;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    for (size_t row = 0; row < static_cast<size_t>(std::abs(height)); ++row)
        for (size_t at = static_cast<size_t>(offset) + row * stride, end = at + static_cast<size_t>(width) * 3;
             at < end && at + 3 <= b.size(); at += 3)
            if (b[at] != 0xFF || b[at + 1] != 0 || b[at + 2] != 0xFF)
                for (size_t i = at; i < at + 3; ++i) b[i] = static_cast<uint8_t>(0xFF - b[i]);
}

}  // namespace

std::vector<uint8_t> InvertedSkin(std::vector<TSkinEntry> Entries)
{
    for (TSkinEntry& e : Entries) InvertBitmap(e.Bytes);
    return PackSkin(Entries);
}

std::vector<TSkinEntry> SkinEntriesOf(std::span<const uint8_t> Container)
{
    TSkinReader reader;
    if (!reader.ReadSkin(Container))
        throw EPackError(std::string("not a loadable skin container: ") + SkinReadResultText(reader.LastResult()));
    std::vector<TSkinEntry> entries;
    for (int i = 0; i < reader.Count(); ++i) {
        const std::span<const uint8_t> bytes = reader.Entry(i);
        entries.push_back({reader.Names(i), {bytes.begin(), bytes.end()}});
    }
    return entries;
}
