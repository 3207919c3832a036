// The frame object's life: attaching to a window (style analysis,
// subclassing), re-skinning, the two ways of letting go (unskin: the window
// keeps running with its own look; detach: the window is being destroyed),
// and the window's state and styles that its parts share.
#include "skin/frame/WinSkinForm.h"

#include "skin/data/WinSkinData.h"
#include "skin/frame/FrameHost.h"
#include "skin/SkinApi.h"
#include "skin/frame/WinSkinMenu.h"
#include "classlib/Forms.h"
#include "classlib/ExceptionHook.h"
#include "classlib/Handles.h"
#include "classlib/Text.h"
#include "skin/SkinWindowMessages.h"
#include "skin/kernel/SkinError.h"

#include <utility>

namespace {

bool VersionTogglesCaption(bool AppWindow)
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
    if (info.dwMajorVersion < 5 || info.dwMinorVersion != 0) return false;
    return !AppWindow || info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

TWinSkinForm* FindSkinForm(HWND Window) noexcept
{
    auto* form = dynamic_cast<TWinSkinForm*>(FindSkinObject(Window));
    return form != nullptr && form->Handle() == Window ? form : nullptr;
}

TWinSkinForm::TWinSkinForm(TComponent* AOwner)
    : TComponent(AOwner),
      FWindowHook(*this, [](TSkinObject& O, TMessage& M) { static_cast<TWinSkinForm&>(O).SkinWndProc(M); }),
      FFormHook(*this, [](TSkinObject& O, TMessage& M) { static_cast<TWinSkinForm&>(O).FormWindowProc(M); }),
      FClientHook(*this, [](TSkinObject& O, TMessage& M) { static_cast<TWinSkinForm&>(O).MDIClientWndProc(M); }),
      FTitle(*this), FShape(*this), FMenus(std::make_unique<TWinSkinMenus>(*this)), FAdapters(*this)
{
}

TWinSkinForm::~TWinSkinForm()
{
    // Nothing may call into a freed object: a window still subclassed (its
    // owner freed it while the window lives) gets back what the skin took.
    FAdapters.FreeControls();
    if (Subclassed()) {
        if (::IsWindow(FHandle) && FSkinState != ssDestroying && FSkinState != ssDestroyed) Unskin();
        else DetachWindow();
    }
    FClientHook.Detach();
    if (FMenus->FDestroyMenuPending) FMenus->ReleaseMenuBar(false);
    FMenus->RestoreFormMenus();
    FMenus->FreeSysMenu();
    FTitle.ClearSysButtons();
    FTimer.reset();
    if (FrameHost != nullptr) FrameHost->RemoveForm(this);
}

void TWinSkinForm::CreateSysButtons()
{
    if (FSkinData == nullptr || FSkinData->FNotLoaded) return;
    FShape.ReadBorderSizes();
    FTitle.CreateSysButtons();
}

bool TWinSkinForm::MenuHookMessage(const MSG& Message)
{
    return FMenus->MenuHookMessage(Message);
}

void TWinSkinForm::InitForm(HWND Window, const std::string& WindowClass, TSkinData* Data, TControl* Form)
{
    FHandle = Window;
    FWindowClass = WindowClass;
    FForm = Form;
    // A copy: the handler may free the component that holds it.
    if (const TOnSkinForm before = Data->OnBeforeSkinForm) before(Form, FHandle, FWindowClass);
    InitSkin(Data);
    if (FSkinMainMenu && !FFormHook.Attach(*Form)) throw ESkinAttachError("the form's WindowProc is taken");
    FMenus->SwitchFormMenus();
    FOldColor = Form->Color();
    Form->SetColor(Data->FButtonFaceColor);
}

void TWinSkinForm::InitWindow(HWND Window, const std::string& WindowClass, TSkinData* Data)
{
    FHandle = Window;
    FWindowClass = WindowClass;
    InitSkin(Data);
}

void TWinSkinForm::InitSkin(TSkinData* Data)
{
    if (Subclassed()) return;
    if (FrameHost != nullptr) FrameHost->SetRunning();
    FSkinData = Data;
    FTimer = std::make_unique<TTimer>(nullptr);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(250);
    FTimer->OnTimer = [this](TObject* Sender) { TimerTick(Sender); };
    FSkinMainMenu = (Data->SkinControls() & SkinBit(xcMainMenu)) != 0;

    FStyle = ::GetWindowLongA(FHandle, GWL_STYLE);
    FOriginalStyle = FStyle;
    const LONG ex = ::GetWindowLongA(FHandle, GWL_EXSTYLE);
    FRightToLeft = (ex & WS_EX_LEFTSCROLLBAR) != 0;
    FChild = (FStyle & WS_CHILD) != 0;
    UpdateWindowState();
    MeasureOwnFrame();
    FindMDIClient();
    static_assert(FrameStyle::kCaption == WS_CAPTION && FrameStyle::kSysMenu == WS_SYSMENU &&
                  FrameStyle::kThickFrame == WS_THICKFRAME && FrameStyle::kMinimizeBox == WS_MINIMIZEBOX &&
                  FrameStyle::kMaximizeBox == WS_MAXIMIZEBOX && FrameStyle::kModalFrame == DS_MODALFRAME &&
                  FrameStyle::kExDlgModalFrame == WS_EX_DLGMODALFRAME && FrameStyle::kExMDIChild == WS_EX_MDICHILD &&
                  FrameStyle::kExAppWindow == WS_EX_APPWINDOW);
    const TFrameClass kind = ClassifyFrame({.Style = static_cast<uint32_t>(FStyle),
                                            .ExStyle = static_cast<uint32_t>(ex),
                                            .ClassName = GetWindowClassName(FHandle),
                                            .HasOwner = ::GetWindow(FHandle, GW_OWNER) != nullptr,
                                            .HasSystemMenu = FSysMenu != nullptr,
                                            .HasMDIClient = FClass.MDIKind == mdiFrame,
                                            .MDIChildBorder = (Data->Options() & SkinBit(xoMDIChildBorder)) != 0,
                                            .VersionTogglesAppCaption = VersionTogglesCaption(true),
                                            .VersionTogglesCaption = VersionTogglesCaption(false)});
    FClass = kind;
    if (kind.KeepsChildBorder) FSkinMainMenu = false;
    if (SkinWinVersion >= 0x80000000u) Data->SetSkinControls(Data->SkinControls() & ~SkinBit(xcSystemMenu));
    if (FClass.MDIKind == mdiFrame) FClientHook.Attach(FMDIClient);
    if (!FWindowHook.Attach(FHandle)) throw ESkinAttachError("the window cannot be subclassed");
    // The region the window had of its own, given back by Unskin.
    HRGN own = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(FHandle, own) != ERROR) FShape.FOriginalRegion = own;
    else ::DeleteObject(own);

    if (FSkinMainMenu) {
        RECT before{}, after{};
        ::GetClientRect(FHandle, &before);
        FMenus->TakeMenuBar();
        ::GetClientRect(FHandle, &after);
        FShape.FMenuTakenGrowth = FMenus->MenuBar() ? after.bottom - before.bottom : 0;
    }
    if (FSkinMainMenu) {
        if (!((FClass.MDIKind == mdiChild && FrameHost != nullptr && FrameHost->ChildMaximized()) ||
              FWindowState == fwsMinimized))
            SetCaptionStyle(false);
        CreateSysButtons();
    } else {
        FSkinState = ssActive;
    }
    if (FClass.MDIKind == mdiChild) {
        const int c = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CXFRAME);
        if (c > FShape.TitleHeight()) FShape.SetMenuBarHeight(c - FShape.TitleHeight());
        if (FWindowState == fwsMaximized && FrameHost != nullptr && !FrameHost->ChildMaximized())
            FrameHost->SetChildCaptionStyle(true);
    }
}

void TWinSkinForm::SetCaptionStyle(bool On)
{
    if (!(FClass.ButtonSet & bsCaptionToggle)) return;
    FStyle = ::GetWindowLongA(FHandle, GWL_STYLE);
    FStyle = On ? (FStyle | WS_CAPTION) : (FStyle & ~WS_CAPTION);
    ::SetWindowLongA(FHandle, GWL_STYLE, FStyle);
}

// The window's own frame, before the skin changes anything: a minimized
// window's rectangles say nothing of it, so its styles do.
void TWinSkinForm::MeasureOwnFrame()
{
    RECT window{}, client{};
    if (!::IsIconic(FHandle) && ::GetWindowRect(FHandle, &window) && ::GetClientRect(FHandle, &client)) {
        FShape.FFrameRect = {0, 0, (window.right - window.left) - client.right,
                             (window.bottom - window.top) - client.bottom};
        return;
    }
    RECT r{0, 0, 0, 0};
    const bool menu = !FChild && ::GetMenu(FHandle) != nullptr;
    ::AdjustWindowRectEx(&r, static_cast<DWORD>(FStyle), menu, static_cast<DWORD>(::GetWindowLongA(FHandle, GWL_EXSTYLE)));
    FShape.FFrameRect = {0, 0, r.right - r.left, r.bottom - r.top};
}

void TDrawingHold::Hold(HWND Window)
{
    if (FWindow != nullptr || Window == nullptr || !::IsWindowVisible(Window)) return;
    FWindow = Window;
    ::SendMessageW(Window, WM_SETREDRAW, FALSE, 0);
}

void TDrawingHold::Release(bool Shown)
{
    const HWND window = std::exchange(FWindow, nullptr);
    if (window == nullptr || !::IsWindow(window)) return;
    ::SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    if (!Shown) ::ShowWindow(window, SW_HIDE);
    else ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool TWinSkinForm::WantsShown() const
{
    return FForm == nullptr || FForm->Visible();
}

void TWinSkinForm::RepaintWindow(HWND Window)
{
    ::InvalidateRect(Window, nullptr, TRUE);
    ::UpdateWindow(Window);
}

void TWinSkinForm::UpdateSkin()
{
    const TToken life = Token();
    if (auto* form = dynamic_cast<TCustomForm*>(FForm)) {
        form->SetColor(FSkinData->FButtonFaceColor);
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (auto* inner = dynamic_cast<TCustomForm*>(form->Components(i)))
                inner->SetColor(FSkinData->FButtonFaceColor);
    }
    TDrawingHold hold(FHandle);
    FAdapters.UpdateControls();
    if (!life.Alive()) return;
    FSkinState = ssReskinning;
    if (FSkinMainMenu && FForm != nullptr) {
        FShape.ApplyFrameSize(true);
        if (!life.Alive()) return;
        FForm->SetHeight(FForm->Height() + 1);
        if (!life.Alive()) return;
        FForm->SetHeight(FForm->Height() - 1);
        if (!life.Alive()) return;
    }
    hold.Release(WantsShown());
    NotifySkinned();
    if (life.Alive()) FSkinState = ssActive;
}

void TWinSkinForm::NotifySkinned()
{
    const TToken life = Token();
    ::SendMessageA(FHandle, WM_SKIN_SKINNED, 0, kSkinMagic);
    if (!life.Alive() || FSkinData == nullptr) return;
    if (const TOnSkinForm after = FSkinData->OnAfterSkinForm) after(FForm, FHandle, FWindowClass);
}

void TWinSkinForm::Unskin()
{
    const TToken life = Token();
    const bool destroying = FSkinState == ssDestroying || FSkinState == ssDestroyed || !::IsWindow(FHandle);
    if (destroying) FSkinningHold.Drop();
    else FSkinningHold.Release(WantsShown());
    if (FTimer) FTimer->SetEnabled(false);
    FMenus->FreeSysMenu();
    FMenus->RestoreFormMenus();
    if (!Subclassed()) return;
    FFormHook.Detach();
    FWindowHook.Detach();
    FAdapters.FreeControls();
    if (!life.Alive()) return;
    if (FForm != nullptr && FOldColor && !destroying) FForm->SetColor(*FOldColor);
    FClientHook.Detach();
    if (destroying) {
        FMenus->ReleaseMenuBar(false);
        if (FShape.FOriginalRegion != nullptr) ::DeleteObject(std::exchange(FShape.FOriginalRegion, nullptr));
        return;
    }
    if (FSkinMainMenu) {
        // The styles the skin took off, as they were.
        LONG style = ::GetWindowLongA(FHandle, GWL_STYLE);
        style = (style & ~(WS_SYSMENU | WS_CAPTION)) | (FOriginalStyle & (WS_SYSMENU | WS_CAPTION));
        ::SetWindowLongA(FHandle, GWL_STYLE, style);
        FStyle = style;
        if ((FClass.MDIKind == mdiChild || !FChild) && FClass.FrameKind != fkNoCaption) FShape.RestoreOuterSize();
        // After the outer size: the window's own bar then takes its height from the client area.
        FMenus->ReleaseMenuBar(true);
    }
    // The window's own region (or none) is given back; ours belongs to the system.
    if (HRGN own = std::exchange(FShape.FOriginalRegion, nullptr); ::SetWindowRgn(FHandle, own, TRUE) == 0 && own != nullptr)
        ::DeleteObject(own);
    FShape.FRegion = nullptr;
    FShape.FRegionSet = false;
}

void TWinSkinForm::DetachWindow()
{
    FSkinningHold.Drop();
    if (FTimer) FTimer->SetEnabled(false);
    FMenus->FreeSysMenu();
    FMenus->RestoreFormMenus();
    if (!Subclassed()) return;
    FFormHook.Detach();
    FWindowHook.Detach();
    FClientHook.Detach();
    FMenus->ReleaseMenuBar(false);
    FAdapters.FreeControls();
    if (FShape.FOriginalRegion != nullptr) ::DeleteObject(std::exchange(FShape.FOriginalRegion, nullptr));
}

void TWinSkinForm::ChildCaptionStyleChanged(bool Maximized)
{
    if (Maximized) {
        FShape.ClearRegion();
        SetCaptionStyle(true);
    } else if (FWindowState == fwsMinimized) {
        SetCaptionStyle(true);
    } else {
        FWindowState = fwsNormal;
        FShape.UpdateRegion();
        SetCaptionStyle(false);
        if (!FShape.FRegionSet) FrameChanged();
    }
}

void TWinSkinForm::SetSysMenuStyle(bool Remove)
{
    if (FClass.ButtonSet & bsCaptionToggle) return;
    FStyle = ::GetWindowLongA(FHandle, GWL_STYLE);
    LONG style = FStyle;
    if (Remove) style &= ~WS_SYSMENU;
    else if (FSysMenu != nullptr) style |= WS_SYSMENU;
    // Writing an unchanged style still costs a round trip and style messages.
    if (style == FStyle) return;
    FStyle = style;
    ::SetWindowLongA(FHandle, GWL_STYLE, FStyle);
}

void TWinSkinForm::UpdateWindowState()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(FHandle, &placement)) return;
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED: case SW_MINIMIZE: case SW_SHOWMINNOACTIVE: FWindowState = fwsMinimized; break;
    case SW_SHOWMAXIMIZED: FWindowState = fwsMaximized; break;
    default: FWindowState = fwsNormal; break;
    }
}

void TWinSkinForm::FindMDIClient()
{
    FClass.MDIKind = mdiNone;
    for (HWND child = ::GetTopWindow(FHandle); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowClassName(child) != "MDIClient") continue;
        FClass.MDIKind = mdiFrame;
        FMDIClient = child;
        if (FrameHost != nullptr) FrameHost->SetMDIClient(child, FForm);
        return;
    }
}

void TWinSkinForm::FrameChanged()
{
    ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool TWinSkinForm::IsMDIChildMaximized() const
{
    if (FClass.MDIKind != mdiFrame || FMDIClient == nullptr) return false;
    BOOL maximized = FALSE;
    const auto child = reinterpret_cast<HWND>(
        ::SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    return child != nullptr && maximized;
}

TNCObject* TWinSkinForm::ObjectAt(POINT P) const
{
    if (TNCObject* button = FTitle.SysButtonAt(P)) return button;
    return FMenus->MenuBar() ? FMenus->MenuBar()->ButtonAt(P) : nullptr;
}
