// The child-control dispatch: the class-library road (event, Skin3rd kinds,
// class rules) and the window road (class name and style).
#include "skin/adapters/ControlDispatch.h"

#include "classlib/ComCtrls.h"
#include "classlib/Buttons.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "skin/SkinApi.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/AdapterHost.h"
#include "skin/adapters/SkinControl.h"
#include "skin/adapters/SkinScrollbar.h"
#include "skin/adapters/SkinTab.h"
#include "skin/data/WinSkinData.h"
#include "skin/portable/ForeignClasses.h"
#include "skin/portable/SkinText.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <unordered_set>
#include <vector>

namespace {

using enum TAdapterKind;
using enum TAdapterVariant;

std::string UpperCase(std::string_view Text)
{
    std::string upper(Text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool OneOf(const std::string& Name, std::initializer_list<std::string_view> Names)
{
    return std::find(Names.begin(), Names.end(), Name) != Names.end();
}

// Knows which of the controls it watches were freed meanwhile: handlers and
// makers run while a walk goes on.
class TFreedWatch : public TComponent {
public:
    TFreedWatch() : TComponent(nullptr) {}
    template <class T>
    std::vector<T*> Watch(std::vector<T*> Items)
    {
        for (T* item : Items) item->FreeNotification(this);
        return Items;
    }
    bool Freed(const TComponent* Item) const { return FFreed.count(Item) != 0; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        if (Operation == TOperation::opRemove) FFreed.insert(AComponent);
        TComponent::Notification(AComponent, Operation);
    }

private:
    std::unordered_set<const TComponent*> FFreed;
};

// Act on each of Items that is still there when its turn comes; stops when
// the frame object goes.
template <class T, class F>
void ForEachLiving(const TSkinObject::TToken& Life, std::vector<T*> Items, F Act)
{
    TFreedWatch watch;
    for (T* item : watch.Watch(std::move(Items))) {
        if (!Life.Alive()) return;
        if (!watch.Freed(item)) Act(item);
    }
}

std::vector<TControl*> ChildControls(const TWinControl& Parent, bool WindowedOnly)
{
    std::vector<TControl*> children;
    for (int i = 0; i < Parent.ControlCount(); ++i) {
        TControl* child = Parent.Controls(i);
        if (!WindowedOnly || dynamic_cast<TWinControl*>(child) != nullptr) children.push_back(child);
    }
    return children;
}

bool HasScrollBars(TControl* Control)
{
    if (dynamic_cast<TMemo*>(Control) != nullptr) return true;
    auto* windowed = dynamic_cast<TWinControl*>(Control);
    if (windowed == nullptr || !windowed->HandleAllocated()) return false;
    return (::GetWindowLongA(windowed->WindowHandle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

// What a raw "button" window is by its type value (not bits: 7 has all of 1, 2 and 4).
TAdapterKind ButtonKind(LONG Style)
{
    if (Style & BS_BITMAP) return akNone;
    switch (Style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return akButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return akCheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return akRadioButton;
    // The later kinds are push buttons too; a split button keeps its arrow.
    case BS_USERBUTTON:
    case BS_PUSHBOX:
    case BS_COMMANDLINK:
        return akButton;
    case BS_SPLITBUTTON:
    case BS_DEFSPLITBUTTON:
        return akMenuButton;
    default:
        return akNone;  // group boxes, owner-drawn buttons and default command links
    }
}

// Attach attaches Adapter; one that refuses or raises is freed and its control
// keeps its own look.
template <class F>
TSkinControl* AttachedOrFreed(TSkinControl* Adapter, F Attach)
{
    const TSkinObject::TToken life = Adapter->Token();
    bool attached = false;
    try {
        attached = Attach();
    } catch (...) {
        // Skinning is refused silently.
    }
    if (attached) return Adapter;
    if (life.Alive()) Adapter->Free();
    return nullptr;
}

}  // namespace

TControlDispatch::TControlDispatch(TAdapterHost& Form) : FForm(Form), FData(*Form.SkinData()), FLife(Form.Token()) {}

bool TControlDispatch::Has(int Element) const
{
    return (FData.SkinControls() & SkinBit(Element)) != 0;
}

bool TControlDispatch::HasTabs() const
{
    return Has(xcTab) && FData.FTabs != nullptr;
}

TSkinControl* TControlDispatch::Attach(TControl* Control, TAdapterKind Kind, bool ChangeColor, int Mode,
                                       TAdapterVariant Variant)
{
    const TAdapterMaker make = AdapterMaker(Kind);
    if (make == nullptr || Control == nullptr) return nullptr;
    TSkinControl* adapter = make(Control, TAdapterRequest{Kind, Variant});
    if (adapter == nullptr) return nullptr;
    adapter->SetMode(Mode);
    return AttachedOrFreed(adapter, [&] { return adapter->InitSkin(&FForm, &FData, ChangeColor); });
}

TSkinControl* TControlDispatch::AttachWindow(HWND Window, TAdapterKind Kind)
{
    const TAdapterMaker make = AdapterMaker(Kind);
    if (make == nullptr || Window == nullptr) return nullptr;
    TSkinControl* adapter = make(&FForm.HostComponent(), TAdapterRequest{Kind});
    if (adapter == nullptr) return nullptr;
    return AttachedOrFreed(adapter, [&] { return adapter->InitSkinHandle(Window, &FData, &FForm); });
}

void TControlDispatch::SkinFormControls(TControl* Form)
{
    FForm.PurgeControls();
    SkinComponents(Form);
    auto* windowed = dynamic_cast<TWinControl*>(Form);
    if (Gone() || windowed == nullptr) return;
    std::vector<TWinControl*> order;
    windowed->GetTabOrderList(order);
    ForEachLiving(FLife, std::move(order), [&](TWinControl* control) {
        if (!SkipControl(control)) SkinControl(control, Form);
    });
}

void TControlDispatch::SkinComponents(TComponent* Owner)
{
    if (Owner == nullptr) return;
    std::vector<TControl*> controls;
    for (int i = 0; i < Owner->ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(Owner->Components(i))) controls.push_back(control);
    auto* form = dynamic_cast<TControl*>(Owner);
    ForEachLiving(FLife, std::move(controls), [&](TControl* control) { SkinControl(control, form); });
    // The menus among the components are the frame's (SwitchFormMenus).
}

void TControlDispatch::SkinChildControls(TWinControl* Parent)
{
    if (Parent == nullptr) return;
    ForEachLiving(FLife, ChildControls(*Parent, false), [&](TControl* control) { SkinControl(control, Parent); });
}

bool TControlDispatch::IsControlSkinned(TControl* Control) const
{
    if (Control == nullptr) return false;
    if (FForm.FindControl(Control) != nullptr) return true;
    return Control->Perform(WM_SKIN_QUERY) == 1;
}

bool TControlDispatch::SkipControl(TWinControl* Control) const
{
    if (Control == nullptr || !Control->HandleAllocated()) return true;
    if (Control->Tag() == FData.DisableTag() || FForm.IsExcluded(Control)) return true;
    const HWND window = Control->WindowHandle();
    return FForm.FindControlByHandle(window) != nullptr || ::SendMessageA(window, WM_SKIN_QUERY, 0, 0) == 1;
}

void TControlDispatch::DisableGroupButtons(TControl* Control)
{
    auto* group = dynamic_cast<TWinControl*>(Control);
    if (group == nullptr || group->ControlCount() == 0) return;
    const std::string name = LowerCaseAZ(Control->ClassName());
    if (name.find("radiogroup") == std::string::npos && name.find("checkgroup") == std::string::npos) return;
    // Kept by the frame object: the buttons' own Tag stays theirs.
    for (TControl* child : ChildControls(*group, true)) FForm.ExcludeControl(child);
}

void TControlDispatch::SkinBorderedEdit(TControl* Control)
{
    auto* edit = dynamic_cast<TWinControl*>(Control);
    if (edit == nullptr || !edit->HandleAllocated()) return;
    RECT window{}, client{};
    if (!::GetWindowRect(edit->WindowHandle(), &window) || !::GetClientRect(edit->WindowHandle(), &client)) return;
    if (window.right - window.left != client.right || window.bottom - window.top != client.bottom)
        Attach(Control, akEdit, false);
}

void TControlDispatch::SkinControl(TControl* Control, TControl* Form)
{
    if (Control == nullptr) return;
    if (Control->Tag() == FData.DisableTag() || FForm.IsExcluded(Control)) {
        DisableGroupButtons(Control);
        return;
    }
    if (Control->Parent() == nullptr || IsControlSkinned(Control)) return;
    const std::string name = UpperCase(Control->ClassName());
    if (auto* windowed = dynamic_cast<TWinControl*>(Control); windowed != nullptr && !windowed->HandleAllocated()) {
        try {
            windowed->HandleNeeded();
        } catch (...) {
            return;  // a control without a window is left alone
        }
    }
    if (const TOnSkinControl handler = FData.OnSkinControl) {
        TComponent* given = nullptr;
        TFreedWatch watch;
        watch.Watch(std::vector{Control});
        handler(&FForm.HostComponent(), &FData, Form, Control, name, given);
        if (Gone() || watch.Freed(Control)) return;
        if (auto* adapter = dynamic_cast<TSkinControl*>(given)) {
            if (FForm.AddControl(adapter)) return;
            if (!adapter->InitSkin(&FForm, &FData, adapter->ChangeColor())) {
                FForm.RemoveControl(adapter);
                return;
            }
            if (Gone()) return;
            if (auto* panel = dynamic_cast<TCustomPanel*>(Control)) SkinChildControls(panel);
            return;
        }
    }
    if (SkinBySkin3rd(name, Control)) return;
    if (OneOf(name, {"TDBCOMBOBOXEH", "TFRDESIGNERPAGE", "TFRPBOX"})) return;
    ClassRules(Control, name);
}

void TControlDispatch::ClassRules(TControl* Control, const std::string& C)
{
    auto* windowed = dynamic_cast<TWinControl*>(Control);
    auto* pages = dynamic_cast<TPageControl*>(Control);
    const bool tabs = FData.FTabs != nullptr;
    const auto attach = [this, Control](TAdapterKind Kind, bool ChangeColor, TAdapterVariant Variant = avNone) {
        return [=, this] { Attach(Control, Kind, ChangeColor, 0, Variant); };
    };
    const auto childrenThen = [this, Control, windowed](TAdapterKind Kind, bool ChangeColor) {
        return [=, this] {
            SkinChildControls(windowed);
            if (!Gone()) Attach(Control, Kind, ChangeColor);
        };
    };
    struct TRule {
        bool Matches;
        int Element;  // of SkinControls, or kNoElement
        std::function<void()> Act;
    };
    constexpr int kNoElement = -1;
    // In order; the first rule whose tests pass acts and ends the dispatch.
    const TRule rules[] = {
        {tabs && dynamic_cast<TCustomTabControl*>(Control) != nullptr, xcTab,
         [&] {
             if (pages == nullptr) Attach(Control, akTab, false, tmTabControl);
             else Attach(Control, pages->Style() == TTabStyle::tsTabs ? akTab : akTabBtn, false);
         }},
        {tabs && C == "TTABSET", xcTab, attach(akTab31, false)},
        {tabs && dynamic_cast<TTabSheet*>(Control) != nullptr, xcTab, attach(akTabSheet, false)},
        {tabs && C == "TTABBEDNOTEBOOK", xcTab, attach(akTab, false)},
        {C == "TMVCPANEL", kNoElement, [&] { SkinChildControls(windowed); }},
        {dynamic_cast<TCustomCheckBox*>(Control) != nullptr, xcCheckBox, attach(akCheckBox, false)},
        {OneOf(C, {"TUPDOWN", "TSPINBUTTON"}), xcSpin, attach(akUpDown, false)},
        {C == "TMEDIAPLAYER", xcButton, attach(akMediaPlayer, false)},
        {C == "TDBNAVIGATOR", xcPanel,
         [&] {
             Attach(Control, akBox, true);
             if (Gone() || windowed == nullptr) return;
             ForEachLiving(FLife, ChildControls(*windowed, false), [&](TControl* child) { SkinControl(child, nullptr); });
         }},
        {OneOf(C, {"TRZDBCHECKBOX", "TRZCHECKBOX"}), xcCheckBox, attach(akObjImage, true, avCheckGlyphs)},
        {OneOf(C, {"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}), xcRadioButton, attach(akObjImage, true, avRadioGlyphs)},
        {OneOf(C, {"TCXDBCHECKBOX", "TCXCHECKBOX"}), xcCheckBox, attach(akObjImage, true, avPropertyGlyphs)},
        {dynamic_cast<TCustomGroupBox*>(Control) != nullptr, xcPanel, childrenThen(akGroupBox, false)},
        {dynamic_cast<TRadioButton*>(Control) != nullptr, xcRadioButton, attach(akRadioButton, false)},
        {dynamic_cast<TCustomStatusBar*>(Control) != nullptr, xcStatusBar, attach(akStatusBar, false)},
        {C == "TTNTCOMBOBOX" || dynamic_cast<TCustomComboBox*>(Control) != nullptr, xcCombo,
         attach(akComboBox, false)},
        {OneOf(C, {"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"}), xcScrollbar, attach(akScrollbar, false)},
        // Without xcBitBtn a bit button stays native, although it is a button too.
        {dynamic_cast<TBitBtn*>(Control) != nullptr, kNoElement,
         [&] {
             if (Has(xcBitBtn)) Attach(Control, akBitButton, false);
         }},
        {dynamic_cast<TCustomPanel*>(Control) != nullptr, xcPanel, childrenThen(akBox, true)},
        {OneOf(C, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}), xcScrollbar, attach(akScrollbar, false)},
        {dynamic_cast<TCustomMemo*>(Control) != nullptr, xcScrollbar, attach(akScrollbar, false)},
        {HasScrollBars(Control), xcScrollbar, attach(akScrollbar, false)},
        {dynamic_cast<TButton*>(Control) != nullptr, xcButton, attach(akButton, false)},
        {dynamic_cast<TCustomEdit*>(Control) != nullptr, xcEdit, attach(akEdit, false)},
        {OneOf(C, {"TDCEDIT", "TDCDBEDIT"}), kNoElement,
         [&] {
             const int buttons = GetOrdPropByName(Control, "NumButtons");
             if (buttons == 1 && Has(xcCombo)) Attach(Control, akComboBox, false);
             else if (buttons == 0 && Has(xcEdit) && windowed != nullptr && windowed->HandleAllocated())
                 AttachWindow(windowed->WindowHandle(), akEdit);
         }},
        {dynamic_cast<TCustomForm*>(Control) != nullptr, kNoElement,
         [&] {
             Attach(Control, akBox, true);
             if (!Gone()) SkinComponents(Control);
         }},
    };
    for (const TRule& rule : rules) {
        if (!rule.Matches || (rule.Element != kNoElement && !Has(rule.Element))) continue;
        rule.Act();
        return;
    }
}

bool TControlDispatch::SkinBySkin3rd(const std::string& ClassName, TControl* Control)
{
    const std::string kind = Skin3rdKind(*FData.Skin3rd(), ClassName);
    if (kind.empty()) return false;
    auto* windowed = dynamic_cast<TWinControl*>(Control);
    const auto is = [&](std::string_view Kind, int Element) { return kind == Kind && Has(Element); };
    if (kind == "nil") {
    } else if (is("combobox", xcCombo)) {
        Attach(Control, akComboBox, false);
    } else if (is("edit", xcEdit)) {
        SkinBorderedEdit(Control);
    } else if (is("radiobutton", xcRadioButton)) {
        Attach(Control, akRadioButton, false);
    } else if (is("panel", xcPanel)) {
        SetPropByName(Control, "Transparent", "True");
        Attach(Control, akBox, true);
    } else if (is("trackbar", xcButton)) {
        SetPropByName(Control, "Transparent", "True");
        Attach(Control, akTrackBar, false);
    } else if (is("button", xcButton)) {
        Attach(Control, akButton, false);
    } else if (is("datetimepicker", xcCombo)) {
        Attach(Control, akDateTime, false);
    } else if (is("mediaplayer", xcButton)) {
        Attach(Control, akMediaPlayer, false);
    } else if (is("bitbtn", xcButton)) {
        const bool dropDown = LowerCaseAZ(ClassName) == "tcxbutton" &&
                              LowerCaseAZ(GetEnumPropByName(Control, "Kind")) == "cxbkdropdownbutton";
        Attach(Control, dropDown ? akMenuButton : akBitButton, false);
    } else if (is("pngbitbtn", xcButton)) {
        Attach(Control, akBitButton, false, 0, avPngGlyph);
    } else if (is("menubtn", xcButton)) {
        Attach(Control, akMenuButton, false);
    } else if (is("speedbutton", xcSpeedButton)) {
        Attach(Control, akSpeedButton, false);
    } else if (kind == "tab" && HasTabs()) {
        Attach(Control, akTab, false);
    } else if (is("progress", xcProgress)) {
        Attach(Control, akProgress, false);
    } else if (is("scrollbar", xcScrollbar)) {
        Attach(Control, akScrollbar, false);
        if (!Gone()) SkinChildControls(windowed);
    } else if (is("singlescrollbar", xcScrollbar)) {
        Attach(Control, akScrollbar, false, smSingleBar);
    } else if (is("embedscrollbar", xcScrollbar)) {
        SkinScrollingChildren(Control);
    } else if (kind == "container") {
        SkinChildControls(windowed);
    } else if (is("groupbox", xcGroupBox)) {
        Attach(Control, akGroupBox, true);
    } else if (is("advpagecontrol", xcTab)) {
        Attach(Control, akAdvPage, true, 0, avTabImages);
    } else if (is("radiogroup", xcGroupBox)) {
        SkinGroupButtons(Control, ClassName, true);
    } else if (is("checkgroup", xcPanel)) {
        SkinGroupButtons(Control, ClassName, false);
    } else if (is("checkbox", xcCheckBox)) {
        Attach(Control, akCheckBox, false);
    }
    return true;
}

void TControlDispatch::SkinGroupButtons(TControl* Group, const std::string& ClassName, bool Radio)
{
    auto* windowed = dynamic_cast<TWinControl*>(Group);
    if (windowed != nullptr && Has(xcRadioButton)) {
        const bool glyphs = UpperCase(ClassName).find("TRZ") != std::string::npos;
        // Only the windowed children are buttons; labels and the like stay as they are.
        ForEachLiving(FLife, ChildControls(*windowed, true), [&](TControl* child) {
            if (glyphs) Attach(child, akObjImage, true, 0, Radio ? avRadioGlyphs : avCheckGlyphs);
            else Attach(child, Radio ? akRadioButton : akCheckBox, false);
        });
    }
    if (!Gone() && Has(xcGroupBox)) Attach(Group, akGroupBox, true);
}

void TControlDispatch::SkinScrollingChildren(TControl* Control)
{
    auto* windowed = dynamic_cast<TWinControl*>(Control);
    if (windowed == nullptr) return;
    ForEachLiving(FLife, ChildControls(*windowed, true), [&](TControl* child) {
        if (HasScrollBars(child)) Attach(child, akScrollbar, false);
    });
}

void TControlDispatch::SkinChildWindows(HWND Parent)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(Parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::GetWindowLongA(child, GWL_STYLE) & WS_CHILD) children.push_back(child);
    for (HWND child : children) {
        if (Gone()) return;
        // An earlier adapter's window may have destroyed this one.
        if (::IsWindow(child)) SkinChildWindow(child);
    }
}

void TControlDispatch::RecolourPanel(HWND Window)
{
    if (TWinControl* control = FindLibraryControl(Window)) control->SetColor(FData.FButtonFaceColor);
}

void TControlDispatch::SkinChildWindow(HWND Window)
{
    if (Window == nullptr || FForm.FindControlByHandle(Window) != nullptr) return;
    const std::string name = LowerCaseAZ(GetWindowClassName(Window));
    const LONG style = ::GetWindowLongA(Window, GWL_STYLE);
    if (name == "button") {
        AttachWindow(Window, ButtonKind(style));
    } else if (name == "combobox") {
        if ((style & 3) != CBS_SIMPLE) AttachWindow(Window, akComboBox);
    } else if (name == "comboboxex32") {
        if (HWND inner = ::GetWindow(Window, GW_CHILD)) AttachWindow(inner, akComboBox);
    } else if (name == "scrollbar") {
        // Size boxes and grips are scroll bars by class; their style says which they are.
        if (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) AttachWindow(Window, akSizer);
    } else if (name == "#32770") {
        if (style & WS_TABSTOP) return;
        SkinChildWindows(Window);
        if (!Gone() && ::IsWindow(Window)) AttachWindow(Window, akBoxH);
    } else if (OneOf(name, {"tpanel", "ttntpanel.unicodeclass", "ttntsilentpaintpanel.unicodeclass"})) {
        SkinChildWindows(Window);
        if (!Gone() && ::IsWindow(Window)) RecolourPanel(Window);
    } else if (name == "tsilentpaintpanel") {
        RecolourPanel(Window);
    } else if (name == "tcheckbox") {
        AttachWindow(Window, akCheckBox);
    } else if (name == "tcombobox") {
        AttachWindow(Window, akComboBox);
    } else if (name == "tbutton") {
        AttachWindow(Window, akButton);
    } else if (name == "tprogressbar") {
        AttachWindow(Window, akProgress);
    } else if (name == "systabcontrol32") {
        if ((style & TCS_OWNERDRAWFIXED) == 0) AttachWindow(Window, akTab);
    } else if (name == "edit") {
        AttachWindow(Window, akEdit);
    }
}
