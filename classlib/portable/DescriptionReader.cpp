#include "DescriptionReader.h"

#include "StringList.h"
#include "SysUtils.h"
#include "TypInfo.h"

#include <vector>

namespace {

[[noreturn]] void Fail(int line, const std::string& where, const std::string& what)
{
    throw EReadError("line " + std::to_string(line) + ": " + where + ": " + what);
}

std::string MessageOf(const std::exception& e)
{
    if (const auto* ex = dynamic_cast<const Exception*>(&e)) return ex->Message();
    return e.what();
}

const char* KindName(TDescValueKind k)
{
    switch (k) {
    case TDescValueKind::Integer: return "a number";
    case TDescValueKind::Ident: return "a name";
    case TDescValueKind::String: return "a string";
    case TDescValueKind::Set: return "a set";
    case TDescValueKind::List: return "a list";
    case TDescValueKind::Binary: return "binary data";
    }
    return "a value";
}

struct TPendingRef {
    TObject* Target;
    const TPropInfo* Prop;
    std::string Name;
    int Line;
    std::string Where;
};

class TReader {
public:
    explicit TReader(TComponent& root) : FRoot(root) {}

    void Read(const TDescObject& desc)
    {
        if (!ClassMatches(FRoot.ClassInfo(), desc.ClassName))
            Fail(desc.Line, desc.Name,
                 "the description is of class " + desc.ClassName + ", not " + std::string(FRoot.ClassName()));
        FRoot.BeginLoading();
        try {
            SetName(FRoot, desc);
            ApplyProps(FRoot, desc);
            for (const TDescObject& child : desc.Children) ReadChild(child, FRoot);
            ResolveReferences();
            CheckFields(desc);
            for (TComponent* c : FCreated) c->EndReading();
            FRoot.EndReading();
            for (TComponent* c : FCreated) c->Loaded();
            FRoot.Loaded();
        } catch (...) {
            Undo();
            throw;
        }
    }

private:
    static bool ClassMatches(const TClassInfo& cls, std::string_view name)
    {
        for (const TClassInfo* c = &cls; c != nullptr; c = c->Parent())
            if (SameText(c->Name(), name)) return true;
        return false;
    }

    void SetName(TComponent& comp, const TDescObject& desc)
    {
        try {
            comp.SetName(desc.Name);
        } catch (const std::exception& e) {
            Fail(desc.Line, desc.Name, MessageOf(e));
        }
    }

    void ReadChild(const TDescObject& desc, TComponent& parent)
    {
        const TClassInfo* cls = FindClass(desc.ClassName);
        if (cls == nullptr) Fail(desc.Line, desc.Name, "unknown class " + desc.ClassName);
        if (!cls->IsCreatable()) Fail(desc.Line, desc.Name, "class " + desc.ClassName + " cannot be created");
        TComponent* comp = nullptr;
        try {
            comp = cls->CreateInstance(&FRoot);
        } catch (const std::exception& e) {
            Fail(desc.Line, desc.Name, MessageOf(e));
        }
        FCreated.push_back(comp);
        comp->BeginLoading();
        SetName(*comp, desc);
        if (const TFieldInfo* field = FRoot.ClassInfo().FindField(desc.Name)) {
            if (!comp->InheritsFrom(field->Type()))
                Fail(desc.Line, desc.Name,
                     "the field " + desc.Name + " is of class " + std::string(field->Type().Name()) + ", not " +
                         desc.ClassName);
            field->Set(FRoot, comp);
        }
        try {
            comp->SetParentComponent(&parent);
        } catch (const std::exception& e) {
            Fail(desc.Line, desc.Name, MessageOf(e));
        }
        ApplyProps(*comp, desc);
        for (const TDescObject& child : desc.Children) ReadChild(child, *comp);
    }

    void ApplyProps(TComponent& comp, const TDescObject& desc)
    {
        for (const TDescProperty& p : desc.Props) {
            const std::string where = desc.Name + "." + p.Name;
            try {
                ApplyProp(comp, p, where);
            } catch (const EReadError&) {
                throw;
            } catch (const std::exception& e) {
                Fail(p.Line, where, MessageOf(e));
            }
        }
    }

    void ApplyProp(TComponent& comp, const TDescProperty& p, const std::string& where)
    {
        TObject* target = &comp;
        std::string_view path = p.Name;
        for (size_t dot; (dot = path.find('.')) != std::string_view::npos; path.remove_prefix(dot + 1)) {
            const std::string_view seg = path.substr(0, dot);
            const TPropInfo* sub = FindPropInfo(*target, seg);
            if (sub == nullptr) Fail(p.Line, where, "unknown property " + std::string(seg));
            if (sub->Kind != TTypeKind::tkClass || sub->SetObj) Fail(p.Line, where, std::string(seg) + " has no properties");
            target = sub->GetObj(*target);
            if (target == nullptr) Fail(p.Line, where, std::string(seg) + " is not assigned");
        }
        const TDescValue& v = p.Value;
        auto expect = [&](TDescValueKind kind, const char* what) {
            if (v.Kind != kind) Fail(p.Line, where, std::string("expected ") + what + ", found " + KindName(v.Kind));
        };
        if (SameText(path, "Strings") && target->InheritsFrom(TStrings::StaticClassInfo())) {
            expect(TDescValueKind::List, "a list of strings");
            static_cast<TStrings*>(target)->Assign(v.Items);
            return;
        }
        const TPropInfo* prop = FindPropInfo(*target, path);
        if (prop == nullptr) Fail(p.Line, where, "unknown property");
        switch (prop->Kind) {
        case TTypeKind::tkInteger: {
            int64_t value = v.Int;
            if (v.Kind == TDescValueKind::Ident) {
                if (!FindIntConst(v.Text, value)) Fail(p.Line, where, "unknown constant " + v.Text);
            } else {
                expect(TDescValueKind::Integer, "a number");
                // Eight hexadecimal digits give the bit pattern of a signed 32-bit
                // value; a decimal number means what it says.
                if (v.Hex && prop->MinValue < 0 && value > prop->MaxValue && value <= 0xFFFFFFFF)
                    value = static_cast<int32_t>(static_cast<uint32_t>(value));
            }
            SetOrdProp(*target, path, value);
            return;
        }
        case TTypeKind::tkChar:
            if (v.Kind != TDescValueKind::String || v.Text.size() != 1)
                Fail(p.Line, where, "expected one character");
            SetOrdProp(*target, path, static_cast<unsigned char>(v.Text[0]));
            return;
        case TTypeKind::tkEnumeration:
        case TTypeKind::tkBoolean:
            expect(TDescValueKind::Ident, "a value name");
            SetEnumProp(*target, path, v.Text);
            return;
        case TTypeKind::tkSet: {
            expect(TDescValueKind::Set, "a set");
            std::string text = "[";
            for (const std::string& item : v.Items) text += (text.size() > 1 ? "," : "") + item;
            SetSetProp(*target, path, text + "]");
            return;
        }
        case TTypeKind::tkString:
            expect(TDescValueKind::String, "a string");
            SetStrProp(*target, path, v.Text);
            return;
        case TTypeKind::tkBinary:
            expect(TDescValueKind::Binary, "binary data");
            SetBinaryProp(*target, path, v.Bytes);
            return;
        case TTypeKind::tkMethod:
            expect(TDescValueKind::Ident, "a handler name");
            SetMethodProp(*target, path, FRoot, v.Text);
            return;
        case TTypeKind::tkClass:
            if (!prop->SetObj) Fail(p.Line, where, "is an object; set its properties by their dotted names");
            expect(TDescValueKind::Ident, "a component name");
            FRefs.push_back({target, prop, v.Text, p.Line, where});
            return;
        }
        Fail(p.Line, where, "cannot be read");
    }

    void ResolveReferences()
    {
        for (const TPendingRef& r : FRefs) {
            TComponent* comp = SameText(r.Name, FRoot.Name()) ? &FRoot : FRoot.FindComponent(r.Name);
            if (comp == nullptr) Fail(r.Line, r.Where, "no component named " + r.Name);
            if (r.Prop->ObjClass != nullptr && !comp->InheritsFrom(r.Prop->ObjClass()))
                Fail(r.Line, r.Where,
                     r.Name + " is a " + std::string(comp->ClassName()) + ", not a " +
                         std::string(r.Prop->ObjClass().Name()));
            try {
                r.Prop->SetObj(*r.Target, comp);
            } catch (const std::exception& e) {
                Fail(r.Line, r.Where, MessageOf(e));
            }
        }
    }

    void CheckFields(const TDescObject& desc)
    {
        for (const TFieldInfo* f : FRoot.ClassInfo().Fields())
            if (f->Get(FRoot) == nullptr)
                Fail(desc.Line, desc.Name, "no component for the field " + std::string(f->Name));
    }

    void Undo()
    {
        for (const TFieldInfo* f : FRoot.ClassInfo().Fields()) {
            TComponent* c = f->Get(FRoot);
            for (TComponent* mine : FCreated)
                if (c == mine) f->Set(FRoot, nullptr);
        }
        for (size_t i = FCreated.size(); i-- > 0;) delete FCreated[i];
        FCreated.clear();
        FRoot.TComponent::Loaded();
    }

    TComponent& FRoot;
    std::vector<TComponent*> FCreated;
    std::vector<TPendingRef> FRefs;
};

} // namespace

void ReadDescription(TComponent& Root, const TDescObject& desc)
{
    TReader(Root).Read(desc);
}

void ReadDescription(TComponent& Root, std::string_view text)
{
    ReadDescription(Root, ParseDescription(text));
}
