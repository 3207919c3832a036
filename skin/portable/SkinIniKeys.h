// TSkinIni: the skin loader's view of a parsed ini text. Every lookup goes
// through it, so the set of sections and keys a load reads can be recorded
// and compared with a skin (the default skin must give every one of them).
#pragma once

#include "skin/portable/ImgUtil.h"
#include "skin/portable/QuickIni.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Section and key as read, both lower-cased (the ini compares them so).
using TSkinKey = std::pair<std::string, std::string>;
using TSkinKeyLog = std::set<TSkinKey>;

class TSkinIni {
public:
    explicit TSkinIni(const TQuickIni& Ini, TSkinKeyLog* Log = nullptr) : FIni(Ini), FLog(Log) {}

    std::vector<std::string> Sections() const;
    // Empty value and absent key both give Default.
    std::string ReadString(std::string_view Section, std::string_view Key, std::string_view Default = {}) const;
    int32_t ReadInteger(std::string_view Section, std::string_view Key, int32_t Default) const;
    // A colour text (ParseColor), or Default when the value is empty.
    TColor ReadColour(std::string_view Section, std::string_view Key, TColor Default) const;
    // Prefix+"R", "G", "B" as integers; Target changes only when all three are 0 or more.
    void ReadRGB(std::string_view Section, std::string_view Prefix, TColor& Target) const;
    bool HasValue(std::string_view Section, std::string_view Key) const;

private:
    void Note(std::string_view Section, std::string_view Key) const;

    const TQuickIni& FIni;
    TSkinKeyLog* FLog;
};

// The logged keys that Ini lacks or leaves empty, as "[section] key".
std::vector<std::string> MissingSkinKeys(const TSkinKeyLog& Log, const TQuickIni& Ini);
