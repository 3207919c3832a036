// The frame object's window procedures: SkinWndProc (the skinned window's
// own procedure, in three stages), FormWindowProc (a class-library form's
// WindowProc), the MDI client's procedure, and the 250 ms timer. Every
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

bool IsTitleMenuKind(int Kind)
{
    return Kind == taSysMenu || Kind == taIcon;
}

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
        ReskinScrollControl(reinterpret_cast<HWND>(Message.WParam));
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
        if (Message.LParam != SkinMagic) break;
        const auto child = reinterpret_cast<HWND>(Message.WParam);
        if (::IsWindow(child) && ::GetParent(child) == FHandle) SkinChildWindow(child);
        if (life.Alive()) Message.Result = 0;
        return;
    }
    case WM_NCACTIVATE:
        if (FSkinState == ssAttached && FMDIKind != mdiChild) {
            Message.Result = 0;
            return;
        }
        break;
    default:
        break;
    }
    if (!FSkinMainMenu || (FChild && FMDIKind != mdiChild)) {
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
        WMGetMinMaxInfo(Message);
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
        if (FMenuBar) OpenMenuButton(dynamic_cast<TMenuBtn*>(ObjectAt(ScreenToWindow(Message.LParam))), false);
        if (life.Alive()) Message.Result = 0;
        break;
    case CM_MENUCHANGED:
        CMMenuChanged(Message);
        break;
    default:
        goesOn = true;
        break;
    }
    if (!life.Alive()) return;

    // Stage 3: the skinned frame itself. WM_SIZE was handled above, once: the
    // application must not see one size change twice.
    if ((FMDIKind == mdiChild && FWindowState == fwsMaximized) || FSkinState == ssAttached) {
        if (goesOn) CallDefault(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_WINDOWPOSCHANGING:
        CallDefault(Message);
        return;
    case WM_NCCALCSIZE:
        WMNCCalcSize(Message);
        return;
    case WM_NCHITTEST:
        WMNCHitTest(Message);
        return;
    case WM_NCPAINT:
        WMNCPaint(Message);
        return;
    case WM_NCACTIVATE:
        WMNCActivate(Message);
        return;
    case WM_NCMOUSEMOVE:
        WMNCMouseMove(Message);
        return;
    case WM_NCLBUTTONDOWN:
        WMNCLButtonDown(Message);
        return;
    case WM_NCLBUTTONUP:
        WMNCLButtonUp(Message);
        return;
    case WM_NCLBUTTONDBLCLK:
        WMNCLButtonDblClk(Message);
        return;
    case WM_NCRBUTTONDOWN:
        WMNCRButtonDown(Message);
        return;
    case WM_SKIN_PAINTNC:
        PaintNC(nullptr);
        return;
    case WM_DRAWITEM:
        WMDrawItem(Message);
        return;
    case WM_MEASUREITEM:
        WMMeasureItem(Message);
        return;
    case WM_MENUCHAR:
        WMMenuChar(Message);
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
    LoadWindowIcon(*FSmallIcon);
    UpdateRects();
    FSkinningHold.Hold(FHandle);
    if (FForm != nullptr) SkinFormControls(FForm);
    else SkinChildWindows(FHandle);
    if (!life.Alive()) return;
    if (FSkinState == ssAttached) {
        if (FMDIKind == mdiChild) {
            if (FWindowState == fwsMaximized) {
                if (FrameHost != nullptr && FrameHost->MDIClient() != nullptr)
                    ::PostMessageA(FrameHost->MDIClient(), WM_SKIN_MDIMAXIMIZED, reinterpret_cast<WPARAM>(FHandle), 0);
            } else if (FWindowState == fwsMinimized) {
                SetCaptionStyle(true);
            } else {
                FSkinState = ssResizing;
                ApplyFrameSize(false);
                if (!life.Alive()) return;
                FSkinState = ssActive;
                UpdateRegion();
            }
        } else if (!FChild && FFrameKind != fkNoCaption && FWindowState != fwsMinimized) {
            FSkinState = ssResizing;
            ApplyFrameSize(false);
            if (!life.Alive()) return;
            FSkinState = ssActive;
            if (FWindowState == fwsNormal) UpdateRegion();
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
    if (FMDIKind == mdiChild && ((FrameHost != nullptr && FrameHost->ChildMaximized()) || FWindowState != fwsNormal)) return;
    // A size given while skinned is the one to keep; those of the skin's own
    // resizing (which the system may cut down) are not.
    if (FSkinState == ssActive && FWindowState == fwsNormal && FFrameApplied) {
        RECT client{};
        ::GetClientRect(FHandle, &client);
        FKeptClient = {client.right, client.bottom};
    }
    if (FSkinState == ssActive || FSkinState == ssReskinning) UpdateRegion();
}

void TWinSkinForm::WMGetMinMaxInfo(TMessage& Message)
{
    if (!CallDefault(Message)) return;
    // The system places a maximized window so that its own frame lies off
    // the screen; the skin's frame is another size, so it is fitted to the
    // work area instead (none of the title, client or borders lost).
    if (FSkinState != ssAttached && FMDIKind != mdiChild && !FChild && FFrameKind != fkNoCaption) {
        if (const HMONITOR monitor = ::MonitorFromWindow(FHandle, MONITOR_DEFAULTTONEAREST)) {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (::GetMonitorInfoW(monitor, &info)) {
                auto& mmi = *reinterpret_cast<MINMAXINFO*>(Message.LParam);
                mmi.ptMaxPosition = {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
                mmi.ptMaxSize = {info.rcWork.right - info.rcWork.left, info.rcWork.bottom - info.rcWork.top};
            }
        }
    }
    UpdateWindowState();
    SetCaptionStyle(FWindowState == fwsMinimized || (FMDIKind == mdiChild && FWindowState == fwsMaximized));
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
    if (FMenuTracking) {
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
            if (FMenuBar && ::IsWindowEnabled(FHandle))
                button = key == 0 ? FMenuBar->Button(0) : FMenuBar->FindAccelButton(static_cast<wchar_t>(key));
            if (key == 0 || button != nullptr) {
                OpenMenuButton(button, true);
                if (life.Alive()) Message.Result = 1;
                return;
            }
        } else if (key == ' ') {
            POINT p{0, 0};
            ::ClientToScreen(FHandle, &p);
            ShowSystemMenu(p);
            if (!life.Alive()) return;
        }
    }
    switch (command) {
    case SC_MINIMIZE:
        FWindowState = fwsMinimized;
        if (FMDIKind == mdiChild) SetCaptionStyle(true);
        break;
    case SC_MAXIMIZE:
        FWindowState = fwsMaximized;
        break;
    case SC_RESTORE:
        FWindowState = fwsNormal;
        if (FMDIKind == mdiChild) {
            SetCaptionStyle(false);
            if (FrameHost != nullptr && FrameHost->ChildMaximized()) FrameHost->SetChildCaptionStyle(false);
        }
        break;
    default:
        break;
    }
    CallDefault(Message);
}

void TWinSkinForm::WMNCCalcSize(TMessage& Message)
{
    if (!CallDefault(Message)) return;
    // SetMenu gave the window a menu again: taken into the bar after this
    // message (nothing that changes sizes runs inside it).
    if (FMenuBar && !FMenuChanging && ::GetMenu(FHandle) != nullptr)
        ::PostMessageW(FHandle, CM_MENUCHANGED, 0, SkinMagic);
    const bool own = (FMDIKind == mdiChild && FWindowState != fwsNormal) || FFrameKind == fkNoCaption;
    if (Message.WParam == 0) {
        // The window rectangle becomes the client rectangle: ours, not the
        // native frame's, or the client area would not match the frame.
        if (!own) {
            auto& r = *reinterpret_cast<RECT*>(Message.LParam);
            r = {r.left + FBorderLeft, r.top + FTitleHeight + FMenuBarHeight, r.right - FBorderRight,
                 r.bottom - FBorderBottom};
        }
        Message.Result = 0;
        return;
    }
    auto& params = *reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam);
    if (!own) {
        RECT window = params.rgrc[0];
        if (params.lppos != nullptr) {
            const WINDOWPOS& pos = *params.lppos;
            window = {pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
        }
        params.rgrc[0] = {window.left + FBorderLeft, window.top + FTitleHeight + FMenuBarHeight,
                          window.right - FBorderRight, window.bottom - FBorderBottom};
        if (params.rgrc[0].right < params.rgrc[0].left) params.rgrc[0].right = params.rgrc[0].left;
        if (params.rgrc[0].bottom < params.rgrc[0].top) params.rgrc[0].bottom = params.rgrc[0].top;
    }
    params.rgrc[1] = params.rgrc[0];
    Message.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::WMNCHitTest(TMessage& Message)
{
    if (!CallDefault(Message)) return;
    if (const int sizing = SizingHitAt(ScreenToWindow(Message.LParam)); sizing != HTNOWHERE) {
        Message.Result = sizing;
        return;
    }
    if (FMenuBar) {
        const POINT p = ScreenToWindow(Message.LParam);
        if (p.y >= FTitleHeight && p.y < FTitleHeight + FMenuBarHeight && p.x >= FBorderLeft &&
            p.x < FWidth - FBorderRight) {
            Message.Result = HTMENU;
            return;
        }
    }
    if (Message.Result != HTNOWHERE && Message.Result != HTCAPTION) return;
    const POINT p = ScreenToWindow(Message.LParam);
    if (p.y > 3) Message.Result = HTCAPTION;
    if (p.y > FTitleHeight && FMenuBarHeight > 0) Message.Result = HTMENU;
}

// The client area reaches to the skin's border, one pixel wide or so: the
// window is sized instead from a band as wide as the system's sizing frame
// (or the border, if wider), over the client's edge too, with the corner
// zones reaching along the edges as far as the system's do. Title and menu
// bar buttons keep their own hits.
int TWinSkinForm::SizingHitAt(POINT P) const
{
    if (FFrameKind != fkSizeable || FWindowState != fwsNormal || !FSkinMainMenu ||
        (FSkinState != ssActive && FSkinState != ssReskinning) || (FChild && FMDIKind != mdiChild))
        return HTNOWHERE;
    RECT r{};
    if (!::GetWindowRect(FHandle, &r)) return HTNOWHERE;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (P.x < 0 || P.y < 0 || P.x >= w || P.y >= h || ObjectAt(P) != nullptr) return HTNOWHERE;
    const int padded = ::GetSystemMetrics(SM_CXPADDEDBORDER);
    const int frameX = ::GetSystemMetrics(SM_CXSIZEFRAME) + padded;
    const int frameY = ::GetSystemMetrics(SM_CYSIZEFRAME) + padded;
    const int left = std::max(frameX, FBorderLeft), right = std::max(frameX, FBorderRight);
    const int top = frameY, bottom = std::max(frameY, FBorderBottom);
    const int cornerX = ::GetSystemMetrics(SM_CXSIZE), cornerY = ::GetSystemMetrics(SM_CYSIZE);
    const bool nearLeft = P.x < left + cornerX, nearRight = P.x >= w - right - cornerX;
    const bool nearTop = P.y < top + cornerY, nearBottom = P.y >= h - bottom - cornerY;
    if (P.y < top) return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
    if (P.y >= h - bottom) return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
    if (P.x < left) return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
    if (P.x >= w - right) return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
    return HTNOWHERE;
}

bool TWinSkinForm::InSizingBand(POINT At) const
{
    return SizingHitAt(ScreenToWindow(MAKELPARAM(At.x, At.y))) != HTNOWHERE;
}

void TWinSkinForm::WMNCPaint(TMessage& Message)
{
    SetSysMenuStyle(true);
    if (FSkinData->FPaintEnabled) {
        if ((FMDIKind == mdiChild && FWindowState == fwsMaximized) || FFrameKind == fkNoCaption) {
            CallDefault(Message);
            return;
        }
        PaintNC(nullptr);
    }
    Message.Result = 0;
}

void TWinSkinForm::WMNCActivate(TMessage& Message)
{
    const TToken life = Token();
    FActive = Message.WParam != 0;
    FTimer->SetEnabled(Message.WParam != 0);
    if (Message.WParam == 0 && FHotControl != nullptr) {
        SetHotControl(nullptr);
        if (!life.Alive()) return;
    }
    if (FMDIKind == mdiFrame && FMDIClient != nullptr) {
        ::SendMessageA(FMDIClient, WM_NCACTIVATE, Message.WParam, 0);
        if (!life.Alive()) return;
    } else if (FMDIKind == mdiChild) {
        if (!CallDefault(Message)) return;
    }
    if (!(FMDIKind == mdiChild && FWindowState == fwsMaximized)) PaintNC(nullptr);
    Message.Result = 1;
}

void TWinSkinForm::WMNCMouseMove(TMessage& Message)
{
    if (!FActive) return;
    if (TNCObject* object = ObjectAt(ScreenToWindow(Message.LParam))) {
        object->MouseEnter();
        Message.Result = 0;
        return;
    }
    if (FHotObject != nullptr) {
        FHotObject->MouseLeave();
        FHotObject = nullptr;
    }
    CallDefault(Message);
}

void TWinSkinForm::WMNCLButtonDown(TMessage& Message)
{
    const TToken life = Token();
    if (TMenuBtn* button = FMenuBar ? FMenuBar->ButtonAt(ScreenToWindow(Message.LParam)) : nullptr) {
        const int index = button->FIndex;
        if (!FActive) {
            ::SetForegroundWindow(FHandle);
            if (!life.Alive()) return;
        }
        // Activation may have rebuilt the bar.
        OpenMenuButton(FMenuBar ? FMenuBar->Button(index) : nullptr, false);
        if (life.Alive()) Message.Result = 0;
        return;
    }
    if (TWinSysButton* button = SysButtonAt(ScreenToWindow(Message.LParam))) {
        if (!FActive) {
            ::SetForegroundWindow(FHandle);
            if (!life.Alive()) return;
        }
        // Activation may have repainted the title and laid the buttons out anew.
        if (std::none_of(FSysButtons.begin(), FSysButtons.end(), [&](const auto& b) { return b.get() == button; }))
            return;
        button->MouseDown();
        FPressedObject = button;
        Message.Result = 0;
        return;
    }
    if (FWindowState == fwsMaximized && FActive && Message.WParam == HTCAPTION) Message.WParam = HTMENU;
    CallDefault(Message);
}

void TWinSkinForm::WMNCLButtonUp(TMessage& Message)
{
    // A click is a press and a release on the same button: sliding from one
    // title button to another and releasing there clicks neither.
    TNCObject* const pressed = std::exchange(FPressedObject, nullptr);
    if (TWinSysButton* button = SysButtonAt(ScreenToWindow(Message.LParam))) {
        if (button == FHotObject && button == pressed) {
            button->MouseUp();
            SysButtonClick({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
        }
        Message.Result = 0;
        return;
    }
    CallDefault(Message);
}

void TWinSkinForm::WMNCLButtonDblClk(TMessage& Message)
{
    if (TWinSysButton* button = SysButtonAt(ScreenToWindow(Message.LParam))) {
        if (IsTitleMenuKind(button->Data().FAction)) {
            FTimer->SetEnabled(false);
            ::PostMessageA(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        Message.Result = 0;
        return;
    }
    // The bar's band answers HTMENU also between and after its buttons, as a
    // native bar does; a double click there sizes nothing, nor one on the
    // sizing band.
    if (Message.WParam == HTMENU || (Message.WParam >= HTLEFT && Message.WParam <= HTBOTTOMRIGHT)) {
        CallDefault(Message);
        return;
    }
    if (FWindowState != fwsNormal) RestoreWindow();
    else if (FButtonSet & bsMaximize) ToggleMaximize();
    else CallDefault(Message);
}

void TWinSkinForm::WMNCRButtonDown(TMessage& Message)
{
    if (Message.WParam == HTCAPTION && FMDIKind != mdiChild) {
        // Signed: a monitor left of or above the primary has negative coordinates.
        ShowSystemMenu({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
        Message.Result = 0;
        return;
    }
    CallDefault(Message);
}

void TWinSkinForm::SysButtonClick(POINT P)
{
    auto* button = dynamic_cast<TWinSysButton*>(FHotObject);
    if (button == nullptr) return;
    const int kind = button->Data().FAction;
    switch (kind) {
    case taClose:
        if (CanClose()) {
            FTimer->SetEnabled(false);
            ::PostMessageA(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    case taMaximize: case taMaximizeAlt: ToggleMaximize(); break;
    case taMinimize: case taMinimizeAlt: ToggleMinimize(); break;
    case taSysMenu: case taIcon: case taSysMenuAlt: ShowSystemMenu({P.x + 1, P.y + 1}); break;
    case taMDIMinimize: case taMDIMinimizeAlt: MDIChildCommand(SC_MINIMIZE); break;
    case taMDIRestore: case taMDIRestoreAlt: MDIChildCommand(SC_RESTORE); break;
    case taMDIClose: case taMDICloseAlt: MDIChildCommand(SC_CLOSE); break;
    default: ::PostMessageA(FHandle, WM_SKIN_BUTTONCLICK, static_cast<WPARAM>(kind), 0); break;
    }
}

void TWinSkinForm::ToggleMaximize()
{
    if (FWindowState == fwsMaximized) {
        RestoreWindow();
        return;
    }
    if (FMDIKind == mdiChild && FrameHost != nullptr) FrameHost->SetChildCaptionStyle(true);
    FWindowState = fwsMaximized;
    ::PostMessageA(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    FHotObject = nullptr;
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
    if (FMDIKind != mdiFrame || FMDIClient == nullptr) return;
    const auto child = reinterpret_cast<HWND>(::SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, 0));
    if (child != nullptr) ::SendMessageA(child, WM_SYSCOMMAND, Command, 0);
}

void TWinSkinForm::TimerTick(TObject*)
{
    if (FMenuTracking) return;
    POINT cursor{};
    if (!::GetCursorPos(&cursor)) return;
    if (FHotObject != nullptr) {
        const POINT p = ScreenToWindow(MAKELPARAM(cursor.x, cursor.y));
        if (!::PtInRect(&FHotObject->FRect, p)) {
            FHotObject->MouseLeave();
            FHotObject = nullptr;
        }
    }
    // Adapters on a class-library form ask their controls for WM_MOUSELEAVE;
    // those of a plain window's children are watched here.
    RECT hot{};
    if (FForm == nullptr && FHotControl != nullptr &&
        (!::GetWindowRect(FHotControl->Handle(), &hot) || !::PtInRect(&hot, cursor)))
        SetHotControl(nullptr);
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
        if (Message.LParam != SkinMagic) return;
        if (Message.WParam != 0) PaintNC(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = SkinMagic;
        return;
    case WM_SKIN_PING:
        Message.Result = Message.LParam == SkinMagic ? SkinMagic : 1;
        return;
    case CM_DIALOGCHAR:
        CMDialogChar(Message);
        return;
    case CM_POPUPSHOWING: {
        const TToken life = Token();
        FFormHook.CallDefault(Message);
        if (life.Alive() && FSkinState == ssActive) SwitchFormMenus();
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
    if (altOnly && FMenuBar && !FMenuTracking && ::IsWindowEnabled(FHandle) && FMenuBar->FindAccelButton(key)) {
        ::PostMessageW(FHandle, WM_SYSCOMMAND, SC_KEYMENU, key);
        Message.Result = 1;
        return;
    }
    TControl* next = nullptr;
    if (FMDIKind == mdiChild) next = FrameHost != nullptr ? FrameHost->MDIForm() : nullptr;
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
    if (FWindowHook.Unicode() || FMDIKind == mdiChild) {
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
    if (FWindowState == fwsMaximized && FMDIKind == mdiChild) {
        if (FrameHost != nullptr && FrameHost->MDIClient() != nullptr)
            ::PostMessageA(FrameHost->MDIClient(), WM_SKIN_MDIMAXIMIZED, reinterpret_cast<WPARAM>(FHandle), 0);
    } else if (FWindowState == fwsMinimized) {
        PaintNC(nullptr);
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
        FMenuChanging = menu != nullptr;
        passOn();
        if (!life.Alive()) return;
        FMenuChanging = false;
        if (skinned && menu != nullptr && FMenuBar) ShowMenuBar(menu);
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

// The skin does not paint while the class library changes the menu; the
// component's painting switch is then as it was before.
void TWinSkinForm::CMMenuChanged(TMessage& Message)
{
    // Our own notice that SetMenu gave the window a menu: only taken.
    if (Message.LParam == SkinMagic) {
        Message.Result = 0;
        const HMENU menu = ::GetMenu(FHandle);
        if (menu == nullptr || !FMenuBar) return;
        ShowMenuBar(menu);
        return;
    }
    TSkinData* data = FSkinData;
    const bool painting = data->FPaintEnabled;
    data->FPaintEnabled = false;
    const TToken life = Token();
    // The class library puts its menu back here; it is taken below.
    FMenuChanging = true;
    CallDefault(Message);
    if (life.Alive()) FMenuChanging = false;
    // A freed frame object may have gone with its skin component.
    if (!life.Alive()) {
        if (FrameHost != nullptr && FrameHost->HasSkinData(data)) data->FPaintEnabled = painting;
        return;
    }
    data->FPaintEnabled = painting;
    // A menu set while skinned is taken into the bar, not dropped; a freed
    // class-library main menu (no menu now) leaves the bar if it destroyed its menu.
    if (!FSkinMainMenu || !FMenuBar) return;
    const HMENU menu = ::GetMenu(FHandle);
    if (menu != nullptr || (FMenuBar->Handle() != nullptr && !::IsMenu(FMenuBar->Handle()))) ShowMenuBar(menu);
}

void TWinSkinForm::ShowMenuBar(HMENU Menu)
{
    FMenuBar->BuildButtons(Menu);
    // The bar's band comes and goes with its menu.
    const int height = FMenuBar->Handle() != nullptr ? ::GetSystemMetrics(SM_CYMENU) : 0;
    if (height == FMenuBarHeight) {
        PaintNC(nullptr);
        return;
    }
    FMenuBarHeight = height;
    FrameChanged();
}
