// TWinSkinPopMenu: one popup-menu window ("#32768") taken over through the
// subclassing kernel. It renders the menu's background from the skin's
// MenuBackground element and shows its 3-pixel ring: in the non-client area
// where the popup has one, else over the edges of the menu's own paint (Wine
// draws its popups' frame inside the client area). Owner-drawn items take
// their backgrounds from Background(). The skin manager lists and frees them.
#pragma once

#include <windows.h>

#include "classlib/Canvas.h"
#include "skin/kernel/SkinObject.h"
#include "skin/kernel/WindowHook.h"

#include <cstdint>
#include <memory>

class TSkinData;

class TWinSkinPopMenu : public TSkinObject {
public:
    TWinSkinPopMenu();
    ~TWinSkinPopMenu() override;

    // Takes the window over; false when it cannot be subclassed.
    bool InitSkin(HWND Window, TSkinData* Data);
    // Gives the window its own procedure back; a second call does nothing.
    void Unskin();
    bool Attached() const noexcept { return FHook.Attached(); }

    HWND Handle() const noexcept { return FHandle; }
    TSkinData* SkinData() const noexcept { return FSkinData; }
    // The menu the window shows, asked of the window itself (MN_GETHMENU).
    HMENU MenuHandle();
    // The background at the window's present size; null without a usable skin.
    TBitmap* Background();
    // Where the client area (and so an owner-drawn item's rectangle) starts
    // in the window: (0, 0) when the popup has no non-client area.
    POINT ClientOrigin() const;
    bool MenuBarMark() const noexcept { return FMenuBarMark; }
    void SetMenuBarMark(bool Value) noexcept { FMenuBarMark = Value; }

private:
    void SkinWndProc(TMessage& Message);
    bool SkinAvailable() const;
    bool HasNonClientArea() const;
    bool RenderBackground();
    void DrawRing(HDC DC);
    void WMPrint(TMessage& Message);
    void WMNCPaint(TMessage& Message);
    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);

    TWindowHook FHook;
    HWND FHandle = nullptr;
    TSkinData* FSkinData = nullptr;
    HMENU FMenuHandle = nullptr;
    std::unique_ptr<TBitmap> FBackground;
    uint32_t FBackgroundGeneration = 0;  // of the skin it was made from
    bool FMenuBarMark = false;
};
