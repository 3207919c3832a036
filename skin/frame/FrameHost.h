// TFrameHost: what the frame objects need of the skin manager above them.
// It lives with the frame so that the frame never sees the manager's layer;
// the manager (TSkinManage) implements it and sets FrameHost for its life.
#pragma once

#include <windows.h>

#include <vector>

class TControl;
class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;

// The kind of menu about to be shown.
enum TMenuKind { mnkPopup = 0, mnkMenuBar = 1, mnkSystemMenu = 2 };

class TFrameHost {
public:
    virtual ~TFrameHost() = default;

    // A frame object is going: it is unlisted (by identity).
    virtual void RemoveForm(TWinSkinForm* Form) = 0;
    // A frame object finished attaching.
    virtual void SetRunning() noexcept = 0;
    virtual bool HasSkinData(const TSkinData* Data) const = 0;
    // The MDI children's shared maximized state and the MDI frame.
    virtual bool ChildMaximized() const noexcept = 0;
    virtual void SetChildCaptionStyle(bool Maximized) = 0;
    virtual HWND MDIClient() const noexcept = 0;
    virtual TControl* MDIForm() const noexcept = 0;
    virtual void SetMDIClient(HWND Client, TControl* Form) noexcept = 0;
    // The menus being shown: what kind comes next, and the skinned popups.
    virtual void SetMenuKind(TMenuKind Kind) noexcept = 0;
    virtual void SetMenuBarPopup(bool Value) noexcept = 0;
    virtual const std::vector<TWinSkinPopMenu*>& PopupMenus() const noexcept = 0;
    virtual TWinSkinPopMenu* FindPopupMenu(HWND Window) const = 0;
};

// The manager while it exists, else null.
inline TFrameHost* FrameHost = nullptr;
