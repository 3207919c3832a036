// Skin elements: one part of the user interface as the skin draws it (its
// strip of cells, nine-part margins, cell count, flags and state colours).
// The skin component owns them; everything else only reads the fields. Each
// bitmap is owned by its element, so tearing down a half-built skin cannot fail.
#pragma once

#include "classlib/Canvas.h"
#include "skin/portable/ImgUtil.h"

#include <cstdint>
#include <memory>
#include <string>

class TDataSkinObject : public TObject {
public:
    explicit TDataSkinObject(const std::string& AName);

    // Margins in the order Left, Top, Right, Bottom: one rectangle of widths.
    int32_t FLeftWidth = 0;
    int32_t FTopHeight = 0;
    int32_t FRightWidth = 0;
    int32_t FBottomHeight = 0;
    // Never null; empty when the skin names no image or the image is missing.
    std::unique_ptr<TBitmap> FBitmap;
    int32_t FTrans = 0;  // magenta transparent (borders: a shaped border)
    int32_t FTile = 0;   // centre tiled (borders: 1 = stretch)
    std::string FName;
    int32_t FFrame = 0;  // cells in the strip
    int32_t FStyle = 0;
    TColor FNormalColour = 0;
    TColor FMouseOverColour = 0;
    TColor FPressedColour = 0;
    TColor FNormalColour2 = 0;
    TColor FMouseOverColour2 = 0;
    TColor FPressedColour2 = 0;
};

// Window borders, tabs, the combo button, progress and up-down elements;
// FBitmap2 is their second image (tab border, up-down glyphs, mirrored combo).
class TDataSkinBorder : public TDataSkinObject {
public:
    explicit TDataSkinBorder(const std::string& AName);

    std::unique_ptr<TBitmap> FBitmap2;
};

// The title bar. The base margins hold the caption's shifts: FLeftWidth
// "TextShift", FTopHeight "TextShiftVert", FRightWidth "TextRightClip";
// FBitmap is the image behind the caption.
class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    int32_t FTextAlignment = 0;
    int32_t FTextBackground = 0;
    int32_t FFontHeight = 0;
    int32_t FTXTBackLeft = 0;
    int32_t FTXTBackRight = 0;
    TColor FActiveText = 0;   // 0x1FFFFFFF: not given
    TColor FInActiveText = 0;
};

// Push buttons, with the check-box and radio glyph strips.
class TDataSkinButton : public TDataSkinObject {
public:
    explicit TDataSkinButton(const std::string& AName);

    std::unique_ptr<TBitmap> FCheckButton;
    std::unique_ptr<TBitmap> FRadioButton;
    int32_t FRadioButtonFrame = 0;
    int32_t FCheckButtonFrame = 0;
    // The text colours are the skin's own only where these are set.
    bool FHasNormalColour2 = false;
    bool FHasMouseOverColour2 = false;
    bool FHasPressedColour2 = false;
};

// What a title button does: the Action kind of its skin element (below).
enum TTitleAction {
    taClose = 0, taMaximize = 1, taMinimize = 2, taSysMenu = 3, taMDIMinimize = 7, taMDIRestore = 8,
    taMDIClose = 9, taIcon = 11, taSysMenuAlt = 12, taMaximizeAlt = 22, taMinimizeAlt = 23,
    taMDIMinimizeAlt = 60, taMDIRestoreAlt = 61, taMDICloseAlt = 62
};

// A title button's visibility codes, as Visibility and Visibility1 store
// them; the button shows when both codes say so. Codes no name covers
// (10-99, 101-199, above 2000, negative) never show it.
enum TSysButtonVisibility : int32_t {
    sbvAlways = 0,
    sbvMaximized = 1,
    sbvNotMaximized = 2,
    sbvActive = 3,
    sbvInactive = 4,
    sbvNever = 5,
    // The window has a maximize (minimize) box; as Visibility, a system menu too.
    sbvMaximizeBox = 6,
    sbvNoMaximizeBox = 7,
    sbvMinimizeBox = 8,
    sbvNoMinimizeBox = 9,
    // Placed in the menu bar, beside a maximized MDI child's menus.
    sbvInMenuBar = 100,
    // A window with a dialog frame that is not a dialog box.
    sbvDialogFrame = 200,
};

// 201-999: always shown (as Visibility1, so are 1000-2000).
constexpr bool IsShownVisibility(int32_t Code) noexcept
{
    return Code >= 201 && Code <= 999;
}

// 1000-2000 as Visibility: the window is asked (WM_SKIN_BUTTONVISIBLE).
constexpr bool IsAskedVisibility(int32_t Code) noexcept
{
    return Code >= 1000 && Code <= 2000;
}

// Where a title button's X coordinate counts from (its Align).
enum TSysButtonAlign : int32_t { sbaLeft = 0, sbaRight = 1, sbaInMenuBar = 100 };

// One title button; its name is its ini section's name in upper case.
class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    int32_t FAction = 0;
    int32_t FAlign = 0;  // a TSysButtonAlign
    int32_t FXcoord = 0;
    int32_t FYcoord = 0;
    int32_t FCombineOp = 0;
    int32_t FVisibility = 0;   // a TSysButtonVisibility
    int32_t FVisibility1 = 0;  // a TSysButtonVisibility
};

// The group box, with the shifts and alignment of its caption background.
class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    int32_t FBackgroundLeftShift = 0;
    int32_t FBackgroundRightShift = 0;
    int32_t FBackgroundAlignment = 0;
};
