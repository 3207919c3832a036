#include "TypInfo.h"

#include "SysUtils.h"

#include <map>

int TEnumInfo::ValueOf(std::string_view name) const noexcept
{
    for (size_t i = 0; i < FNames.size(); ++i)
        if (SameText(FNames[i], name)) return static_cast<int>(i);
    return -1;
}

std::string_view TEnumInfo::NameOf(int64_t ordinal) const noexcept
{
    if (ordinal < 0 || ordinal >= Count()) return {};
    return FNames[static_cast<size_t>(ordinal)];
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const noexcept
{
    for (const TClassInfo* c = this; c != nullptr; c = c->FParent)
        if (c == &other) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProp(std::string_view name) const noexcept
{
    for (const TClassInfo* c = this; c != nullptr; c = c->FParent)
        for (const TPropInfo& p : c->FProps)
            if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const noexcept
{
    for (const TClassInfo* c = this; c != nullptr; c = c->FParent)
        for (const TMethodInfo& m : c->FMethods)
            if (SameText(m.Name, name)) return &m;
    return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const noexcept
{
    for (const TClassInfo* c = this; c != nullptr; c = c->FParent)
        for (const TFieldInfo& f : c->FFields)
            if (SameText(f.Name, name)) return &f;
    return nullptr;
}

std::vector<const TFieldInfo*> TClassInfo::Fields() const
{
    std::vector<const TFieldInfo*> out;
    if (FParent != nullptr) out = FParent->Fields();
    for (const TFieldInfo& f : FFields) out.push_back(&f);
    return out;
}

std::vector<const TPropInfo*> TClassInfo::Props() const
{
    std::vector<const TPropInfo*> out;
    if (FParent != nullptr) out = FParent->Props();
    for (const TPropInfo& p : FProps) out.push_back(&p);
    return out;
}

TComponent* TClassInfo::CreateInstance(TComponent* AOwner) const
{
    if (!FCreate) throw EPropertyError("cannot create an instance of " + std::string(FName));
    return FCreate(AOwner);
}

void typinfo_detail::DuplicateProperty(std::string_view cls, std::string_view name)
{
    throw EPropertyError(std::string(cls) + " publishes " + std::string(name) + " twice");
}

namespace {

[[noreturn]] void Fail(const TObject& obj, std::string_view name, const std::string& what)
{
    throw EPropertyError(std::string(obj.ClassName()) + "." + std::string(name) + ": " + what);
}

const TPropInfo& Expect(const TObject& obj, std::string_view name, std::initializer_list<TTypeKind> kinds)
{
    const TPropInfo& p = GetPropInfo(obj, name);
    for (TTypeKind k : kinds)
        if (p.Kind == k) return p;
    Fail(obj, name, "property of another kind");
}

bool IsOrdinal(TTypeKind k)
{
    return k == TTypeKind::tkInteger || k == TTypeKind::tkChar || k == TTypeKind::tkEnumeration ||
           k == TTypeKind::tkBoolean || k == TTypeKind::tkSet;
}

void CheckedSetOrd(TObject& obj, const TPropInfo& p, int64_t value)
{
    if (p.Kind == TTypeKind::tkSet ? (value & ~p.MaxValue) != 0 : (value < p.MinValue || value > p.MaxValue))
        Fail(obj, p.Name, "value " + std::to_string(value) + " out of range");
    p.SetOrd(obj, value);
}

std::string SetToText(const TPropInfo& p, int64_t bits)
{
    std::string out = "[";
    for (int i = 0; i < p.Enum->Count(); ++i) {
        if ((bits >> i & 1) == 0) continue;
        if (out.size() > 1) out += ',';
        out += p.Enum->NameOf(i);
    }
    return out + "]";
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

int64_t TextToSet(const TObject& obj, const TPropInfo& p, std::string_view text)
{
    text = Trim(text);
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') Fail(obj, p.Name, "a set is written [a,b]");
    text = text.substr(1, text.size() - 2);
    int64_t bits = 0;
    while (!Trim(text).empty()) {
        const size_t comma = text.find(',');
        const std::string_view item = Trim(text.substr(0, comma));
        const int v = p.Enum->ValueOf(item);
        if (v < 0) Fail(obj, p.Name, "'" + std::string(item) + "' is not a value of " + std::string(p.Enum->TypeName()));
        bits |= int64_t{1} << v;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return bits;
}

std::map<std::string, const TClassInfo*, std::less<>>& Classes()
{
    static std::map<std::string, const TClassInfo*, std::less<>> classes;
    return classes;
}

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

} // namespace

const TPropInfo* FindPropInfo(const TObject& obj, std::string_view name) noexcept
{
    return obj.ClassInfo().FindProp(name);
}

const TPropInfo& GetPropInfo(const TObject& obj, std::string_view name)
{
    const TPropInfo* p = FindPropInfo(obj, name);
    if (p == nullptr) Fail(obj, name, "no such property");
    return *p;
}

int64_t GetOrdProp(const TObject& obj, std::string_view name)
{
    const TPropInfo& p = GetPropInfo(obj, name);
    if (!IsOrdinal(p.Kind)) Fail(obj, name, "not an ordinal property");
    return p.GetOrd(obj);
}

void SetOrdProp(TObject& obj, std::string_view name, int64_t value)
{
    const TPropInfo& p = GetPropInfo(obj, name);
    if (!IsOrdinal(p.Kind)) Fail(obj, name, "not an ordinal property");
    CheckedSetOrd(obj, p, value);
}

std::string GetEnumProp(const TObject& obj, std::string_view name)
{
    const TPropInfo& p = Expect(obj, name, {TTypeKind::tkEnumeration, TTypeKind::tkBoolean});
    const int64_t v = p.GetOrd(obj);
    if (p.Kind == TTypeKind::tkBoolean) return v ? "True" : "False";
    return std::string(p.Enum->NameOf(v));
}

void SetEnumProp(TObject& obj, std::string_view name, std::string_view valueName)
{
    const TPropInfo& p = Expect(obj, name, {TTypeKind::tkEnumeration, TTypeKind::tkBoolean});
    int v;
    if (p.Kind == TTypeKind::tkBoolean)
        v = SameText(valueName, "True") ? 1 : SameText(valueName, "False") ? 0 : -1;
    else
        v = p.Enum->ValueOf(valueName);
    if (v < 0) Fail(obj, name, "'" + std::string(valueName) + "' is not one of its values");
    p.SetOrd(obj, v);
}

std::string GetStrProp(const TObject& obj, std::string_view name)
{
    return Expect(obj, name, {TTypeKind::tkString}).GetStr(obj);
}

void SetStrProp(TObject& obj, std::string_view name, const std::string& value)
{
    Expect(obj, name, {TTypeKind::tkString}).SetStr(obj, value);
}

std::string GetSetProp(const TObject& obj, std::string_view name)
{
    const TPropInfo& p = Expect(obj, name, {TTypeKind::tkSet});
    return SetToText(p, p.GetOrd(obj));
}

void SetSetProp(TObject& obj, std::string_view name, std::string_view text)
{
    const TPropInfo& p = Expect(obj, name, {TTypeKind::tkSet});
    p.SetOrd(obj, TextToSet(obj, p, text));
}

TBytes GetBinaryProp(const TObject& obj, std::string_view name)
{
    return Expect(obj, name, {TTypeKind::tkBinary}).GetBin(obj);
}

void SetBinaryProp(TObject& obj, std::string_view name, const TBytes& value)
{
    Expect(obj, name, {TTypeKind::tkBinary}).SetBin(obj, value);
}

TObject* GetObjectProp(const TObject& obj, std::string_view name)
{
    return Expect(obj, name, {TTypeKind::tkClass}).GetObj(obj);
}

bool IsMethodAssigned(const TObject& obj, std::string_view name)
{
    return Expect(obj, name, {TTypeKind::tkMethod}).IsAssigned(obj);
}

void SetMethodProp(TObject& obj, std::string_view name, TObject& target, std::string_view handler)
{
    const TPropInfo& p = Expect(obj, name, {TTypeKind::tkMethod});
    const TMethodInfo* m = target.ClassInfo().FindMethod(handler);
    if (m == nullptr)
        Fail(obj, name, std::string(target.ClassName()) + " has no handler " + std::string(handler));
    if (!p.SetMethod(obj, m->Bind(target)))
        Fail(obj, name, "handler " + std::string(handler) + " has the wrong parameters for this event");
}

void ClearMethodProp(TObject& obj, std::string_view name)
{
    Expect(obj, name, {TTypeKind::tkMethod}).SetMethod(obj, std::any());
}

std::string GetPropText(const TObject& obj, std::string_view name)
{
    const TPropInfo& p = GetPropInfo(obj, name);
    switch (p.Kind) {
    case TTypeKind::tkInteger: return std::to_string(p.GetOrd(obj));
    case TTypeKind::tkChar: {
        const int64_t c = p.GetOrd(obj);
        if (c > 32 && c < 127 && c != '\'') return std::string(1, static_cast<char>(c));
        return "#" + std::to_string(c);
    }
    case TTypeKind::tkEnumeration:
    case TTypeKind::tkBoolean: return GetEnumProp(obj, name);
    case TTypeKind::tkSet: return SetToText(p, p.GetOrd(obj));
    case TTypeKind::tkString: return p.GetStr(obj);
    default: Fail(obj, name, "has no text form");
    }
}

void SetPropText(TObject& obj, std::string_view name, std::string_view text)
{
    const TPropInfo& p = GetPropInfo(obj, name);
    switch (p.Kind) {
    case TTypeKind::tkInteger: {
        int64_t v;
        bool hex;
        if (!TryStrToInt64(text, v, &hex)) Fail(obj, name, "'" + std::string(text) + "' is not a number");
        // A signed 32-bit property takes eight hexadecimal digits as their bit pattern.
        if (hex && p.MinValue < 0 && v > p.MaxValue && v <= 0xFFFFFFFF) v = static_cast<int32_t>(static_cast<uint32_t>(v));
        return CheckedSetOrd(obj, p, v);
    }
    case TTypeKind::tkChar: {
        if (text.size() == 1) return p.SetOrd(obj, static_cast<unsigned char>(text[0]));
        const int32_t v = text.size() > 1 && text[0] == '#' ? StrToIntDef(text.substr(1), -1) : -1;
        if (v < 0 || v > 255) Fail(obj, name, "'" + std::string(text) + "' is not a character");
        return p.SetOrd(obj, v);
    }
    case TTypeKind::tkEnumeration:
    case TTypeKind::tkBoolean: return SetEnumProp(obj, name, text);
    case TTypeKind::tkSet: return p.SetOrd(obj, TextToSet(obj, p, text));
    case TTypeKind::tkString: return p.SetStr(obj, std::string(text));
    default: Fail(obj, name, "cannot be set from text");
    }
}

namespace {

std::map<std::string, int64_t, std::less<>>& IntConsts()
{
    static std::map<std::string, int64_t, std::less<>> consts;
    return consts;
}

} // namespace

void RegisterIntConst(std::string_view name, int64_t value)
{
    IntConsts()[Lower(name)] = value;
}

bool FindIntConst(std::string_view name, int64_t& value) noexcept
{
    const auto& consts = IntConsts();
    const auto it = consts.find(Lower(name));
    if (it == consts.end()) return false;
    value = it->second;
    return true;
}

void RegisterComponentClass(const TClassInfo& cls)
{
    Classes()[Lower(cls.Name())] = &cls;
}

const TClassInfo* FindClass(std::string_view name) noexcept
{
    const auto& classes = Classes();
    const auto it = classes.find(Lower(name));
    return it == classes.end() ? nullptr : it->second;
}
