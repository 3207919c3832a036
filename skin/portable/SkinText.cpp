// Line splitting, trimming and lower-casing for skin texts.
#include "SkinText.h"

char LowerCaseAZ(char c) noexcept
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::string LowerCaseAZ(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = LowerCaseAZ(c);
    return out;
}

bool SameLowerCaseAZ(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerCaseAZ(a[i]) != b[i]) return false;
    return true;
}

std::string_view TrimControl(std::string_view text)
{
    size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 0x20) ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 0x20) --last;
    return text.substr(first, last - first);
}

TTextLines::TTextLines(std::string_view text) : FText(text.substr(0, text.find('\0'))) {}

bool TTextLines::Next(std::string_view& Line) noexcept
{
    if (FPos >= FText.size()) return false;
    const size_t start = FPos;
    const size_t end = FText.find_first_of("\r\n", start);
    FPos = end == std::string_view::npos ? FText.size() : end;
    Line = FText.substr(start, FPos - start);
    if (FPos < FText.size() && FText[FPos] == '\r') ++FPos;
    if (FPos < FText.size() && FText[FPos] == '\n') ++FPos;
    return true;
}

std::vector<std::string> SplitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    TTextLines reader(text);
    for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
    return lines;
}
