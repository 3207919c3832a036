// The skinned menu bar and system menu: bar buttons, their layout and
// painting, the system menu's copy, and the tracking of an open drop-down
// (a message-filter hook giving the bar's keyboard and mouse behaviour).
#include "skin/frame/WinSkinMenu.h"

#include "skin/adapters/AdapterDraw.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/menus/MenuItemPaint.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "classlib/Handles.h"
#include "classlib/Menus.h"

#include <algorithm>

namespace {

// Glyphs of the skin's system-menu image list.
enum TSysGlyph { sgRestore = 0, sgMaximize = 1, sgMinimize = 2, sgClose = 3 };

}  // namespace

void TMenuBtn::Paint()
{
    FBar.PaintButton(*this);
}

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& Form, TSkinData& Data)
    : FForm(Form), FSkinData(Data), FBarBitmap(std::make_unique<TBitmap>())
{
    FBarBitmap->SetPixelFormat(TPixelFormat::pf24bit);
}

HMENU TWinSkinMenu::Release() noexcept
{
    FOwnerDraw.Restore();
    FButtons.clear();
    return std::exchange(FHandle, nullptr);
}

void TWinSkinMenu::BuildButtons(HMENU Menu)
{
    if (Menu != nullptr) FHandle = Menu;
    FButtons.clear();
    // A freed class-library main menu destroyed the menu held: the bar is empty.
    if (FHandle != nullptr && !::IsMenu(FHandle)) {
        FOwnerDraw.Restore();
        FHandle = nullptr;
    }
    if (FHandle == nullptr) return;
    const int count = ::GetMenuItemCount(FHandle);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_BITMAP;
        if (!::GetMenuItemInfoW(FHandle, static_cast<UINT>(i), TRUE, &info)) continue;
        std::wstring caption = MenuItemText(FHandle, static_cast<UINT>(i));
        // The pictures the system adds for a maximized MDI child: the skin
        // draws that child's buttons itself.
        if (caption.empty() && ((info.fType & MFT_BITMAP) != 0 || info.hbmpItem != nullptr)) continue;
        auto button = std::make_unique<TMenuBtn>(&FForm, *this);
        button->FIndex = static_cast<int>(FButtons.size());
        button->FSubMenu = info.hSubMenu;
        button->FEnabled = (info.fState & MFS_GRAYED) == 0;
        button->FCommand = info.wID;
        button->FCaption = std::move(caption);
        button->FVisible = true;
        FButtons.push_back(std::move(button));
    }
    if (::GetMenu(FForm.Handle()) == FHandle) ::SetMenu(FForm.Handle(), nullptr);
}

int TWinSkinMenu::StartOffset() const
{
    const TDataSkinObject* e = FSkinData.FMenuBar.get();
    if (e == nullptr || e->FBitmap->Empty()) return 6;
    const int offset = FForm.RightToLeft() ? e->FRightWidth + 8 : e->FLeftWidth + 4;
    return offset > FBarRect.right - FBarRect.left ? 12 : offset;
}

// A right-to-left window's bar reads from the right, as its drop-downs open
// and its Left and Right keys go.
void TWinSkinMenu::LayoutButtons(HDC DC)
{
    const bool rtl = FForm.RightToLeft();
    int x = rtl ? FBarRect.right - StartOffset() : FBarRect.left + StartOffset();
    for (const auto& button : FButtons) {
        SIZE size{0, 0};
        if (!button->FCaption.empty()) {
            RECT r{0, 0, 0, 0};
            std::wstring text = button->FCaption;
            ::DrawTextW(DC, text.data(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
            size.cx = r.right - r.left + 10;
        }
        button->FRect = rtl ? RECT{x - size.cx, FBarRect.top, x, FBarRect.bottom - 1}
                            : RECT{x, FBarRect.top, x + size.cx, FBarRect.bottom - 1};
        x += rtl ? -size.cx : size.cx;
    }
}

void TWinSkinMenu::DrawCaption(HDC DC, const TMenuBtn& Button, const RECT& Rect) const
{
    // Disabled captions in the button-shadow colour.
    const COLORREF old = ::SetTextColor(DC, ColorToRGB(FSkinData.FMenuBarTextColor));
    DrawCenteredText(DC, Rect, Button.FCaption, Button.FEnabled, TTextAlignment::taCenter);
    if (old != CLR_INVALID) ::SetTextColor(DC, old);
}

void TWinSkinMenu::Paint(HDC DC, const RECT& Bar, bool Active)
{
    const int w = Bar.right - Bar.left, h = Bar.bottom - Bar.top;
    if (w <= 0 || h <= 0) return;
    FBarRect = Bar;
    FActive = Active;
    FBarBitmap->SetSize(w, h);
    const HDC bg = FBarBitmap->Canvas()->Handle();
    const RECT all{0, 0, w, h};
    const TDataSkinObject* e = FSkinData.FMenuBar.get();
    if (e == nullptr || e->FBitmap->Empty()) {
        const TGdiObject brush(::CreateSolidBrush(ColorToRGB(FSkinData.FMenubarColor)));
        ::FillRect(bg, &all, static_cast<HBRUSH>(brush.Get()));
    } else {
        const TStripCell cell{.Index = Active || e->FFrame < 2 ? 1 : 2, .Count = std::max(e->FFrame, 1), .Vertical = true};
        if (e->FTile == 1) DrawSkinPart(bg, all, *e->FBitmap, MarginsOf(*e), cell);
        else DrawSkinBar(*FBarBitmap->Canvas(), all, *e->FBitmap, {e->FLeftWidth, 0, e->FRightWidth, 0}, cell);
    }
    TBitmap composite;
    composite.SetPixelFormat(TPixelFormat::pf24bit);
    composite.SetSize(w, h);
    const HDC dc = composite.Canvas()->Handle();
    ::BitBlt(dc, 0, 0, w, h, bg, 0, 0, SRCCOPY);
    const HFONT font = MenuFont();
    const TSelectObject select(dc, font != nullptr ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    LayoutButtons(dc);
    for (const auto& button : FButtons) {
        if (button->FCaption.empty()) continue;
        RECT r = button->FRect;
        ::OffsetRect(&r, -Bar.left, -Bar.top);
        DrawCaption(dc, *button, r);
    }
    FForm.FTitle.PaintMenuBarButtons(dc, {Bar.left, Bar.top});
    ::BitBlt(DC, Bar.left, Bar.top, w, h, dc, 0, 0, SRCCOPY);
}

void TWinSkinMenu::DrawBackground(HDC DC, const RECT& Rect) const
{
    if (FBarBitmap->Empty()) return;
    ::BitBlt(DC, 0, 0, Rect.right - Rect.left, Rect.bottom - Rect.top, FBarBitmap->Canvas()->Handle(),
             Rect.left - FBarRect.left, Rect.top - FBarRect.top, SRCCOPY);
}

void TWinSkinMenu::PaintButton(TMenuBtn& Button)
{
    const int w = Button.FRect.right - Button.FRect.left, h = FBarRect.bottom - FBarRect.top;
    if (w <= 0 || h <= 0 || FBarBitmap->Empty()) return;
    const TWindowDC window(FForm.Handle(), ::GetWindowDC(FForm.Handle()));
    if (window.Get() == nullptr) return;
    TBitmap composite;
    composite.SetPixelFormat(TPixelFormat::pf24bit);
    composite.SetSize(w, h);
    const HDC dc = composite.Canvas()->Handle();
    ::BitBlt(dc, 0, 0, w, h, FBarBitmap->Canvas()->Handle(), Button.FRect.left - FBarRect.left, 0, SRCCOPY);
    RECT r{0, Button.FRect.top - FBarRect.top, w, Button.FRect.bottom - FBarRect.top};
    if (Button.State() == ncPressed || Button.State() == ncHot) {
        const TGdiObject brush(::CreateSolidBrush(ColorToRGB(FSkinData.FButtonHilightColor)));
        ::FrameRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
    }
    const HFONT font = MenuFont();
    const TSelectObject select(dc, font != nullptr ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    DrawCaption(dc, Button, r);
    ::BitBlt(window.Get(), Button.FRect.left, FBarRect.top, w, h, dc, 0, 0, SRCCOPY);
}

TMenuBtn* TWinSkinMenu::ButtonAt(POINT P) const
{
    for (const auto& button : FButtons)
        if (!button->FCaption.empty() && ::PtInRect(&button->FRect, P)) return button.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::FindAccelButton(wchar_t Char) const
{
    if (Char == 0) return nullptr;
    for (const auto& button : FButtons)
        if (button->FEnabled && button->FVisible && IsAccel(Char, std::wstring_view(button->FCaption)))
            return button.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::Button(int Index) const
{
    return Index >= 0 && Index < Count() ? FButtons[static_cast<size_t>(Index)].get() : nullptr;
}

TWinSkinSysMenu::TWinSkinSysMenu(HMENU SysMenu, const TSysMenuState& State, HIMAGELIST Images) : FImages(Images)
{
    CopyItems(SysMenu, Handle(), State);
}

void TWinSkinSysMenu::CopyItems(HMENU From, HMENU To, const TSysMenuState& State)
{
    const int count = ::GetMenuItemCount(From);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_BITMAP;
        if (!::GetMenuItemInfoW(From, static_cast<UINT>(i), TRUE, &info)) continue;
        std::wstring text = MenuItemText(From, static_cast<UINT>(i));
        if (text.empty() && (info.fType & MFT_SEPARATOR) == 0 &&
            ((info.fType & MFT_BITMAP) != 0 || info.hbmpItem != nullptr)) {
            // A picture item stays one, drawn by the system; the window keeps the bitmap.
            info.fMask &= ~static_cast<UINT>(MIIM_SUBMENU);
            info.fType &= ~static_cast<UINT>(MFT_BITMAP);  // the picture goes as hbmpItem
            info.hSubMenu = nullptr;
            ::InsertMenuItemW(To, static_cast<UINT>(::GetMenuItemCount(To)), TRUE, &info);
            continue;
        }
        if (text.empty()) text = L"-";
        // The window's state decides these; the system menu's own state of
        // them is only brought up to date when the system shows it.
        bool enabled = (info.fState & MFS_GRAYED) == 0;
        if (info.hSubMenu != nullptr) {
            if (const HMENU sub = AddSubMenu(text, enabled, To)) CopyItems(info.hSubMenu, sub, State);
            continue;
        }
        int glyph = -1;
        switch (info.wID & 0xFFF0) {
        case SC_RESTORE: glyph = sgRestore; enabled = !State.Normal; break;
        case SC_MAXIMIZE: glyph = sgMaximize; enabled = !State.Maximized && State.CanMaximize; break;
        case SC_MINIMIZE: glyph = sgMinimize; enabled = !State.Minimized && State.CanMinimize; break;
        case SC_CLOSE: glyph = sgClose; break;
        case SC_MOVE: enabled = !State.Maximized; break;
        case SC_SIZE: enabled = !State.Maximized && State.Sizeable; break;
        default: break;
        }
        const bool added = Add(info.wID, text, enabled, (info.fState & MFS_CHECKED) != 0, glyph, To);
        if (added && (info.fState & MFS_DEFAULT) != 0) {
            ::SetMenuDefaultItem(To, static_cast<UINT>(::GetMenuItemCount(To) - 1), TRUE);
            FItems.back()->Default = true;
        }
    }
}

bool SysMenuAllowsClose(HMENU SysMenu)
{
    if (SysMenu == nullptr) return false;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    return ::GetMenuItemInfoW(SysMenu, SC_CLOSE, FALSE, &info) && (info.fState & MFS_GRAYED) == 0;
}
