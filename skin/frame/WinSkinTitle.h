// The title of a frame object: TNCObject and TWinSysButton, the clickable
// objects of the non-client area, and TWinSkinTitle, which makes the title
// buttons from the skin's button elements, lays them out, paints them and
// the caption text, shows the window icon, and answers the non-client mouse.
#pragma once

#include <windows.h>

#include "classlib/Canvas.h"
#include "classlib/Graphics.h"
#include "classlib/Handles.h"
#include "classlib/Messages.h"
#include "skin/kernel/SkinObject.h"

#include <memory>
#include <string>
#include <vector>

class TDataSkinSysButton;
class TWinSkinForm;
class TWinSkinMenu;
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
    friend class TWinSkinTitle;
    friend class TWinSkinMenu;
    friend class TWinSkinMenus;
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

class TWinSkinTitle {
public:
    explicit TWinSkinTitle(TWinSkinForm& Frame);
    TWinSkinTitle(const TWinSkinTitle&) = delete;
    TWinSkinTitle& operator=(const TWinSkinTitle&) = delete;

    // The buttons made anew from the skin's elements (sizes read first), or none.
    void CreateSysButtons();
    void ClearSysButtons();
    // The system's caption font, before the skin gives its height.
    void UpdateCaptionFont();
    TFont& CaptionFont() const { return *FCaptionFont; }
    // The window's small icon read into Bitmap (magenta where it draws nothing).
    void LoadWindowIcon(TBitmap& Bitmap);
    TBitmap& SmallIcon() const { return *FSmallIcon; }
    void DrawWindowIcon(HDC DC, const RECT& Rect);
    void LayoutSysButtons();
    void PaintSysButtons(HDC DC);
    void PaintSysButton(TWinSysButton& Button, TNCState State);
    // A maximized MDI child's buttons, drawn by the menu bar into its image
    // (whose top-left corner is the bar's, BarOrigin in window coordinates).
    void PaintMenuBarButtons(HDC DC, POINT BarOrigin);
    void DrawCaption(HDC DC, const RECT& TitleRect);
    TWinSysButton* SysButtonAt(POINT P) const;
    // The object (title or menu-bar button) last under the mouse.
    TNCObject* HotObject() const noexcept { return FHotObject; }
    void SetHotObject(TNCObject* Object) noexcept { FHotObject = Object; }

    void WMNCMouseMove(TMessage& Message);
    void WMNCLButtonDown(TMessage& Message);
    void WMNCLButtonUp(TMessage& Message);
    void WMNCLButtonDblClk(TMessage& Message);
    void WMNCRButtonDown(TMessage& Message);

private:
    friend class TWinSkinForm;
    friend class TNCObject;
    friend struct TWinSkinFormTestAccess;
    using TToken = TSkinObject::TToken;

    bool IsSysButtonVisible(TWinSysButton& Button);
    void SysButtonClick(POINT P);

    TWinSkinForm& FFrame;
    std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;
    TNCObject* FHotObject = nullptr;
    // The title button pressed and not yet released: only it may be clicked.
    TNCObject* FPressedObject = nullptr;
    std::unique_ptr<TFont> FCaptionFont;
    std::unique_ptr<TBitmap> FSmallIcon;
    HICON FIcon = nullptr;
    int FIconSize = 16;
    // FIcon at FIconSize, made once per icon instead of on every paint.
    TIcon FIconCopy;
    HICON FIconCopyOf = nullptr;
    std::wstring FWindowText;
};
