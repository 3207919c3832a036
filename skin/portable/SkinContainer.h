// TSkinReader: unpacks a skin container (4-byte unpacked size, then an LZH
// stream), checks its version and indexes its named entries. A container that
// would make the reader step outside its data is refused as not loadable.
#pragma once

#include "classlib/portable/Classes.h"
#include "skin/portable/BmpFile.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Why the last ReadSkin did or did not load.
enum class TSkinReadResult {
    srLoaded,
    srNoSize,       // fewer than 4 bytes: no unpacked size
    srBadSize,      // negative, or more than the stream could encode
    srTruncated,    // the stream ends well before the unpacked size
    srOlderVersion, // a version other than 20000
    srDamaged,      // header, name table or sizes run past the data
    srTooLarge,     // unpacked larger than any skin within the pixel budget
};

// Shows the version message; the program shows a message box, tests and
// tools leave it unset and read LastResult instead.
using TSkinMessageEvent = std::function<void(const std::string& Text)>;

class TSkinReader : public TObject {
public:
    static constexpr int32_t kSkinVersion = 20000;
    static constexpr int kMaxEntries = 1001;
    static constexpr size_t kHeaderSize = 16;
    // Bitmaps within the skin pixel budget at 32 bits, with room for the ini
    // text and the headers: a container that unpacks larger holds no skin
    // that could load, and is refused before it is unpacked.
    static constexpr int64_t kMaxUnpackedSize = 4 * kMaxSkinPixels + 1024 * 1024;
    static constexpr const char* OlderSkinText = "This is Older Skin File\rPlease update to new version !";

    TSkinReader();
    ~TSkinReader() override;

    // Source's first 4 bytes are the unpacked size; the rest is decoded into
    // Target. False, with Target holding what was decoded so far, when the
    // container is not loadable (LastResult says why).
    bool Unpack(std::span<const uint8_t> Source, std::vector<uint8_t>& Target);
    // Unpacks and indexes a container; true when it is usable. On failure the
    // reader stays as it was, except that a version refusal keeps the
    // refused header (Version, NameTableSize).
    bool ReadSkin(std::span<const uint8_t> Source);
    // Target := the bytes of the first entry called Name (compared in lower
    // case), or empty.
    void GetFile(std::string_view Name, std::vector<uint8_t>& Target) const;
    // Target := the bytes of the first entry whose name contains Text (case as
    // given) and Name := its name; Name is left alone when none matches.
    void FindFile(std::string_view Text, std::vector<uint8_t>& Target, std::string& Name) const;

    int Count() const noexcept { return FCount; }
    const std::string& Names(int Index) const { return FNames.at(static_cast<size_t>(Index)); }
    int32_t Sizes(int Index) const { return FSizes.at(static_cast<size_t>(Index)); }
    std::span<const uint8_t> Entry(int Index) const;
    int32_t Version() const noexcept { return FHeader.FVersion; }
    int32_t NameTableSize() const noexcept { return FHeader.FNameTableSize; }
    TSkinReadResult LastResult() const noexcept { return FLastResult; }

    TSkinMessageEvent OnVersionMessage;

private:
    struct THeader {
        int32_t FVersion = 0;
        int32_t FNameTableSize = 0;
        std::array<uint8_t, 8> FUnused{};
    };

    size_t Offset(int Index) const;

    std::vector<std::string> FNames;
    int FCount = 0;
    std::array<int32_t, kMaxEntries> FSizes{};
    // The whole unpacked container; the entries start at FDataAt.
    std::vector<uint8_t> FData;
    size_t FDataAt = 0;
    THeader FHeader;
    TSkinReadResult FLastResult = TSkinReadResult::srLoaded;
};

// Text of a read result for tools and logs ("not loadable: ...").
const char* SkinReadResultText(TSkinReadResult Result);
