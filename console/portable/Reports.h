// Decoding of what the reader sends, one chunk at a time: an answer to a
// command, a tag report (ASCII hexadecimal, tag number in hexadecimal digits
// 5 to 14), or anything else. Chunks are never joined.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class TChunkKind { Other, Success, Failure, Report };

struct TChunkInfo {
    TChunkKind Kind = TChunkKind::Other;
    // Reports only: the Memo1 line (every byte of the chunk as spaced hex) and
    // the tag number text (up to ten hexadecimal digits, case as received).
    std::string Line;
    std::string TagHex;
};

// Only byte 0 tells the two answers apart; a report begins with "02". Bytes
// past `length` are never read: a one-byte "0" is no report.
TChunkInfo DecodeChunk(const uint8_t* data, size_t length);

// The byte as a one-character text when it is an ASCII hexadecimal digit.
std::string KeepHexDigit(uint8_t byte);

// The tag number in ten decimal digits, or nothing when the text is empty or
// above 0xFFFFFFFF (then the report adds its Memo1 line only and is not counted).
std::optional<std::string> TagNumberDecimal(std::string_view tagHex);

// The Memo2 line of a report in the chosen display mode, or nothing.
std::optional<std::string> TagNumberText(const TChunkInfo& report, bool hexMode);

// Edit6 after one more report, or nothing (count unchanged) when its text is
// not a decimal integer or the count cannot go higher.
std::optional<std::string> NextReportCount(std::string_view countText);
