// Building skin containers: the unpacked layout (header, name table, sizes,
// entry bytes), its compression, and the entries of a skin folder (one ini
// text and the bitmaps it names).
#pragma once

#include "classlib/portable/SysUtils.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// A container that cannot be built, or a folder that is not a skin.
class EPackError : public Exception {
    using Exception::Exception;
};

struct TSkinEntry {
    std::string Name;
    std::vector<uint8_t> Bytes;
};

// Header (version 20000), CR LF terminated name table, sizes and data.
// Raises EPackError for more than 1,001 entries, a name holding CR, LF or NUL,
// or a total that does not fit 32 bits.
std::vector<uint8_t> BuildUnpacked(const std::vector<TSkinEntry>& Entries, int32_t Version = 20000);
// The 4-byte unpacked size followed by the compressed stream.
std::vector<uint8_t> CompressContainer(std::span<const uint8_t> Unpacked);
std::vector<uint8_t> PackSkin(const std::vector<TSkinEntry>& Entries);

// The folder's single ini text first, then each bitmap it names, in order of
// first mention (file names matched without regard to case). Files the ini
// does not name are left out and listed in Skipped.
std::vector<TSkinEntry> CollectSkinFolder(const std::filesystem::path& Dir, std::vector<std::string>& Skipped);
// The bitmap file names an ini text names: the name part of every value
// that ends in ".bmp", each once (compared without regard to case). Raises
// EPackError for a value ending in ".BMP", ".Bmp" and so on, which the
// program would not load as a bitmap.
std::vector<std::string> BitmapNamesOf(std::string_view IniText);
// A whole file; raises EPackError when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& Path);
