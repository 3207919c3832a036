// TWinSkinForm, the frame object of one skinned top-level window, dialog box
// or MDI child: it takes over the window's procedure (and a class-library
// form's WindowProc) through the subclassing kernel, dispatches its messages,
// skins and activates it, and puts everything back when it lets go. Its parts
// do the rest: the title (TWinSkinTitle), the shape (TWinSkinShape: borders,
// frame sizes, region), the menus (TWinSkinMenus) and the adapter list
// (TWinSkinControls). Its state is private: the manager and the adapters use
// the narrow interface below, tests a seam.
#pragma once

#include <windows.h>

#include "classlib/Canvas.h"
#include "classlib/Graphics.h"
#include "classlib/Handles.h"
#include "classlib/Menus.h"
#include "classlib/Messages.h"
#include "classlib/Timers.h"
#include "skin/adapters/AdapterHost.h"
#include "skin/frame/WinSkinControls.h"
#include "skin/frame/WinSkinFrame.h"
#include "skin/frame/WinSkinTitle.h"
#include "skin/kernel/SkinObject.h"
#include "skin/kernel/WindowHook.h"
#include "skin/portable/FrameClass.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

class TControl;
class TSkinControl;
class TSkinData;
class TWinSkinMenu;
class TWinSkinMenus;
struct TWinSkinFormTestAccess;

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
    void ClearSysButtons() { FTitle.ClearSysButtons(); }
    void CreateSysButtons();
    // An MDI child's caption and region as the children's maximized state changed.
    void ChildCaptionStyleChanged(bool Maximized);
    static void RepaintWindow(HWND Window);
    // The message-filter hook's view of a message of this window's open
    // drop-down; true consumes it.
    bool MenuHookMessage(const MSG& Message);

    // Control adapters of the window's children (see TWinSkinControls).
    // AddControl is true when the adapter was listed already.
    bool AddControl(TSkinControl* Adapter) override { return FAdapters.AddControl(Adapter); }
    void RemoveControl(TSkinControl* Adapter) override { FAdapters.RemoveControl(Adapter); }
    void PurgeControls() override { FAdapters.PurgeControls(); }
    void FreeControls() { FAdapters.FreeControls(); }
    int ControlCount() const noexcept { return FAdapters.ControlCount(); }
    TSkinControl* Controls(int Index) const { return FAdapters.Controls(Index); }
    TSkinControl* FindControl(const TControl* Control) const noexcept override { return FAdapters.FindControl(Control); }
    TSkinControl* FindControlByHandle(HWND Window) const noexcept override { return FAdapters.FindControlByHandle(Window); }
    // The adapter last under the mouse; it gets a mouse-leave notice when the
    // window goes inactive or (windows without a form) the cursor leaves it.
    TSkinControl* HotControl() const noexcept { return FAdapters.HotControl(); }
    void SetHotControl(TSkinControl* Adapter) { FAdapters.SetHotControl(Adapter); }
    // Controls kept from skinning besides those whose Tag is DisableTag (the
    // buttons of a disabled radio or check group), without touching their Tag.
    void ExcludeControl(TControl* Control) override { FAdapters.ExcludeControl(Control); }
    bool IsExcluded(const TControl* Control) const override { return FAdapters.IsExcluded(Control); }
    // The child-control dispatch (skin/adapters/ControlDispatch.h).
    void SkinFormControls(TControl* Form);
    void SkinChildWindows(HWND Parent);
    void SkinChildWindow(HWND Window);
    // The scroll-bar adapter of a control whose window Window was destroyed
    // is freed; a new one takes the control's new window, if it has one.
    void ReskinScrollControl(HWND Window) { FAdapters.ReskinScrollControl(Window); }

    HWND Handle() const noexcept override { return FHandle; }
    TSkinData* SkinData() const noexcept override { return FSkinData; }
    TSkinObject::TToken Token() const override { return TSkinObject::Token(); }
    TComponent& HostComponent() noexcept override { return *this; }
    TSkinFormState SkinState() const noexcept { return FSkinState; }
    TMDIKind MDIKind() const noexcept { return FClass.MDIKind; }
    bool RightToLeft() const noexcept { return FRightToLeft; }
    bool Subclassed() const noexcept { return FWindowHook.Attached(); }
    // Whether a screen point lies in the band along the border by which the
    // window is sized (a sizeable frame in its normal state only): the
    // children lying there let the hit through to the frame.
    bool InSizingBand(POINT At) const override { return FShape.InSizingBand(At); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TNCObject;
    friend class TWinSysButton;
    friend class TWinSkinMenu;
    friend class TWinSkinTitle;
    friend class TWinSkinShape;
    friend class TWinSkinMenus;
    friend class TWinSkinControls;
    friend struct TWinSkinFormTestAccess;

    void InitSkin(TSkinData* Data);
    void SetCaptionStyle(bool On);
    void MeasureOwnFrame();
    void NotifySkinned();
    // Passes the message on to the previous procedure; false when this
    // object was freed meanwhile (touch nothing of it then).
    bool CallDefault(TMessage& Message) { return FWindowHook.CallDefault(Message); }

    // Window procedures.
    void SkinWndProc(TMessage& Message);
    void FormWindowProc(TMessage& Message);
    void MDIClientWndProc(TMessage& Message);
    void TimerTick(TObject* Sender);
    void Activate();
    void WMEraseBkgnd(TMessage& Message);
    void WMCtlColorStatic(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMCommand(TMessage& Message);
    void WMSysCommand(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    void WMNCPaint(TMessage& Message);
    void WMNCActivate(TMessage& Message);
    void WMSetText(TMessage& Message);
    TNCObject* ObjectAt(POINT P) const;
    void ToggleMaximize();
    void ToggleMinimize();
    void RestoreWindow();
    void MDIChildCommand(UINT Command);
    bool IsMDIChildMaximized() const;
    // Whether the window is meant to be on screen (a form's Visible).
    bool WantsShown() const;
    void SetSysMenuStyle(bool Remove);
    void UpdateWindowState();
    void FindMDIClient();
    void FrameChanged();

    TWindowHook FWindowHook;
    TWindowProcHook FFormHook;
    TWindowHook FClientHook;

    TControl* FForm = nullptr;
    HWND FHandle = nullptr;
    std::string FWindowClass;
    TSkinData* FSkinData = nullptr;
    std::unique_ptr<TTimer> FTimer;

    // The parts.
    TWinSkinTitle FTitle;
    TWinSkinShape FShape;
    std::unique_ptr<TWinSkinMenus> FMenus;
    TWinSkinControls FAdapters;

    bool FSkinMainMenu = false;
    bool FRightToLeft = false;
    bool FChild = false;
    HWND FMDIClient = nullptr;
    HMENU FSysMenu = nullptr;
    std::optional<TColor> FOldColor;  // the form's own colour, once taken
    LONG FStyle = 0;
    // The window's drawing from its first frame paint while it is active and
    // its activation is posted (as it is shown) until the activation ends: it
    // is painted first with its skin, and once.
    TDrawingHold FSkinningHold;
    bool FActivationPosted = false;  // WM_SKIN_ACTIVATE is on its way
    bool FActive = true;
    TFrameClass FClass{.FrameKind = fkSizeable};  // what the window is, from its styles and class
    TFrameWindowState FWindowState = fwsNormal;
    TSkinFormState FSkinState = ssAttached;
    // What the window had before skinning, given back by Unskin.
    LONG FOriginalStyle = 0;
};

// The frame object holding this window, or null.
TWinSkinForm* FindSkinForm(HWND Window) noexcept;
