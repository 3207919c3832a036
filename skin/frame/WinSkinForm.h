// TWinSkinForm, the frame object of one skinned top-level window, dialog box
// or MDI child: it takes over the window's procedure (and a class-library
// form's WindowProc) through the subclassing kernel, draws the frame, title
// and title buttons from the skin, keeps the window region of a shaped skin,
// and puts everything back when it lets go. TNCObject and TWinSysButton are
// the clickable objects of its title bar. Its state is private: the manager
// and the title objects use the narrow interface below, tests a seam.
#pragma once

#include <windows.h>

#include "classlib/Canvas.h"
#include "classlib/Graphics.h"
#include "classlib/Handles.h"
#include "classlib/Menus.h"
#include "classlib/Messages.h"
#include "classlib/Timers.h"
#include "skin/adapters/AdapterHost.h"
#include "skin/kernel/ImageListHandle.h"
#include "skin/kernel/SkinObject.h"
#include "skin/kernel/WindowHook.h"
#include "skin/portable/FrameClass.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class TControl;
class TDataSkinSysButton;
class TSkinControl;
class TSkinData;
class TWinSkinForm;
class TMenu;
class TMenuBtn;
class TMenuItem;
class TWinSkinMenu;
class TWinSkinSysMenu;
struct TMenuItemView;
struct TWinSkinFormTestAccess;

// The look of a title object; the numbers are its cells in the skin strip.
enum TNCState { ncNormal = 1, ncPressed = 2, ncHot = 3, ncInactive = 4 };

// Something clickable in the non-client area; its rectangle is in window coordinates.
class TNCObject : public TObject {
public:
    explicit TNCObject(TWinSkinForm* AForm) : FForm(AForm) {}

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() {}

    const RECT& Rect() const noexcept { return FRect; }
    bool Visible() const noexcept { return FVisible; }
    TNCState State() const noexcept { return FState; }

protected:
    friend class TWinSkinForm;
    friend class TWinSkinMenu;
    friend struct TWinSkinFormTestAccess;
    TWinSkinForm* FForm;
    RECT FRect{};
    bool FVisible = false;
    TNCState FState = ncNormal;
};

class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm* AForm, TDataSkinSysButton* AData) : TNCObject(AForm), FData(AData) {}
    void Paint() override;
    const TDataSkinSysButton& Data() const noexcept { return *FData; }

private:
    TDataSkinSysButton* FData;  // owned by the skin component
};

enum TFrameWindowState : uint8_t { fwsNormal = 0, fwsMaximized = 1, fwsMinimized = 2 };
enum TSkinFormState {
    ssAttached = 0, ssActive = 1, ssReskinning = 3, ssDestroying = 4, ssResizing = 5, ssDestroyed = 6
};

// Holds a visible window's drawing while it is skinned or re-skinned and then
// asks for one repaint of it and its children, frames included: what the
// skinning invalidates on the way (adapters attaching, the frame's new size,
// the region) paints nothing of its own. Holding clears the window's
// WS_VISIBLE bit without hiding it; the release sets it again.
class TDrawingHold {
public:
    TDrawingHold() = default;
    explicit TDrawingHold(HWND Window) { Hold(Window); }
    ~TDrawingHold() { Release(); }
    TDrawingHold(const TDrawingHold&) = delete;
    TDrawingHold& operator=(const TDrawingHold&) = delete;
    // Nothing for a hidden window, or while holding already.
    void Hold(HWND Window);
    // Shown false: the window was hidden while held (which the system
    // ignores for a window without WS_VISIBLE): it is hidden now instead.
    void Release(bool Shown = true);
    // Lets go without touching the window (it is being destroyed).
    void Drop() noexcept { FWindow = nullptr; }

private:
    HWND FWindow = nullptr;  // null when nothing is held
};

class TWinSkinForm : public TComponent, public TSkinObject, public TAdapterHost {
public:
    explicit TWinSkinForm(TComponent* AOwner);
    ~TWinSkinForm() override;

    // Attaching, by the manager: InitForm for a window with a class-library
    // form, InitWindow for any other. Exceptions leave the window as it was.
    void InitForm(HWND Window, const std::string& WindowClass, TSkinData* Data, TControl* Form);
    void InitWindow(HWND Window, const std::string& WindowClass, TSkinData* Data);
    // The manager posted the window its WM_SKIN_ACTIVATE.
    void ActivationPosted() noexcept { FActivationPosted = true; }
    // Re-skin after a skin change; take the skin off (the window keeps
    // running with its own look); let go of a window being destroyed.
    void UpdateSkin();
    void Unskin();
    void DetachWindow();
    void ClearSysButtons();
    void CreateSysButtons();
    // An MDI child's caption and region as the children's maximized state changed.
    void ChildCaptionStyleChanged(bool Maximized);
    static void RepaintWindow(HWND Window);
    // The message-filter hook's view of a message of this window's open
    // drop-down; true consumes it.
    bool MenuHookMessage(const MSG& Message);

    // Control adapters of the window's children. The list does not own them:
    // each belongs to its control or, for a raw window, to this object.
    // AddControl is true when the adapter was listed already.
    bool AddControl(TSkinControl* Adapter) override;
    void RemoveControl(TSkinControl* Adapter) override;
    // Frees the adapters whose window was destroyed.
    void PurgeControls() override;
    // Gives back and frees every adapter (Unskin first unless its window is gone).
    void FreeControls();
    int ControlCount() const noexcept { return static_cast<int>(FControls.size()); }
    TSkinControl* Controls(int Index) const { return FControls.at(static_cast<size_t>(Index)); }
    TSkinControl* FindControl(const TControl* Control) const noexcept override;
    TSkinControl* FindControlByHandle(HWND Window) const noexcept override;
    // The adapter last under the mouse; it gets a mouse-leave notice when the
    // window goes inactive or (windows without a form) the cursor leaves it.
    TSkinControl* HotControl() const noexcept { return FHotControl; }
    void SetHotControl(TSkinControl* Adapter);
    // Controls kept from skinning besides those whose Tag is DisableTag (the
    // buttons of a disabled radio or check group), without touching their Tag.
    void ExcludeControl(TControl* Control) override;
    bool IsExcluded(const TControl* Control) const override;
    // The child-control dispatch (skin/adapters/ControlDispatch.h).
    void SkinFormControls(TControl* Form);
    void SkinChildWindows(HWND Parent);
    void SkinChildWindow(HWND Window);
    // The scroll-bar adapter of a control whose window Window was destroyed
    // is freed; a new one takes the control's new window, if it has one.
    void ReskinScrollControl(HWND Window);

    HWND Handle() const noexcept override { return FHandle; }
    TSkinData* SkinData() const noexcept override { return FSkinData; }
    TSkinObject::TToken Token() const override { return TSkinObject::Token(); }
    TComponent& HostComponent() noexcept override { return *this; }
    TSkinFormState SkinState() const noexcept { return FSkinState; }
    TMDIKind MDIKind() const noexcept { return FMDIKind; }
    bool RightToLeft() const noexcept { return FRightToLeft; }
    bool Subclassed() const noexcept { return FWindowHook.Attached(); }
    // Whether a screen point lies in the band along the border by which the
    // window is sized (a sizeable frame in its normal state only): the
    // children lying there let the hit through to the frame.
    bool InSizingBand(POINT At) const override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TNCObject;
    friend class TWinSysButton;
    friend class TWinSkinMenu;
    friend struct TWinSkinFormTestAccess;

    void InitSkin(TSkinData* Data);
    void UpdateControls();
    void SetCaptionStyle(bool On);
    void UpdateCaptionFont();
    void UpdateRects();
    void MeasureOwnFrame();
    void ApplyFrameSize(bool UseClientRect);
    void NotifySkinned();
    // Passes the message on to the previous procedure; false when this
    // object was freed meanwhile (touch nothing of it then).
    bool CallDefault(TMessage& Message) { return FWindowHook.CallDefault(Message); }
    void RestoreOuterSize();
    // The client size to keep: FKeptClient once the frame was applied, else the present one.
    SIZE KeptClientSize() const;
    void FreeSysMenu();
    void TakeBackStyles();

    // Window procedures.
    void SkinWndProc(TMessage& Message);
    void FormWindowProc(TMessage& Message);
    void MDIClientWndProc(TMessage& Message);
    void TimerTick(TObject* Sender);
    void Activate();
    void WMEraseBkgnd(TMessage& Message);
    void WMCtlColorStatic(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMGetMinMaxInfo(TMessage& Message);
    void WMCommand(TMessage& Message);
    void WMSysCommand(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    void WMNCCalcSize(TMessage& Message);
    void WMNCHitTest(TMessage& Message);
    // The sizing hit code at a point in window coordinates, HTNOWHERE off the band.
    int SizingHitAt(POINT P) const;
    void WMNCPaint(TMessage& Message);
    void WMNCActivate(TMessage& Message);
    void WMNCMouseMove(TMessage& Message);
    void WMNCLButtonDown(TMessage& Message);
    void WMNCLButtonUp(TMessage& Message);
    void WMNCLButtonDblClk(TMessage& Message);
    void WMNCRButtonDown(TMessage& Message);
    void WMSetText(TMessage& Message);
    void CMMenuChanged(TMessage& Message);
    void SysButtonClick(POINT P);
    void ShowSystemMenu(POINT ScreenPoint);
    bool CanClose() const;

    // The skinned menu bar and owner-drawn menu items.
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
    int RunBarMode(int Index, bool ByMouse, bool& Keyboard);
    TNCObject* ObjectAt(POINT P) const;
    const struct TOwnedMenuItem* FindOwnedItem(ULONG_PTR ItemData, HIMAGELIST& Images) const;
    void WMDrawItem(TMessage& Message);
    void WMMeasureItem(TMessage& Message);
    void WMMenuChar(TMessage& Message);
    // An owner-drawn item painted over the background of the skinned popup
    // window that DC draws on (the menu colour when there is none).
    void PaintItemInPopup(HDC DC, const RECT& Rect, const TMenuItemView& Item, bool Selected);
    // The form's class-library menus drawn by the skin while it is skinned.
    void SwitchFormMenus();
    void RestoreFormMenus();
    void MenuItemDraw(TMenuItem& Item, TCanvas& Canvas, const RECT& Rect, bool Selected);
    // A switched menu or item was freed: nothing is given back to it.
    void ForgetSwitchedMenu(TComponent* AComponent);
    void ToggleMaximize();
    void ToggleMinimize();
    void RestoreWindow();
    void MDIChildCommand(UINT Command);

    // Title bar (title buttons, window icon).
    void LoadWindowIcon(TBitmap& Bitmap);
    void DrawWindowIcon(HDC DC, const RECT& Rect);
    bool IsSysButtonVisible(TWinSysButton& Button);
    void LayoutSysButtons();
    void PaintSysButtons(HDC DC);
    void PaintSysButton(TWinSysButton& Button, TNCState State);
    // A maximized MDI child's buttons, drawn by the menu bar into its image
    // (whose top-left corner is the bar's, BarOrigin in window coordinates).
    void PaintMenuBarButtons(HDC DC, POINT BarOrigin);
    bool IsMDIChildMaximized() const;
    // Whether the window is meant to be on screen (a form's Visible).
    bool WantsShown() const;
    TWinSysButton* SysButtonAt(POINT P) const;

    // Frame painting, border sizes and the window region.
    void PaintNC(HDC DC);
    void PaintTitle(HDC DC);
    void DrawBorderPart(int Part, const RECT& Rect, HDC DC, bool Transparent = false);
    // A border part as the window shows it: what the region leaves out in the face colour.
    void DrawFramePart(int Part, const RECT& Rect, HDC DC);
    RECT DrawTitleBackground(HDC DC);
    void DrawCaption(HDC DC, const RECT& TitleRect);
    bool HasTransparentBorder() const;
    void SetSysMenuStyle(bool Remove);
    void UpdateRegion();
    void ClearRegion();
    void UpdateWindowState();
    void FindMDIClient();
    void FrameChanged();
    POINT ScreenToWindow(LPARAM Point) const;

    TWindowHook FWindowHook;
    TWindowProcHook FFormHook;
    TWindowHook FClientHook;

    TControl* FForm = nullptr;
    HWND FHandle = nullptr;
    std::string FWindowClass;
    std::string FClassName;
    TSkinData* FSkinData = nullptr;

    std::unique_ptr<TFont> FCaptionFont;
    std::unique_ptr<TTimer> FTimer;
    bool FMenuUpdate = true;
    bool FSkinMainMenu = false;
    RECT FClientRect{};
    DWORD FLastRightClick = 0;
    UINT FDoubleClickTime = 0;
    int FCaptionWidth = 0;
    HWND FOwnerWindow = nullptr;
    HICON FIcon = nullptr;
    int FIconSize = 16;
    // FIcon at FIconSize, made once per icon instead of on every paint.
    TIcon FIconCopy;
    HICON FIconCopyOf = nullptr;
    std::wstring FWindowText;
    int FBorderLeft = 0, FTitleHeight = 0, FBorderRight = 0, FBorderBottom = 0;
    RECT FWindowRect{};
    // The window's own frame (outer minus client size), measured once, when
    // attaching, before the skin frame replaces it.
    RECT FFrameRect{};
    // The outer size was made to fit the skin frame (by ApplyFrameSize).
    bool FFrameApplied = false;
    // The client size inside the skin frame: the one the frame was applied
    // for, then each size the window is given while skinned. A size the
    // system cut down to fit the screen (a skin frame too large) never
    // replaces it, so the next skin or the window's own frame gets it back.
    SIZE FKeptClient{};
    int FMenuBarHeight = 0;
    bool FMenuTracking = false;
    bool FRightToLeft = false;
    bool FDialog = false;
    bool FChild = false;
    HWND FMDIClient = nullptr;
    HMENU FOldMenu = nullptr;
    HMENU FSysMenu = nullptr;
    TColor FOldColor = 0;
    bool FColorTaken = false;  // FOldColor holds the form's own colour
    LONG FStyle = 0;
    TNCObject* FHotObject = nullptr;
    std::vector<TSkinControl*> FControls;
    TSkinControl* FHotControl = nullptr;
    std::unordered_set<const TComponent*> FExcluded;
    // The title button pressed and not yet released: only it may be clicked.
    TNCObject* FPressedObject = nullptr;
    bool FRegionSet = false;
    HRGN FRegion = nullptr;  // owned by the system once set
    std::unique_ptr<TWinSkinMenu> FMenuBar;
    std::unique_ptr<TWinSkinSysMenu> FSysMenuPopup;
    // The system menu popup being tracked (not rebuilt or freed meanwhile).
    TWinSkinSysMenu* FSysMenuTracked = nullptr;
    // The window went while its menu was open: the held menu is destroyed
    // when the tracking has returned.
    bool FDestroyMenuPending = false;
    // The window's drawing from its first frame paint while it is active and
    // its activation is posted (as it is shown) until the activation ends: it
    // is painted first with its skin, and once.
    TDrawingHold FSkinningHold;
    bool FActivationPosted = false;  // WM_SKIN_ACTIVATE is on its way
    // How much the client area grew when the menu bar was taken off the
    // window, before the skin frame was applied.
    int FMenuTakenGrowth = 0;
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
    // CM_MENUCHANGED's default is running (it may put the menu back).
    bool FMenuChanging = false;
    std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;
    std::unique_ptr<TBitmap> FSmallIcon;
    std::unique_ptr<TBitmap> FTitleBitmap;
    std::unique_ptr<TBitmap> FPartBitmap;  // DrawFramePart's composing
    int FWidth = 0, FHeight = 0, FRegionWidth = 0, FRegionHeight = 0;
    bool FActive = true;
    TMDIKind FMDIKind = mdiNone;
    TFrameKind FFrameKind = fkSizeable;
    uint8_t FButtonSet = 0;
    TFrameWindowState FWindowState = fwsNormal;
    TSkinFormState FSkinState = ssAttached;
    // What the window had before skinning, given back by Unskin.
    LONG FOriginalStyle = 0;
    HRGN FOriginalRegion = nullptr;  // a copy; the window's own stays the system's
};

// The frame object holding this window, or null.
TWinSkinForm* FindSkinForm(HWND Window) noexcept;
