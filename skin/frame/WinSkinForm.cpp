// The frame object's life: attaching to a window (style analysis,
// subclassing), applying the skin frame's size, re-skinning, and the two ways
// of letting go (unskin: the window keeps running with its own look; detach:
// the window is being destroyed).
#include "skin/frame/WinSkinForm.h"

#include "skin/data/WinSkinData.h"
#include "skin/manager/WinSkinDlg.h"
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
      FSmallIcon(std::make_unique<TBitmap>()), FTitleBitmap(std::make_unique<TBitmap>()),
      FPartBitmap(std::make_unique<TBitmap>())
{
    FDoubleClickTime = ::GetDoubleClickTime();
    UpdateCaptionFont();
    FSmallIcon->SetPixelFormat(TPixelFormat::pf24bit);
    FTitleBitmap->SetPixelFormat(TPixelFormat::pf24bit);
    FPartBitmap->SetPixelFormat(TPixelFormat::pf24bit);
}

TWinSkinForm::~TWinSkinForm()
{
    // Nothing may call into a freed object: a window still subclassed (its
    // owner freed it while the window lives) gets back what the skin took.
    FreeControls();
    if (Subclassed()) {
        if (::IsWindow(FHandle) && FSkinState != ssDestroying && FSkinState != ssDestroyed) Unskin();
        else DetachWindow();
    }
    FClientHook.Detach();
    if (FDestroyMenuPending) ReleaseMenuBar(false);
    RestoreFormMenus();
    FreeSysMenu();
    ClearSysButtons();
    FTimer.reset();
    if (SkinManager != nullptr) SkinManager->RemoveForm(this);
}

void TWinSkinForm::UpdateCaptionFont()
{
    FCaptionFont = std::make_unique<TFont>();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return;
    FCaptionFont->AssignLogFont(metrics.lfCaptionFont);
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
    SwitchFormMenus();
    FOldColor = Form->Color();
    FColorTaken = true;
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
    if (SkinManager != nullptr) SkinManager->SetRunning();
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
    FClassName = GetWindowClassName(FHandle);
    FOwnerWindow = ::GetWindow(FHandle, GW_OWNER);
    FButtonSet = 0;
    if ((FStyle & WS_SYSMENU) || FSysMenu != nullptr) FButtonSet |= bsSysMenu;
    if (FStyle & WS_MINIMIZEBOX) FButtonSet |= bsMinimize;
    if (FStyle & WS_MAXIMIZEBOX) FButtonSet |= bsMaximize;
    UpdateWindowState();
    MeasureOwnFrame();
    FindMDIClient();
    if (ex & WS_EX_MDICHILD) {
        FMDIKind = mdiChild;
        if (Data->Options() & SkinBit(xoMDIChildBorder)) FSkinMainMenu = false;
    }
    FFrameKind = fkFixed;
    if ((FStyle & WS_CAPTION) == 0) FFrameKind = fkNoCaption;
    else if (FStyle & WS_THICKFRAME) FFrameKind = fkSizeable;
    else if (FStyle & DS_MODALFRAME) FFrameKind = fkDialog;
    if (ex & WS_EX_DLGMODALFRAME) FFrameKind = fkDialog;
    if (((ex & WS_EX_APPWINDOW) && VersionTogglesCaption(true)) ||
        (FOwnerWindow == nullptr && FMDIKind != mdiChild && VersionTogglesCaption(false)))
        FButtonSet |= bsCaptionToggle;
    FDialog = false;
    if (FClassName == "#32770" || FClassName == "TMessageForm") {
        FFrameKind = fkDialog;
        FDialog = true;
    }
    if (SkinWinVersion >= 0x80000000u) Data->SetSkinControls(Data->SkinControls() & ~SkinBit(xcSystemMenu));
    if (FMDIKind == mdiFrame) {
        FMenuUpdate = Data->MenuUpdate();
        FClientHook.Attach(FMDIClient);
    }
    if (!FWindowHook.Attach(FHandle)) throw ESkinAttachError("the window cannot be subclassed");
    // The region the window had of its own, given back by Unskin.
    HRGN own = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(FHandle, own) != ERROR) FOriginalRegion = own;
    else ::DeleteObject(own);

    if (FSkinMainMenu) {
        RECT before{}, after{};
        ::GetClientRect(FHandle, &before);
        TakeMenuBar();
        ::GetClientRect(FHandle, &after);
        FMenuTakenGrowth = FMenuBar ? after.bottom - before.bottom : 0;
    }
    if (FSkinMainMenu) {
        if (!((FMDIKind == mdiChild && SkinManager != nullptr && SkinManager->ChildMaximized()) ||
              FWindowState == fwsMinimized))
            SetCaptionStyle(false);
        CreateSysButtons();
    } else {
        FSkinState = ssActive;
    }
    if (FMDIKind == mdiChild) {
        const int c = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CXFRAME);
        if (c > FTitleHeight) FMenuBarHeight = c - FTitleHeight;
        if (FWindowState == fwsMaximized && SkinManager != nullptr && !SkinManager->ChildMaximized())
            SkinManager->SetChildCaptionStyle(true);
    }
}

void TWinSkinForm::SetCaptionStyle(bool On)
{
    if (!(FButtonSet & bsCaptionToggle)) return;
    FStyle = ::GetWindowLongA(FHandle, GWL_STYLE);
    FStyle = On ? (FStyle | WS_CAPTION) : (FStyle & ~WS_CAPTION);
    ::SetWindowLongA(FHandle, GWL_STYLE, FStyle);
}

void TWinSkinForm::UpdateRects()
{
    ::GetClientRect(FHandle, &FClientRect);
}

// The window's own frame, before the skin changes anything: a minimized
// window's rectangles say nothing of it, so its styles do.
void TWinSkinForm::MeasureOwnFrame()
{
    RECT window{}, client{};
    if (!::IsIconic(FHandle) && ::GetWindowRect(FHandle, &window) && ::GetClientRect(FHandle, &client)) {
        FFrameRect = {0, 0, (window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
        return;
    }
    RECT r{0, 0, 0, 0};
    const bool menu = !FChild && ::GetMenu(FHandle) != nullptr;
    ::AdjustWindowRectEx(&r, static_cast<DWORD>(FStyle), menu, static_cast<DWORD>(::GetWindowLongA(FHandle, GWL_EXSTYLE)));
    FFrameRect = {0, 0, r.right - r.left, r.bottom - r.top};
}

void TWinSkinForm::ApplyFrameSize(bool UseClientRect)
{
    constexpr UINT keepAll = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    if (FWindowState == fwsMaximized) {
        ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, keepAll);
        return;
    }
    RECT window{};
    ::GetWindowRect(FHandle, &window);
    if (FDialog || FSkinState == ssReskinning) ::GetClientRect(FHandle, &FClientRect);
    int width = FClientRect.right + FBorderLeft + FBorderRight;
    // Once: the client area as it was with the window's own menu bar.
    const int growth = std::exchange(FMenuTakenGrowth, 0);
    int clientHeight = FClientRect.bottom - growth;
    if (UseClientRect) {
        const SIZE client = KeptClientSize();
        FClientRect = {0, 0, client.cx, client.cy};
        width = client.cx + FBorderLeft + FBorderRight;
        clientHeight = client.cy;
    } else if (FForm != nullptr) {
        const RECT client = FForm->ClientRect();
        width = client.right + FBorderLeft + FBorderRight;
        clientHeight = client.bottom - growth;
    }
    int height = clientHeight + FTitleHeight + FBorderBottom + FMenuBarHeight;
    if (FDialog && !UseClientRect) {
        FWindowText.assign(static_cast<size_t>(::GetWindowTextLengthW(FHandle)), L'\0');
        if (!FWindowText.empty())
            FWindowText.resize(static_cast<size_t>(
                ::GetWindowTextW(FHandle, FWindowText.data(), static_cast<int>(FWindowText.size()) + 1)));
        SIZE size{};
        {
            const TWindowDC dc(FHandle, ::GetWindowDC(FHandle));
            const TSelectObject font(dc.Get(), FCaptionFont->Handle());
            ::GetTextExtentPoint32W(dc.Get(), FWindowText.c_str(), static_cast<int>(FWindowText.size()), &size);
        }
        FCaptionWidth = size.cx;
        // The caption starts its shift after the left border.
        const int needed =
            FBorderLeft + FSkinData->FTitle->FLeftWidth + FCaptionWidth + FSkinData->FTitle->FRightWidth;
        if (width < needed) {
            const int shift = (needed - width) / 2;
            for (HWND child = ::GetWindow(FHandle, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
                RECT r{};
                ::GetWindowRect(child, &r);
                POINT p{r.left, r.top};
                ::ScreenToClient(FHandle, &p);
                ::SetWindowPos(child, nullptr, p.x + shift, p.y, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
            }
            width = needed;
        }
    }
    FFrameApplied = true;
    FKeptClient = {width - FBorderLeft - FBorderRight, height - FTitleHeight - FBorderBottom - FMenuBarHeight};
    ::SetWindowPos(FHandle, nullptr, 0, 0, width, height,
                   SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
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
    UpdateControls();
    if (!life.Alive()) return;
    FSkinState = ssReskinning;
    if (FSkinMainMenu && FForm != nullptr) {
        ApplyFrameSize(true);
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
    ::SendMessageA(FHandle, WM_SKIN_SKINNED, 0, SkinMagic);
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
    FreeSysMenu();
    RestoreFormMenus();
    if (!Subclassed()) return;
    FFormHook.Detach();
    FWindowHook.Detach();
    FreeControls();
    if (!life.Alive()) return;
    if (FForm != nullptr && FColorTaken && !destroying) FForm->SetColor(FOldColor);
    FClientHook.Detach();
    if (destroying) {
        ReleaseMenuBar(false);
        if (FOriginalRegion != nullptr) ::DeleteObject(std::exchange(FOriginalRegion, nullptr));
        return;
    }
    if (FSkinMainMenu) {
        // The styles the skin took off, as they were.
        LONG style = ::GetWindowLongA(FHandle, GWL_STYLE);
        style = (style & ~(WS_SYSMENU | WS_CAPTION)) | (FOriginalStyle & (WS_SYSMENU | WS_CAPTION));
        ::SetWindowLongA(FHandle, GWL_STYLE, style);
        FStyle = style;
        if ((FMDIKind == mdiChild || !FChild) && FFrameKind != fkNoCaption) RestoreOuterSize();
        // After the outer size: the window's own bar then takes its height from the client area.
        ReleaseMenuBar(true);
    }
    // The window's own region (or none) is given back; ours belongs to the system.
    if (HRGN own = std::exchange(FOriginalRegion, nullptr); ::SetWindowRgn(FHandle, own, TRUE) == 0 && own != nullptr)
        ::DeleteObject(own);
    FRegion = nullptr;
    FRegionSet = false;
}

// The outer size that gives the client area the size it has now inside the
// window's own frame. A maximized or minimized window gets it for the place
// it returns to, unless the skin never resized that place.
void TWinSkinForm::RestoreOuterSize()
{
    if (::IsZoomed(FHandle) || ::IsIconic(FHandle)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (FFrameApplied && ::GetWindowPlacement(FHandle, &placement)) {
            placement.rcNormalPosition.right += FFrameRect.right - FBorderLeft - FBorderRight;
            placement.rcNormalPosition.bottom += FFrameRect.bottom - FTitleHeight - FBorderBottom - FMenuBarHeight;
            ::SetWindowPlacement(FHandle, &placement);
        }
        FrameChanged();
        return;
    }
    RECT r{};
    ::GetWindowRect(FHandle, &r);
    const SIZE client = KeptClientSize();
    POINT p{r.left, r.top};
    if (FMDIKind == mdiChild) ::ScreenToClient(::GetParent(FHandle), &p);
    ::SetWindowPos(FHandle, nullptr, p.x, p.y, client.cx + FFrameRect.right, client.cy + FFrameRect.bottom,
                   SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
}

SIZE TWinSkinForm::KeptClientSize() const
{
    if (FFrameApplied) return FKeptClient;
    RECT client{};
    ::GetClientRect(FHandle, &client);
    return {client.right, client.bottom};
}

void TWinSkinForm::DetachWindow()
{
    FSkinningHold.Drop();
    if (FTimer) FTimer->SetEnabled(false);
    FreeSysMenu();
    RestoreFormMenus();
    if (!Subclassed()) return;
    FFormHook.Detach();
    FWindowHook.Detach();
    FClientHook.Detach();
    ReleaseMenuBar(false);
    FreeControls();
    if (FOriginalRegion != nullptr) ::DeleteObject(std::exchange(FOriginalRegion, nullptr));
}

void TWinSkinForm::FreeSysMenu()
{
    FSysMenuPopup.reset();
}

void TWinSkinForm::ChildCaptionStyleChanged(bool Maximized)
{
    if (Maximized) {
        ClearRegion();
        SetCaptionStyle(true);
    } else if (FWindowState == fwsMinimized) {
        SetCaptionStyle(true);
    } else {
        FWindowState = fwsNormal;
        UpdateRegion();
        SetCaptionStyle(false);
        if (!FRegionSet) FrameChanged();
    }
}
