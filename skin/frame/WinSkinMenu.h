// The frame object's menus: TWinSkinMenu, the skinned menu bar that takes
// over a window's menu (its items become TMenuBtn buttons of the non-client
// area, each opening its drop-down with TrackPopupMenu), and
// TWinSkinSysMenu, the skinned system menu rebuilt from the window's own,
// and TWinSkinMenus, the frame object's part that owns both; the bar gives
// the menu back when the skin lets go.
#pragma once

#include <windows.h>

#include "classlib/Canvas.h"
#include "classlib/Menus.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/kernel/ImageListHandle.h"
#include "skin/menus/OwnerDrawMenu.h"

#include <memory>
#include <string>
#include <vector>

class TSkinData;
struct TMenuItemView;
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

// A frame object's menus: the skinned menu bar holding the window's menu,
// the drop-downs opened from it, the skinned system menu, and the form's
// class-library menus switched to the skin's owner drawing while skinned.
class TWinSkinMenus {
public:
    explicit TWinSkinMenus(TWinSkinForm& Frame);
    TWinSkinMenus(const TWinSkinMenus&) = delete;
    TWinSkinMenus& operator=(const TWinSkinMenus&) = delete;

    TWinSkinMenu* MenuBar() const noexcept { return FMenuBar.get(); }
    // CM_MENUCHANGED's default is running (it may put the menu back).
    bool MenuChanging() const noexcept { return FMenuChanging; }
    void SetMenuChanging(bool Changing) noexcept { FMenuChanging = Changing; }
    // A drop-down of the bar is open.
    bool IsTracking() const noexcept { return FMenuTracking; }

    void TakeMenuBar();
    // The bar shows Menu (null: the one held, if it still exists), its band
    // as high as a menu bar while it has a menu.
    void ShowMenuBar(HMENU Menu);
    // Gives the held menu back to the window, or (the window is gone)
    // destroys it once no drop-down of it is open.
    void ReleaseMenuBar(bool GiveBack);
    // Opens Button's drop-down (a plain command is posted) and, when the
    // tracking switched to another button, that one's, until none is left.
    bool OpenMenuButton(TMenuBtn* Button, bool Keyboard);
    // The message-filter hook's view of a message of the open drop-down; true consumes it.
    bool MenuHookMessage(const MSG& Message);
    void ShowSystemMenu(POINT ScreenPoint);
    bool CanClose() const;
    void FreeSysMenu();
    // The form's class-library menus drawn by the skin while it is skinned.
    void SwitchFormMenus();
    void RestoreFormMenus();
    // A switched menu or item was freed: nothing is given back to it.
    void ForgetSwitchedMenu(TComponent* AComponent);

    void WMDrawItem(TMessage& Message);
    void WMMeasureItem(TMessage& Message);
    void WMMenuChar(TMessage& Message);
    void CMMenuChanged(TMessage& Message);

private:
    friend class TWinSkinForm;
    friend struct TWinSkinFormTestAccess;
    using TToken = TSkinObject::TToken;

    int RunBarMode(int Index, bool ByMouse, bool& Keyboard);
    const struct TOwnedMenuItem* FindOwnedItem(ULONG_PTR ItemData, HIMAGELIST& Images) const;
    // An owner-drawn item painted over the background of the skinned popup
    // window that DC draws on (the menu colour when there is none).
    void PaintItemInPopup(HDC DC, const RECT& Rect, const TMenuItemView& Item, bool Selected);
    void MenuItemDraw(TMenuItem& Item, TCanvas& Canvas, const RECT& Rect, bool Selected);

    TWinSkinForm& FFrame;
    std::unique_ptr<TWinSkinMenu> FMenuBar;
    HMENU FOldMenu = nullptr;
    bool FMenuTracking = false;
    // CM_MENUCHANGED's default or the MDI client's WM_MDISETMENU is running.
    bool FMenuChanging = false;
    // The window went while its menu was open: the held menu is destroyed
    // when the tracking has returned.
    bool FDestroyMenuPending = false;
    std::unique_ptr<TWinSkinSysMenu> FSysMenuPopup;
    // The system menu popup being tracked (not rebuilt or freed meanwhile).
    TWinSkinSysMenu* FSysMenuTracked = nullptr;
    DWORD FLastRightClick = 0;
    UINT FDoubleClickTime = 0;
    // What the form's menus and items had before the skin drew them.
    struct TSwitchedItem {
        TMenuItem* Item;
        TMenuDrawItemEvent Draw;
        TMenuMeasureItemEvent Measure;
    };
    struct TSwitchedMenu {
        TMenu* Menu;
        bool OwnerDraw;
    };
    std::vector<TSwitchedItem> FSwitchedItems;
    std::vector<TSwitchedMenu> FSwitchedMenus;
};
