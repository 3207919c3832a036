// The frame object's menus: TWinSkinMenu, the skinned menu bar, and
// TWinSkinSysMenu, the skinned system menu. Both are owned by their frame
// object. The bar does not take over a window's menu yet (such a window
// keeps its own frame); the system menu is the window's own, popped up with
// its items enabled as the system would.
#pragma once

#include <windows.h>

class TWinSkinForm;
class TNCObject;

class TWinSkinMenu {
public:
    explicit TWinSkinMenu(TWinSkinForm& Form) : FForm(Form) {}
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    // The bar button at a window point, or null.
    TNCObject* ButtonAt(POINT) const { return nullptr; }

private:
    TWinSkinForm& FForm;
};

// What the system menu offers in the window's present state.
struct TSysMenuState {
    bool Normal, Minimized, Maximized, Sizeable, CanMinimize, CanMaximize;
};

class TWinSkinSysMenu {
public:
    explicit TWinSkinSysMenu(HWND Window) : FWindow(Window) {}
    TWinSkinSysMenu(const TWinSkinSysMenu&) = delete;
    TWinSkinSysMenu& operator=(const TWinSkinSysMenu&) = delete;

    // Pops the menu up at a screen point (modal) and returns the command
    // chosen, 0 for none. The caller checks that it still exists afterwards.
    UINT Popup(POINT ScreenPoint, const TSysMenuState& State);
    // Where it was last popped up.
    POINT LastPoint() const noexcept { return FLastPoint; }

private:
    HWND FWindow;
    POINT FLastPoint{};
};
