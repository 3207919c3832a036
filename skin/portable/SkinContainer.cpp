// Container unpacking, the version and bounds checks, and entry lookup.
#include "SkinContainer.h"

#include "LzhDecoder.h"
#include "SkinText.h"

namespace {

int32_t ReadInt32(const uint8_t* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

TSkinReader::TSkinReader() = default;
TSkinReader::~TSkinReader() = default;

bool TSkinReader::Unpack(std::span<const uint8_t> Source, std::vector<uint8_t>& Target)
{
    Target.clear();
    if (Source.size() < 4) {
        FLastResult = TSkinReadResult::srNoSize;
        return false;
    }
    const int32_t size = ReadInt32(Source.data());
    // The prefix is outside data: memory follows the input, never the prefix alone.
    if (size < 0 || size > TLZH::MaxOutput(Source.size() - 4)) {
        FLastResult = TSkinReadResult::srBadSize;
        return false;
    }
    if (size > kMaxUnpackedSize) {
        FLastResult = TSkinReadResult::srTooLarge;
        return false;
    }
    TLZH lzh;
    lzh.FSource = Source;
    lzh.FSourcePos = 4;
    lzh.FTarget = &Target;
    if (!lzh.DecodeTarget(size)) {
        FLastResult = TSkinReadResult::srTruncated;
        return false;
    }
    return true;
}

bool TSkinReader::ReadSkin(std::span<const uint8_t> Source)
{
    std::vector<uint8_t> unpacked;
    if (!Unpack(Source, unpacked)) return false;
    FLastResult = TSkinReadResult::srDamaged;
    if (unpacked.size() < kHeaderSize) return false;

    // Parsed into locals: only a version refusal or a full load changes the reader.
    THeader header;
    header.FVersion = ReadInt32(unpacked.data());
    header.FNameTableSize = ReadInt32(unpacked.data() + 4);
    std::copy(unpacked.begin() + 8, unpacked.begin() + 16, header.FUnused.begin());
    if (header.FVersion != kSkinVersion) {
        FHeader = header;
        FLastResult = TSkinReadResult::srOlderVersion;
        if (OnVersionMessage) OnVersionMessage(OlderSkinText);
        return false;
    }

    const size_t rest = unpacked.size() - kHeaderSize;
    if (header.FNameTableSize < 0 || static_cast<size_t>(header.FNameTableSize) > rest) return false;
    const size_t tableSize = static_cast<size_t>(header.FNameTableSize);
    // Lines are only looked at, never copied, until the count is known to fit.
    TTextLines lines(std::string_view(reinterpret_cast<const char*>(unpacked.data()) + kHeaderSize, tableSize));
    std::vector<std::string> names;
    for (std::string_view line; lines.Next(line);) {
        if (names.size() == kMaxEntries) return false;
        names.push_back(LowerCaseAZ(line));
    }
    const size_t count = names.size();
    const size_t sizesAt = kHeaderSize + tableSize;
    if (count * 4 > unpacked.size() - sizesAt) return false;

    std::array<int32_t, kMaxEntries> sizes{};
    const size_t dataAt = sizesAt + count * 4;
    const size_t dataSize = unpacked.size() - dataAt;
    uint64_t total = 0;
    for (size_t i = 0; i < count; ++i) {
        sizes[i] = ReadInt32(unpacked.data() + sizesAt + 4 * i);
        if (sizes[i] < 0) return false;
        total += static_cast<uint64_t>(sizes[i]);
    }
    if (total > dataSize) return false;

    FHeader = header;
    FNames = std::move(names);
    FCount = static_cast<int>(count);
    FSizes = sizes;
    FData = std::move(unpacked);
    FDataAt = dataAt;
    FLastResult = TSkinReadResult::srLoaded;
    return true;
}

size_t TSkinReader::Offset(int Index) const
{
    size_t offset = FDataAt;
    for (int i = 0; i < Index; ++i) offset += static_cast<size_t>(FSizes[static_cast<size_t>(i)]);
    return offset;
}

std::span<const uint8_t> TSkinReader::Entry(int Index) const
{
    if (Index < 0 || Index >= FCount) return {};
    return std::span<const uint8_t>(FData).subspan(Offset(Index), static_cast<size_t>(FSizes[static_cast<size_t>(Index)]));
}

void TSkinReader::GetFile(std::string_view Name, std::vector<uint8_t>& Target) const
{
    Target.clear();
    size_t offset = FDataAt;
    for (int i = 0; i < FCount; ++i) {
        const size_t size = static_cast<size_t>(FSizes[static_cast<size_t>(i)]);
        if (SameLowerCaseAZ(Name, FNames[static_cast<size_t>(i)])) {
            Target.assign(FData.begin() + static_cast<ptrdiff_t>(offset),
                          FData.begin() + static_cast<ptrdiff_t>(offset + size));
            return;
        }
        offset += size;
    }
}

void TSkinReader::FindFile(std::string_view Text, std::vector<uint8_t>& Target, std::string& Name) const
{
    Target.clear();
    size_t offset = FDataAt;
    for (int i = 0; i < FCount; ++i) {
        const size_t size = static_cast<size_t>(FSizes[static_cast<size_t>(i)]);
        const std::string& entry = FNames[static_cast<size_t>(i)];
        if (entry.find(Text) != std::string::npos) {
            Target.assign(FData.begin() + static_cast<ptrdiff_t>(offset),
                          FData.begin() + static_cast<ptrdiff_t>(offset + size));
            Name = entry;
            return;
        }
        offset += size;
    }
}

const char* SkinReadResultText(TSkinReadResult Result)
{
    switch (Result) {
    case TSkinReadResult::srLoaded: return "loaded";
    case TSkinReadResult::srNoSize: return "fewer than 4 bytes, no unpacked size";
    case TSkinReadResult::srBadSize: return "unpacked size is negative or larger than the data could hold";
    case TSkinReadResult::srTruncated: return "compressed data ends before the unpacked size";
    case TSkinReadResult::srOlderVersion: return "container version is not 20000";
    case TSkinReadResult::srDamaged: return "header, name table or entry sizes run past the data";
    case TSkinReadResult::srTooLarge: return "too large: unpacks to more than a skin may hold";
    }
    return "unknown";
}
