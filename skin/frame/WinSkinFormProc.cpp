// The frame object's window procedures: SkinWndProc (the skinned window's
// own procedure, in three stages), FormWindowProc (a class-library form's
// WindowProc), the MDI client's procedure, and the 250 ms timer; the
// handlers of the title, the shape and the menus are their parts'. Every
// handler that passes a message on checks afterwards that its frame object
// still exists: a handler further down may destroy the window or free it.
#include "skin/frame/WinSkinForm.h"

#include "skin/data/WinSkinData.h"
#include "skin/frame/FrameHost.h"
#include "skin/frame/WinSkinMenu.h"
#include "skin/adapters/SkinControl.h"
#include "classlib/Forms.h"
#include "skin/SkinWindowMessages.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace {

constexpr UINT WM_UNDOCUMENTED_AE = 0xAE;

}  // namespace

void TWinSkinForm::SkinWndProc(TMessage& Message)
{
    const TToken life = Token();
    if (FSkinState == ssAttached && Message.Msg == WM_NCPAINT) {
        // The window's drawing waits for the activation to skin it, so it
        // is painted once and with its skin; only once it is active, for a
        // control cannot take the focus while its window's drawing is held.
        if (FActivationPosted && ::GetActiveWindow() == FHandle) FSkinningHold.Hold(FHandle);
        Message.Result = 0;
        return;
    }
    // Stage 1: every window.
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        WMEraseBkgnd(Message);
        return;
    case WM_NCDESTROY:
        FSkinState = ssDestroying;
        DetachWindow();
        if (CallDefault(Message)) FSkinState = ssDestroyed;
        return;
    case WM_UNDOCUMENTED_AE:
        Message.Result = 0;
        return;
    case WM_INITMENUPOPUP:
        if (FrameHost != nullptr)
            FrameHost->SetMenuKind(reinterpret_cast<HMENU>(Message.WParam) == FSysMenu ? mnkSystemMenu : mnkMenuBar);
        CallDefault(Message);
        return;
    case WM_CTLCOLORBTN:
        if (CallDefault(Message) && FForm == nullptr) ::SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
        return;
    case WM_CTLCOLORSTATIC:
        WMCtlColorStatic(Message);
        return;
    case WM_SKIN_ACTIVATE:
        Activate();
        return;
    case WM_SKIN_RESKINSCROLL:
        FAdapters.ReskinScrollControl(reinterpret_cast<HWND>(Message.WParam));
        Message.Result = 0;
        return;
    case WM_SKIN_QUERY:
        Message.Result = 1;
        return;
    case WM_SETTINGCHANGE:
        // The skinned menus draw with the class library's menu font.
        MenuMetricsChanged();
        break;
    case WM_SKIN_CHILDMADE: {
        if (Message.LParam != kSkinMagic) break;
        const auto child = reinterpret_cast<HWND>(Message.WParam);
        if (::IsWindow(child) && ::GetParent(child) == FHandle) SkinChildWindow(child);
        if (life.Alive()) Message.Result = 0;
        return;
    }
    case WM_NCACTIVATE:
        if (FSkinState == ssAttached && FClass.MDIKind != mdiChild) {
            Message.Result = 0;
            return;
        }
        break;
    default:
        break;
    }
    if (!FSkinMainMenu || (FChild && FClass.MDIKind != mdiChild)) {
        CallDefault(Message);
        return;
    }

    // Stage 2: MDI children and top-level windows with a skinned frame.
    bool goesOn = false;
    switch (Message.Msg) {
    case WM_SIZE:
        WMSize(Message);
        break;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
        FActive = (Message.WParam & 0xFF) != 0;
        goesOn = true;
        break;
    case WM_GETMINMAXINFO:
        FShape.WMGetMinMaxInfo(Message);
        break;
    case WM_WINDOWPOSCHANGED:
        UpdateWindowState();
        CallDefault(Message);
        break;
    case WM_COMMAND:
        WMCommand(Message);
        break;
    case WM_SYSCOMMAND:
        WMSysCommand(Message);
        break;
    case WM_SKIN_MENUAT:
        if (FMenus->MenuBar())
            FMenus->OpenMenuButton(dynamic_cast<TMenuBtn*>(ObjectAt(FShape.ScreenToWindow(Message.LParam))), false);
        if (life.Alive()) Message.Result = 0;
        break;
    case CM_MENUCHANGED:
        FMenus->CMMenuChanged(Message);
        break;
    default:
        goesOn = true;
        break;
    }
    if (!life.Alive()) return;

    // Stage 3: the skinned frame itself. WM_SIZE was handled above, once: the
    // application must not see one size change twice.
    if ((FClass.MDIKind == mdiChild && FWindowState == fwsMaximized) || FSkinState == ssAttached) {
        if (goesOn) CallDefault(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_WINDOWPOSCHANGING:
        CallDefault(Message);
        return;
    case WM_NCCALCSIZE:
        FShape.WMNCCalcSize(Message);
        return;
    case WM_NCHITTEST:
        FShape.WMNCHitTest(Message);
        return;
    case WM_NCPAINT:
        WMNCPaint(Message);
        return;
    case WM_NCACTIVATE:
        WMNCActivate(Message);
        return;
    case WM_NCMOUSEMOVE:
        FTitle.WMNCMouseMove(Message);
        return;
    case WM_NCLBUTTONDOWN:
        FTitle.WMNCLButtonDown(Message);
        return;
    case WM_NCLBUTTONUP:
        FTitle.WMNCLButtonUp(Message);
        return;
    case WM_NCLBUTTONDBLCLK:
        FTitle.WMNCLButtonDblClk(Message);
        return;
    case WM_NCRBUTTONDOWN:
        FTitle.WMNCRButtonDown(Message);
        return;
    case WM_SKIN_PAINTNC:
        FShape.PaintNC(nullptr);
        return;
    case WM_DRAWITEM:
        FMenus->WMDrawItem(Message);
        return;
    case WM_MEASUREITEM:
        FMenus->WMMeasureItem(Message);
        return;
    case WM_MENUCHAR:
        FMenus->WMMenuChar(Message);
        return;
    default:
        if (goesOn) CallDefault(Message);
        return;
    }
}

void TWinSkinForm::Activate()
{
    const TToken life = Token();
    // However the activation ends, a window that lives on is drawn again.
    struct TReleaseAtEnd {
        TWinSkinForm& Form;
        const TToken& Life;
        ~TReleaseAtEnd() { if (Life.Alive()) Form.FSkinningHold.Release(Form.WantsShown()); }
    } releaseAtEnd{*this, life};
    FActivationPosted = false;
    FSysMenu = ::GetSystemMenu(FHandle, FALSE);
    FTitle.LoadWindowIcon(FTitle.SmallIcon());
    FShape.UpdateRects();
    FSkinningHold.Hold(FHandle);
    if (FForm != nullptr) SkinFormControls(FForm);
    else SkinChildWindows(FHandle);
    if (!life.Alive()) return;
    if (FSkinState == ssAttached) {
        if (FClass.MDIKind == mdiChild) {
            if (FWindowState == fwsMaximized) {
                if (FrameHost != nullptr && FrameHost->MDIClient() != nullptr)
                    ::PostMessageA(FrameHost->MDIClient(), WM_SKIN_MDIMAXIMIZED, reinterpret_cast<WPARAM>(FHandle), 0);
            } else if (FWindowState == fwsMinimized) {
                SetCaptionStyle(true);
            } else {
                FSkinState = ssResizing;
                FShape.ApplyFrameSize(false);
                if (!life.Alive()) return;
                FSkinState = ssActive;
                FShape.UpdateRegion();
            }
        } else if (!FChild && FClass.FrameKind != fkNoCaption && FWindowState != fwsMinimized) {
            FSkinState = ssResizing;
            FShape.ApplyFrameSize(false);
            if (!life.Alive()) return;
            FSkinState = ssActive;
            if (FWindowState == fwsNormal) FShape.UpdateRegion();
            else FrameChanged();
        }
    }
    if (!life.Alive()) return;
    FSkinningHold.Release(WantsShown());
    NotifySkinned();
    if (!life.Alive()) return;
    FSkinState = ssActive;
    FTimer->SetEnabled(true);
}

void TWinSkinForm::WMEraseBkgnd(TMessage& Message)
{
    if (!CallDefault(Message) || FForm != nullptr) return;
    RECT r{};
    ::GetClientRect(FHandle, &r);
    ::FillRect(reinterpret_cast<HDC>(Message.WParam), &r, static_cast<HBRUSH>(FSkinData->FFaceBrush.Get()));
    Message.Result = 1;
}

void TWinSkinForm::WMCtlColorStatic(TMessage& Message)
{
    if (!CallDefault(Message) || FForm != nullptr) return;
    ::SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
    Message.Result = reinterpret_cast<LRESULT>(FSkinData->FFaceBrush.Get());
}

void TWinSkinForm::WMSize(TMessage& Message)
{
    if (!CallDefault(Message)) return;
    switch (Message.WParam) {
    case SIZE_RESTORED: FWindowState = fwsNormal; break;
    case SIZE_MINIMIZED: FWindowState = fwsMinimized; break;
    case SIZE_MAXIMIZED: FWindowState = fwsMaximized; break;
    default: break;
    }
    if (FWindowState == fwsMinimized) return;
    if (FClass.MDIKind == mdiChild && ((FrameHost != nullptr && FrameHost->ChildMaximized()) || FWindowState != fwsNormal)) return;
    // A size given while skinned is the one to keep; those of the skin's own
    // resizing (which the system may cut down) are not.
    if (FSkinState == ssActive && FWindowState == fwsNormal && FShape.FFrameApplied) {
        RECT client{};
        ::GetClientRect(FHandle, &client);
        FShape.FKeptClient = {client.right, client.bottom};
    }
    if (FSkinState == ssActive || FSkinState == ssReskinning) FShape.UpdateRegion();
}

void TWinSkinForm::WMCommand(TMessage& Message)
{
    const UINT id = LOWORD(Message.WParam);
    switch (id) {
    case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE:
    case SC_NEXTWINDOW: case SC_PREVWINDOW: case SC_CLOSE: case SC_RESTORE:
        ::PostMessageA(FHandle, WM_SYSCOMMAND, id, 0);
        Message.Result = 0;
        return;
    default:
        CallDefault(Message);
    }
}

void TWinSkinForm::WMSysCommand(TMessage& Message)
{
    if (FMenus->IsTracking()) {
        CallDefault(Message);
        return;
    }
    const TToken life = Token();
    const UINT command = Message.WParam & 0xFFF0;
    if (command == SC_KEYMENU) {
        const LPARAM key = Message.LParam;
        if (key != ' ' && key != '-' && ::GetCapture() == nullptr) {
            // Alt alone or F10 opens the bar's first button; a key with no
            // bar button of its own goes on. A window that a modal form
            // disabled opens nothing.
            TMenuBtn* button = nullptr;
            if (FMenus->MenuBar() && ::IsWindowEnabled(FHandle))
                button = key == 0 ? FMenus->MenuBar()->Button(0)
                                  : FMenus->MenuBar()->FindAccelButton(static_cast<wchar_t>(key));
            if (key == 0 || button != nullptr) {
                FMenus->OpenMenuButton(button, true);
                if (life.Alive()) Message.Result = 1;
                return;
            }
        } else if (key == ' ') {
            POINT p{0, 0};
            ::ClientToScreen(FHandle, &p);
            FMenus->ShowSystemMenu(p);
            if (!life.Alive()) return;
        }
    }
    switch (command) {
    case SC_MINIMIZE:
        FWindowState = fwsMinimized;
        if (FClass.MDIKind == mdiChild) SetCaptionStyle(true);
        break;
    case SC_MAXIMIZE:
        FWindowState = fwsMaximized;
        break;
    case SC_RESTORE:
        FWindowState = fwsNormal;
        if (FClass.MDIKind == mdiChild) {
            SetCaptionStyle(false);
            if (FrameHost != nullptr && FrameHost->ChildMaximized()) FrameHost->SetChildCaptionStyle(false);
        }
        break;
    default:
        break;
    }
    CallDefault(Message);
}

void TWinSkinForm::WMNCPaint(TMessage& Message)
{
    SetSysMenuStyle(true);
    if (FSkinData->FPaintEnabled) {
        if ((FClass.MDIKind == mdiChild && FWindowState == fwsMaximized) || FClass.FrameKind == fkNoCaption) {
            CallDefault(Message);
            return;
        }
        FShape.PaintNC(nullptr);
    }
    Message.Result = 0;
}

void TWinSkinForm::WMNCActivate(TMessage& Message)
{
    const TToken life = Token();
    FActive = Message.WParam != 0;
    FTimer->SetEnabled(Message.WParam != 0);
    if (Message.WParam == 0 && FAdapters.HotControl() != nullptr) {
        FAdapters.SetHotControl(nullptr);
        if (!life.Alive()) return;
    }
    if (FClass.MDIKind == mdiFrame && FMDIClient != nullptr) {
        ::SendMessageA(FMDIClient, WM_NCACTIVATE, Message.WParam, 0);
        if (!life.Alive()) return;
    } else if (FClass.MDIKind == mdiChild) {
        if (!CallDefault(Message)) return;
    }
    if (!(FClass.MDIKind == mdiChild && FWindowState == fwsMaximized)) FShape.PaintNC(nullptr);
    Message.Result = 1;
}

void TWinSkinForm::ToggleMaximize()
{
    if (FWindowState == fwsMaximized) {
        RestoreWindow();
        return;
    }
    if (FClass.MDIKind == mdiChild && FrameHost != nullptr) FrameHost->SetChildCaptionStyle(true);
    FWindowState = fwsMaximized;
    ::PostMessageA(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    FTitle.SetHotObject(nullptr);
}

void TWinSkinForm::ToggleMinimize()
{
    if (FWindowState == fwsMinimized) {
        RestoreWindow();
        return;
    }
    FWindowState = fwsMinimized;
    SetSysMenuStyle(false);
    ::PostMessageA(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::RestoreWindow()
{
    FWindowState = fwsNormal;
    ::PostMessageA(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::MDIChildCommand(UINT Command)
{
    if (FClass.MDIKind != mdiFrame || FMDIClient == nullptr) return;
    const auto child = reinterpret_cast<HWND>(::SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, 0));
    if (child != nullptr) ::SendMessageA(child, WM_SYSCOMMAND, Command, 0);
}

void TWinSkinForm::TimerTick(TObject*)
{
    if (FMenus->IsTracking()) return;
    POINT cursor{};
    if (!::GetCursorPos(&cursor)) return;
    if (FTitle.HotObject() != nullptr) {
        const POINT p = FShape.ScreenToWindow(MAKELPARAM(cursor.x, cursor.y));
        if (!::PtInRect(&FTitle.HotObject()->FRect, p)) {
            FTitle.HotObject()->MouseLeave();
            FTitle.SetHotObject(nullptr);
        }
    }
    // Adapters on a class-library form ask their controls for WM_MOUSELEAVE;
    // those of a plain window's children are watched here.
    RECT hot{};
    if (FForm == nullptr && FAdapters.HotControl() != nullptr &&
        (!::GetWindowRect(FAdapters.HotControl()->Handle(), &hot) || !::PtInRect(&hot, cursor)))
        FAdapters.SetHotControl(nullptr);
}

void TWinSkinForm::FormWindowProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETTEXT:
        WMSetText(Message);
        return;
    case WM_SKIN_RESKIN:
        UpdateSkin();
        return;
    case WM_SKIN_PRINTNC:
        if (Message.LParam != kSkinMagic) return;
        if (Message.WParam != 0) FShape.PaintNC(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = kSkinMagic;
        return;
    case WM_SKIN_PING:
        Message.Result = Message.LParam == kSkinMagic ? kSkinMagic : 1;
        return;
    case CM_DIALOGCHAR:
        CMDialogChar(Message);
        return;
    case CM_POPUPSHOWING: {
        const TToken life = Token();
        FFormHook.CallDefault(Message);
        if (life.Alive() && FSkinState == ssActive) FMenus->SwitchFormMenus();
        return;
    }
    default:
        FFormHook.CallDefault(Message);
        return;
    }
}

// An Alt+letter typed in one of the form's controls. The bar's drop-down
// opens from a posted menu key, as Alt+letter on the form itself opens it,
// once the control's key handling is over. A letter the bar has not is the
// MDI frame's (from a child) or the main form's (from any other form).
void TWinSkinForm::CMDialogChar(TMessage& Message)
{
    const TToken life = Token();
    FFormHook.CallDefault(Message);
    if (!life.Alive() || Message.Result != 0) return;
    const bool altOnly = ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0;
    const auto key = static_cast<wchar_t>(Message.WParam);
    if (altOnly && FMenus->MenuBar() && !FMenus->IsTracking() && ::IsWindowEnabled(FHandle) &&
        FMenus->MenuBar()->FindAccelButton(key)) {
        ::PostMessageW(FHandle, WM_SYSCOMMAND, SC_KEYMENU, key);
        Message.Result = 1;
        return;
    }
    TControl* next = nullptr;
    if (FClass.MDIKind == mdiChild) next = FrameHost != nullptr ? FrameHost->MDIForm() : nullptr;
    else if (Application->MainForm() != FForm) next = Application->MainForm();
    auto* form = dynamic_cast<TWinControl*>(next);
    // Taken there, the key must not go on to the control as its own menu key.
    if (form != nullptr && form->HandleAllocated())
        Message.Result = ::SendMessageW(form->Handle(), CM_DIALOGCHAR, Message.WParam, Message.LParam);
}

void TWinSkinForm::WMSetText(TMessage& Message)
{
    if (!::IsWindowVisible(FHandle)) {
        FFormHook.CallDefault(Message);
        return;
    }
    if (FWindowHook.Unicode() || FClass.MDIKind == mdiChild) {
        if (!FFormHook.CallDefault(Message)) return;
    } else {
        const TToken life = Token();
        const HWND window = FHandle;
        ::SendMessageA(window, WM_SETREDRAW, 0, 0);
        FFormHook.CallDefault(Message);
        ::SendMessageA(window, WM_SETREDRAW, 1, 0);
        if (Application != nullptr) Application->ProcessMessages();
        if (!life.Alive()) return;
    }
    if (FWindowState == fwsMaximized && FClass.MDIKind == mdiChild) {
        if (FrameHost != nullptr && FrameHost->MDIClient() != nullptr)
            ::PostMessageA(FrameHost->MDIClient(), WM_SKIN_MDIMAXIMIZED, reinterpret_cast<WPARAM>(FHandle), 0);
    } else if (FWindowState == fwsMinimized) {
        FShape.PaintNC(nullptr);
    } else {
        FrameChanged();
    }
}

void TWinSkinForm::MDIClientWndProc(TMessage& Message)
{
    auto passOn = [&] { return FClientHook.CallDefault(Message); };
    const bool skinned = FSkinMainMenu;
    switch (Message.Msg) {
    case WM_NCDESTROY:
        if (passOn()) FClientHook.Detach();
        return;
    case WM_NCCALCSIZE:
        if (skinned && !(FSkinData->Options() & SkinBit(xoMDIScrollbar))) {
            const LONG style = ::GetWindowLongA(FMDIClient, GWL_STYLE);
            ::SetWindowLongA(FMDIClient, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
        }
        passOn();
        return;
    case WM_MDICREATE:
        FSkinData->SetMenuUpdate(false);
        passOn();
        return;
    case WM_MDIDESTROY:
        if (passOn() && skinned && FrameHost != nullptr) FrameHost->SetChildCaptionStyle(IsMDIChildMaximized());
        return;
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (skinned && FrameHost != nullptr && FrameHost->ChildMaximized()) FrameHost->SetChildCaptionStyle(false);
        passOn();
        return;
    case WM_MDISETMENU: {
        // The client gives the frame its new menu; the bar shows it instead.
        const auto menu = reinterpret_cast<HMENU>(Message.WParam);
        const TToken life = Token();
        FMenus->SetMenuChanging(menu != nullptr);
        passOn();
        if (!life.Alive()) return;
        FMenus->SetMenuChanging(false);
        if (skinned && menu != nullptr && FMenus->MenuBar()) FMenus->ShowMenuBar(menu);
        return;
    }
    case WM_SKIN_MDIMAXIMIZED:
        ::RedrawWindow(FHandle, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        Message.Result = 0;
        return;
    default:
        passOn();
        return;
    }
}
