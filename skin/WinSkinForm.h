// TWinSkinForm, the frame object of one skinned top-level window, dialog box
// or MDI child: it replaces the window's procedure (and a class-library form's
// WindowProc), draws the frame, title and title buttons from the skin, keeps
// the window region of a shaped skin, and puts everything back when it lets go.
// TNCObject and TWinSysButton are the clickable objects of its title bar.
#pragma once

#include <windows.h>

#include "classlib/Canvas.h"
#include "classlib/Graphics.h"
#include "classlib/Handles.h"
#include "classlib/Messages.h"
#include "classlib/Timers.h"

#include <memory>
#include <string>
#include <vector>

class TControl;
class TDataSkinSysButton;
class TSkinData;
class TWinSkinForm;
struct TFormHookRecord;

// Something clickable in the non-client area; FRect is in window coordinates.
class TNCObject : public TObject {
public:
    explicit TNCObject(TWinSkinForm* AForm) : FForm(AForm) {}

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() {}

    TWinSkinForm* FForm;
    RECT FRect{};
    bool FVisible = false;
    int FState = 1;  // 1 normal, 2 pressed, 3 hot
};

class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm* AForm, TDataSkinSysButton* AData) : TNCObject(AForm), FData(AData) {}
    void Paint() override;

    TDataSkinSysButton* FData;  // owned by the skin component
};

enum TFrameKind : uint8_t { fkSizeable = 0, fkFixed = 1, fkNoCaption = 2, fkDialog = 3 };
enum TMDIKind : uint8_t { mkNone = 0, mkFrame = 1, mkChild = 2 };
enum TButtonSetBit : uint8_t { bsMaximize = 1, bsMinimize = 2, bsSysMenu = 8, bsCaptionToggle = 0x10 };
enum TSkinFormState {
    ssAttached = 0, ssActive = 1, ssReskinning = 3, ssDestroying = 4, ssResizing = 5, ssDestroyed = 6
};

class TWinSkinForm : public TComponent {
public:
    explicit TWinSkinForm(TComponent* AOwner);
    ~TWinSkinForm() override;

    // Attaching (the manager sets FHandle and FWindowClass first).
    void InitForm(TSkinData* Data, TControl* Form);
    void InitWindow(TSkinData* Data);
    void InitSkin(TSkinData* Data);
    void SetCaptionStyle(bool On);
    void UpdateCaptionFont();
    void UpdateRects();
    void ApplyFrameSize(bool UseClientRect);
    static void RepaintWindow(HWND Window);
    void UpdateSkin();
    void Unskin();
    void DetachWindow();
    void NotifySkinned();
    bool Subclassed() const noexcept { return FSubclassed; }

    // Window procedures.
    void SkinWndProc(TMessage& Message);
    void FormWindowProc(TMessage& Message);
    void MDIClientWndProc(TMessage& Message);
    void TimerTick(TObject* Sender);

    // Title bar (title buttons, window icon).
    void CreateSysButtons();
    void ClearSysButtons();
    void LoadWindowIcon(TBitmap& Bitmap);
    void DrawWindowIcon(HDC DC, const RECT& Rect);
    bool IsSysButtonVisible(int Index);
    void LayoutSysButtons();
    void PaintSysButtons(HDC DC);
    void PaintSysButton(TWinSysButton& Button, int State);
    bool IsMDIChildMaximized() const;
    TWinSysButton* SysButtonAt(POINT P) const;

    // Frame painting, border sizes and the window region.
    void PaintNC(HDC DC);
    void PaintTitle(HDC DC);
    void DrawBorderPart(int Part, const RECT& Rect, HDC DC);
    void SetSysMenuStyle(bool Remove);
    void UpdateRegion();
    void ClearRegion();
    void UpdateWindowState();
    void FindMDIClient();
    void FrameChanged();
    POINT ScreenToWindow(LPARAM Point) const;

    TControl* FForm = nullptr;
    HWND FHandle = nullptr;
    std::string FWindowClass;
    std::string FClassName;
    TSkinData* FSkinData = nullptr;

    WNDPROC FOldWndProc = nullptr;
    WNDPROC FOldClientProc = nullptr;
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
    RECT FFrameRect{};
    int FMenuBarHeight = 0;
    bool FMenuTracking = false;
    bool FRightToLeft = false;
    bool FUnicode = false;
    bool FDialog = false;
    bool FChild = false;
    HWND FMDIClient = nullptr;
    HMENU FOldMenu = nullptr;
    HMENU FSysMenu = nullptr;
    TColor FOldColor = 0;
    LONG FStyle = 0;
    TNCObject* FHotObject = nullptr;
    // The title button pressed and not yet released: only it may be clicked.
    TNCObject* FPressedObject = nullptr;
    bool FRegionSet = false;
    HRGN FRegion = nullptr;  // owned by the system once set
    std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;
    std::unique_ptr<TBitmap> FSmallIcon;
    std::unique_ptr<TBitmap> FTitleBitmap;
    int FWidth = 0, FHeight = 0, FRegionWidth = 0, FRegionHeight = 0;
    bool FActive = true;
    uint8_t FMDIKind = mkNone;
    uint8_t FFrameKind = fkSizeable;
    uint8_t FButtonSet = 0;
    uint8_t FWindowState = 0;  // 0 normal, 1 maximized, 2 minimized
    int FSkinState = ssAttached;
    bool FNCChanged = false;
    // What the window had before skinning, given back by Unskin.
    LONG FOriginalStyle = 0;
    HRGN FOriginalRegion = nullptr;  // a copy; the window's own stays the system's

    // Shared with the window procedure's frames on the stack: a frame object
    // freed inside one of its own handlers is seen as gone by the callers.
    struct TLife {
        bool Alive = true;
        int Busy = 0;
    };
    bool Busy() const noexcept { return FLife->Busy > 0; }
    std::shared_ptr<const TLife> Life() const noexcept { return FLife; }

private:
    friend class TLifeGuard;
    // Passes the message to the previous procedure; false when this object
    // was freed meanwhile (touch nothing of it then).
    bool CallDefault(TMessage& Message);
    void Subclass();
    void Unsubclass();
    void ReplaceWindowProc();
    // The form's WindowProc from before the skin (empty for other windows).
    const TWndMethod& OldWindowProc() const;
    void SubclassMDIClient();
    void UnsubclassMDIClient();
    void RestoreWindowProc();
    void RestoreOuterSize();
    void FreeSysMenu() {}

    // Window-procedure handlers.
    void Activate();
    void WMEraseBkgnd(TMessage& Message);
    void WMCtlColorStatic(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMGetMinMaxInfo(TMessage& Message);
    void WMCommand(TMessage& Message);
    void WMSysCommand(TMessage& Message);
    void WMNCCalcSize(TMessage& Message);
    void WMNCHitTest(TMessage& Message);
    void WMNCPaint(TMessage& Message);
    void WMNCActivate(TMessage& Message);
    void WMNCMouseMove(TMessage& Message);
    void WMNCLButtonDown(TMessage& Message);
    void WMNCLButtonUp(TMessage& Message);
    void WMNCLButtonDblClk(TMessage& Message);
    void WMNCRButtonDown(TMessage& Message);
    void WMSetText(TMessage& Message);
    void SysButtonClick(POINT P);
    void ShowSystemMenu(POINT ScreenPoint);
    bool CanClose() const;
    void ToggleMaximize();
    void ToggleMinimize();
    void RestoreWindow();
    void MDIChildCommand(UINT Command);
    void DrawCaption(HDC DC, const RECT& TitleRect);
    bool HasTransparentBorder() const;

    std::shared_ptr<TLife> FLife = std::make_shared<TLife>();
    std::shared_ptr<TFormHookRecord> FFormHook;
    bool FSubclassed = false;
    bool FClientSubclassed = false;
    bool FClientUnicode = false;
};

// The frame object subclassing this window, or null.
TWinSkinForm* FindSkinForm(HWND Window) noexcept;
// Number of windows subclassed by frame objects (tests: nothing leaks).
int SkinnedWindowCount() noexcept;
