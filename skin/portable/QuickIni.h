// TQuickIni: the skin's ini text, parsed once into trimmed lines and a list
// of section lines, answering section lists and string and integer values.
// It never writes; anything missing or malformed gives the caller's default.
#pragma once

#include "classlib/portable/Classes.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TQuickIni : public TObject {
public:
    TQuickIni();
    ~TQuickIni() override;

    // Parses the stream's bytes from Position to its end, replacing what was
    // loaded before; a null stream changes nothing.
    void LoadFromStream(const std::vector<uint8_t>* Stream, size_t Position = 0);
    void LoadFromBytes(std::span<const uint8_t> Bytes);

    // Section names in text order (duplicates too), without brackets, trimmed.
    void ReadSections(std::vector<std::string>& List) const;
    std::string ReadString(std::string_view Section, std::string_view Key, std::string_view Default) const;
    // Decimal, "$hex" or "0xhex"; eight hexadecimal digits wrap to the 32-bit
    // value. An empty, malformed or out-of-range text gives Default.
    int32_t ReadInteger(std::string_view Section, std::string_view Key, int32_t Default) const;

    static bool IsSectionLine(std::string_view Line);
    static std::string KeyOf(std::string_view Line);
    static std::string ValueOf(std::string_view Line, std::string_view Key);

private:
    int SectionIndex(std::string_view Name) const;

    std::vector<std::string> FLines;
    // Section line as kept, and its index in FLines.
    std::vector<std::pair<std::string, int>> FSections;
};
