// The adapters of containers and plain windows, which take the skin's look
// with little bitmap work: TSkinStatusBar (panels, simple text and size grip
// from the skin's edge and extra images), TSkinGroupBox (a rounded frame and
// the caption), TSkinBox (panels: recoloured only), TSkinTabSheet (pages in
// the skin colour), TSkinSizer (size boxes in the skin colour), TSkinBoxH
// (dialogs inside a skinned window, and their static texts, on the skin
// colour) and TSkinObjImage (other libraries' check and radio buttons handed
// the skin's glyphs). The containers paint their windowless children after
// themselves. TSkinBox and TSkinObjImage never take the control's messages.
#pragma once

#include "skin/adapters/SkinControl.h"

class TStatusPanels;

class TSkinStatusBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    // Only a class-library status bar is taken.
    bool InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool ChangeColor) override;

protected:
    bool BeforeProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;

private:
    bool PanelRect(int Index, RECT& Rect) const;
    // The last panel reaches Right.
    void PaintPanels(HDC DC, const TStatusPanels& Panels, int Right) const;
    // Frame kind 1 lowered, 2 raised, 3 flat.
    void DrawFrame(HDC DC, const RECT& Box, int Kind) const;
    void DrawSizeGrip(HDC DC, const RECT& Rect) const;
};

class TSkinGroupBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool ChangeColor) override;

protected:
    bool BeforeProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
};

class TSkinBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool ChangeColor) override;
};

class TSkinTabSheet : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    bool BeforeProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
};

// Only size boxes and size grips are taken, never a plain scroll bar.
class TSkinSizer : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool ChangeColor) override;
    bool InitSkinHandle(HWND Window, TSkinData* SkinData, TWinSkinForm* Form) override;

protected:
    void PaintControl(HDC DC, const RECT& Rect) override;
};

class TSkinBoxH : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    bool BeforeProc(TMessage& Message) override;
};

// What an other library's control takes its glyphs as.
enum TGlyphKind { gkCheckBox = 1, gkRadioButton = 2, gkGlyphProperty = 3 };

// Kinds 1 and 2 hand a strip to the control's "CustomGlyphs" bitmap (with
// "transparentcolor" and "UseCustomGlyphs"); kind 3 to the "Glyph" bitmap of
// its "Properties" object.
class TSkinObjImage : public TSkinControl {
public:
    TSkinObjImage(TComponent* AOwner, int GlyphKind) : TSkinControl(AOwner), FGlyphKind(GlyphKind) {}

    bool InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool ChangeColor) override;
    void Unskin() override;
    void UpdateSkin() override;

    int GlyphKind() const noexcept { return FGlyphKind; }

private:
    void HandOverGlyphs();

    int FGlyphKind;
};
