// TBitBtn: a push button with the glyph properties that skin adapters read.
// The system button draws only the caption; a skin adapter draws the glyph
// (NumGlyphs cells side by side: up, disabled, down, ...).
#pragma once

#include "Canvas.h"
#include "StdCtrls.h"

#include <memory>

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
extern const TEnumInfo kButtonLayoutInfo;

class TBitBtn : public TButton {
public:
    DECLARE_CLASS_INFO()
    explicit TBitBtn(TComponent* AOwner);

    ~TBitBtn() override;

    // Never null; empty until pixels are given to it.
    TBitmap* Glyph() const noexcept { return FGlyph.get(); }
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
    std::unique_ptr<TBitmap> FGlyph;
    int32_t FNumGlyphs = 1;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    int32_t FMargin = -1;
    int32_t FSpacing = 4;
};

void RegisterButtons();
