// TWinSkinControls, the frame object's control adapters: the list (add,
// remove, purge, free), the hot control, the controls kept from skinning; and
// the frame object's entry points of the child-control dispatch. Adapters are freed through their own Free, so
// one whose message is on the stack goes when that message returns.
#include "skin/frame/WinSkinForm.h"
#include "skin/frame/WinSkinMenu.h"

#include "classlib/Controls.h"
#include "skin/adapters/ControlDispatch.h"
#include "skin/adapters/SkinControl.h"
#include "skin/adapters/SkinScrollbar.h"

#include <algorithm>

bool TWinSkinControls::AddControl(TSkinControl* Adapter)
{
    if (Adapter == nullptr || std::find(FControls.begin(), FControls.end(), Adapter) != FControls.end()) return true;
    FControls.push_back(Adapter);
    return false;
}

void TWinSkinControls::RemoveControl(TSkinControl* Adapter)
{
    const auto it = std::find(FControls.rbegin(), FControls.rend(), Adapter);
    if (it != FControls.rend()) FControls.erase(std::next(it).base());
    if (FHotControl == Adapter) FHotControl = nullptr;
}

void TWinSkinControls::PurgeControls()
{
    for (size_t i = FControls.size(); i-- > 0;) {
        if (i >= FControls.size()) continue;
        TSkinControl* adapter = FControls[i];
        if (adapter->SkinState() != asDestroyed) continue;
        RemoveControl(adapter);
        adapter->Free();
    }
}

void TWinSkinControls::FreeControls()
{
    const TToken life = FFrame.Token();
    FHotControl = nullptr;
    while (!FControls.empty()) {
        TSkinControl* adapter = FControls.front();
        if (adapter->SkinState() != asDestroyed) {
            const TToken alive = adapter->Token();
            // Colours go back through the control's setters, which may run user code.
            adapter->Unskin();
            if (!life.Alive()) return;
            if (!alive.Alive()) {
                RemoveControl(adapter);
                continue;
            }
        }
        RemoveControl(adapter);
        adapter->Free();
    }
}

void TWinSkinControls::UpdateControls()
{
    const TToken life = FFrame.Token();
    const std::vector<TSkinControl*> adapters = FControls;
    for (TSkinControl* adapter : adapters) {
        if (std::find(FControls.begin(), FControls.end(), adapter) == FControls.end() ||
            adapter->SkinState() == asDestroyed)
            continue;
        adapter->UpdateSkin();
        if (!life.Alive()) return;
    }
}

TSkinControl* TWinSkinControls::FindControl(const TControl* Control) const noexcept
{
    if (Control == nullptr) return nullptr;
    for (TSkinControl* adapter : FControls)
        if (adapter->Control() == Control || adapter->GraphicOwner() == Control) return adapter;
    return nullptr;
}

TSkinControl* TWinSkinControls::FindControlByHandle(HWND Window) const noexcept
{
    if (Window == nullptr) return nullptr;
    for (TSkinControl* adapter : FControls)
        if (adapter->Handle() == Window) return adapter;
    return nullptr;
}

void TWinSkinControls::SetHotControl(TSkinControl* Adapter)
{
    if (FHotControl == Adapter) return;
    TSkinControl* previous = FHotControl;
    FHotControl = Adapter;
    if (previous != nullptr) previous->SendMouseLeave();
}

void TWinSkinControls::ExcludeControl(TControl* Control)
{
    if (Control == nullptr || !FExcluded.insert(Control).second) return;
    // Forgotten when the control is freed: another may come at its address.
    Control->FreeNotification(&FFrame);
}

bool TWinSkinControls::IsExcluded(const TControl* Control) const
{
    return FExcluded.count(Control) != 0;
}

void TWinSkinForm::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove) {
        FAdapters.Forget(AComponent);
        FMenus->ForgetSwitchedMenu(AComponent);
    }
    TComponent::Notification(AComponent, Operation);
}

void TWinSkinForm::SkinFormControls(TControl* Form)
{
    if (FSkinData == nullptr) return;
    const TToken life = Token();
    TControlDispatch(*this).SkinFormControls(Form);
    // Menus made since the form was skinned are the skin's from now on too.
    if (life.Alive() && Form == FForm) FMenus->SwitchFormMenus();
}

void TWinSkinForm::SkinChildWindows(HWND Parent)
{
    if (FSkinData == nullptr) return;
    FAdapters.PurgeControls();
    TControlDispatch(*this).SkinChildWindows(Parent);
}

void TWinSkinForm::SkinChildWindow(HWND Window)
{
    if (FSkinData != nullptr) TControlDispatch(*this).SkinChildWindow(Window);
}

void TWinSkinControls::ReskinScrollControl(HWND Window)
{
    const auto it = std::find_if(FControls.rbegin(), FControls.rend(),
                                 [Window](const TSkinControl* Adapter) { return Adapter->Handle() == Window; });
    auto* old = it != FControls.rend() ? dynamic_cast<TSkinScrollbar*>(*it) : nullptr;
    if (old == nullptr || FFrame.FSkinData == nullptr) return;
    const TAdapterKind kind = old->ReskinKind();
    auto* control = dynamic_cast<TWinControl*>(old->Control());
    const int mode = old->Mode();
    RemoveControl(old);
    // Let go first: the old adapter's hook would take the new window's messages.
    old->Free();
    if (control == nullptr || !control->HandleAllocated() || FindSkinObject(control->WindowHandle()) != nullptr)
        return;
    const TAdapterMaker make = AdapterMaker(kind);
    TSkinControl* adapter = make != nullptr ? make(control, TAdapterRequest{kind}) : nullptr;
    if (adapter == nullptr) return;
    adapter->SetMode(mode);
    const TToken life = adapter->Token();
    if (!adapter->InitSkin(&FFrame, FFrame.FSkinData, false) && life.Alive()) adapter->Free();
}
