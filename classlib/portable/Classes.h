// TObject, TPersistent and TComponent: the base of every class-library object.
// A component is owned by at most one other; the owner frees what it owns and
// tells its components when one of them goes away (Notification).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TClassInfo;
class TComponent;
class TObject;

// Events are method pointers with Sender first; an empty one is "not assigned".
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Declares the class-information accessors of a class with published
// properties; the definition (TClassBuilder) lives in the class's .cpp file.
#define DECLARE_CLASS_INFO()                                   \
    static const ::TClassInfo& StaticClassInfo();              \
    const ::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    static const TClassInfo& StaticClassInfo();
    std::string_view ClassName() const;
    bool InheritsFrom(const TClassInfo& cls) const;
};

// An object whose published properties can be stored and read back.
class TPersistent : public TObject {
public:
    DECLARE_CLASS_INFO()
};

enum class TOperation { opInsert, opRemove };

// Component states; several can hold at once.
enum TComponentStateFlag : uint32_t {
    csLoading = 1u << 0,    // properties are being read from a description
    csReading = 1u << 1,
    csDestroying = 1u << 2,
    csDesigning = 1u << 3,  // placed in a designer: no run-time resources
};
using TComponentState = uint32_t;

class TComponent : public TPersistent {
public:
    DECLARE_CLASS_INFO()

    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const noexcept { return FOwner; }
    const std::string& Name() const noexcept { return FName; }
    // Raises EComponentError for a name that is not an identifier or that
    // another component of the same owner already has.
    void SetName(const std::string& AName);
    intptr_t Tag() const noexcept { return FTag; }
    void SetTag(intptr_t ATag) noexcept { FTag = ATag; }

    TComponentState ComponentState() const noexcept { return FComponentState; }
    bool InState(TComponentStateFlag flag) const noexcept { return (FComponentState & flag) != 0; }
    // A designer (or a test) marks a component before it acquires resources.
    void SetDesigning(bool value) noexcept;

    int ComponentCount() const noexcept { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(static_cast<size_t>(index)); }
    // Case-insensitive, as names are compared everywhere.
    TComponent* FindComponent(std::string_view AName) const;

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, last first.
    void DestroyComponents();

    // Links this component and AComponent so that whichever is freed first
    // tells the other (Notification with opRemove), whoever owns them.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Called by the description reader around reading this component.
    void BeginLoading() noexcept { FComponentState |= csLoading | csReading; }
    void EndReading() noexcept { FComponentState &= ~csReading; }
    // The whole description has been read: clears csLoading.
    virtual void Loaded();
    // The description reader found this component nested inside AParent;
    // controls take a windowed control as their Parent, others ignore it.
    virtual void SetParentComponent(TComponent* AParent) { (void)AParent; }

protected:
    // A component is being inserted into or removed from this one, or a
    // component this one asked about is being freed. Passes it on to every
    // owned component.
    virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::string FName;
    intptr_t FTag = 0;
    TComponentState FComponentState = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};
