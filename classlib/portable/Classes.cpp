#include "Classes.h"

#include "SysUtils.h"
#include "TypInfo.h"

#include <algorithm>

const TClassInfo& TObject::StaticClassInfo()
{
    static const TClassInfo info = [] {
        TClassInfo i;
        i.FName = "TObject";
        return i;
    }();
    return info;
}

std::string_view TObject::ClassName() const
{
    return ClassInfo().Name();
}

bool TObject::InheritsFrom(const TClassInfo& cls) const
{
    return ClassInfo().InheritsFrom(cls);
}

const TClassInfo& TPersistent::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TPersistent>("TPersistent", TObject::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TComponent::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TComponent>("TComponent", TPersistent::StaticClassInfo())
                                       .String("Name", &TComponent::Name, &TComponent::SetName)
                                       .Integer("Tag", &TComponent::Tag, &TComponent::SetTag)
                                       .Build();
    return info;
}

namespace {

bool IsIdent(std::string_view s)
{
    if (s.empty()) return false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
    return true;
}

} // namespace

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    FComponentState |= csDestroying;
    // Those that asked are told first, while this object is still whole.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& back = other->FFreeNotifies;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

void TComponent::SetName(const std::string& AName)
{
    if (AName == FName) return;
    if (!AName.empty() && !IsIdent(AName)) throw EComponentError("'" + AName + "' is not a valid component name");
    if (FOwner != nullptr && !AName.empty()) {
        const TComponent* other = FOwner->FindComponent(AName);
        if (other != nullptr && other != this)
            throw EComponentError("a component named " + AName + " already exists");
    }
    FName = AName;
}

void TComponent::SetDesigning(bool value) noexcept
{
    if (value) FComponentState |= csDesigning;
    else FComponentState &= ~csDesigning;
}

TComponent* TComponent::FindComponent(std::string_view AName) const
{
    if (AName.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, AName)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (AComponent->FOwner == this) return;
    if (!AComponent->FName.empty() && FindComponent(AComponent->FName) != nullptr)
        throw EComponentError("a component named " + AComponent->FName + " already exists");
    if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (AComponent->FOwner != this) return;
    Notification(AComponent, TOperation::opRemove);
    Remove(AComponent);
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        Remove(c);
        delete c;
    }
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (AComponent == nullptr || AComponent == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(AComponent);
        AComponent->FFreeNotifies.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    auto drop = [](std::vector<TComponent*>& list, TComponent* c) {
        list.erase(std::remove(list.begin(), list.end(), c), list.end());
    };
    drop(FFreeNotifies, AComponent);
    drop(AComponent->FFreeNotifies, this);
}

void TComponent::Loaded()
{
    FComponentState &= ~(csLoading | csReading);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
    // Index loop: a handler may free components of this one.
    for (size_t i = FComponents.size(); i-- > 0;)
        if (i < FComponents.size()) FComponents[i]->Notification(AComponent, Operation);
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent), FComponents.end());
    AComponent->FOwner = nullptr;
}
