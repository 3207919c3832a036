// The skinned system menu.
#include "skin/frame/WinSkinMenu.h"

UINT TWinSkinSysMenu::Popup(POINT ScreenPoint, const TSysMenuState& State)
{
    FLastPoint = ScreenPoint;
    const HMENU menu = ::GetSystemMenu(FWindow, FALSE);
    if (menu == nullptr) return 0;
    auto enable = [menu](UINT Command, bool On) { ::EnableMenuItem(menu, Command, On ? MF_ENABLED : MF_GRAYED); };
    enable(SC_RESTORE, !State.Normal);
    enable(SC_MOVE, State.Normal);
    enable(SC_SIZE, State.Normal && State.Sizeable);
    enable(SC_MINIMIZE, !State.Minimized && State.CanMinimize);
    enable(SC_MAXIMIZE, !State.Maximized && State.CanMaximize);
    return static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, ScreenPoint.x,
                                              ScreenPoint.y, 0, FWindow, nullptr));
}
