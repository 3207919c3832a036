// The child-control dispatch: which child of a skinned window gets which
// kind of adapter. A class-library form is walked through its components and
// its tab order, each control matched by the skin component's OnSkinControl,
// then by the Skin3rd list of other libraries' classes, then by class; a
// window without a class-library form is walked through its child windows,
// matched by class name and style. Each choice is gated by the skin
// component's SkinControls; the kind's maker (AdapterTable.h) makes the
// adapter, and a kind without one leaves the control as it is. Lists are
// taken before anything is skinned: adapters make windows, and user code
// may free controls, while a walk runs. GUI thread only.
#pragma once

#include <windows.h>

#include "skin/adapters/AdapterTable.h"
#include "skin/kernel/SkinObject.h"

#include <string>

class TAdapterHost;
class TComponent;
class TControl;
class TSkinControl;
class TSkinData;
class TWinControl;

class TControlDispatch {
public:
    explicit TControlDispatch(TAdapterHost& Form);

    // Every control of a class-library form, adapters of destroyed windows freed first.
    void SkinFormControls(TControl* Form);
    void SkinComponents(TComponent* Owner);
    void SkinChildControls(TWinControl* Parent);
    void SkinControl(TControl* Control, TControl* Form);
    // True when the class has a Skin3rd line, whatever its kind did.
    bool SkinBySkin3rd(const std::string& ClassName, TControl* Control);
    bool IsControlSkinned(TControl* Control) const;
    bool SkipControl(TWinControl* Control) const;
    void DisableGroupButtons(TControl* Control);
    void SkinBorderedEdit(TControl* Control);
    // Windows without a class-library object.
    void SkinChildWindows(HWND Parent);
    void SkinChildWindow(HWND Window);

private:
    bool Has(int Element) const;
    bool HasTabs() const;
    bool Gone() const { return !FLife.Alive(); }
    // The kind's adapter attached to Control, or null (no maker, or refused).
    // Mode: a value of the family's own mode enum.
    TSkinControl* Attach(TControl* Control, TAdapterKind Kind, bool ChangeColor, int Mode = 0,
                         TAdapterVariant Variant = TAdapterVariant::avNone);
    TSkinControl* AttachWindow(HWND Window, TAdapterKind Kind);
    void ClassRules(TControl* Control, const std::string& ClassName);
    void SkinGroupButtons(TControl* Group, const std::string& ClassName, bool Radio);
    void SkinScrollingChildren(TControl* Control);
    void RecolourPanel(HWND Window);

    TAdapterHost& FForm;
    TSkinData& FData;
    TSkinObject::TToken FLife;
};
