// The frame object's window procedures: SkinWndProc (the skinned window's
// own procedure, in three stages), FormWindowProc (a class-library form's
// WindowProc), the MDI client's procedure, and the 250 ms timer. Every
// handler that passes a message on checks afterwards that its frame object
// still exists: a handler further down may destroy the window or free it.
#include "WinSkinForm.h"

#include "WinSkinData.h"
#include "WinSkinDlg.h"
#include "classlib/Forms.h"
#include "skin/SkinWindowMessages.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace {

constexpr UINT CM_DIALOGCHAR = 0xB006;
constexpr UINT CM_MENUCHANGED = 0xB015;
constexpr UINT WM_UNDOCUMENTED_AE = 0xAE;

bool IsTitleMenuKind(int Kind)
{
    return Kind == 3 || Kind == 11;
}

}  // namespace

// Counts the frames of a frame object's handlers on the stack, and tells
// them whether the object outlived the call they made.
class TLifeGuard {
public:
    explicit TLifeGuard(const TWinSkinForm& Form) : FLife(Form.FLife) { ++FLife->Busy; }
    ~TLifeGuard() { --FLife->Busy; }
    TLifeGuard(const TLifeGuard&) = delete;
    TLifeGuard& operator=(const TLifeGuard&) = delete;
    bool Alive() const noexcept { return FLife->Alive; }

private:
    std::shared_ptr<TWinSkinForm::TLife> FLife;
};

bool TWinSkinForm::CallDefault(TMessage& Message)
{
    const auto life = FLife;
    Message.Result = FUnicode ? ::CallWindowProcW(FOldWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam)
                              : ::CallWindowProcA(FOldWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
    return life->Alive;
}

void TWinSkinForm::SkinWndProc(TMessage& Message)
{
    const TLifeGuard guard(*this);
    if (FSkinState == ssAttached && Message.Msg == WM_NCPAINT) {
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
        if (SkinManager != nullptr)
            SkinManager->FMenuKind = reinterpret_cast<HMENU>(Message.WParam) == FSysMenu ? 2 : 1;
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
    case WM_SKIN_RESKINSCROLL:  // scroll-bar adapters are re-made here once they exist
        Message.Result = 0;
        return;
    case WM_SKIN_QUERY:
        Message.Result = 1;
        return;
    case WM_NCACTIVATE:
        if (FSkinState == ssAttached && FMDIKind != mkChild) {
            Message.Result = 0;
            return;
        }
        break;
    default:
        break;
    }
    if (!FSkinMainMenu || (FChild && FMDIKind != mkChild)) {
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
    case WM_SKIN_MENUAT:  // opens a menu-bar button once the skinned menu bar exists
        Message.Result = 0;
        break;
    case CM_MENUCHANGED: {
        TSkinData* data = FSkinData;
        data->FPaintEnabled = false;
        const bool alive = CallDefault(Message);
        data->FPaintEnabled = true;
        if (!alive) return;
        break;
    }
    default:
        goesOn = true;
        break;
    }
    if (!guard.Alive()) return;

    // Stage 3: the skinned frame itself. WM_SIZE was handled above, once: the
    // application must not see one size change twice.
    if ((FMDIKind == mkChild && FWindowState == 1) || FSkinState == ssAttached) {
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
    default:
        // Owner-drawn menu items (WM_MEASUREITEM, WM_DRAWITEM) keep the
        // default until the skinned menus exist.
        if (goesOn) CallDefault(Message);
        return;
    }
}

void TWinSkinForm::Activate()
{
    const auto life = FLife;
    FSysMenu = ::GetSystemMenu(FHandle, FALSE);
    LoadWindowIcon(*FSmallIcon);
    UpdateRects();
    // The child controls get their adapters here once the adapters exist;
    // until then they keep their native look.
    if (FSkinState == ssAttached) {
        if (FMDIKind == mkChild) {
            if (FWindowState == 1) {
                if (SkinManager != nullptr && SkinManager->FMDIClient != nullptr)
                    ::PostMessageA(SkinManager->FMDIClient, WM_SKIN_MDIMAXIMIZED, reinterpret_cast<WPARAM>(FHandle), 0);
            } else if (FWindowState == 2) {
                SetCaptionStyle(true);
            } else {
                FSkinState = ssResizing;
                ApplyFrameSize(false);
                if (!life->Alive) return;
                FSkinState = ssActive;
                UpdateRegion();
            }
        } else if (!FChild && FFrameKind != fkNoCaption && FWindowState != 2) {
            FSkinState = ssResizing;
            ApplyFrameSize(false);
            if (!life->Alive) return;
            FSkinState = ssActive;
            if (FWindowState == 0) UpdateRegion();
            else FrameChanged();
        }
    }
    if (!life->Alive) return;
    NotifySkinned();
    if (!life->Alive) return;
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
    case SIZE_RESTORED: FWindowState = 0; break;
    case SIZE_MINIMIZED: FWindowState = 2; break;
    case SIZE_MAXIMIZED: FWindowState = 1; break;
    default: break;
    }
    if (FWindowState == 2) return;
    if (FMDIKind == mkChild && ((SkinManager != nullptr && SkinManager->FChildMaximized) || FWindowState != 0)) return;
    if (FSkinState == ssActive || FSkinState == ssReskinning) UpdateRegion();
}

void TWinSkinForm::WMGetMinMaxInfo(TMessage& Message)
{
    if (!CallDefault(Message)) return;
    // The system places a maximized window so that its own frame lies off
    // the screen; the skin's frame is another size, so it is fitted to the
    // work area instead (none of the title, client or borders lost).
    if (FSkinState != ssAttached && FMDIKind != mkChild && !FChild && FFrameKind != fkNoCaption) {
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
    SetCaptionStyle(FWindowState == 2 || (FMDIKind == mkChild && FWindowState == 1));
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
    const auto life = FLife;
    const UINT command = Message.WParam & 0xFFF0;
    if (command == SC_KEYMENU) {
        const LPARAM key = Message.LParam;
        if (key != ' ' && key != '-' && ::GetCapture() == nullptr) {
            // Alt alone or F10: the skinned menu bar's first button once it
            // exists; a key with no bar button of its own goes on.
            if (key == 0) {
                Message.Result = 1;
                return;
            }
        } else if (key == ' ') {
            POINT p{0, 0};
            ::ClientToScreen(FHandle, &p);
            ShowSystemMenu(p);
            if (!life->Alive) return;
        }
    }
    switch (command) {
    case SC_MINIMIZE:
        FWindowState = 2;
        if (FMDIKind == mkChild) SetCaptionStyle(true);
        break;
    case SC_MAXIMIZE:
        FWindowState = 1;
        break;
    case SC_RESTORE:
        FWindowState = 0;
        if (FMDIKind == mkChild) {
            SetCaptionStyle(false);
            if (SkinManager != nullptr && SkinManager->FChildMaximized) SkinManager->SetChildCaptionStyle(false);
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
    const bool own = (FMDIKind == mkChild && FWindowState != 0) || FFrameKind == fkNoCaption;
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
        FNCChanged = true;
    }
    params.rgrc[1] = params.rgrc[0];
    Message.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::WMNCHitTest(TMessage& Message)
{
    if (!CallDefault(Message)) return;
    if (Message.Result != HTNOWHERE && Message.Result != HTCAPTION) return;
    const POINT p = ScreenToWindow(Message.LParam);
    if (p.y > 3) Message.Result = HTCAPTION;
    if (p.y > FTitleHeight && FMenuBarHeight > 0) Message.Result = HTMENU;
}

void TWinSkinForm::WMNCPaint(TMessage& Message)
{
    SetSysMenuStyle(true);
    if (FSkinData->FPaintEnabled) {
        if ((FMDIKind == mkChild && FWindowState == 1) || FFrameKind == fkNoCaption) {
            CallDefault(Message);
            return;
        }
        PaintNC(nullptr);
    }
    Message.Result = 0;
}

void TWinSkinForm::WMNCActivate(TMessage& Message)
{
    const auto life = FLife;
    FActive = Message.WParam != 0;
    FTimer->SetEnabled(Message.WParam != 0);
    // A hot control adapter gets its mouse-leave notice here once adapters exist.
    if (FMDIKind == mkFrame && FMDIClient != nullptr) {
        ::SendMessageA(FMDIClient, WM_NCACTIVATE, Message.WParam, 0);
        if (!life->Alive) return;
    } else if (FMDIKind == mkChild) {
        if (!CallDefault(Message)) return;
    }
    if (!(FMDIKind == mkChild && FWindowState == 1)) PaintNC(nullptr);
    Message.Result = 1;
}

void TWinSkinForm::WMNCMouseMove(TMessage& Message)
{
    if (!FActive) return;
    if (TNCObject* object = SysButtonAt(ScreenToWindow(Message.LParam))) {
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
    const auto life = FLife;
    if (TWinSysButton* button = SysButtonAt(ScreenToWindow(Message.LParam))) {
        if (!FActive) {
            ::SetForegroundWindow(FHandle);
            if (!life->Alive) return;
        }
        // Activation may have repainted the title and laid the buttons out anew.
        if (std::none_of(FSysButtons.begin(), FSysButtons.end(), [&](const auto& b) { return b.get() == button; }))
            return;
        button->MouseDown();
        FPressedObject = button;
        Message.Result = 0;
        return;
    }
    if (FWindowState == 1 && FActive && Message.WParam == HTCAPTION) Message.WParam = HTMENU;
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
        if (IsTitleMenuKind(button->FData->FAction)) {
            FTimer->SetEnabled(false);
            ::PostMessageA(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        Message.Result = 0;
        return;
    }
    if (FWindowState != 0) RestoreWindow();
    else if (FButtonSet & bsMaximize) ToggleMaximize();
    else CallDefault(Message);
}

void TWinSkinForm::WMNCRButtonDown(TMessage& Message)
{
    if (Message.WParam == HTCAPTION && FMDIKind != mkChild) {
        ShowSystemMenu({LOWORD(Message.LParam), HIWORD(Message.LParam)});
        Message.Result = 0;
        return;
    }
    CallDefault(Message);
}

void TWinSkinForm::SysButtonClick(POINT P)
{
    auto* button = dynamic_cast<TWinSysButton*>(FHotObject);
    if (button == nullptr) return;
    const int kind = button->FData->FAction;
    switch (kind) {
    case 0:
        if (CanClose()) {
            FTimer->SetEnabled(false);
            ::PostMessageA(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    case 1: case 22: ToggleMaximize(); break;
    case 2: case 23: ToggleMinimize(); break;
    case 3: case 11: case 12: ShowSystemMenu({P.x + 1, P.y + 1}); break;
    case 7: case 60: MDIChildCommand(SC_MINIMIZE); break;
    case 8: case 61: MDIChildCommand(SC_RESTORE); break;
    case 9: case 62: MDIChildCommand(SC_CLOSE); break;
    default: ::PostMessageA(FHandle, WM_SKIN_BUTTONCLICK, static_cast<WPARAM>(kind), 0); break;
    }
}

// Until the skinned system menu exists, the window's own system menu is
// shown in its place, with its items enabled as the system would.
void TWinSkinForm::ShowSystemMenu(POINT ScreenPoint)
{
    const DWORD now = ::GetTickCount();
    if (now - FLastRightClick <= FDoubleClickTime) {
        if (FHotObject != nullptr) {
            FTimer->SetEnabled(false);
            ::PostMessageA(FHandle, WM_CLOSE, 0, 0);
        }
        return;
    }
    if (SkinManager != nullptr) SkinManager->FMenuKind = 2;
    FLastRightClick = now;
    const HMENU menu = ::GetSystemMenu(FHandle, FALSE);
    if (menu == nullptr) return;
    const bool normal = FWindowState == 0;
    auto enable = [menu](UINT Command, bool On) { ::EnableMenuItem(menu, Command, On ? MF_ENABLED : MF_GRAYED); };
    enable(SC_RESTORE, !normal);
    enable(SC_MOVE, normal);
    enable(SC_SIZE, normal && FFrameKind == fkSizeable);
    enable(SC_MINIMIZE, FWindowState != 2 && (FButtonSet & bsMinimize));
    enable(SC_MAXIMIZE, FWindowState != 1 && (FButtonSet & bsMaximize));
    const auto life = FLife;
    const HWND window = FHandle;
    const UINT command = static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                            ScreenPoint.x, ScreenPoint.y, 0, window, nullptr));
    if (!life->Alive || FSkinState == ssDestroyed || command == 0) return;
    ::PostMessageA(window, WM_SYSCOMMAND, command, 0);
}

bool TWinSkinForm::CanClose() const
{
    if (SkinWinVersion >= 0x80000000u) return true;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    return FSysMenu != nullptr && ::GetMenuItemInfoA(FSysMenu, SC_CLOSE, FALSE, &info) != FALSE;
}

void TWinSkinForm::ToggleMaximize()
{
    if (FWindowState == 1) {
        RestoreWindow();
        return;
    }
    if (FMDIKind == mkChild && SkinManager != nullptr) SkinManager->SetChildCaptionStyle(true);
    FWindowState = 1;
    ::PostMessageA(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    FHotObject = nullptr;
}

void TWinSkinForm::ToggleMinimize()
{
    if (FWindowState == 2) {
        RestoreWindow();
        return;
    }
    FWindowState = 2;
    SetSysMenuStyle(false);
    ::PostMessageA(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::RestoreWindow()
{
    FWindowState = 0;
    ::PostMessageA(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::MDIChildCommand(UINT Command)
{
    if (FMDIKind != mkFrame || FMDIClient == nullptr) return;
    const auto child = reinterpret_cast<HWND>(::SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, 0));
    if (child != nullptr) ::SendMessageA(child, WM_SYSCOMMAND, Command, 0);
}

void TWinSkinForm::TimerTick(TObject*)
{
    if (FMenuTracking || FHotObject == nullptr) return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const POINT p = ScreenToWindow(MAKELPARAM(cursor.x, cursor.y));
    if (!::PtInRect(&FHotObject->FRect, p)) {
        FHotObject->MouseLeave();
        FHotObject = nullptr;
    }
}

void TWinSkinForm::FormWindowProc(TMessage& Message)
{
    const TLifeGuard guard(*this);
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
    default: {
        // CM_DIALOGCHAR's Alt+letter search of the menu bar comes with the skinned menu bar.
        const TWndMethod previous = OldWindowProc();
        if (previous) previous(Message);
        return;
    }
    }
}

void TWinSkinForm::WMSetText(TMessage& Message)
{
    const auto life = FLife;
    const TWndMethod previous = OldWindowProc();
    if (!previous) return;
    if (!::IsWindowVisible(FHandle)) {
        previous(Message);
        return;
    }
    if (FUnicode || FMDIKind == mkChild) {
        previous(Message);
    } else {
        const HWND window = FHandle;
        ::SendMessageA(window, WM_SETREDRAW, 0, 0);
        previous(Message);
        ::SendMessageA(window, WM_SETREDRAW, 1, 0);
        if (Application != nullptr) Application->ProcessMessages();
    }
    if (!life->Alive) return;
    if (FWindowState == 1 && FMDIKind == mkChild) {
        if (SkinManager != nullptr && SkinManager->FMDIClient != nullptr)
            ::PostMessageA(SkinManager->FMDIClient, WM_SKIN_MDIMAXIMIZED, reinterpret_cast<WPARAM>(FHandle), 0);
    } else if (FWindowState == 2) {
        PaintNC(nullptr);
    } else {
        FrameChanged();
    }
}

void TWinSkinForm::MDIClientWndProc(TMessage& Message)
{
    const TLifeGuard guard(*this);
    auto passOn = [&] {
        Message.Result =
            FClientUnicode ? ::CallWindowProcW(FOldClientProc, FMDIClient, Message.Msg, Message.WParam, Message.LParam)
                           : ::CallWindowProcA(FOldClientProc, FMDIClient, Message.Msg, Message.WParam, Message.LParam);
        return guard.Alive();
    };
    const bool skinned = FSkinMainMenu;
    switch (Message.Msg) {
    case WM_NCDESTROY:
        if (passOn()) UnsubclassMDIClient();
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
        if (passOn() && skinned && SkinManager != nullptr) SkinManager->SetChildCaptionStyle(IsMDIChildMaximized());
        return;
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (skinned && SkinManager != nullptr && SkinManager->FChildMaximized) SkinManager->SetChildCaptionStyle(false);
        passOn();
        return;
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
