// TAdapterHost: what the control adapters and the child-control dispatch
// need of the frame object of the window their controls are on. It lives
// with the adapters so that they never see the frame layer above them; the
// frame object (TWinSkinForm) implements it.
#pragma once

#include <windows.h>

#include "skin/kernel/SkinObject.h"

class TComponent;
class TControl;
class TSkinControl;
class TSkinData;

class TAdapterHost {
public:
    virtual ~TAdapterHost() = default;

    // The frame object as a component: the owner of the adapters of raw
    // windows and the sender of the skin component's OnSkinControl.
    virtual TComponent& HostComponent() noexcept = 0;
    virtual TSkinObject::TToken Token() const = 0;
    virtual HWND Handle() const noexcept = 0;
    virtual TSkinData* SkinData() const noexcept = 0;

    // The adapter list of the frame object (see TWinSkinControls).
    virtual bool AddControl(TSkinControl* Adapter) = 0;
    virtual void RemoveControl(TSkinControl* Adapter) = 0;
    virtual void PurgeControls() = 0;
    virtual TSkinControl* FindControl(const TControl* Control) const noexcept = 0;
    virtual TSkinControl* FindControlByHandle(HWND Window) const noexcept = 0;
    virtual void ExcludeControl(TControl* Control) = 0;
    virtual bool IsExcluded(const TControl* Control) const = 0;
    virtual bool InSizingBand(POINT At) const = 0;
};
