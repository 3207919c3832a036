// The frame object's life: attaching to a window (style analysis,
// subclassing), applying the skin frame's size, re-skinning, and the two ways
// of letting go (unskin: the window keeps running with its own look; detach:
// the window is being destroyed).
#include "WinSkinForm.h"

#include "WinSkinData.h"
#include "WinSkinDlg.h"
#include "classlib/Forms.h"
#include "classlib/ExceptionHook.h"
#include "classlib/Handles.h"
#include "classlib/Text.h"
#include "skin/SkinWindowMessages.h"

#include <unordered_map>
#include <utility>

namespace {

// Skinned windows and their frame objects (GUI thread only).
std::unordered_map<HWND, TWinSkinForm*> gSkinned;
std::unordered_map<HWND, TWinSkinForm*> gClients;  // MDI client -> frame object

// A window that was subclassed again after us cannot get its procedure back
// from us without cutting the later one out: its messages pass through here
// to the procedure we replaced until the window is gone.
struct TPassOn {
    WNDPROC Proc;
    bool Unicode;
};
std::unordered_map<HWND, TPassOn> gPassOn;

LRESULT PassOn(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    const auto it = gPassOn.find(Window);
    if (it == gPassOn.end()) return ::DefWindowProcW(Window, Msg, WParam, LParam);
    const TPassOn to = it->second;
    if (Msg == WM_NCDESTROY) gPassOn.erase(it);
    return to.Unicode ? ::CallWindowProcW(to.Proc, Window, Msg, WParam, LParam)
                      : ::CallWindowProcA(to.Proc, Window, Msg, WParam, LParam);
}

// A subclassed window's message to its frame object's handler; exceptions
// end here rather than unwinding through the system's frames.
template <void (TWinSkinForm::*Handler)(TMessage&)>
LRESULT Route(const std::unordered_map<HWND, TWinSkinForm*>& Frames, HWND Window, UINT Msg, WPARAM WParam,
              LPARAM LParam)
{
    const auto it = Frames.find(Window);
    if (it == Frames.end()) return PassOn(Window, Msg, WParam, LParam);
    TMessage message{Msg, WParam, LParam, 0};
    try {
        (it->second->*Handler)(message);
    } catch (...) {
        HandleException();
    }
    return message.Result;
}

LRESULT CALLBACK SkinFormProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Route<&TWinSkinForm::SkinWndProc>(gSkinned, Window, Msg, WParam, LParam);
}

LRESULT CALLBACK MDIClientProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Route<&TWinSkinForm::MDIClientWndProc>(gClients, Window, Msg, WParam, LParam);
}

// Gives the window its procedure back, or, when another one was put in front
// of ours meanwhile, leaves that one in place and passes messages on.
void PutProcBack(HWND Window, WNDPROC Ours, WNDPROC Old, bool Unicode)
{
    if (!::IsWindow(Window)) return;
    const auto current = reinterpret_cast<WNDPROC>(Unicode ? ::GetWindowLongPtrW(Window, GWLP_WNDPROC)
                                                           : ::GetWindowLongPtrA(Window, GWLP_WNDPROC));
    if (current != Ours) {
        gPassOn[Window] = {Old, Unicode};
        return;
    }
    const auto old = reinterpret_cast<LONG_PTR>(Old);
    if (Unicode) ::SetWindowLongPtrW(Window, GWLP_WNDPROC, old);
    else ::SetWindowLongPtrA(Window, GWLP_WNDPROC, old);
}

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
    const auto it = gSkinned.find(Window);
    return it == gSkinned.end() ? nullptr : it->second;
}

int SkinnedWindowCount() noexcept
{
    return static_cast<int>(gSkinned.size());
}

TWinSkinForm::TWinSkinForm(TComponent* AOwner)
    : TComponent(AOwner), FSmallIcon(std::make_unique<TBitmap>()), FTitleBitmap(std::make_unique<TBitmap>())
{
    FDoubleClickTime = ::GetDoubleClickTime();
    UpdateCaptionFont();
    FSmallIcon->SetPixelFormat(TPixelFormat::pf24bit);
    FTitleBitmap->SetPixelFormat(TPixelFormat::pf24bit);
}

TWinSkinForm::~TWinSkinForm()
{
    // Nothing may call into a freed object: a window still subclassed (its
    // owner freed it while the window lives) gets back what the skin took.
    if (FSubclassed) {
        if (::IsWindow(FHandle) && FSkinState != ssDestroying && FSkinState != ssDestroyed) Unskin();
        else DetachWindow();
    }
    FLife->Alive = false;
    UnsubclassMDIClient();
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
    FCaptionFont->SetName(WideToText(metrics.lfCaptionFont.lfFaceName));
    FCaptionFont->SetHeight(metrics.lfCaptionFont.lfHeight);
    FCaptionFont->SetCharset(metrics.lfCaptionFont.lfCharSet);
}

void TWinSkinForm::InitForm(TSkinData* Data, TControl* Form)
{
    FForm = Form;
    // A copy: the handler may free the component that holds it.
    if (const TOnSkinForm before = Data->OnBeforeSkinForm) before(Form, FHandle, FWindowClass);
    InitSkin(Data);
    if (FSkinMainMenu) ReplaceWindowProc();
    FOldColor = Form->Color();
    Form->SetColor(Data->FButtonFaceColor);
}

void TWinSkinForm::InitWindow(TSkinData* Data)
{
    InitSkin(Data);
}

void TWinSkinForm::InitSkin(TSkinData* Data)
{
    if (FSubclassed) return;
    if (SkinManager != nullptr) SkinManager->FState = 1;
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
    FindMDIClient();
    if (ex & WS_EX_MDICHILD) {
        FMDIKind = mkChild;
        if (Data->Options() & SkinBit(xoMDIChildBorder)) FSkinMainMenu = false;
    }
    FFrameKind = fkFixed;
    if ((FStyle & WS_CAPTION) == 0) FFrameKind = fkNoCaption;
    else if (FStyle & WS_THICKFRAME) FFrameKind = fkSizeable;
    else if (FStyle & DS_MODALFRAME) FFrameKind = fkDialog;
    if (ex & WS_EX_DLGMODALFRAME) FFrameKind = fkDialog;
    if (((ex & WS_EX_APPWINDOW) && VersionTogglesCaption(true)) ||
        (FOwnerWindow == nullptr && FMDIKind != mkChild && VersionTogglesCaption(false)))
        FButtonSet |= bsCaptionToggle;
    FUnicode = ::IsWindowUnicode(FHandle) != FALSE;
    FDialog = false;
    if (FClassName == "#32770" || FClassName == "TMessageForm") {
        FFrameKind = fkDialog;
        FDialog = true;
    }
    if (SkinWinVersion >= 0x80000000u) Data->SetSkinControls(Data->SkinControls() & ~SkinBit(xcSystemMenu));
    if (FMDIKind == mkFrame) {
        FMenuUpdate = Data->MenuUpdate();
        SubclassMDIClient();
    }
    // The region the window had of its own, given back by Unskin.
    HRGN own = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(FHandle, own) != ERROR) FOriginalRegion = own;
    else ::DeleteObject(own);
    Subclass();

    if (FSkinMainMenu) {
        FOldMenu = ::GetMenu(FHandle);
        // The skinned menu bar is not built yet: a window with a menu bar of
        // its own keeps its native frame (and menu) and gets the rest.
        if (FOldMenu != nullptr && FMDIKind != mkChild && !FChild) FSkinMainMenu = false;
    }
    if (FSkinMainMenu) {
        if (!((FMDIKind == mkChild && SkinManager != nullptr && SkinManager->FChildMaximized) || FWindowState == 2))
            SetCaptionStyle(false);
        CreateSysButtons();
    } else {
        FSkinState = ssActive;
    }
    if (FMDIKind == mkChild) {
        const int c = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CXFRAME);
        if (c > FTitleHeight) FMenuBarHeight = c - FTitleHeight;
        if (FWindowState == 1 && SkinManager != nullptr && !SkinManager->FChildMaximized)
            SkinManager->SetChildCaptionStyle(true);
    }
}

void TWinSkinForm::Subclass()
{
    if (FSubclassed) return;
    const auto proc = reinterpret_cast<LONG_PTR>(&SkinFormProc);
    gSkinned[FHandle] = this;
    FOldWndProc = FUnicode ? reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(FHandle, GWLP_WNDPROC, proc))
                           : reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(FHandle, GWLP_WNDPROC, proc));
    FSubclassed = true;
}

void TWinSkinForm::Unsubclass()
{
    if (!FSubclassed) return;
    FSubclassed = false;
    PutProcBack(FHandle, &SkinFormProc, FOldWndProc, FUnicode);
    const auto it = gSkinned.find(FHandle);
    if (it != gSkinned.end() && it->second == this) gSkinned.erase(it);
}

// The form's WindowProc calls the frame object through a shared record, so
// that letting go never cuts out a WindowProc installed after ours.
struct TFormHookRecord {
    TWinSkinForm* Frame;
    TWndMethod Old;
};

struct TFormHookCall {
    std::shared_ptr<TFormHookRecord> Record;
    void operator()(TMessage& Message) const
    {
        const std::shared_ptr<TFormHookRecord> record = Record;
        if (record->Frame != nullptr) record->Frame->FormWindowProc(Message);
        else if (record->Old) record->Old(Message);
    }
};

void TWinSkinForm::ReplaceWindowProc()
{
    FFormHook = std::make_shared<TFormHookRecord>(TFormHookRecord{this, FForm->WindowProc});
    FForm->WindowProc = TFormHookCall{FFormHook};
}

void TWinSkinForm::RestoreWindowProc()
{
    if (!FFormHook) return;
    const std::shared_ptr<TFormHookRecord> record = std::move(FFormHook);
    const auto* top = FForm != nullptr ? FForm->WindowProc.target<TFormHookCall>() : nullptr;
    if (top != nullptr && top->Record == record) FForm->WindowProc = record->Old;
    record->Frame = nullptr;  // from now on it only passes messages on
}

const TWndMethod& TWinSkinForm::OldWindowProc() const
{
    static const TWndMethod none;
    return FFormHook ? FFormHook->Old : none;
}

void TWinSkinForm::SubclassMDIClient()
{
    if (FClientSubclassed || FMDIClient == nullptr) return;
    gClients[FMDIClient] = this;
    FClientUnicode = ::IsWindowUnicode(FMDIClient) != FALSE;
    const auto proc = reinterpret_cast<LONG_PTR>(&MDIClientProc);
    FOldClientProc = reinterpret_cast<WNDPROC>(FClientUnicode ? ::SetWindowLongPtrW(FMDIClient, GWLP_WNDPROC, proc)
                                                              : ::SetWindowLongPtrA(FMDIClient, GWLP_WNDPROC, proc));
    FClientSubclassed = true;
}

void TWinSkinForm::UnsubclassMDIClient()
{
    if (!FClientSubclassed) return;
    FClientSubclassed = false;
    PutProcBack(FMDIClient, &MDIClientProc, FOldClientProc, FClientUnicode);
    const auto it = gClients.find(FMDIClient);
    if (it != gClients.end() && it->second == this) gClients.erase(it);
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
    RECT window{};
    ::GetClientRect(FHandle, &FClientRect);
    ::GetWindowRect(FHandle, &window);
    FFrameRect = {0, 0, (window.right - window.left) - FClientRect.right,
                  (window.bottom - window.top) - FClientRect.bottom};
}

void TWinSkinForm::ApplyFrameSize(bool UseClientRect)
{
    constexpr UINT keepAll = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    if (FWindowState == 1) {
        ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, keepAll);
        return;
    }
    RECT window{};
    ::GetWindowRect(FHandle, &window);
    if (FDialog || FSkinState == ssReskinning) ::GetClientRect(FHandle, &FClientRect);
    int width = FClientRect.right + FBorderLeft + FBorderRight;
    int clientHeight = FClientRect.bottom;
    if (UseClientRect) {
        ::GetClientRect(FHandle, &FClientRect);
        width = FClientRect.right + FBorderLeft + FBorderRight;
        clientHeight = FClientRect.bottom;
    } else if (FForm != nullptr) {
        const RECT client = FForm->ClientRect();
        width = client.right + FBorderLeft + FBorderRight;
        clientHeight = FMDIKind == mkChild ? client.bottom : client.bottom - FMenuBarHeight;
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
        const int needed = FSkinData->FTitle->FLeftWidth + FCaptionWidth + FSkinData->FTitle->FRightWidth;
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
    ::SetWindowPos(FHandle, nullptr, 0, 0, width, height,
                   SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

void TWinSkinForm::RepaintWindow(HWND Window)
{
    ::InvalidateRect(Window, nullptr, TRUE);
    ::UpdateWindow(Window);
}

void TWinSkinForm::UpdateSkin()
{
    const auto life = FLife;
    if (auto* form = dynamic_cast<TCustomForm*>(FForm)) {
        form->SetColor(FSkinData->FButtonFaceColor);
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (auto* inner = dynamic_cast<TCustomForm*>(form->Components(i)))
                inner->SetColor(FSkinData->FButtonFaceColor);
    }
    // Control adapters re-read the new skin here once they exist.
    FSkinState = ssReskinning;
    if (FSkinMainMenu && FForm != nullptr) {
        ApplyFrameSize(true);
        if (!life->Alive) return;
        FForm->SetHeight(FForm->Height() + 1);
        if (!life->Alive) return;
        FForm->SetHeight(FForm->Height() - 1);
        if (!life->Alive) return;
    }
    NotifySkinned();
    if (life->Alive) FSkinState = ssActive;
}

void TWinSkinForm::NotifySkinned()
{
    const auto life = FLife;
    ::SendMessageA(FHandle, WM_SKIN_SKINNED, 0, SkinMagic);
    if (!life->Alive || FSkinData == nullptr) return;
    if (const TOnSkinForm after = FSkinData->OnAfterSkinForm) after(FForm, FHandle, FWindowClass);
}

void TWinSkinForm::Unskin()
{
    const bool destroying = FSkinState == ssDestroying || FSkinState == ssDestroyed || !::IsWindow(FHandle);
    if (FTimer) FTimer->SetEnabled(false);
    FreeSysMenu();
    if (!FSubclassed) return;
    RestoreWindowProc();
    Unsubclass();
    // Control adapters are freed here once they exist.
    if (FForm != nullptr && !destroying) FForm->SetColor(FOldColor);
    UnsubclassMDIClient();
    if (destroying) {
        if (FOriginalRegion != nullptr) ::DeleteObject(std::exchange(FOriginalRegion, nullptr));
        return;
    }
    if (FSkinMainMenu) {
        // The styles the skin took off, as they were.
        LONG style = ::GetWindowLongA(FHandle, GWL_STYLE);
        style = (style & ~(WS_SYSMENU | WS_CAPTION)) | (FOriginalStyle & (WS_SYSMENU | WS_CAPTION));
        ::SetWindowLongA(FHandle, GWL_STYLE, style);
        FStyle = style;
        if ((FMDIKind == mkChild || !FChild) && FFrameKind != fkNoCaption) RestoreOuterSize();
    }
    // The window's own region (or none) is given back; ours belongs to the system.
    if (HRGN own = std::exchange(FOriginalRegion, nullptr); ::SetWindowRgn(FHandle, own, TRUE) == 0 && own != nullptr)
        ::DeleteObject(own);
    FRegion = nullptr;
    FRegionSet = false;
}

// The outer size that gives the client area the size it has now inside the
// window's own frame, measured before skinning. A maximized or minimized
// window gets it for the place it returns to.
void TWinSkinForm::RestoreOuterSize()
{
    const int dw = FFrameRect.right - FBorderLeft - FBorderRight;
    const int dh = FFrameRect.bottom - FTitleHeight - FBorderBottom - FMenuBarHeight;
    if (::IsZoomed(FHandle) || ::IsIconic(FHandle)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (::GetWindowPlacement(FHandle, &placement)) {
            placement.rcNormalPosition.right += dw;
            placement.rcNormalPosition.bottom += dh;
            ::SetWindowPlacement(FHandle, &placement);
        }
        FrameChanged();
        return;
    }
    RECT r{};
    ::GetWindowRect(FHandle, &r);
    POINT p{r.left, r.top};
    if (FMDIKind == mkChild) ::ScreenToClient(::GetParent(FHandle), &p);
    ::SetWindowPos(FHandle, nullptr, p.x, p.y, (r.right - r.left) + dw, (r.bottom - r.top) + dh,
                   SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
}

void TWinSkinForm::DetachWindow()
{
    if (FTimer) FTimer->SetEnabled(false);
    FreeSysMenu();
    if (!FSubclassed) return;
    RestoreWindowProc();
    Unsubclass();
    UnsubclassMDIClient();
    // Control adapters are freed here once they exist.
    if (FOriginalRegion != nullptr) ::DeleteObject(std::exchange(FOriginalRegion, nullptr));
}
