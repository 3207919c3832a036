// Chunk decoding and the tag-number and count texts of the main window.
#include "console/portable/Reports.h"

#include "classlib/portable/SysUtils.h"
#include "console/portable/Frames.h"

#include <cstdio>

namespace {

constexpr uint8_t kSuccess = 0x36;
constexpr uint8_t kFailure = 0x39;
constexpr size_t kTagFirstDigit = 4;
constexpr size_t kTagDigits = 10;

} // namespace

std::string KeepHexDigit(uint8_t byte)
{
    const bool digit = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'F') || (byte >= 'a' && byte <= 'f');
    return digit ? std::string(1, static_cast<char>(byte)) : std::string();
}

TChunkInfo DecodeChunk(const uint8_t* data, size_t length)
{
    TChunkInfo info;
    if (length == 0) return info;
    if (data[0] == kSuccess) {
        info.Kind = TChunkKind::Success;
        return info;
    }
    if (data[0] == kFailure) {
        info.Kind = TChunkKind::Failure;
        return info;
    }
    if (length < 2 || data[0] != '0' || data[1] != '2') return info;

    info.Kind = TChunkKind::Report;
    info.Line = BytesToHexText(data, length);
    std::string digits;
    for (size_t i = 0; i < length && digits.size() < kTagFirstDigit + kTagDigits; ++i) digits += KeepHexDigit(data[i]);
    if (digits.size() > kTagFirstDigit) info.TagHex = digits.substr(kTagFirstDigit, kTagDigits);
    return info;
}

std::optional<std::string> TagNumberDecimal(std::string_view tagHex)
{
    if (tagHex.empty()) return std::nullopt;
    uint64_t value = 0;
    for (const char c : tagHex) {
        const std::string digit = KeepHexDigit(static_cast<uint8_t>(c));
        if (digit.empty()) return std::nullopt;
        const int d = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = value * 16 + d;
        // Leading zeros may be many; more than eight significant digits may not.
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%010llu", static_cast<unsigned long long>(value));
    return std::string(text);
}

std::optional<std::string> TagNumberText(const TChunkInfo& report, bool hexMode)
{
    if (report.Kind != TChunkKind::Report) return std::nullopt;
    if (hexMode) return report.TagHex;
    return TagNumberDecimal(report.TagHex);
}

std::optional<std::string> NextReportCount(std::string_view countText)
{
    int32_t count = 0;
    try {
        count = StrToInt(countText);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
    if (count == INT32_MAX) return std::nullopt;
    return std::to_string(count + 1);
}
