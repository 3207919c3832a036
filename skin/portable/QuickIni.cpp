// Ini text parsing and lookups; section lines are matched as written,
// without regard to case, keys after lower-casing.
#include "QuickIni.h"

#include "SkinText.h"
#include "classlib/portable/SysUtils.h"

TQuickIni::TQuickIni() = default;
TQuickIni::~TQuickIni() = default;

void TQuickIni::LoadFromStream(const std::vector<uint8_t>* Stream, size_t Position)
{
    if (Stream == nullptr) return;
    LoadFromBytes(std::span<const uint8_t>(*Stream).subspan(std::min(Position, Stream->size())));
}

void TQuickIni::LoadFromBytes(std::span<const uint8_t> Bytes)
{
    TTextLines text(std::string_view(reinterpret_cast<const char*>(Bytes.data()), Bytes.size()));
    std::vector<std::string> lines;
    std::vector<std::pair<std::string, int>> sections;
    for (std::string_view raw; text.Next(raw);) {
        const std::string_view line = TrimControl(raw);
        if (line.empty() || line.front() == ';') continue;
        if (IsSectionLine(line)) sections.emplace_back(std::string(line), static_cast<int>(lines.size()));
        lines.emplace_back(line);
    }
    FLines = std::move(lines);
    FSections = std::move(sections);
}

bool TQuickIni::IsSectionLine(std::string_view Line)
{
    return Line.size() >= 2 && Line.front() == '[' && Line.back() == ']';
}

namespace {

// The line's key as written (trimmed, case kept) and the text after the first
// "=" untrimmed; false for a line without "=".
bool SplitKeyLine(std::string_view Line, std::string_view& Key, std::string_view& Value)
{
    const size_t eq = Line.find('=');
    if (eq == std::string_view::npos) return false;
    Key = TrimControl(Line.substr(0, eq));
    Value = Line.substr(eq + 1);
    return true;
}

} // namespace

std::string TQuickIni::KeyOf(std::string_view Line)
{
    std::string_view key, value;
    return SplitKeyLine(Line, key, value) ? LowerCaseAZ(key) : std::string();
}

std::string TQuickIni::ValueOf(std::string_view Line, std::string_view Key)
{
    std::string_view key, value;
    if (Line.empty() || Key.empty() || !SplitKeyLine(Line, key, value) || !SameLowerCaseAZ(key, Key)) return {};
    return std::string(TrimControl(value));
}

int TQuickIni::SectionIndex(std::string_view Name) const
{
    const std::string wanted = "[" + std::string(Name) + "]";
    for (const auto& [line, index] : FSections)
        if (SameText(line, wanted)) return index;
    return -1;
}

void TQuickIni::ReadSections(std::vector<std::string>& List) const
{
    List.clear();
    for (const auto& section : FSections) {
        const std::string_view line = section.first;
        List.emplace_back(TrimControl(line.substr(1, line.size() - 2)));
    }
}

std::string TQuickIni::ReadString(std::string_view Section, std::string_view Key, std::string_view Default) const
{
    const std::string key = LowerCaseAZ(Key);
    if (FLines.empty()) return std::string(Default);
    const int start = SectionIndex(Section);
    if (start < 0) return std::string(Default);
    for (size_t i = static_cast<size_t>(start) + 1; i < FLines.size(); ++i) {
        const std::string_view line = FLines[i];
        if (IsSectionLine(line)) break;
        std::string_view lineKey, value;
        // A line without "=" has the empty key, which equals an empty Key but
        // never has a value.
        if (!SplitKeyLine(line, lineKey, value)) {
            if (key.empty()) break;
            continue;
        }
        if (SameLowerCaseAZ(lineKey, key)) {
            value = TrimControl(value);
            return key.empty() || value.empty() ? std::string(Default) : std::string(value);
        }
    }
    return std::string(Default);
}

int32_t TQuickIni::ReadInteger(std::string_view Section, std::string_view Key, int32_t Default) const
{
    std::string s = ReadString(Section, Key, "");
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, "$");
    return StrToIntDef(s, Default);
}
