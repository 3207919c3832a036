// TWinSkinMenus, the frame object's menus: taking the window's menu into the
// skinned bar and giving it back (and again as the window's menu changes), opening a bar button's drop-down with the
// message-filter hook that switches between buttons, the skinned system
// menu, and the owner-drawn items' measuring, drawing and letter keys.
#include "skin/frame/WinSkinForm.h"

#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinMenu.h"
#include "skin/frame/FrameHost.h"
#include "skin/SkinApi.h"
#include "skin/menus/MenuItemPaint.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "classlib/Handles.h"
#include "skin/SkinWindowMessages.h"

#include <utility>

namespace {

// One drop-down of one window is open at a time on the GUI thread.
struct TMenuTracking {
    HHOOK Hook = nullptr;
    TWinSkinForm* Form = nullptr;
    std::unique_ptr<TSkinObject::TToken> Life;
    int OpenIndex = -1;
    int SwitchTo = -1;
    bool SwitchByKey = false;
    HMENU Tracked = nullptr;
    POINT LastMouse{};
    // The bar keeps menu mode once the drop-down has closed, with this
    // button highlighted (Escape, or the mouse on a plain command).
    int BarIndex = -1;
    bool BarByMouse = false;
};

TMenuTracking Tracking;

LRESULT CALLBACK MenuMsgFilterProc(int Code, WPARAM WParam, LPARAM LParam)
{
    const HHOOK hook = Tracking.Hook;
    if (Code == MSGF_MENU && Tracking.Form != nullptr && Tracking.Life && Tracking.Life->Alive()) {
        try {
            if (Tracking.Form->MenuHookMessage(*reinterpret_cast<const MSG*>(LParam))) return 1;
        } catch (...) {
            // The menu goes on as the system runs it.
        }
    }
    return ::CallNextHookEx(hook, Code, WParam, LParam);
}

// The hook for one drop-down, removed on every path out of the tracking.
class TMenuHookScope {
public:
    TMenuHookScope(TWinSkinForm& Form, int Index, HMENU Menu)
    {
        Tracking.Form = &Form;
        Tracking.Life = std::make_unique<TSkinObject::TToken>(Form.Token());
        Tracking.OpenIndex = Index;
        Tracking.SwitchTo = -1;
        Tracking.SwitchByKey = false;
        Tracking.Tracked = Menu;
        ::GetCursorPos(&Tracking.LastMouse);
        Tracking.Hook = ::SetWindowsHookExW(WH_MSGFILTER, MenuMsgFilterProc, nullptr, ::GetCurrentThreadId());
    }
    ~TMenuHookScope()
    {
        if (Tracking.Hook != nullptr) ::UnhookWindowsHookEx(Tracking.Hook);
        Tracking = TMenuTracking{};
    }
    TMenuHookScope(const TMenuHookScope&) = delete;
    TMenuHookScope& operator=(const TMenuHookScope&) = delete;
};

// The menu of the innermost open popup: the newest skinned popup window's,
// else the drop-down itself.
HMENU InnermostMenu()
{
    if (FrameHost != nullptr)
        for (auto it = FrameHost->PopupMenus().rbegin(); it != FrameHost->PopupMenus().rend(); ++it)
            if (::IsWindowVisible((*it)->Handle()))
                if (const HMENU menu = (*it)->MenuHandle()) return menu;
    return Tracking.Tracked;
}

// What Right does in Menu: the item highlighted there is read from the
// menu itself (WM_MENUSELECT goes to the owner, past the hook).
bool RightStaysInMenu(HMENU Menu)
{
    const int count = ::GetMenuItemCount(Menu);
    for (int i = 0; i < count; ++i)
        if (::GetMenuState(Menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
            return ::GetSubMenu(Menu, i) != nullptr;
    // A submenu just opened, nothing chosen in it yet: Right enters it.
    return Menu != Tracking.Tracked;
}

TMenuItemView ViewOf(const TOwnedMenuItem& Item, UINT State, HIMAGELIST Images)
{
    TMenuItemView view = MenuItemViewOf(Item.Text);
    view.Separator = Item.Separator();
    view.Enabled = (State & (ODS_GRAYED | ODS_DISABLED)) == 0;
    view.Checked = (State & ODS_CHECKED) != 0;
    // The system tells no default item in the drawing state: it is the item's own.
    view.Default = Item.Default || (State & ODS_DEFAULT) != 0;
    view.ImageIndex = Item.ImageIndex;
    view.Images = Images;
    return view;
}

}  // namespace

void TWinSkinMenus::TakeMenuBar()
{
    FOldMenu = ::GetMenu(FFrame.FHandle);
    if (FOldMenu == nullptr || FFrame.FClass.MDIKind == mdiChild || FFrame.FChild) return;
    FMenuBar = std::make_unique<TWinSkinMenu>(FFrame, *FFrame.FSkinData);
    FFrame.FShape.SetMenuBarHeight(::GetSystemMetrics(SM_CYMENU));
    FMenuBar->BuildButtons(FOldMenu);
}

void TWinSkinMenus::ReleaseMenuBar(bool GiveBack)
{
    if (!FMenuBar) return;
    if (GiveBack) {
        if (FMenuTracking) ::EndMenu();
        const HMENU menu = FMenuBar->Release();
        // A class-library main menu may have been freed meanwhile, its menu with it.
        if (::IsMenu(menu) && ::IsWindow(FFrame.FHandle) && ::GetMenu(FFrame.FHandle) == nullptr)
            ::SetMenu(FFrame.FHandle, menu);
        FMenuBar.reset();
        FFrame.FShape.SetMenuBarHeight(0);
        return;
    }
    // The window is gone and took no menu with it: ours is destroyed, unless
    // the window belongs to a class-library form, whose main menu owns it.
    if (FMenuTracking) {
        FDestroyMenuPending = true;
        ::EndMenu();
        return;
    }
    const HMENU menu = FMenuBar->Release();
    if (menu != nullptr && FFrame.FForm == nullptr) ::DestroyMenu(menu);
    FMenuBar.reset();
    FDestroyMenuPending = false;
}

bool TWinSkinMenus::OpenMenuButton(TMenuBtn* Button, bool Keyboard)
{
    if (Button == nullptr || !FMenuBar || Tracking.Form != nullptr) return false;
    const TToken life = FFrame.Token();
    const HWND window = FFrame.FHandle;
    int index = Button->FIndex;
    bool keyboard = Keyboard;
    bool opened = false;
    while (index >= 0 && FMenuBar) {
        TMenuBtn* button = FMenuBar->Button(index);
        if (button == nullptr) break;
        if (button->FSubMenu == nullptr) {
            // Only an enabled command of the window's own menu is posted.
            if (button->FEnabled) ::PostMessageW(window, WM_COMMAND, button->FCommand, 0);
            break;
        }
        opened = true;
        TNCObject* const hot = FFrame.FTitle.HotObject();
        if (hot != nullptr && hot != button) hot->MouseLeave();
        FFrame.FTitle.SetHotObject(button);
        button->FState = ncPressed;
        button->Paint();
        RECT windowRect{};
        ::GetWindowRect(window, &windowRect);
        const HMENU menu = button->FSubMenu;
        const POINT at{windowRect.left + (FFrame.FRightToLeft ? button->FRect.right : button->FRect.left),
                       windowRect.top + button->FRect.bottom};
        FMenuBar->OwnerDraw().Take(menu);
        FMenuTracking = true;
        if (FrameHost != nullptr) {
            FrameHost->SetMenuKind(mnkMenuBar);
            FrameHost->SetMenuBarPopup(true);
        }
        int next = -1, barIndex = -1;
        bool barByMouse = false;
        {
            const TMenuHookScope hook(FFrame, index, menu);
            // Opened from the keyboard, the drop-down starts on its first
            // item; a disabled one opens nothing to take the key.
            if (keyboard && button->FEnabled) ::PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
            if (button->FEnabled)
                ::TrackPopupMenu(menu, TPM_NONOTIFY | TPM_RIGHTBUTTON | (FFrame.FRightToLeft ? TPM_RIGHTALIGN : 0), at.x, at.y,
                                 0, window, nullptr);
            next = Tracking.SwitchTo;
            keyboard = Tracking.SwitchByKey;
            barIndex = Tracking.BarIndex;
            barByMouse = Tracking.BarByMouse;
        }
        if (FrameHost != nullptr) FrameHost->SetMenuBarPopup(false);
        // The window may have been destroyed, or the skin freed, inside the menu loop.
        if (!life.Alive()) return true;
        FMenuTracking = false;
        if (FFrame.FSkinState == ssDestroyed || FFrame.FSkinState == ssDestroying || FDestroyMenuPending) {
            ReleaseMenuBar(false);
            return true;
        }
        if (!FMenuBar) return true;
        FMenuBar->OwnerDraw().Restore();
        if (TMenuBtn* shown = FMenuBar->Button(index)) {
            shown->FState = ncNormal;
            shown->Paint();
            if (FFrame.FTitle.HotObject() == shown) FFrame.FTitle.SetHotObject(nullptr);
        }
        if (barIndex >= 0) next = RunBarMode(barIndex, barByMouse, keyboard);
        index = next;
    }
    return opened;
}

// Menu mode on the bar with no drop-down open, as a native bar keeps it
// after Escape closed a drop-down or the mouse moved onto a plain command.
// Left and Right move the highlight; Down, Up and Return open the button or
// run its command; a letter opens its button; Escape, Alt, F10 and a click
// off the bar leave. The mouse highlights what it moves onto, and opens it
// when it came from an open drop-down. Returns the button to open (-1 none).
int TWinSkinMenus::RunBarMode(int Index, bool ByMouse, bool& Keyboard)
{
    const TToken life = FFrame.Token();
    int hot = -1;
    auto highlight = [&](int I) {
        if (I == hot || !FMenuBar) return;
        if (TMenuBtn* old = FMenuBar->Button(hot)) {
            old->FState = ncNormal;
            old->Paint();
        }
        hot = I;
        if (TMenuBtn* button = FMenuBar->Button(hot)) {
            button->FState = ncHot;
            button->Paint();
        }
    };
    // What choosing a button does: its drop-down opens next, its command runs.
    int result = -1;
    auto choose = [&](const TMenuBtn& Button, bool ByKey) {
        if (Button.FSubMenu != nullptr) {
            result = Button.FIndex;
            Keyboard = ByKey;
        } else if (Button.FEnabled) {
            ::PostMessageW(FFrame.FHandle, WM_COMMAND, Button.FCommand, 0);
        }
    };
    highlight(Index);
    ::SetCapture(FFrame.FHandle);
    MSG msg{};
    bool done = false, quit = false;
    while (!done && !quit && FMenuBar && ::GetCapture() == FFrame.FHandle) {
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            quit = true;
            break;
        }
        const int count = FMenuBar->Count();
        TMenuBtn* under = FMenuBar->ButtonAt(FFrame.FShape.ScreenToWindow(MAKELPARAM(msg.pt.x, msg.pt.y)));
        if (under != nullptr && under->FCaption.empty()) under = nullptr;
        switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            WPARAM key = msg.wParam;
            if (FFrame.FRightToLeft && (key == VK_LEFT || key == VK_RIGHT)) key = key == VK_LEFT ? VK_RIGHT : VK_LEFT;
            if ((key == VK_LEFT || key == VK_RIGHT) && count > 0) highlight((hot + (key == VK_LEFT ? count - 1 : 1)) % count);
            else if (key == VK_DOWN || key == VK_UP || key == VK_RETURN) {
                if (TMenuBtn* button = FMenuBar->Button(hot)) choose(*button, true);
                done = true;
            } else if (key == VK_ESCAPE || key == VK_MENU || key == VK_F10) {
                done = true;
            } else {
                ::TranslateMessage(&msg);
            }
            break;
        }
        case WM_CHAR:
        case WM_SYSCHAR:
            if (TMenuBtn* button = FMenuBar->FindAccelButton(static_cast<wchar_t>(msg.wParam))) {
                choose(*button, true);
                done = true;
            }
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            break;
        case WM_MOUSEMOVE:
            if (under == nullptr || under->FIndex == hot) break;
            if (ByMouse && under->FSubMenu != nullptr) {
                choose(*under, false);
                done = true;
            } else {
                highlight(under->FIndex);
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (under != nullptr) choose(*under, false);
            done = true;
            break;
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            if (!life.Alive()) {
                if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
                return -1;
            }
            break;
        }
    }
    if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
    if (::GetCapture() == FFrame.FHandle) ::ReleaseCapture();
    if (!life.Alive() || !FMenuBar) return -1;
    if (TMenuBtn* button = FMenuBar->Button(hot)) {
        button->FState = ncNormal;
        button->Paint();
    }
    return quit ? -1 : result;
}

bool TWinSkinMenus::MenuHookMessage(const MSG& Message)
{
    if (!FMenuBar) return false;
    const int count = FMenuBar->Count();
    auto switchTo = [&](int Index, bool ByKey) {
        if (Index == Tracking.OpenIndex) return false;
        Tracking.SwitchTo = Index;
        Tracking.SwitchByKey = ByKey;
        ::EndMenu();
        return true;
    };
    switch (Message.message) {
    case WM_KEYDOWN: {
        if (count == 0) return false;
        const bool rtl = FFrame.FRightToLeft;
        WPARAM key = Message.wParam;
        if (rtl && (key == VK_LEFT || key == VK_RIGHT)) key = key == VK_LEFT ? VK_RIGHT : VK_LEFT;
        const HMENU inner = InnermostMenu();
        // The neighbour with a drop-down: a plain command on the bar is
        // passed over rather than run by moving onto it.
        auto neighbour = [&](int Step) {
            for (int i = 1; i < count; ++i) {
                const int index = (Tracking.OpenIndex + Step * i + count) % count;
                if (FMenuBar->Button(index)->FSubMenu != nullptr) return index;
            }
            return Tracking.OpenIndex;
        };
        if (key == VK_ESCAPE && inner == Tracking.Tracked) {
            // The drop-down closes itself; the bar stays in menu mode.
            Tracking.BarIndex = Tracking.OpenIndex;
            Tracking.BarByMouse = false;
            return false;
        }
        if (key == VK_LEFT) {
            // Deeper in a submenu, Left closes that submenu.
            if (inner != Tracking.Tracked) return false;
            return switchTo(neighbour(-1), true);
        }
        if (key == VK_RIGHT) {
            if (RightStaysInMenu(inner)) return false;
            return switchTo(neighbour(1), true);
        }
        return false;
    }
    case WM_SYSKEYDOWN:
        if (Message.wParam == VK_MENU) return switchTo(-1, false);
        return false;
    case WM_MOUSEMOVE: {
        if (Message.pt.x == Tracking.LastMouse.x && Message.pt.y == Tracking.LastMouse.y) return false;
        Tracking.LastMouse = Message.pt;
        const TMenuBtn* button = FMenuBar->ButtonAt(FFrame.FShape.ScreenToWindow(MAKELPARAM(Message.pt.x, Message.pt.y)));
        if (button == nullptr || button->FIndex == Tracking.OpenIndex || button->FCaption.empty()) return false;
        if (button->FSubMenu == nullptr) {
            // Onto a plain command: the drop-down closes, the command is highlighted.
            Tracking.BarIndex = button->FIndex;
            Tracking.BarByMouse = true;
            ::EndMenu();
            return false;
        }
        switchTo(button->FIndex, false);
        return false;
    }
    default:
        return false;
    }
}

void TWinSkinMenus::ShowSystemMenu(POINT ScreenPoint)
{
    const DWORD now = ::GetTickCount();
    if (now - FLastRightClick <= FDoubleClickTime) {
        if (FFrame.FTitle.HotObject() != nullptr) {
            FFrame.FTimer->SetEnabled(false);
            ::PostMessageA(FFrame.FHandle, WM_CLOSE, 0, 0);
        }
        return;
    }
    // The popup being tracked is neither rebuilt nor freed.
    if (FSysMenuTracked != nullptr) return;
    if (FrameHost != nullptr) FrameHost->SetMenuKind(mnkSystemMenu);
    FLastRightClick = now;
    if (FFrame.FSysMenu == nullptr) FFrame.FSysMenu = ::GetSystemMenu(FFrame.FHandle, FALSE);
    if (FFrame.FSysMenu == nullptr) return;
    const TToken life = FFrame.Token();
    const HWND window = FFrame.FHandle;
    // The application brings the system menu up to date (ticks, states) as
    // when the system shows it, before it is copied.
    ::SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(FFrame.FSysMenu), MAKELPARAM(0, TRUE));
    if (!life.Alive() || FSysMenuTracked != nullptr || FFrame.FSkinData == nullptr) return;
    const TSysMenuState state{FFrame.FWindowState == fwsNormal,      FFrame.FWindowState == fwsMinimized,
                              FFrame.FWindowState == fwsMaximized,   FFrame.FClass.FrameKind == fkSizeable,
                              (FFrame.FClass.ButtonSet & bsMinimize) != 0, (FFrame.FClass.ButtonSet & bsMaximize) != 0};
    FSysMenuPopup.reset();
    // Held here while tracked: the frame object may go inside the menu loop.
    auto popup = std::make_unique<TWinSkinSysMenu>(FFrame.FSysMenu, state, FFrame.FSkinData->FMenuImages);
    if (popup->Handle() == nullptr) return;
    popup->SetLastPoint(ScreenPoint);
    FSysMenuTracked = popup.get();
    const UINT command = static_cast<UINT>(::TrackPopupMenu(popup->Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                            ScreenPoint.x, ScreenPoint.y, 0, window, nullptr));
    if (!life.Alive()) return;
    FSysMenuTracked = nullptr;
    FSysMenuPopup = std::move(popup);
    if (FFrame.FSkinState == ssDestroyed || command == 0) return;
    ::PostMessageW(window, WM_SYSCOMMAND, command, 0);
}

bool TWinSkinMenus::CanClose() const
{
    if (SkinWinVersion >= 0x80000000u) return true;
    return SysMenuAllowsClose(FFrame.FSysMenu != nullptr ? FFrame.FSysMenu : ::GetSystemMenu(FFrame.FHandle, FALSE));
}

// An item of the system menu's copy or of an open drop-down of the bar;
// anything else (the application's own owner-drawn items) is not ours.
const TOwnedMenuItem* TWinSkinMenus::FindOwnedItem(ULONG_PTR ItemData, HIMAGELIST& Images) const
{
    if (FSysMenuTracked != nullptr)
        if (const TOwnedMenuItem* item = FSysMenuTracked->Find(ItemData)) {
            Images = FSysMenuTracked->Images();
            return item;
        }
    return FMenuBar ? FMenuBar->OwnerDraw().Find(ItemData) : nullptr;
}

void TWinSkinMenus::WMMeasureItem(TMessage& Message)
{
    auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    HIMAGELIST images = nullptr;
    const TOwnedMenuItem* item = measure.CtlType == ODT_MENU ? FindOwnedItem(measure.itemData, images) : nullptr;
    if (item == nullptr) {
        FFrame.CallDefault(Message);
        return;
    }
    const SIZE size = MeasureSkinMenuItem(ViewOf(*item, 0, images), *FFrame.FSkinData);
    measure.itemWidth = static_cast<UINT>(size.cx);
    measure.itemHeight = static_cast<UINT>(size.cy);
    Message.Result = TRUE;
}

void TWinSkinMenus::WMDrawItem(TMessage& Message)
{
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
    HIMAGELIST images = nullptr;
    const TOwnedMenuItem* item = draw.CtlType == ODT_MENU ? FindOwnedItem(draw.itemData, images) : nullptr;
    if (item == nullptr) {
        FFrame.CallDefault(Message);
        return;
    }
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    TMenuItemView view = ViewOf(*item, draw.itemState, images);
    view.RightToLeft = FFrame.FRightToLeft;
    PaintItemInPopup(draw.hDC, draw.rcItem, view, selected);
    Message.Result = TRUE;
}

void TWinSkinMenus::WMMenuChar(TMessage& Message)
{
    // The system matches no letter of the items the skin owner-draws: the
    // system menu's copy and the bar's drop-downs answer from the texts kept.
    const auto menu = reinterpret_cast<HMENU>(Message.LParam);
    const TOwnedItems* owned = nullptr;
    if (FSysMenuTracked != nullptr && FSysMenuTracked->Handle() == menu) owned = FSysMenuTracked;
    else if (FMenuBar && FMenuBar->OwnerDraw().Holds(menu)) owned = &FMenuBar->OwnerDraw();
    if (owned != nullptr) {
        const LRESULT answer = MenuCharResult(LOWORD(Message.WParam), menu, [&](UINT Position) {
            const TOwnedMenuItem* item = owned->ItemAt(menu, Position);
            return item != nullptr ? item->Text : std::wstring();
        });
        if (HIWORD(answer) != MNC_IGNORE) {
            Message.Result = answer;
            return;
        }
    }
    FFrame.CallDefault(Message);
}

void TWinSkinMenus::PaintItemInPopup(HDC DC, const RECT& Rect, const TMenuItemView& Item, bool Selected)
{
    // The item's place in its own popup window, whatever that window's frame.
    TBitmap* background = nullptr;
    POINT place{Rect.left, Rect.top};
    if (FrameHost != nullptr)
        if (TWinSkinPopMenu* popup = FrameHost->FindPopupMenu(::WindowFromDC(DC))) {
            background = popup->Background();
            const POINT origin = popup->ClientOrigin();
            place.x += origin.x;
            place.y += origin.y;
        }
    PaintSkinMenuItem(DC, Rect, Item, Selected, *FFrame.FSkinData, background, place);
}


void TWinSkinMenus::FreeSysMenu()
{
    FSysMenuPopup.reset();
}

// The skin does not paint while the class library changes the menu; the
// component's painting switch is then as it was before.
void TWinSkinMenus::CMMenuChanged(TMessage& Message)
{
    // Our own notice that SetMenu gave the window a menu: only taken.
    if (Message.LParam == kSkinMagic) {
        Message.Result = 0;
        const HMENU menu = ::GetMenu(FFrame.FHandle);
        if (menu == nullptr || !FMenuBar) return;
        ShowMenuBar(menu);
        return;
    }
    TSkinData* data = FFrame.FSkinData;
    const bool painting = data->FPaintEnabled;
    data->FPaintEnabled = false;
    const TToken life = FFrame.Token();
    // The class library puts its menu back here; it is taken below.
    FMenuChanging = true;
    FFrame.CallDefault(Message);
    if (life.Alive()) FMenuChanging = false;
    // A freed frame object may have gone with its skin component.
    if (!life.Alive()) {
        if (FrameHost != nullptr && FrameHost->HasSkinData(data)) data->FPaintEnabled = painting;
        return;
    }
    data->FPaintEnabled = painting;
    // A menu set while skinned is taken into the bar, not dropped; a freed
    // class-library main menu (no menu now) leaves the bar if it destroyed its menu.
    if (!FFrame.FSkinMainMenu || !FMenuBar) return;
    const HMENU menu = ::GetMenu(FFrame.FHandle);
    if (menu != nullptr || (FMenuBar->Handle() != nullptr && !::IsMenu(FMenuBar->Handle()))) ShowMenuBar(menu);
}

void TWinSkinMenus::ShowMenuBar(HMENU Menu)
{
    FMenuBar->BuildButtons(Menu);
    // The bar's band comes and goes with its menu.
    const int height = FMenuBar->Handle() != nullptr ? ::GetSystemMetrics(SM_CYMENU) : 0;
    if (height == FFrame.FShape.MenuBarHeight()) {
        FFrame.FShape.PaintNC(nullptr);
        return;
    }
    FFrame.FShape.SetMenuBarHeight(height);
    FFrame.FrameChanged();
}
