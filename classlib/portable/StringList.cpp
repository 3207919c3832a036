#include "StringList.h"

#include "TypInfo.h"

const TClassInfo& TStrings::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TStrings>("TStrings", TPersistent::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TStringList::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TStringList>("TStringList", TStrings::StaticClassInfo()).Build();
    return info;
}

void TStrings::Put(int Index, const std::string& S)
{
    Delete(Index);
    Insert(Index, S);
}

int TStrings::Add(const std::string& S)
{
    const int index = Count();
    Insert(index, S);
    return index;
}

int TStrings::IndexOf(std::string_view S) const
{
    for (int i = 0, n = Count(); i < n; ++i)
        if (Get(i) == S) return i;
    return -1;
}

std::string TStrings::Text() const
{
    std::string out;
    for (int i = 0, n = Count(); i < n; ++i) out += Get(i) + "\r\n";
    return out;
}

void TStrings::SetText(std::string_view Text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] != '\r' && Text[i] != '\n') continue;
        lines.emplace_back(Text.substr(start, i - start));
        if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < Text.size()) lines.emplace_back(Text.substr(start));
    Assign(lines);
}

void TStrings::Assign(const std::vector<std::string>& Lines)
{
    const TStringsUpdate update(*this);
    Clear();
    for (const std::string& s : Lines) Add(s);
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

std::vector<std::string> TStrings::ToVector() const
{
    std::vector<std::string> out;
    for (int i = 0, n = Count(); i < n; ++i) out.push_back(Get(i));
    return out;
}

namespace {

void Check(int index, int limit)
{
    if (index < 0 || index > limit) throw EListError("list index out of bounds (" + std::to_string(index) + ")");
}

} // namespace

std::string TStringList::Get(int Index) const
{
    Check(Index, Count() - 1);
    return FItems[static_cast<size_t>(Index)];
}

void TStringList::Put(int Index, const std::string& S)
{
    Check(Index, Count() - 1);
    FItems[static_cast<size_t>(Index)] = S;
}

void TStringList::Insert(int Index, const std::string& S)
{
    Check(Index, Count());
    FItems.insert(FItems.begin() + Index, S);
}

void TStringList::Delete(int Index)
{
    Check(Index, Count() - 1);
    FItems.erase(FItems.begin() + Index);
}
