// The adapters of containers and plain windows, which take the skin's look
// with little bitmap work: TSkinStatusBar (panels, simple text and size grip
// from the skin's edge and extra images), TSkinGroupBox (a rounded frame and
// the caption), TSkinBox (panels: recoloured only), TSkinTabSheet (pages in
// the skin colour), TSkinSizer (size boxes in the skin colour), TSkinBoxH
// (dialogs inside a skinned window, and their static texts, on the skin
// colour) and TSkinObjImage (other libraries' check and radio buttons handed
// the skin's glyphs). The containers paint their windowless children after
// themselves. TSkinBox and TSkinObjImage never take the control's messages.
// The status bar, the group box, the tab sheet and the size box are painted
// whole by the adapter; the raw dialog paints itself on the skin colour.
#pragma once

#include "skin/adapters/SkinControl.h"

class TStatusPanels;

// A status-bar panel's frame; the number is its cell in the skin's edge strip.
enum TPanelFrame { pfLowered = 1, pfRaised = 2, pfFlat = 3 };

class TSkinStatusBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    // Only a class-library status bar is taken.
    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;

protected:
    // Without the skin's edges the frames are drawn in the system's colours.
    TPaintWay PaintWay() const override { return pwOwn; }
    void PaintControl(HDC DC, const RECT& Rect) override;

private:
    bool PanelRect(int Index, RECT& Rect) const;
    // The last panel reaches Right.
    void PaintPanels(HDC DC, const TStatusPanels& Panels, int Right) const;
    void DrawFrame(HDC DC, const RECT& Box, TPanelFrame Frame) const;
    void DrawSizeGrip(HDC DC, const RECT& Rect) const;
};

// A group box's Mode.
enum TGroupBoxMode {
    gmOverNative = 0,  // a window without a class-library object: its own frame wiped and the skin's drawn over it
    gmOwn = 1,         // a class-library group box: painted whole, its windowless children after it
};

class TSkinGroupBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;

protected:
    TPaintWay PaintWay() const override { return Mode() == gmOwn ? pwOwn : pwOver; }
    void PaintControl(HDC DC, const RECT& Rect) override;
};

class TSkinBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;

protected:
    // Recoloured only: the panel paints itself in the skin colour.
    TPaintWay PaintWay() const override { return pwNative; }
};

// A tab sheet's Mode.
enum TTabSheetMode {
    tmSkinColour = 0,  // painted whole in the skin colour, its windowless children after it
    tmOwnColour = 1,   // its parent's background switched off for it: it paints itself
};

class TSkinTabSheet : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    TPaintWay PaintWay() const override { return Mode() == tmSkinColour ? pwOwn : pwNative; }
    void PaintControl(HDC DC, const RECT& Rect) override;
};

// Only size boxes and size grips are taken, never a plain scroll bar.
class TSkinSizer : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    bool InitSkinHandle(HWND Window, TSkinData* SkinData, TAdapterHost* Form) override;

protected:
    // Filled with the skin colour; the system's grip is never drawn.
    TPaintWay PaintWay() const override { return pwOwn; }
    void PaintControl(HDC DC, const RECT& Rect) override;
};

class TSkinBoxH : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    // The dialog paints itself; its background is erased in the skin colour.
    TPaintWay PaintWay() const override { return pwNative; }
    bool BeforeProc(TMessage& Message) override;

private:
    void EraseSkinColour(HDC DC) const;
};

// What an other library's control takes its glyphs as.
enum TGlyphKind { gkCheckBox = 1, gkRadioButton = 2, gkGlyphProperty = 3 };

// Kinds 1 and 2 hand a strip to the control's "CustomGlyphs" bitmap (with
// "transparentcolor" and "UseCustomGlyphs"); kind 3 to the "Glyph" bitmap of
// its "Properties" object.
class TSkinObjImage : public TSkinControl {
public:
    TSkinObjImage(TComponent* AOwner, int GlyphKind) : TSkinControl(AOwner), FGlyphKind(GlyphKind) {}

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    void Unskin() override;
    void UpdateSkin() override;

    int GlyphKind() const noexcept { return FGlyphKind; }

protected:
    // Glyphs handed over: the control paints itself with them.
    TPaintWay PaintWay() const override { return pwNative; }

private:
    void HandOverGlyphs();

    int FGlyphKind;
};
