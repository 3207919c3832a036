// The tab adapters. TSkinTab draws tab controls and page controls with tabs
// on any side from the skin's Tabs strip and their pane from its pane image,
// with close boxes on a page control tagged 7777; TSkinTabBtn draws
// button-style tabs from the [Buttons] strip; TSkinTab31 draws the older tab
// set, whose tabs it lays out itself; TSkinAdvPage hands other libraries'
// page controls their tab images through bitmap properties. The tab
// control's up-down arrows are found by handle at each paint, never kept,
// and given an up-down adapter when first found.
#pragma once

#include "classlib/Canvas.h"
#include "skin/adapters/SkinControl.h"

#include <cstdint>
#include <memory>

// Side of the tabs: the style's TCS_BOTTOM and TCS_VERTICAL bits together.
enum TTabOrientation : uint8_t { toTop = 0, toBottom = 1, toLeft = 2, toRight = 3 };
TTabOrientation TabOrientationOf(LONG Style) noexcept;

// The mode of a tab control that is no page control.
constexpr int TabControlMode = 2;
// The page control tag that asks for close boxes on its tabs.
constexpr intptr_t CloseBoxTag = 7777;
// The close box drawn on a tab whose rectangle in the strip is Tab (the
// pixels of its frame, right and bottom edges included).
RECT CloseBoxRect(const RECT& Tab) noexcept;

class TSkinTab : public TSkinControl {
public:
    explicit TSkinTab(TComponent* AOwner) : TSkinControl(AOwner) {}

    bool InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool ChangeColor) override;
    bool InitSkinHandle(HWND Window, TSkinData* SkinData, TWinSkinForm* Form) override;
    void UpdateSkin() override;

    TTabOrientation Orientation() const noexcept { return FOrientation; }
    bool CloseButtons() const noexcept { return FCloseButtons; }

protected:
    bool BeforeProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;

private:
    void LoadBitmaps();
    // The skin has a strip to draw the tabs from; without one the control paints itself.
    bool HasStrip() const;
    // The strip of tabs drawn into FBitmap and copied to Strip on DC.
    void PaintStrip(HDC DC, const RECT& Rect, const RECT& Pane, const RECT& Strip);
    void PaintPane(HDC DC, const RECT& Pane);
    // A press on a close box: the application is asked, the page may go.
    bool HitCloseButton(const TMessage& Message);

    TTabOrientation FOrientation = toTop;
    bool FUnicodeItems = false;
    bool FCloseButtons = false;
    bool FCloseBoxesShown = false;  // the last paint drew them
    TBitmap FTabBitmap;   // the Tabs strip, flipped for bottom tabs
    TBitmap FPaneBitmap;  // the pane image, flipped or turned to the tabs' side
    TBitmap FBitmap;      // the strip of tabs, composed off screen (lying down for side tabs)
};

class TSkinTabBtn : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    bool BeforeProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
};

// The tab set (class "TTabSet") is reached through its published "Tabs",
// "TabIndex", "StartMargin", "EndMargin", "FirstIndex" and "Font"; it is
// hooked through its WindowProc, so the walks find it skinned.
class TSkinTab31 : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool ChangeColor) override;
    void UpdateSkin() override;

protected:
    bool BeforeProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;

private:
    void LoadBitmap();
    bool HasStrip() const;

    TBitmap FTabBitmap;  // the Tabs strip flipped top to bottom
};

// Only this page kind (the "advpagecontrol" kind) takes the tab images, as
// "TabBackGround" (normal) and "TabBackGroundActive", 100 x 21 each.
constexpr int AdvPageKind = 4;

class TSkinAdvPage : public TSkinControl {
public:
    TSkinAdvPage(TComponent* AOwner, int PageKind) : TSkinControl(AOwner), FPageKind(PageKind) {}

    bool InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool ChangeColor) override;
    void Unskin() override;
    void UpdateSkin() override;

protected:
    // Draws nothing: its scroll arrows are skinned once found.
    void PaintControl(HDC DC, const RECT& Rect) override;

private:
    void ApplyBackgrounds();

    int FPageKind;
    // The application's own images, kept when the skin's first replace them.
    std::unique_ptr<TBitmap> FOriginals[2];
};
