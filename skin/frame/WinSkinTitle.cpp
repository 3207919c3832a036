// The title bar's clickable objects: TNCObject's three states, the title
// buttons made from the skin's button elements (visibility, layout, painting)
// and the window icon shown by the system-menu button.
#include "skin/frame/WinSkinForm.h"

#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinMenu.h"
#include "skin/frame/FrameHost.h"
#include "classlib/Handles.h"
#include "skin/SkinWindowMessages.h"

void TNCObject::MouseDown()
{
    if (FForm->FHotObject != nullptr && FForm->FHotObject != this) FForm->FHotObject->MouseLeave();
    if (!FVisible) return;
    FForm->FHotObject = this;
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
    if (FForm->FHotObject == this) return;
    if (FForm->FHotObject != nullptr) FForm->FHotObject->MouseLeave();
    if (!FVisible) return;
    FForm->FHotObject = this;
    FState = ncHot;
    Paint();
}

void TNCObject::MouseLeave()
{
    if (!FVisible) return;
    FForm->FHotObject = nullptr;
    FState = ncNormal;
    Paint();
}

void TWinSysButton::Paint()
{
    FForm->PaintSysButton(*this, FState);
}

namespace {

// A title button's visibility code and anchor both say 100 for a button
// placed in the menu bar (beside a maximized MDI child's menus).
constexpr int InMenuBar = 100;

bool IsIconKind(int Kind)
{
    return Kind == taSysMenu || Kind == taIcon;
}

}  // namespace

void TWinSkinForm::CreateSysButtons()
{
    if (FSkinData == nullptr || FSkinData->FNotLoaded) return;
    if (FFrameKind == fkNoCaption) {
        FBorderLeft = FTitleHeight = FBorderRight = FBorderBottom = FMenuBarHeight = 0;
    } else {
        auto cells = [](const TDataSkinObject& E) { return E.FFrame > 0 ? E.FFrame : 1; };
        FTitleHeight = FSkinData->FBorderTop->FBitmap->Height() / cells(*FSkinData->FBorderTop);
        FBorderLeft = FSkinData->FBorderLeft->FBitmap->Width() / cells(*FSkinData->FBorderLeft);
        FBorderRight = FSkinData->FBorderRight->FBitmap->Width() / cells(*FSkinData->FBorderRight);
        FBorderBottom = FSkinData->FBorderBottom->FBitmap->Height() / cells(*FSkinData->FBorderBottom);
    }
    if (FSkinData->FTitle->FFontHeight > 0) FCaptionFont->SetHeight(-FSkinData->FTitle->FFontHeight);
    ClearSysButtons();
    for (const auto& element : FSkinData->FSysButtons) {
        FSysButtons.push_back(std::make_unique<TWinSysButton>(this, element.get()));
        if (!IsIconKind(element->FAction)) continue;
        LoadWindowIcon(*FSmallIcon);
        // The skin's elements are shared: an icon button the skin left without
        // an image takes the first window's icon as its one-cell strip.
        if (element->FBitmap->Empty()) element->FBitmap->Assign(*FSmallIcon);
        if (FSkinData->FAppIcon->Empty()) FSkinData->FAppIcon->Assign(*FSmallIcon);
        element->FFrame = 1;
    }
}

void TWinSkinForm::ClearSysButtons()
{
    FHotObject = nullptr;
    FPressedObject = nullptr;
    FSysButtons.clear();
}

void TWinSkinForm::LoadWindowIcon(TBitmap& Bitmap)
{
    const int w = ::GetSystemMetrics(SM_CXSMICON), h = ::GetSystemMetrics(SM_CYSMICON);
    // Magenta where no icon is drawn: the icon button then shows nothing there.
    Bitmap.Canvas()->SetBrushColor(clKeyMagenta);
    Bitmap.SetSize(w, h);
    Bitmap.Canvas()->FillRect({0, 0, w, h});
    FIconSize = w;
    FIconCopy.Reset();  // the icon is read anew: so is its copy
    FIcon = reinterpret_cast<HICON>(::SendMessageA(FHandle, WM_GETICON, ICON_SMALL, 0));
    if (FIcon == nullptr) FIcon = reinterpret_cast<HICON>(::SendMessageA(FHandle, WM_GETICON, ICON_BIG, 0));
    if (FIcon == nullptr) return;
    if (HICON copy = static_cast<HICON>(::CopyImage(FIcon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE))) {
        ::DrawIconEx(Bitmap.Canvas()->Handle(), 0, 0, copy, w, h, 0, nullptr, DI_NORMAL);
        ::DestroyIcon(copy);
    }
}

void TWinSkinForm::DrawWindowIcon(HDC DC, const RECT& Rect)
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

bool TWinSkinForm::IsMDIChildMaximized() const
{
    if (FMDIKind != mdiFrame || FMDIClient == nullptr) return false;
    BOOL maximized = FALSE;
    const auto child = reinterpret_cast<HWND>(
        ::SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    return child != nullptr && maximized;
}

bool TWinSkinForm::IsSysButtonVisible(TWinSysButton& Button)
{
    const TDataSkinSysButton& data = Button.Data();
    const bool maximized = FWindowState == fwsMaximized;
    const bool dialogFrame = FFrameKind == fkDialog && !FDialog;
    auto common = [&](int Code, bool& Result) {
        switch (Code) {
        case 0: Result = true; return true;
        case 1: Result = maximized; return true;
        case 2: Result = !maximized; return true;
        case 3: Result = FActive; return true;
        case 4: Result = !FActive; return true;
        case 5: Result = false; return true;
        case 7: Result = !(FButtonSet & bsMaximize); return true;
        case 9: Result = !(FButtonSet & bsMinimize); return true;
        case 200: Result = dialogFrame; return true;
        default: return false;
        }
    };
    bool c1 = false;
    const int v1 = data.FVisibility;
    if (!common(v1, c1)) {
        if (v1 == 6) c1 = (FButtonSet & bsMaximize) && (FButtonSet & bsSysMenu);
        else if (v1 == 8) c1 = (FButtonSet & bsMinimize) && (FButtonSet & bsSysMenu);
        else if (v1 == InMenuBar) c1 = IsMDIChildMaximized() && FMenuBarHeight > 0;
        else if (v1 >= 201 && v1 <= 999) c1 = true;
        else if (v1 >= 1000 && v1 <= 2000)
            c1 = ::SendMessageA(FHandle, WM_SKIN_BUTTONVISIBLE, static_cast<WPARAM>(v1), data.FAction) > 0;
        else c1 = false;  // 10-99, 101-199, above 2000 and negative codes: never
    }
    bool c2 = false;
    const int v2 = data.FVisibility1;
    if (!common(v2, c2)) {
        if (v2 == 6) c2 = (FButtonSet & bsMaximize) != 0;
        else if (v2 == 8) c2 = (FButtonSet & bsMinimize) != 0;
        else if (v2 == InMenuBar) c2 = c1;
        else if (v2 >= 201 && v2 <= 2000) c2 = true;
        else c2 = false;
    }
    bool shown = c1 && c2;
    switch (data.FAction) {
    case taClose: shown = shown && (FButtonSet & bsSysMenu); break;
    case taMaximize: shown = shown && (FButtonSet & bsMaximize); break;
    case taMinimize: shown = shown && (FButtonSet & bsMinimize); break;
    case taSysMenu: case taIcon: case taSysMenuAlt: shown = shown && FFrameKind != fkDialog; break;
    default: break;
    }
    Button.FVisible = shown;
    return shown;
}

void TWinSkinForm::LayoutSysButtons()
{
    for (const auto& owned : FSysButtons) {
        TWinSysButton& button = *owned;
        const TDataSkinSysButton& data = button.Data();
        if (!IsSysButtonVisible(button) || data.FBitmap->Empty()) continue;
        const int w = data.FBitmap->Width() / (data.FFrame > 0 ? data.FFrame : 1);
        const int h = data.FBitmap->Height();
        int x = 0, y = 0;
        switch (data.FAlign) {
        case 0: x = data.FXcoord; y = data.FYcoord; break;
        case 1: x = FWidth - data.FXcoord; y = data.FYcoord; break;
        case InMenuBar: {
            const int m = FSkinData->FMenuBar ? FSkinData->FMenuBar->FLeftWidth : 0;
            x = FRightToLeft ? FBorderLeft + data.FXcoord + m : FWidth - FBorderRight - data.FXcoord - m;
            y = FTitleHeight + (FMenuBarHeight - h) / 2;
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

void TWinSkinForm::PaintSysButtons(HDC DC)
{
    for (const auto& button : FSysButtons) {
        const TDataSkinSysButton& data = button->Data();
        if (!button->FVisible || data.FBitmap->Empty() || data.FVisibility == InMenuBar) continue;
        if (IsIconKind(data.FAction)) {
            DrawWindowIcon(DC, button->FRect);
            continue;
        }
        const int cell = (!FActive && data.FFrame >= ncInactive) ? ncInactive : ncNormal;
        DrawSkinCell(DC, button->FRect, *data.FBitmap, {.Index = cell, .Count = data.FFrame, .Transparent = true});
    }
}

void TWinSkinForm::PaintMenuBarButtons(HDC DC, POINT BarOrigin)
{
    if (!IsMDIChildMaximized()) return;
    for (const auto& button : FSysButtons) {
        const TDataSkinSysButton& data = button->Data();
        if (data.FVisibility != InMenuBar || !button->FVisible || data.FBitmap->Empty()) continue;
        RECT r = button->FRect;
        ::OffsetRect(&r, -BarOrigin.x, -BarOrigin.y);
        DrawSkinCell(DC, r, *data.FBitmap, {.Index = ncNormal, .Count = data.FFrame, .Transparent = true});
    }
    if (FrameHost != nullptr && !FrameHost->ChildMaximized()) FrameHost->SetChildCaptionStyle(true);
}

// One button in a new state, composed off screen over the title (or the
// menu bar) under it: its cells leave the background showing through.
void TWinSkinForm::PaintSysButton(TWinSysButton& Button, TNCState State)
{
    const TDataSkinSysButton& data = Button.Data();
    const RECT& r = Button.FRect;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (data.FBitmap->Empty() || ScratchBitmap == nullptr || w <= 0 || h <= 0) return;
    const TWindowDC dc(FHandle, ::GetWindowDC(FHandle));
    if (dc.Get() == nullptr) return;
    ScratchBitmap->SetSize(w, h);
    const HDC canvas = ScratchBitmap->Canvas()->Handle();
    if (data.FVisibility == InMenuBar && FMenuBar) {
        FMenuBar->DrawBackground(canvas, r);
    } else {
        POINT origin{};
        ::SetViewportOrgEx(canvas, -r.left, -r.top, &origin);
        DrawTitleBackground(canvas);
        ::SetViewportOrgEx(canvas, origin.x, origin.y, nullptr);
    }
    const RECT cellRect{0, 0, w, h};
    if (IsIconKind(data.FAction)) {
        DrawWindowIcon(canvas, cellRect);
    } else {
        // A button placed in the menu bar shows its inactive cell when hot.
        const int cell = (State == ncHot && data.FVisibility == InMenuBar) ? ncInactive : State;
        DrawSkinCell(canvas, cellRect, *data.FBitmap, {.Index = cell, .Count = data.FFrame, .Transparent = true});
    }
    ::BitBlt(dc.Get(), r.left, r.top, w, h, canvas, 0, 0, SRCCOPY);
}

TWinSysButton* TWinSkinForm::SysButtonAt(POINT P) const
{
    for (const auto& button : FSysButtons)
        if (button->FVisible && button->Data().FAction >= 0 && ::PtInRect(&button->FRect, P)) return button.get();
    return nullptr;
}
