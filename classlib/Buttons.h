// TBitBtn: a push button with the glyph properties that skin adapters read.
// This program assigns no bitmaps, so Glyph stays empty and the system button
// draws the caption.
#pragma once

#include "StdCtrls.h"

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
extern const TEnumInfo kButtonLayoutInfo;

class TBitBtn : public TButton {
public:
    DECLARE_CLASS_INFO()
    explicit TBitBtn(TComponent* AOwner);

    // The glyph bitmap (a TBitmap) when one is assigned; none here.
    TObject* Glyph() const noexcept { return nullptr; }
    int32_t NumGlyphs() const noexcept { return FNumGlyphs; }
    void SetNumGlyphs(int32_t value) { FNumGlyphs = value < 1 ? 1 : value > 4 ? 4 : value; }
    TButtonLayout Layout() const noexcept { return FLayout; }
    void SetLayout(TButtonLayout value) { FLayout = value; }
    // -1: centred.
    int32_t Margin() const noexcept { return FMargin; }
    void SetMargin(int32_t value) { FMargin = value; }
    int32_t Spacing() const noexcept { return FSpacing; }
    void SetSpacing(int32_t value) { FSpacing = value; }

private:
    int32_t FNumGlyphs = 1;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    int32_t FMargin = -1;
    int32_t FSpacing = 4;
};

void RegisterButtons();
