// Recording lookups of the skin loader and the check of a log against a skin.
#include "SkinIniKeys.h"

#include "SkinText.h"
#include "SkinValues.h"

std::vector<std::string> TSkinIni::Sections() const
{
    std::vector<std::string> list;
    FIni.ReadSections(list);
    return list;
}

void TSkinIni::Note(std::string_view Section, std::string_view Key) const
{
    if (FLog != nullptr) FLog->emplace(LowerCaseAZ(Section), LowerCaseAZ(Key));
}

std::string TSkinIni::ReadString(std::string_view Section, std::string_view Key, std::string_view Default) const
{
    Note(Section, Key);
    return FIni.ReadString(Section, Key, Default);
}

int32_t TSkinIni::ReadInteger(std::string_view Section, std::string_view Key, int32_t Default) const
{
    Note(Section, Key);
    return FIni.ReadInteger(Section, Key, Default);
}

TColor TSkinIni::ReadColour(std::string_view Section, std::string_view Key, TColor Default) const
{
    const std::string text = ReadString(Section, Key);
    return text.empty() ? Default : ParseColor(text);
}

void TSkinIni::ReadRGB(std::string_view Section, std::string_view Prefix, TColor& Target) const
{
    const std::string p(Prefix);
    Target = ColourFromRGB(ReadInteger(Section, p + "R", -1), ReadInteger(Section, p + "G", -1),
                           ReadInteger(Section, p + "B", -1), Target);
}

bool TSkinIni::HasValue(std::string_view Section, std::string_view Key) const
{
    return !ReadString(Section, Key).empty();
}

std::vector<std::string> MissingSkinKeys(const TSkinKeyLog& Log, const TQuickIni& Ini)
{
    std::vector<std::string> missing;
    for (const auto& [section, key] : Log)
        if (Ini.ReadString(section, key, "").empty()) missing.push_back("[" + section + "] " + key);
    return missing;
}
