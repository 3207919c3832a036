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

// The tab adapter's Mode, set by the dispatch: a page control (or a tab
// window without a class-library object), or a tab control that is no page
// control, whose windowless children lie over the pane the adapter paints.
enum TTabMode : int { tmPageControl = 0, tmTabControl = 2 };
// The page control tag that asks for close boxes on its tabs.
constexpr intptr_t kCloseBoxTag = 7777;
// The close box drawn on a tab whose rectangle in the strip is Tab (the
// pixels of its frame, right and bottom edges included).
RECT CloseBoxRect(const RECT& Tab) noexcept;

class TSkinTab : public TSkinControl {
public:
    explicit TSkinTab(TComponent* AOwner) : TSkinControl(AOwner) {}

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    bool InitSkinHandle(HWND Window, TSkinData* SkinData, TAdapterHost* Form) override;
    void UpdateSkin() override;

    TTabOrientation Orientation() const noexcept { return FOrientation; }
    bool CloseButtons() const noexcept { return FCloseButtons; }
    TTabMode TabMode() const noexcept { return static_cast<TTabMode>(Mode()); }

protected:
    bool BeforeProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
    // Its own with the skin's strip; without it the control's tabs with the
    // pane over them where the skin has one.
    TPaintWay PaintWay() const override;

private:
    void LoadBitmaps();
    // The skin has a strip to draw the tabs from; without one the control paints itself.
    bool HasStrip() const;
    // The strip of tabs drawn at Strip on DC; side tabs are composed lying
    // down in FLying and turned.
    void PaintStrip(HDC DC, const RECT& Rect, const RECT& Pane, const RECT& Strip);
    // The tabs on a DC whose origin is the strip's corner (Width x Height, lying down for side tabs).
    void DrawTabs(HDC DC, const RECT& Rect, const RECT& Pane, int Width, int Height);
    void PaintPane(HDC DC, const RECT& Pane);
    // A paint message passed to the base with the scroll arrows left out of
    // what it paints: they paint themselves.
    bool PaintAroundArrows(TMessage& Message);
    // A press on a close box: the application is asked, the page may go.
    bool HitCloseButton(const TMessage& Message);

    TTabOrientation FOrientation = toTop;
    bool FUnicodeItems = false;
    bool FCloseButtons = false;
    bool FCloseBoxesShown = false;  // the last paint drew them
    TBitmap FTabBitmap;   // the Tabs strip, flipped for bottom tabs
    TBitmap FPaneBitmap;  // the pane image, flipped or turned to the tabs' side
    TBitmap FLying;       // side tabs' strip, composed lying down before it is turned
};

class TSkinTabBtn : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    void PaintControl(HDC DC, const RECT& Rect) override;
    // Its own with the [Buttons] strip, else the control's with nothing over it.
    TPaintWay PaintWay() const override;
};

// The tab set (class "TTabSet") is reached through its published "Tabs",
// "TabIndex", "StartMargin", "EndMargin", "FirstIndex" and "Font"; it is
// hooked through its WindowProc, so the walks find it skinned.
class TSkinTab31 : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    void UpdateSkin() override;

protected:
    void PaintControl(HDC DC, const RECT& Rect) override;
    // Its own with the skin's strip, else the set's.
    TPaintWay PaintWay() const override;

private:
    void LoadBitmap();
    bool HasStrip() const;

    TBitmap FTabBitmap;  // the Tabs strip flipped top to bottom
};

// Which page control the adapter skins. Only the "advpagecontrol" kind takes
// the tab images, as "TabBackGround" (normal) and "TabBackGroundActive",
// 100 x 21 each.
enum TAdvPageKind : int { pkOther = 0, pkTabImages = 4 };

class TSkinAdvPage : public TSkinControl {
public:
    TSkinAdvPage(TComponent* AOwner, TAdvPageKind PageKind) : TSkinControl(AOwner), FPageKind(PageKind) {}

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    void Unskin() override;
    void UpdateSkin() override;

protected:
    // Draws nothing: its scroll arrows are skinned once found.
    void PaintControl(HDC DC, const RECT& Rect) override;
    // The control paints itself; the adapter only looks for its arrows then.
    TPaintWay PaintWay() const override { return pwOver; }

private:
    void ApplyBackgrounds();

    TAdvPageKind FPageKind;
    // The application's own images, kept when the skin's first replace them.
    std::unique_ptr<TBitmap> FOriginals[2];
};
