// The push-button adapters. Each draws its button from the skin's [Buttons]
// strip (normal, pressed, disabled, hot, focused) off screen and takes the
// left mouse button itself: the press never reaches the native button, and a
// release over the button after a press on it clicks (Click of a class-library
// control, BN_CLICKED to a raw button's parent). The keyboard stays native;
// the adapter only shows the pressed look while Space is down. TSkinBitButton
// adds a glyph (a bitmap strip, an image list or a graphic property) laid out
// by Layout, Margin and Spacing; TSkinMenuButton a drop-down arrow. A skin
// without the strip leaves the button to paint itself.
#pragma once

#include "classlib/Canvas.h"
#include "skin/adapters/SkinControl.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Cells of the [Buttons] strip, 1-based.
enum TButtonCell { bcNormal = 1, bcPressed = 2, bcDisabled = 3, bcHot = 4, bcFocused = 5 };

// A push button's Mode: these libraries' buttons take a forwarded press as a
// second one, so theirs is not handed to MouseDown.
enum TButtonMode { bmForwardPress = 0, bmOwnPress = 1 };

// Cells of a button's glyph strip as kGlyphCells and kDownGlyphCells number them.
constexpr int kGlyphCellCount = 4;

// Where a bit button's glyph comes from.
enum TBitGlyphSource { gsGlyph = 0, gsPngImage = 1 };

// Glyph layouts by the lower-cased "Layout" text; anything else is the first.
enum TGlyphLayout { glLeft = 0, glRight = 1, glTop = 2, glBottom = 3 };
TGlyphLayout GlyphLayout(const std::string& Text);

// What a glyph button's face holds and how it is to be laid out.
struct TGlyphRequest {
    SIZE Glyph{0, 0};
    TGlyphLayout Layout = glLeft;
    int Margin = -1;        // -1: centred
    int Spacing = -1;       // -1: computed
    bool Centred = false;   // centred whatever the margin
    int CentredExtra = 0;   // added to a centred margin when the spacing is given
};
// Where the glyph and the caption's box go, and the caption's flags.
struct TGlyphPlace {
    POINT Glyph{0, 0};
    RECT Text{};
    UINT Flags = 0;
};

// The first "||" of Caption made a line break.
std::wstring WideReplaceFirst(const std::wstring& S, std::wstring_view Old, std::wstring_view New);

class TSkinButton : public TSkinControl {
public:
    explicit TSkinButton(TComponent* AOwner) : TSkinControl(AOwner) {}

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    bool ParentImage() const noexcept { return FParentImage; }

protected:
    bool BeforeProc(TMessage& Message) override;
    void AfterProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
    // The whole button from the strip; without one the button paints itself.
    TPaintWay PaintWay() const override;

    // The skin has a strip to draw buttons from.
    bool CanPaint() const;
    TButtonMode ButtonMode() const noexcept { return static_cast<TButtonMode>(Mode()); }
    // What a button paints after its background and cell (Rect at the
    // origin), with the font and text colour chosen. Cell: the looks' cell
    // as a whole strip numbers it, whatever this skin's strip holds.
    using TContent = std::function<void(HDC DC, const RECT& Rect, TButtonCell Cell, TLooks Looks)>;
    // The steps shared by the three: state read, background, the strip's
    // cell for the looks by Cells, font and state colours, then Content.
    // WindowFont: the window's WM_GETFONT font unless the control has a Font.
    void Paint(HDC DC, const RECT& Rect, const TCellLayout& Cells, bool WindowFont, const TContent& Content);
    // The caption in Rect, placed by Alignment (DT_CENTER or left across the
    // width), one forced line break, and the focus rectangle.
    void DrawCaption(HDC DC, const RECT& Rect, UINT Alignment);
    // The caption's first "||" made a line break; once per paint, after the
    // caption is read.
    void BreakCaption();
    // A focus rectangle around Box grown by 2, unless the skin turns it off.
    void DrawFocusBox(HDC DC, RECT Box) const;
    // The caption colour of Cell from the skin, else Default (disabled: shadow).
    TColor StateColour(TButtonCell Cell, TColor Default) const;

    void SetParentImage(bool Value) noexcept { FParentImage = Value; }

private:
    void Click();

    bool FParentImage = false;
    bool FMousePressed = false;  // the pressed look came from a mouse press here
};

class TSkinBitButton : public TSkinButton {
public:
    // gsPngImage: the graphic property "PngImage" holds the glyph whole
    // (else the usual Glyph strip or image list).
    explicit TSkinBitButton(TComponent* AOwner, TBitGlyphSource Source = gsGlyph)
        : TSkinButton(AOwner), FGraphicProp(Source == gsPngImage ? "PngImage" : "")
    {
    }

    // Cell Index (kGlyphCells: 1 up, 2 disabled, 3 down, 4 held down) of a
    // NumGlyphs strip at (X, Y), the first where the strip is shorter:
    // greyed for the disabled cell, the lower-left pixel's colour left out.
    static void DrawGlyphCell(HDC DC, int X, int Y, int NumGlyphs, int Index, TBitmap& Glyph);

protected:
    void PaintControl(HDC DC, const RECT& Rect) override;
    // Lays the glyph and Caption out on Rect (at the origin), measuring the
    // caption with DC's font.
    static TGlyphPlace PlaceGlyph(HDC DC, const RECT& Rect, const std::wstring& Caption, TGlyphRequest Request);

private:
    std::string FGraphicProp;
};

class TSkinMenuButton : public TSkinButton {
public:
    using TSkinButton::TSkinButton;

protected:
    void PaintControl(HDC DC, const RECT& Rect) override;
};
