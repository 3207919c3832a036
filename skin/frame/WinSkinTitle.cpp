// The title bar: TNCObject's three states, and TWinSkinTitle with the title
// buttons made from the skin's button elements (visibility, layout, painting,
// clicks), the caption text and the window icon shown by the system-menu button.
#include "skin/frame/WinSkinForm.h"

#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinMenu.h"
#include "skin/frame/FrameHost.h"
#include "classlib/Handles.h"
#include "skin/SkinWindowMessages.h"

#include <windowsx.h>

#include <algorithm>

void TNCObject::MouseDown()
{
    if (FForm->FTitle.FHotObject != nullptr && FForm->FTitle.FHotObject != this) FForm->FTitle.FHotObject->MouseLeave();
    if (!FVisible) return;
    FForm->FTitle.FHotObject = this;
    FState = ncPressed;
    Paint();
}

void TNCObject::MouseUp()
{
    if (!FVisible) return;
    FState = ncHot;
    Paint();
}

void TNCObject::MouseEnter()
{
    if (FForm->FTitle.FHotObject == this) return;
    if (FForm->FTitle.FHotObject != nullptr) FForm->FTitle.FHotObject->MouseLeave();
    if (!FVisible) return;
    FForm->FTitle.FHotObject = this;
    FState = ncHot;
    Paint();
}

void TNCObject::MouseLeave()
{
    if (!FVisible) return;
    FForm->FTitle.FHotObject = nullptr;
    FState = ncNormal;
    Paint();
}

void TWinSysButton::Paint()
{
    FForm->FTitle.PaintSysButton(*this, FState);
}

namespace {

bool IsIconKind(int Kind)
{
    return Kind == taSysMenu || Kind == taIcon;
}

}  // namespace

TWinSkinTitle::TWinSkinTitle(TWinSkinForm& Frame) : FFrame(Frame), FSmallIcon(std::make_unique<TBitmap>())
{
    UpdateCaptionFont();
    FSmallIcon->SetPixelFormat(TPixelFormat::pf24bit);
}

void TWinSkinTitle::CreateSysButtons()
{
    if (FFrame.FSkinData == nullptr || FFrame.FSkinData->FNotLoaded) return;
    if (FFrame.FSkinData->FTitle->FFontHeight > 0) FCaptionFont->SetHeight(-FFrame.FSkinData->FTitle->FFontHeight);
    ClearSysButtons();
    for (const auto& element : FFrame.FSkinData->FSysButtons) {
        FSysButtons.push_back(std::make_unique<TWinSysButton>(&FFrame, element.get()));
        if (!IsIconKind(element->FAction)) continue;
        LoadWindowIcon(*FSmallIcon);
        // The skin's elements are shared: an icon button the skin left without
        // an image takes the first window's icon as its one-cell strip.
        if (element->FBitmap->Empty()) element->FBitmap->Assign(*FSmallIcon);
        if (FFrame.FSkinData->FAppIcon->Empty()) FFrame.FSkinData->FAppIcon->Assign(*FSmallIcon);
        element->FFrame = 1;
    }
}

void TWinSkinTitle::ClearSysButtons()
{
    FHotObject = nullptr;
    FPressedObject = nullptr;
    FSysButtons.clear();
}

void TWinSkinTitle::LoadWindowIcon(TBitmap& Bitmap)
{
    const int w = ::GetSystemMetrics(SM_CXSMICON), h = ::GetSystemMetrics(SM_CYSMICON);
    // Magenta where no icon is drawn: the icon button then shows nothing there.
    Bitmap.Canvas()->SetBrushColor(clKeyMagenta);
    Bitmap.SetSize(w, h);
    Bitmap.Canvas()->FillRect({0, 0, w, h});
    FIconSize = w;
    FIconCopy.Reset();  // the icon is read anew: so is its copy
    FIcon = reinterpret_cast<HICON>(::SendMessageA(FFrame.FHandle, WM_GETICON, ICON_SMALL, 0));
    if (FIcon == nullptr) FIcon = reinterpret_cast<HICON>(::SendMessageA(FFrame.FHandle, WM_GETICON, ICON_BIG, 0));
    if (FIcon == nullptr) return;
    if (HICON copy = static_cast<HICON>(::CopyImage(FIcon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE))) {
        ::DrawIconEx(Bitmap.Canvas()->Handle(), 0, 0, copy, w, h, 0, nullptr, DI_NORMAL);
        ::DestroyIcon(copy);
    }
}

void TWinSkinTitle::DrawWindowIcon(HDC DC, const RECT& Rect)
{
    if (FIcon != nullptr) {
        if (FIconCopyOf != FIcon || !FIconCopy) {
            FIconCopy.Reset(static_cast<HICON>(::CopyImage(FIcon, IMAGE_ICON, FIconSize, FIconSize, LR_COPYFROMRESOURCE)));
            FIconCopyOf = FIcon;
        }
        if (FIconCopy)
            ::DrawIconEx(DC, Rect.left, Rect.top, FIconCopy.Get(), FIconSize, FIconSize, 0, nullptr, DI_NORMAL);
        return;
    }
    DrawTransparentBitmap(DC, Rect, *FSmallIcon, clKeyMagenta);
}

bool TWinSkinTitle::IsSysButtonVisible(TWinSysButton& Button)
{
    const TDataSkinSysButton& data = Button.Data();
    const bool maximized = FFrame.FWindowState == fwsMaximized;
    const bool dialogFrame = FFrame.FClass.FrameKind == fkDialog && !FFrame.FClass.Dialog;
    auto common = [&](int Code, bool& Result) {
        switch (Code) {
        case sbvAlways: Result = true; return true;
        case sbvMaximized: Result = maximized; return true;
        case sbvNotMaximized: Result = !maximized; return true;
        case sbvActive: Result = FFrame.FActive; return true;
        case sbvInactive: Result = !FFrame.FActive; return true;
        case sbvNever: Result = false; return true;
        case sbvNoMaximizeBox: Result = !(FFrame.FClass.ButtonSet & bsMaximize); return true;
        case sbvNoMinimizeBox: Result = !(FFrame.FClass.ButtonSet & bsMinimize); return true;
        case sbvDialogFrame: Result = dialogFrame; return true;
        default: return false;
        }
    };
    bool c1 = false;
    const int v1 = data.FVisibility;
    if (!common(v1, c1)) {
        if (v1 == sbvMaximizeBox) c1 = (FFrame.FClass.ButtonSet & bsMaximize) && (FFrame.FClass.ButtonSet & bsSysMenu);
        else if (v1 == sbvMinimizeBox) c1 = (FFrame.FClass.ButtonSet & bsMinimize) && (FFrame.FClass.ButtonSet & bsSysMenu);
        else if (v1 == sbvInMenuBar) c1 = FFrame.IsMDIChildMaximized() && FFrame.FShape.MenuBarHeight() > 0;
        else if (IsShownVisibility(v1)) c1 = true;
        else if (IsAskedVisibility(v1))
            c1 = ::SendMessageA(FFrame.FHandle, WM_SKIN_BUTTONVISIBLE, static_cast<WPARAM>(v1), data.FAction) > 0;
        else c1 = false;  // 10-99, 101-199, above 2000 and negative codes: never
    }
    bool c2 = false;
    const int v2 = data.FVisibility1;
    if (!common(v2, c2)) {
        if (v2 == sbvMaximizeBox) c2 = (FFrame.FClass.ButtonSet & bsMaximize) != 0;
        else if (v2 == sbvMinimizeBox) c2 = (FFrame.FClass.ButtonSet & bsMinimize) != 0;
        else if (v2 == sbvInMenuBar) c2 = c1;
        else if (IsShownVisibility(v2) || IsAskedVisibility(v2)) c2 = true;
        else c2 = false;
    }
    bool shown = c1 && c2;
    switch (data.FAction) {
    case taClose: shown = shown && (FFrame.FClass.ButtonSet & bsSysMenu); break;
    case taMaximize: shown = shown && (FFrame.FClass.ButtonSet & bsMaximize); break;
    case taMinimize: shown = shown && (FFrame.FClass.ButtonSet & bsMinimize); break;
    case taSysMenu: case taIcon: case taSysMenuAlt: shown = shown && FFrame.FClass.FrameKind != fkDialog; break;
    default: break;
    }
    Button.FVisible = shown;
    return shown;
}

void TWinSkinTitle::LayoutSysButtons()
{
    for (const auto& owned : FSysButtons) {
        TWinSysButton& button = *owned;
        const TDataSkinSysButton& data = button.Data();
        if (!IsSysButtonVisible(button) || data.FBitmap->Empty()) continue;
        const int w = data.FBitmap->Width() / (data.FFrame > 0 ? data.FFrame : 1);
        const int h = data.FBitmap->Height();
        int x = 0, y = 0;
        switch (data.FAlign) {
        case sbaLeft: x = data.FXcoord; y = data.FYcoord; break;
        case sbaRight: x = FFrame.FShape.Width() - data.FXcoord; y = data.FYcoord; break;
        case sbaInMenuBar: {
            const int m = FFrame.FSkinData->FMenuBar ? FFrame.FSkinData->FMenuBar->FLeftWidth : 0;
            x = FFrame.FRightToLeft ? FFrame.FShape.BorderLeft() + data.FXcoord + m
                                    : FFrame.FShape.Width() - FFrame.FShape.BorderRight() - data.FXcoord - m;
            y = FFrame.FShape.TitleHeight() + (FFrame.FShape.MenuBarHeight() - h) / 2;
            break;
        }
        // Anchors relative to reference points the frame never sets (they stay 0).
        case 2: case 8: x = -w - data.FXcoord; y = data.FYcoord; break;
        case 3: case 9: x = data.FXcoord; y = data.FYcoord; break;
        default: break;
        }
        button.FRect = {x, y, x + w, y + h};
    }
}

void TWinSkinTitle::PaintSysButtons(HDC DC)
{
    for (const auto& button : FSysButtons) {
        const TDataSkinSysButton& data = button->Data();
        if (!button->FVisible || data.FBitmap->Empty() || data.FVisibility == sbvInMenuBar) continue;
        if (IsIconKind(data.FAction)) {
            DrawWindowIcon(DC, button->FRect);
            continue;
        }
        const int cell = (!FFrame.FActive && data.FFrame >= ncInactive) ? ncInactive : ncNormal;
        DrawSkinCell(DC, button->FRect, *data.FBitmap, {.Index = cell, .Count = data.FFrame, .Transparent = true});
    }
}

void TWinSkinTitle::PaintMenuBarButtons(HDC DC, POINT BarOrigin)
{
    if (!FFrame.IsMDIChildMaximized()) return;
    for (const auto& button : FSysButtons) {
        const TDataSkinSysButton& data = button->Data();
        if (data.FVisibility != sbvInMenuBar || !button->FVisible || data.FBitmap->Empty()) continue;
        RECT r = button->FRect;
        ::OffsetRect(&r, -BarOrigin.x, -BarOrigin.y);
        DrawSkinCell(DC, r, *data.FBitmap, {.Index = ncNormal, .Count = data.FFrame, .Transparent = true});
    }
    if (FrameHost != nullptr && !FrameHost->ChildMaximized()) FrameHost->SetChildCaptionStyle(true);
}

// One button in a new state, composed off screen over the title (or the
// menu bar) under it: its cells leave the background showing through.
void TWinSkinTitle::PaintSysButton(TWinSysButton& Button, TNCState State)
{
    const TDataSkinSysButton& data = Button.Data();
    const RECT& r = Button.FRect;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (data.FBitmap->Empty() || ScratchBitmap == nullptr || w <= 0 || h <= 0) return;
    const TWindowDC dc(FFrame.FHandle, ::GetWindowDC(FFrame.FHandle));
    if (dc.Get() == nullptr) return;
    ScratchBitmap->SetSize(w, h);
    const HDC canvas = ScratchBitmap->Canvas()->Handle();
    if (data.FVisibility == sbvInMenuBar && FFrame.FMenus->MenuBar()) {
        FFrame.FMenus->MenuBar()->DrawBackground(canvas, r);
    } else {
        POINT origin{};
        ::SetViewportOrgEx(canvas, -r.left, -r.top, &origin);
        FFrame.FShape.DrawTitleBackground(canvas);
        ::SetViewportOrgEx(canvas, origin.x, origin.y, nullptr);
    }
    const RECT cellRect{0, 0, w, h};
    if (IsIconKind(data.FAction)) {
        DrawWindowIcon(canvas, cellRect);
    } else {
        // A button placed in the menu bar shows its inactive cell when hot.
        const int cell = (State == ncHot && data.FVisibility == sbvInMenuBar) ? ncInactive : State;
        DrawSkinCell(canvas, cellRect, *data.FBitmap, {.Index = cell, .Count = data.FFrame, .Transparent = true});
    }
    ::BitBlt(dc.Get(), r.left, r.top, w, h, canvas, 0, 0, SRCCOPY);
}

TWinSysButton* TWinSkinTitle::SysButtonAt(POINT P) const
{
    for (const auto& button : FSysButtons)
        if (button->FVisible && button->Data().FAction >= 0 && ::PtInRect(&button->FRect, P)) return button.get();
    return nullptr;
}


void TWinSkinTitle::UpdateCaptionFont()
{
    FCaptionFont = std::make_unique<TFont>();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return;
    FCaptionFont->AssignLogFont(metrics.lfCaptionFont);
}

void TWinSkinTitle::WMNCMouseMove(TMessage& Message)
{
    if (!FFrame.FActive) return;
    if (TNCObject* object = FFrame.ObjectAt(FFrame.FShape.ScreenToWindow(Message.LParam))) {
        object->MouseEnter();
        Message.Result = 0;
        return;
    }
    if (FHotObject != nullptr) {
        FHotObject->MouseLeave();
        FHotObject = nullptr;
    }
    FFrame.CallDefault(Message);
}

void TWinSkinTitle::WMNCLButtonDown(TMessage& Message)
{
    const TToken life = FFrame.Token();
    TWinSkinMenu* const bar = FFrame.FMenus->MenuBar();
    if (TMenuBtn* button = bar ? bar->ButtonAt(FFrame.FShape.ScreenToWindow(Message.LParam)) : nullptr) {
        const int index = button->FIndex;
        if (!FFrame.FActive) {
            ::SetForegroundWindow(FFrame.FHandle);
            if (!life.Alive()) return;
        }
        // Activation may have rebuilt the bar.
        FFrame.FMenus->OpenMenuButton(FFrame.FMenus->MenuBar() ? FFrame.FMenus->MenuBar()->Button(index) : nullptr, false);
        if (life.Alive()) Message.Result = 0;
        return;
    }
    if (TWinSysButton* button = SysButtonAt(FFrame.FShape.ScreenToWindow(Message.LParam))) {
        if (!FFrame.FActive) {
            ::SetForegroundWindow(FFrame.FHandle);
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
    if (FFrame.FWindowState == fwsMaximized && FFrame.FActive && Message.WParam == HTCAPTION) Message.WParam = HTMENU;
    FFrame.CallDefault(Message);
}

void TWinSkinTitle::WMNCLButtonUp(TMessage& Message)
{
    // A click is a press and a release on the same button: sliding from one
    // title button to another and releasing there clicks neither.
    TNCObject* const pressed = std::exchange(FPressedObject, nullptr);
    if (TWinSysButton* button = SysButtonAt(FFrame.FShape.ScreenToWindow(Message.LParam))) {
        if (button == FHotObject && button == pressed) {
            button->MouseUp();
            SysButtonClick({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
        }
        Message.Result = 0;
        return;
    }
    FFrame.CallDefault(Message);
}

void TWinSkinTitle::WMNCLButtonDblClk(TMessage& Message)
{
    if (TWinSysButton* button = SysButtonAt(FFrame.FShape.ScreenToWindow(Message.LParam))) {
        if (IsIconKind(button->Data().FAction)) {
            FFrame.FTimer->SetEnabled(false);
            ::PostMessageA(FFrame.FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        Message.Result = 0;
        return;
    }
    // The bar's band answers HTMENU also between and after its buttons, as a
    // native bar does; a double click there sizes nothing, nor one on the
    // sizing band.
    if (Message.WParam == HTMENU || (Message.WParam >= HTLEFT && Message.WParam <= HTBOTTOMRIGHT)) {
        FFrame.CallDefault(Message);
        return;
    }
    if (FFrame.FWindowState != fwsNormal) FFrame.RestoreWindow();
    else if (FFrame.FClass.ButtonSet & bsMaximize) FFrame.ToggleMaximize();
    else FFrame.CallDefault(Message);
}

void TWinSkinTitle::WMNCRButtonDown(TMessage& Message)
{
    if (Message.WParam == HTCAPTION && FFrame.FClass.MDIKind != mdiChild) {
        // Signed: a monitor left of or above the primary has negative coordinates.
        FFrame.FMenus->ShowSystemMenu({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
        Message.Result = 0;
        return;
    }
    FFrame.CallDefault(Message);
}

void TWinSkinTitle::SysButtonClick(POINT P)
{
    auto* button = dynamic_cast<TWinSysButton*>(FHotObject);
    if (button == nullptr) return;
    const int kind = button->Data().FAction;
    switch (kind) {
    case taClose:
        if (FFrame.FMenus->CanClose()) {
            FFrame.FTimer->SetEnabled(false);
            ::PostMessageA(FFrame.FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    case taMaximize: case taMaximizeAlt: FFrame.ToggleMaximize(); break;
    case taMinimize: case taMinimizeAlt: FFrame.ToggleMinimize(); break;
    case taSysMenu: case taIcon: case taSysMenuAlt: FFrame.FMenus->ShowSystemMenu({P.x + 1, P.y + 1}); break;
    case taMDIMinimize: case taMDIMinimizeAlt: FFrame.MDIChildCommand(SC_MINIMIZE); break;
    case taMDIRestore: case taMDIRestoreAlt: FFrame.MDIChildCommand(SC_RESTORE); break;
    case taMDIClose: case taMDICloseAlt: FFrame.MDIChildCommand(SC_CLOSE); break;
    default: ::PostMessageA(FFrame.FHandle, WM_SKIN_BUTTONCLICK, static_cast<WPARAM>(kind), 0); break;
    }
}

// The caption: the skin's title element gives its shifts, clip, alignment,
// pixel height and colours; the system's caption font gives the face.
void TWinSkinTitle::DrawCaption(HDC DC, const RECT& TitleRect)
{
    const int length = ::GetWindowTextLengthW(FFrame.FHandle);
    FWindowText.assign(static_cast<size_t>(length), L'\0');
    if (length > 0)
        FWindowText.resize(static_cast<size_t>(
            ::GetWindowTextW(FFrame.FHandle, FWindowText.data(), length + 1)));
    if (FWindowText.empty()) return;
    const TDataSkinTitle& t = *FFrame.FSkinData->FTitle;
    TColor colour = FFrame.FActive ? t.FActiveText : t.FInActiveText;
    if (colour == clNone)
        colour = FFrame.FActive ? FFrame.FSkinData->FTitleTextActiveColor : FFrame.FSkinData->FTitleTextNoActiveColor;
    RECT r{TitleRect.left + t.FLeftWidth, TitleRect.top + t.FTopHeight, FFrame.FShape.Width() - t.FRightWidth,
           TitleRect.bottom};
    if (r.right <= r.left) return;
    UINT align = DT_LEFT;
    if (t.FTextAlignment == 1) align = DT_RIGHT;
    else if (t.FTextAlignment == 2) align = DT_CENTER;
    const TSelectObject font(DC, FCaptionFont->Handle());
    ::SetBkMode(DC, TRANSPARENT);
    ::SetTextColor(DC, static_cast<COLORREF>(SkinColorToRGB(colour)) & 0xFFFFFF);
    ::DrawTextW(DC, FWindowText.c_str(), static_cast<int>(FWindowText.size()), &r,
                align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}
