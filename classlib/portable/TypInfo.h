// Published properties and handlers, found by name at run time.
// Each class describes its published properties once (TClassBuilder, in its
// .cpp file); stored descriptions and the skin engine then read and write them
// by name, as numbers, value names or text.
#pragma once

#include "Classes.h"

#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

enum class TTypeKind { tkInteger, tkChar, tkEnumeration, tkBoolean, tkSet, tkString, tkMethod, tkBinary, tkClass };

using TBytes = std::vector<uint8_t>;

// The value names of an enumeration type, in ordinal order.
class TEnumInfo {
public:
    TEnumInfo(std::string_view typeName, std::initializer_list<std::string_view> names)
        : FTypeName(typeName), FNames(names) {}
    std::string_view TypeName() const noexcept { return FTypeName; }
    int Count() const noexcept { return static_cast<int>(FNames.size()); }
    // -1 when no value has that name (compared without regard to case).
    int ValueOf(std::string_view name) const noexcept;
    // Empty for an ordinal out of range.
    std::string_view NameOf(int64_t ordinal) const noexcept;

private:
    std::string_view FTypeName;
    std::vector<std::string_view> FNames;
};

struct TPropInfo {
    std::string_view Name;
    TTypeKind Kind;
    int64_t MinValue = 0, MaxValue = 0;   // ordinal kinds
    const TEnumInfo* Enum = nullptr;      // tkEnumeration, and the element type of tkSet
    std::function<int64_t(const TObject&)> GetOrd;
    std::function<void(TObject&, int64_t)> SetOrd;
    std::function<std::string(const TObject&)> GetStr;
    std::function<void(TObject&, const std::string&)> SetStr;
    std::function<TBytes(const TObject&)> GetBin;
    std::function<void(TObject&, const TBytes&)> SetBin;
    std::function<TObject*(const TObject&)> GetObj;
    // tkClass properties that refer to another component (ActivePage) rather
    // than own a sub-object; SetObj is empty for owned sub-objects.
    std::function<void(TObject&, TComponent*)> SetObj;
    // A function, not a pointer: a class may refer to its own kind.
    const TClassInfo& (*ObjClass)() = nullptr;
    std::function<bool(const TObject&)> IsAssigned;                 // tkMethod
    std::function<bool(TObject&, const std::any&)> SetMethod;      // false: wrong handler type
};

// A published field: a pointer member of a form that the description reader
// sets to the owned component of the same name (TFreader::Edit4).
struct TFieldInfo {
    std::string_view Name;
    const TClassInfo& (*Type)() = nullptr;
    std::function<void(TObject&, TComponent*)> Set;
    std::function<TComponent*(const TObject&)> Get;
};

// A published handler: binds a method of an object to a method pointer held
// in a std::any (a std::function of the handler's own signature).
struct TMethodInfo {
    std::string_view Name;
    std::function<std::any(TObject&)> Bind;
};

class TClassInfo {
public:
    std::string_view Name() const noexcept { return FName; }
    const TClassInfo* Parent() const noexcept { return FParent; }
    bool InheritsFrom(const TClassInfo& other) const noexcept;
    // Searched in this class, then in its ancestors; names compare without case.
    const TPropInfo* FindProp(std::string_view name) const noexcept;
    const TMethodInfo* FindMethod(std::string_view name) const noexcept;
    const TFieldInfo* FindField(std::string_view name) const noexcept;
    // Ancestors' fields first.
    std::vector<const TFieldInfo*> Fields() const;
    // Ancestors' properties first, each class's in declaration order.
    std::vector<const TPropInfo*> Props() const;
    bool IsCreatable() const noexcept { return static_cast<bool>(FCreate); }
    // Only for creatable component classes.
    TComponent* CreateInstance(TComponent* AOwner) const;

private:
    template <class C> friend class TClassBuilder;
    friend class TObject;
    std::string_view FName;
    const TClassInfo* FParent = nullptr;
    std::vector<TPropInfo> FProps;
    std::vector<TMethodInfo> FMethods;
    std::vector<TFieldInfo> FFields;
    std::function<TComponent*(TComponent*)> FCreate;
};

namespace typinfo_detail {
template <class Set, class C, class T>
void Assign(Set set, C& obj, T&& value)
{
    if constexpr (std::is_member_object_pointer_v<Set>)
        obj.*set = std::forward<T>(value);
    else
        std::invoke(set, obj, std::forward<T>(value));
}
[[noreturn]] void DuplicateProperty(std::string_view cls, std::string_view name);
} // namespace typinfo_detail

// Describes the published part of class C, which derives from the class of
// `parent`. Getters and setters are member functions or member fields.
template <class C>
class TClassBuilder {
public:
    TClassBuilder(std::string_view name, const TClassInfo& parent)
    {
        FInfo.FName = name;
        FInfo.FParent = &parent;
    }

    // Stored descriptions may create it: C has a constructor taking the owner.
    TClassBuilder& Creatable()
    {
        FInfo.FCreate = [](TComponent* owner) -> TComponent* { return new C(owner); };
        return *this;
    }

    template <class Get, class Set>
    TClassBuilder& Integer(std::string_view name, Get get, Set set)
    {
        using T = std::remove_cvref_t<std::invoke_result_t<Get, const C&>>;
        static_assert(std::is_integral_v<T> && (sizeof(T) <= 4 || std::is_signed_v<T>),
                      "Integer properties must fit an int64_t");
        return Ord(name, TTypeKind::tkInteger, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(),
                   nullptr, get, set);
    }
    template <class Get, class Set>
    TClassBuilder& Boolean(std::string_view name, Get get, Set set)
    {
        return Ord(name, TTypeKind::tkBoolean, 0, 1, nullptr, get, set);
    }
    // An 8-bit character (stored as #nn when not printable).
    template <class Get, class Set>
    TClassBuilder& Char(std::string_view name, Get get, Set set)
    {
        return Ord(name, TTypeKind::tkChar, 0, 255, nullptr, get, set);
    }
    template <class Get, class Set>
    TClassBuilder& Enumeration(std::string_view name, const TEnumInfo& type, Get get, Set set)
    {
        return Ord(name, TTypeKind::tkEnumeration, 0, type.Count() - 1, &type, get, set);
    }
    // A set of up to 32 values of `element`, bit n for ordinal n.
    template <class Get, class Set>
    TClassBuilder& SetOf(std::string_view name, const TEnumInfo& element, Get get, Set set)
    {
        const int64_t all = element.Count() >= 32 ? 0xFFFFFFFF : (int64_t{1} << element.Count()) - 1;
        return Ord(name, TTypeKind::tkSet, 0, all, &element, get, set);
    }
    template <class Get, class Set>
    TClassBuilder& String(std::string_view name, Get get, Set set)
    {
        TPropInfo& p = Add(name, TTypeKind::tkString);
        p.GetStr = [get](const TObject& o) { return std::string(std::invoke(get, static_cast<const C&>(o))); };
        p.SetStr = [set](TObject& o, const std::string& v) { typinfo_detail::Assign(set, static_cast<C&>(o), v); };
        return *this;
    }
    template <class Get, class Set>
    TClassBuilder& Binary(std::string_view name, Get get, Set set)
    {
        TPropInfo& p = Add(name, TTypeKind::tkBinary);
        p.GetBin = [get](const TObject& o) { return TBytes(std::invoke(get, static_cast<const C&>(o))); };
        p.SetBin = [set](TObject& o, const TBytes& v) { typinfo_detail::Assign(set, static_cast<C&>(o), v); };
        return *this;
    }
    // A persistent sub-object (such as a font) whose own properties are
    // addressed as "Name.Property".
    template <class Get>
    TClassBuilder& Object(std::string_view name, Get get)
    {
        TPropInfo& p = Add(name, TTypeKind::tkClass);
        p.GetObj = [get](const TObject& o) -> TObject* { return std::invoke(get, static_cast<const C&>(o)); };
        return *this;
    }
    // A reference to another component, of class T or a descendant; the
    // description reader resolves it by name once everything is read.
    template <class T, class Get, class Set>
    TClassBuilder& Component(std::string_view name, Get get, Set set)
    {
        TPropInfo& p = Add(name, TTypeKind::tkClass);
        p.ObjClass = &T::StaticClassInfo;
        p.GetObj = [get](const TObject& o) -> TObject* { return std::invoke(get, static_cast<const C&>(o)); };
        p.SetObj = [set](TObject& o, TComponent* v) { typinfo_detail::Assign(set, static_cast<C&>(o), static_cast<T*>(v)); };
        return *this;
    }
    // A published component field (T* C::*), set by the description reader.
    template <class T>
    TClassBuilder& Field(std::string_view name, T* C::*field)
    {
        TFieldInfo& f = FInfo.FFields.emplace_back();
        f.Name = name;
        f.Type = &T::StaticClassInfo;
        f.Set = [field](TObject& o, TComponent* v) { static_cast<C&>(o).*field = static_cast<T*>(v); };
        f.Get = [field](const TObject& o) -> TComponent* { return static_cast<const C&>(o).*field; };
        return *this;
    }
    // An event held in a field of type Ev (a std::function) of C or of a base.
    template <class Ev, class B>
    TClassBuilder& Event(std::string_view name, Ev B::*field)
    {
        static_assert(std::is_base_of_v<B, C>, "the event field must belong to the class or a base");
        TPropInfo& p = Add(name, TTypeKind::tkMethod);
        p.IsAssigned = [field](const TObject& o) { return static_cast<bool>(static_cast<const C&>(o).*field); };
        p.SetMethod = [field](TObject& o, const std::any& handler) {
            if (!handler.has_value()) {
                static_cast<C&>(o).*field = nullptr;
                return true;
            }
            const Ev* fn = std::any_cast<Ev>(&handler);
            if (fn == nullptr) return false;
            static_cast<C&>(o).*field = *fn;
            return true;
        };
        return *this;
    }
    // A published handler that descriptions can bind to events by name.
    template <class R, class... A>
    TClassBuilder& Method(std::string_view name, R (C::*fn)(A...))
    {
        FInfo.FMethods.push_back({name, [fn](TObject& self) -> std::any {
                                      C* target = static_cast<C*>(&self);
                                      return std::function<R(A...)>(
                                          [target, fn](A... args) { return (target->*fn)(std::forward<A>(args)...); });
                                  }});
        return *this;
    }

    TClassInfo Build() { return std::move(FInfo); }

private:
    TPropInfo& Add(std::string_view name, TTypeKind kind)
    {
        for (const TPropInfo& p : FInfo.FProps)
            if (p.Name == name) typinfo_detail::DuplicateProperty(FInfo.FName, name);
        TPropInfo& p = FInfo.FProps.emplace_back();
        p.Name = name;
        p.Kind = kind;
        return p;
    }
    template <class Get, class Set>
    TClassBuilder& Ord(std::string_view name, TTypeKind kind, int64_t lo, int64_t hi, const TEnumInfo* type,
                       Get get, Set set)
    {
        using T = std::remove_cvref_t<std::invoke_result_t<Get, const C&>>;
        TPropInfo& p = Add(name, kind);
        p.MinValue = lo;
        p.MaxValue = hi;
        p.Enum = type;
        p.GetOrd = [get](const TObject& o) {
            const T v = std::invoke(get, static_cast<const C&>(o));
            if constexpr (std::is_same_v<T, char>) return static_cast<int64_t>(static_cast<unsigned char>(v));
            else return static_cast<int64_t>(v);
        };
        p.SetOrd = [set](TObject& o, int64_t v) { typinfo_detail::Assign(set, static_cast<C&>(o), static_cast<T>(v)); };
        return *this;
    }

    TClassInfo FInfo;
};

// --- Access by name. Every function raises EPropertyError with the class and
// property named when the property does not exist, has another kind, or
// cannot take the value.

const TPropInfo* FindPropInfo(const TObject& obj, std::string_view name) noexcept;
const TPropInfo& GetPropInfo(const TObject& obj, std::string_view name);

int64_t GetOrdProp(const TObject& obj, std::string_view name);
void SetOrdProp(TObject& obj, std::string_view name, int64_t value);
std::string GetEnumProp(const TObject& obj, std::string_view name);
void SetEnumProp(TObject& obj, std::string_view name, std::string_view valueName);
std::string GetStrProp(const TObject& obj, std::string_view name);
void SetStrProp(TObject& obj, std::string_view name, const std::string& value);
// Sets as text: "[xcButton,xcEdit]"; "[]" is the empty set.
std::string GetSetProp(const TObject& obj, std::string_view name);
void SetSetProp(TObject& obj, std::string_view name, std::string_view text);
TBytes GetBinaryProp(const TObject& obj, std::string_view name);
void SetBinaryProp(TObject& obj, std::string_view name, const TBytes& value);
TObject* GetObjectProp(const TObject& obj, std::string_view name);
bool IsMethodAssigned(const TObject& obj, std::string_view name);
// Binds `handler` (a published method of `target`) to the event `name` of `obj`.
void SetMethodProp(TObject& obj, std::string_view name, TObject& target, std::string_view handler);
// Clears the event.
void ClearMethodProp(TObject& obj, std::string_view name);

// Any ordinal, string or set property as text: integers in decimal, enumerations
// and booleans by value name ("True"/"False"), characters as themselves or #nn.
std::string GetPropText(const TObject& obj, std::string_view name);
void SetPropText(TObject& obj, std::string_view name, std::string_view text);

// Named integer constants that descriptions may use for integer properties
// (clBtnFace, GB2312_CHARSET); names compare without case.
void RegisterIntConst(std::string_view name, int64_t value);
bool FindIntConst(std::string_view name, int64_t& value) noexcept;

// Classes that stored descriptions may create, by class name.
void RegisterComponentClass(const TClassInfo& cls);
const TClassInfo* FindClass(std::string_view name) noexcept;
