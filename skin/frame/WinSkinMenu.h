// The frame object's menus: TWinSkinMenu, the skinned menu bar that takes
// over a window's menu (its items become TMenuBtn buttons of the non-client
// area, each opening its drop-down with TrackPopupMenu), and
// TWinSkinSysMenu, the skinned system menu rebuilt from the window's own.
// Both are owned by their frame object; the bar gives the menu back when the
// skin lets go.
#pragma once

#include <windows.h>

#include "classlib/Canvas.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/menus/OwnerDrawMenu.h"

#include <memory>
#include <string>
#include <vector>

class TSkinData;
class TWinSkinMenu;

class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TWinSkinForm* AForm, TWinSkinMenu& ABar) : TNCObject(AForm), FBar(ABar) {}
    void Paint() override;

    int FIndex = 0;
    std::wstring FCaption;  // '&' marks the accelerator
    bool FEnabled = true;
    HMENU FSubMenu = nullptr;
    UINT FCommand = 0;

private:
    TWinSkinMenu& FBar;
};

class TWinSkinMenu {
public:
    TWinSkinMenu(TWinSkinForm& Form, TSkinData& Data);
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    // Reads Menu's top-level items into buttons and takes the menu off the
    // window (the bar shows it from now on). A null Menu keeps the one held,
    // if it still exists; else the bar has no menu and no buttons.
    void BuildButtons(HMENU Menu);
    HMENU Handle() const noexcept { return FHandle; }
    // Forgets the menu without giving it back (the window is gone).
    HMENU Release() noexcept;

    void Paint(HDC DC, const RECT& Bar, bool Active);
    void PaintButton(TMenuBtn& Button);
    // The bar's background of the last paint under Rect (window
    // coordinates), copied to DC's origin.
    void DrawBackground(HDC DC, const RECT& Rect) const;
    TMenuBtn* ButtonAt(POINT P) const;
    TMenuBtn* FindAccelButton(wchar_t Char) const;
    TMenuBtn* Button(int Index) const;
    int Count() const noexcept { return static_cast<int>(FButtons.size()); }
    const RECT& BarRect() const noexcept { return FBarRect; }
    // The drop-downs' items while one is open.
    TOwnerDrawMenu& OwnerDraw() noexcept { return FOwnerDraw; }

private:
    void LayoutButtons(HDC DC);
    int StartOffset() const;
    void DrawCaption(HDC DC, const TMenuBtn& Button, const RECT& Rect) const;

    TWinSkinForm& FForm;
    TSkinData& FSkinData;
    HMENU FHandle = nullptr;
    RECT FBarRect{};
    bool FActive = true;
    std::vector<std::unique_ptr<TMenuBtn>> FButtons;
    std::unique_ptr<TBitmap> FBarBitmap;  // the background of the last paint
    TOwnerDrawMenu FOwnerDraw;
};

// What the system menu offers in the window's present state.
struct TSysMenuState {
    bool Normal, Minimized, Maximized, Sizeable, CanMinimize, CanMaximize;
};

class TWinSkinSysMenu : public TSkinPopupMenu {
public:
    // The window's system menu copied item by item, owner-drawn, enabled
    // for State, with the skin's glyphs for restore, maximize, minimize and close.
    TWinSkinSysMenu(HMENU SysMenu, const TSysMenuState& State, HIMAGELIST Images);
    HIMAGELIST Images() const noexcept { return FImages; }
    // Where it was popped up.
    POINT LastPoint() const noexcept { return FLastPoint; }
    void SetLastPoint(POINT P) noexcept { FLastPoint = P; }

private:
    void CopyItems(HMENU From, HMENU To, const TSysMenuState& State);

    HIMAGELIST FImages;
    POINT FLastPoint{};
};

// Whether the system menu lets the window close (Close present and enabled).
bool SysMenuAllowsClose(HMENU SysMenu);
