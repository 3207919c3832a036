// TWinSkinControls, a frame object's list of the control adapters of its
// window's children: the list does not own them (each belongs to its control
// or, for a raw window, to the frame object), the hot control, and the
// controls kept from skinning.
#pragma once

#include <windows.h>

#include "skin/kernel/SkinObject.h"

#include <unordered_set>
#include <vector>

class TComponent;
class TControl;
class TSkinControl;
class TWinSkinForm;

class TWinSkinControls {
public:
    explicit TWinSkinControls(TWinSkinForm& Frame) : FFrame(Frame) {}
    TWinSkinControls(const TWinSkinControls&) = delete;
    TWinSkinControls& operator=(const TWinSkinControls&) = delete;

    // True when the adapter was listed already.
    bool AddControl(TSkinControl* Adapter);
    void RemoveControl(TSkinControl* Adapter);
    // Frees the adapters whose window was destroyed.
    void PurgeControls();
    // Gives back and frees every adapter (Unskin first unless its window is gone).
    void FreeControls();
    void UpdateControls();
    int ControlCount() const noexcept { return static_cast<int>(FControls.size()); }
    TSkinControl* Controls(int Index) const { return FControls.at(static_cast<size_t>(Index)); }
    TSkinControl* FindControl(const TControl* Control) const noexcept;
    TSkinControl* FindControlByHandle(HWND Window) const noexcept;
    TSkinControl* HotControl() const noexcept { return FHotControl; }
    void SetHotControl(TSkinControl* Adapter);
    void ExcludeControl(TControl* Control);
    bool IsExcluded(const TControl* Control) const;
    // A freed component leaves the excluded ones.
    void Forget(const TComponent* AComponent) { FExcluded.erase(AComponent); }
    void ReskinScrollControl(HWND Window);

private:
    using TToken = TSkinObject::TToken;

    TWinSkinForm& FFrame;
    std::vector<TSkinControl*> FControls;
    TSkinControl* FHotControl = nullptr;
    std::unordered_set<const TComponent*> FExcluded;
};
