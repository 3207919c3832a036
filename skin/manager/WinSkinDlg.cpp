// The skin manager: the thread's WH_CBT hook, the window filter, the choice
// of skin component and the pending skin action.
#include "skin/manager/WinSkinDlg.h"

#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "classlib/ExceptionHook.h"
#include "classlib/Forms.h"
#include "skin/SkinApi.h"
#include "skin/SkinWindowMessages.h"

#include <algorithm>
#include <cctype>

TSkinManage* SkinManager = nullptr;

namespace {

HINSTANCE ModuleInstance()
{
    static const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    return instance;
}

std::string Lower(std::string Text)
{
    for (char& c : Text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return Text;
}

}  // namespace

LRESULT CALLBACK TSkinManage::CBTHookProc(int Code, WPARAM WParam, LPARAM LParam)
{
    TSkinManage* manager = SkinManager;
    HHOOK hook = manager != nullptr ? manager->FHook : nullptr;
    if (Code >= 0 && manager != nullptr && !manager->FDestroying) try {
        const HWND window = reinterpret_cast<HWND>(WParam);
        switch (Code) {
        case HCBT_CREATEWND: {
            const CREATESTRUCTA& cs = *reinterpret_cast<CBT_CREATEWNDA*>(LParam)->lpcs;
            const std::string name = GetWindowClassName(window);
            // Not yet made (no WM_NCCREATE so far): skinned once it exists.
            if (name == "ScrollBar" && (cs.style & SBS_SIZEGRIP) != 0 && manager->FindForm(cs.hwndParent) != nullptr)
                ::PostMessageA(cs.hwndParent, WM_SKIN_CHILDMADE, reinterpret_cast<WPARAM>(window), kSkinMagic);
            if (!(cs.style & WS_CHILD) && name == "#32768") manager->SkinPopupMenu(window);
            if (cs.dwExStyle & WS_EX_MDICHILD) manager->SkinWindow(window);
            break;
        }
        case HCBT_DESTROYWND:
            manager->UnskinPopupMenu(window);
            break;
        case HCBT_ACTIVATE:
            manager->SetRunning();
            manager->SkinWindow(window);
            break;
        default:
            break;
        }
    } catch (...) {
        // The hook never refuses a window; what failed stays unskinned.
        HandleException();
    }
    return ::CallNextHookEx(hook, Code, WParam, LParam);
}

TSkinManage::TSkinManage() : FTimer(std::make_unique<TTimer>(nullptr))
{
    FTimer->SetEnabled(false);
    FTimer->SetInterval(100);
    FTimer->OnTimer = [this](TObject* Sender) { DoAction(Sender); };
    FrameHost = this;
    PopupMenuHost = this;
}

TSkinManage::~TSkinManage()
{
    FDestroying = true;
    FActive = false;
    FTimer.reset();
    if (!FForms.empty()) ReleaseForms();
    FreePopupMenus();
    FSkinDatas.clear();
    if (FHook != nullptr) ::UnhookWindowsHookEx(FHook);
    if (SkinManager == this) SkinManager = nullptr;
    if (FrameHost == this) FrameHost = nullptr;
    if (PopupMenuHost == this) PopupMenuHost = nullptr;
}

void FreeSkinManager()
{
    delete SkinManager;
    SkinManager = nullptr;
}

void TSkinManage::InstallHook()
{
    SkinWinVersion = ::GetVersion();
    if (FHook == nullptr) FHook = ::SetWindowsHookExA(WH_CBT, CBTHookProc, nullptr, ::GetCurrentThreadId());
}

bool TSkinManage::IsNonMDIChild(HWND Window)
{
    const LONG style = ::GetWindowLongA(Window, GWL_STYLE);
    const LONG ex = ::GetWindowLongA(Window, GWL_EXSTYLE);
    if (!(style & WS_CHILD) || (ex & WS_EX_MDICHILD)) return false;
    return Lower(GetWindowClassName(::GetParent(Window))) != "mdiclient";
}

TWinSkinForm* TSkinManage::FindForm(HWND Window) const
{
    for (TWinSkinForm* form : FForms)
        if (form->Handle() == Window && form->SkinState() != ssDestroyed) return form;
    return nullptr;
}

TControl* TSkinManage::FindLibraryForm(HWND Window)
{
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form->HandleAllocated() && form->WindowHandle() == Window) return form;
    }
    return FindLibraryControl(Window);
}

bool TSkinManage::SkinWindow(HWND Window)
{
    if (!FActive || Window == nullptr) return false;
    PurgeForms();
    // A window a frame object holds answers the query, listed here or not;
    // the list adds the one being set up, not held yet.
    if (::SendMessageA(Window, WM_SKIN_QUERY, 0, 0) == 1) return false;
    if (FindForm(Window) != nullptr) return false;
    TControl* form = FindLibraryForm(Window);
    if (!FSkinningAll && IsNonMDIChild(Window)) return false;
    const std::string name = GetWindowClassName(Window);
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(Window, GWLP_HINSTANCE));
    if (form == nullptr && instance != ModuleInstance() && name != "#32770") return false;
    RECT r{};
    ::GetWindowRect(Window, &r);
    const bool mdiChild = (::GetWindowLongA(Window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
    if ((r.right - r.left) * (r.bottom - r.top) == 0 && !mdiChild) return false;
    // This Tag keeps a form unskinned whatever a component's DisableTag says.
    constexpr int kNeverSkinnedTag = 99;
    if (form != nullptr && form->Tag() == kNeverSkinnedTag) return false;
    if (name.find("TcxPopupEditPopupWindow") != std::string::npos || name == "TApplication") return false;
    if (!FilterWindow(Window, name)) return false;
    TSkinData* data = SelectSkinData(Window);
    if (data == nullptr || data->FNotLoaded) return false;

    auto* frame = new TWinSkinForm(form);
    FForms.push_back(frame);
    const TSkinObject::TToken life = frame->Token();
    try {
        if (form != nullptr) frame->InitForm(Window, name, data, form);
        else frame->InitWindow(Window, name, data);
    } catch (...) {
        // Refused silently: the half-attached window gets back what was taken.
        if (life.Alive()) {
            RemoveForm(frame);
            frame->Unskin();
            frame->FreeDeferred();
        }
        return false;
    }
    if (::PostMessageA(Window, WM_SKIN_ACTIVATE, 0, kSkinActivateParam)) frame->ActivationPosted();
    return true;
}

void TSkinManage::SkinForm(TCustomForm* Form)
{
    const HWND window = Form->Handle();
    if (!Form->Visible() || (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return;
    SkinWindow(window);
}

bool TSkinManage::FilterWindow(HWND Window, const std::string& ClassName) const
{
    bool doSkin = true;
    if (FMainSkinData == nullptr) return doSkin;
    if (!(FMainSkinData->Options() & SkinBit(xoPreview)) && Lower(ClassName).find("preview") != std::string::npos)
        doSkin = false;
    FMainSkinData->DoFormSkin(Window, ClassName, doSkin);
    return doSkin;
}

TSkinData* TSkinManage::SelectSkinData(HWND Window) const
{
    TSkinData* found = nullptr;
    for (TSkinData* data : FSkinDatas) {
        const auto* owner = dynamic_cast<TWinControl*>(data->Owner());
        if (data->SkinFormtype() == TSkinFormType::sfOnlyThisForm && owner != nullptr && owner->HandleAllocated() &&
            owner->WindowHandle() == Window)
            found = data;
    }
    if (found != nullptr) return found;
    const std::string name = Lower(GetWindowClassName(Window));
    if (name == "tmessageform" || name == "#32770")
        for (TSkinData* data : FSkinDatas)
            if (data->SkinFormtype() == TSkinFormType::sfDialog) found = data;
    if (found != nullptr) return found;
    for (TSkinData* data : FSkinDatas)
        if (data->SkinFormtype() == TSkinFormType::sfMainform) found = data;
    if (found != nullptr) return found;
    return FSkinDatas.empty() ? nullptr : FSkinDatas.front();
}

void TSkinManage::RemoveForm(TWinSkinForm* Form)
{
    if (FDestroying) return;
    const auto it = std::find(FForms.begin(), FForms.end(), Form);
    if (it != FForms.end()) FForms.erase(it);
}

void TSkinManage::PurgeForms()
{
    if (FDestroying) return;
    for (size_t i = FForms.size(); i-- > 0;) {
        if (i >= FForms.size()) continue;  // a destructor may have unlisted others
        TWinSkinForm* form = FForms[i];
        if (form->SkinState() == ssDestroyed) form->FreeDeferred();  // unlists itself
    }
}

// The windows keep running with their own procedures and look: styles,
// region and outer size as they were before the skin.
void TSkinManage::ReleaseForms()
{
    FActive = false;
    while (!FForms.empty()) {
        TWinSkinForm* form = FForms.back();
        FForms.pop_back();
        form->Unskin();
        form->FreeDeferred();
    }
}

bool TSkinManage::HasSkinData(const TSkinData* Data) const
{
    return std::find(FSkinDatas.begin(), FSkinDatas.end(), Data) != FSkinDatas.end();
}

void TSkinManage::AddSkinData(TSkinData* Data)
{
    if (std::find(FSkinDatas.begin(), FSkinDatas.end(), Data) != FSkinDatas.end()) return;
    FSkinDatas.push_back(Data);
    if (FMainSkinData == nullptr && Data->SkinFormtype() == TSkinFormType::sfMainform) FMainSkinData = Data;
}

void TSkinManage::RemoveSkinData(TSkinData* Data)
{
    std::erase(FSkinDatas, Data);
    if (FMainSkinData == Data) FMainSkinData = nullptr;
    if (FActionSkinData == Data) FActionSkinData = nullptr;
    // A frame object must not keep painting with the elements of a freed
    // skin: it lets go of its window (a destroyed one is purged as usual).
    for (size_t i = FForms.size(); i-- > 0;) {
        TWinSkinForm* form = FForms[i];
        if (form->SkinData() != Data || form->SkinState() == ssDestroyed) continue;
        FForms.erase(FForms.begin() + static_cast<ptrdiff_t>(i));
        form->Unskin();
        form->FreeDeferred();
        i = std::min(i, FForms.size());
    }
    // Nor an open popup menu: it goes on drawn by the system.
    for (size_t i = FPopupMenus.size(); i-- > 0;) {
        TWinSkinPopMenu* popup = FPopupMenus[i];
        if (popup->SkinData() != Data) continue;
        FPopupMenus.erase(FPopupMenus.begin() + static_cast<ptrdiff_t>(i));
        popup->Unskin();
        popup->FreeDeferred();
        i = std::min(i, FPopupMenus.size());
    }
}

void TSkinManage::SkinPopupMenu(HWND Window)
{
    if (!FActive || FDestroying || FindPopupMenu(Window) != nullptr) return;
    if (::SendMessageA(Window, WM_SKIN_QUERY, 0, 0) == 1) return;
    TSkinData* data = SelectSkinData(Window);
    if (data == nullptr || data->FNotLoaded) return;
    const TSkinControlTypes controls = data->SkinControls();
    const bool allowed = FMenuKind == mnkPopup     ? (controls & SkinBit(xcPopupMenu)) != 0
                         : FMenuKind == mnkMenuBar ? (controls & (SkinBit(xcMainMenu) | SkinBit(xcMenuItem))) != 0
                                                   : (controls & SkinBit(xcSystemMenu)) != 0;
    if (!allowed) return;
    auto popup = std::make_unique<TWinSkinPopMenu>();
    if (!popup->InitSkin(Window, data)) return;
    popup->SetMenuBarMark(FMenuBarPopup);
    FPopupMenus.push_back(popup.release());
}

bool TSkinManage::UnskinPopupMenu(HWND Window)
{
    if (FDestroying) return false;
    bool found = false;
    const auto it = std::find_if(FPopupMenus.begin(), FPopupMenus.end(),
                                 [Window](TWinSkinPopMenu* P) { return P->Handle() == Window; });
    if (it != FPopupMenus.end()) {
        TWinSkinPopMenu* popup = *it;
        FPopupMenus.erase(it);
        popup->Unskin();
        popup->FreeDeferred();
        found = true;
    }
    if (FPopupMenus.empty()) FMenuKind = mnkPopup;
    return found;
}

TWinSkinPopMenu* TSkinManage::FindPopupMenu(HWND Window) const
{
    for (TWinSkinPopMenu* popup : FPopupMenus)
        if (popup->Handle() == Window) return popup;
    return nullptr;
}

// Each window gets its own procedure back before its skinner goes.
void TSkinManage::FreePopupMenus()
{
    std::vector<TWinSkinPopMenu*> popups;
    popups.swap(FPopupMenus);
    for (TWinSkinPopMenu* popup : popups) {
        popup->Unskin();
        popup->FreeDeferred();
    }
}

void TSkinManage::SetChildCaptionStyle(bool Maximized)
{
    if (Maximized == FChildMaximized) return;
    FChildMaximized = Maximized;
    if (FMainSkinData != nullptr && (FMainSkinData->Options() & SkinBit(xoMDIChildBorder))) return;
    for (TWinSkinForm* form : std::vector<TWinSkinForm*>(FForms)) {
        // Each step sends messages that may free frame objects further on.
        if (std::find(FForms.begin(), FForms.end(), form) == FForms.end()) continue;
        if (form->MDIKind() != mdiChild || form->SkinState() == ssDestroyed) continue;
        form->ChildCaptionStyleChanged(Maximized);
    }
}

void TSkinManage::PostAction(TSkinAction Action, UINT Delay)
{
    FAction = Action;
    FTimer->SetInterval(Delay);
    if (FState == msIdle) {
        if (Action == saSkinAll) FActive = true;
        if (Action == saUnskinAll) FActive = false;
        return;
    }
    FTimer->SetEnabled(true);
}

void TSkinManage::DoAction(TObject*)
{
    FTimer->SetEnabled(false);
    TSkinData* data = FActionSkinData;
    if (data == nullptr) return;
    ApplyAction(*data);
    // The action runs the windows' own code, which may have freed the component
    // (it then unregistered and cleared FActionSkinData).
    if (FActionSkinData != data) return;
    FActionSkinData = nullptr;
    data->DoSkinChanged();
}

void TSkinManage::ApplyAction(TSkinData& Data)
{
    const bool onlyThis = Data.SkinFormtype() == TSkinFormType::sfOnlyThisForm;
    switch (FAction) {
    case saSkinAll: {
        FActive = true;
        FSkinningAll = true;
        if (!onlyThis) PurgeForms();
        for (int i = Screen->FormCount(); i-- > 0;) {
            if (i >= Screen->FormCount()) continue;
            TCustomForm* form = Screen->Forms(i);
            if (onlyThis && form != Data.Owner()) continue;
            SkinForm(form);
            if (onlyThis) break;
        }
        FSkinningAll = false;
        break;
    }
    case saUnskinAll: {
        FActive = false;
        PurgeForms();
        auto unskin = [this](size_t Index) {
            TWinSkinForm* form = FForms[Index];
            FForms.erase(FForms.begin() + static_cast<ptrdiff_t>(Index));
            const TSkinObject::TToken life = form->Token();
            const HWND window = form->Handle();
            const bool destroyed = form->SkinState() == ssDestroyed;
            form->Unskin();
            // The repaint runs the window's own code, which may free its form and the frame object with it.
            if (!destroyed) TWinSkinForm::RepaintWindow(window);
            if (life.Alive()) form->FreeDeferred();
        };
        if (!onlyThis) {
            while (!FForms.empty()) unskin(0);
            break;
        }
        for (size_t i = FForms.size(); i-- > 0;)
            if (FForms[i]->SkinData() == &Data && FForms[i]->SkinState() != ssDestroyed) {
                unskin(i);
                break;
            }
        break;
    }
    case saRefresh: {
        PurgeForms();
        std::vector<TWinSkinForm*> forms;
        for (TWinSkinForm* form : FForms)
            if (form->SkinData() == &Data && form->SkinState() != ssDestroyed) forms.push_back(form);
        if (onlyThis && forms.size() > 1) forms.resize(1);
        // Both passes send messages that may free frame objects further on.
        auto listed = [this](TWinSkinForm* Form) { return std::find(FForms.begin(), FForms.end(), Form) != FForms.end(); };
        for (TWinSkinForm* form : forms) {
            if (!listed(form)) continue;
            form->ClearSysButtons();
            form->CreateSysButtons();
        }
        for (TWinSkinForm* form : forms)
            if (listed(form)) form->UpdateSkin();
        break;
    }
    default:
        break;
    }
}

void TSkinManage::ClearSysButtons()
{
    for (TWinSkinForm* form : FForms)
        if (form->SkinData() == FActionSkinData && form->SkinState() != ssDestroyed) form->ClearSysButtons();
}

void TSkinManage::SkinDataEvent(TSkinData& Data, TSkinDataEvent Event)
{
    switch (Event) {
    case TSkinDataEvent::sdLoaded: {
        AddSkinData(&Data);
        if (Data.SkinFormtype() != TSkinFormType::sfMainform) {
            FActive = true;
            SetRunning();
            auto* form = dynamic_cast<TCustomForm*>(Data.Owner());
            if (form != nullptr && Data.Active()) SkinWindow(form->Handle());
            return;
        }
        InstallHook();
        if (Data.Active() && !Data.FNotLoaded) {
            // After the first activation the action runs on the timer and
            // must know whose windows it skins.
            FActionSkinData = &Data;
            PostAction(saSkinAll, 250);
        }
        break;
    }
    case TSkinDataEvent::sdActiveChanged: {
        const bool on = Data.Active();
        switch (Data.SkinFormtype()) {
        case TSkinFormType::sfMainform:
            if (on && Data.FNotLoaded) return;
            FActionSkinData = &Data;
            PostAction(on ? saSkinAll : saUnskinAll, 250);
            if (on) SetRunning();
            break;
        case TSkinFormType::sfOnlyThisForm:
            FActionSkinData = &Data;
            if (on && Data.FNotLoaded) return;
            PostAction(on ? saSkinAll : saUnskinAll, 250);
            break;
        default:
            break;
        }
        break;
    }
    case TSkinDataEvent::sdSkinReplaced:
        FActionSkinData = &Data;
        ClearSysButtons();
        if (FState == msRunning) PostAction(saRefresh, 250);
        break;
    case TSkinDataEvent::sdRemoved:
        RemoveSkinData(&Data);
        break;
    }
}

// The skin component reaches the manager through this hook only.
namespace {

void OnSkinDataEvent(TSkinData& Data, TSkinDataEvent Event)
{
    if (SkinManager == nullptr) {
        if (Event != TSkinDataEvent::sdLoaded && Event != TSkinDataEvent::sdSkinReplaced) return;
        SkinManager = new TSkinManage;
        if (Event == TSkinDataEvent::sdSkinReplaced) SkinManager->SkinDataEvent(Data, TSkinDataEvent::sdLoaded);
    }
    SkinManager->SkinDataEvent(Data, Event);
}

struct TManagerUnit {
    TManagerUnit() { SetSkinManagerHook(OnSkinDataEvent); }
    ~TManagerUnit() { FreeSkinManager(); }
};

}  // namespace

void InitSkinManagerUnit()
{
    static TManagerUnit unit;
}
