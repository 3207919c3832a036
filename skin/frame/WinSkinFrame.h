// TWinSkinShape, the shape of a frame object: the frame sizes the skin's
// border strips give, the outer size that fits them around the client area
// (and the window's own frame to give back), the borders and title strip
// painted through off-screen bitmaps, the window region of a shaped skin,
// and the non-client hit test and size calculation.
#pragma once

#include <windows.h>

#include "classlib/Canvas.h"
#include "classlib/Messages.h"
#include "skin/kernel/SkinObject.h"

#include <memory>

class TWinSkinForm;
struct TWinSkinFormTestAccess;

class TWinSkinShape {
public:
    explicit TWinSkinShape(TWinSkinForm& Frame);
    TWinSkinShape(const TWinSkinShape&) = delete;
    TWinSkinShape& operator=(const TWinSkinShape&) = delete;

    int BorderLeft() const noexcept { return FBorderLeft; }
    int TitleHeight() const noexcept { return FTitleHeight; }
    int BorderRight() const noexcept { return FBorderRight; }
    int BorderBottom() const noexcept { return FBorderBottom; }
    // The band under the title for the menu bar (0: none).
    int MenuBarHeight() const noexcept { return FMenuBarHeight; }
    void SetMenuBarHeight(int Height) noexcept { FMenuBarHeight = Height; }
    // The window's size at the last paint.
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }

    void ReadBorderSizes();
    void UpdateRects();
    void ApplyFrameSize(bool UseClientRect);
    void RestoreOuterSize();
    // The client size to keep: FKeptClient once the frame was applied, else the present one.
    SIZE KeptClientSize() const;

    void PaintNC(HDC DC);
    void DrawBorderPart(int Part, const RECT& Rect, HDC DC, bool Transparent = false);
    // The title bar without caption and buttons, in window coordinates.
    RECT DrawTitleBackground(HDC DC);
    void UpdateRegion();
    void ClearRegion();
    POINT ScreenToWindow(LPARAM Point) const;
    // Whether a screen point lies in the band along the border by which the
    // window is sized (a sizeable frame in its normal state only).
    bool InSizingBand(POINT At) const;

    void WMGetMinMaxInfo(TMessage& Message);
    void WMNCCalcSize(TMessage& Message);
    void WMNCHitTest(TMessage& Message);

private:
    friend class TWinSkinForm;
    friend struct TWinSkinFormTestAccess;
    using TToken = TSkinObject::TToken;

    void PaintTitle(HDC DC);
    // A border part as the window shows it: what the region leaves out in the face colour.
    void DrawFramePart(int Part, const RECT& Rect, HDC DC);
    bool HasTransparentBorder() const;
    // The sizing hit code at a point in window coordinates, HTNOWHERE off the band.
    int SizingHitAt(POINT P) const;

    TWinSkinForm& FFrame;
    int FBorderLeft = 0, FTitleHeight = 0, FBorderRight = 0, FBorderBottom = 0;
    int FMenuBarHeight = 0;
    int FWidth = 0, FHeight = 0;
    RECT FClientRect{};
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
    // How much the client area grew when the menu bar was taken off the
    // window, before the skin frame was applied.
    int FMenuTakenGrowth = 0;
    int FCaptionWidth = 0;
    bool FRegionSet = false;
    HRGN FRegion = nullptr;  // owned by the system once set
    int FRegionWidth = 0, FRegionHeight = 0;
    HRGN FOriginalRegion = nullptr;  // the window's own, a copy; the window's stays the system's
    std::unique_ptr<TBitmap> FTitleBitmap;
    std::unique_ptr<TBitmap> FPartBitmap;  // DrawFramePart's composing
};
