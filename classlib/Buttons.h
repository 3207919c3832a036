// TBitBtn: a push button with the glyph properties that skin adapters read.
// The system button draws only the caption; a skin adapter draws the glyph
// (NumGlyphs cells side by side: up, disabled, down, ...). TSpeedButton: a
// windowless button that can stay down, alone or as one of a group.
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

// A windowless button. With a GroupIndex it stays down when clicked and
// raises the other buttons of its group and parent; AllowAllUp lets a click
// raise it again. A flat one shows its edge only while the mouse is over it.
// Its glyph strip holds NumGlyphs cells: up, disabled, pressed, held down.
class TSpeedButton : public TGraphicControl {
public:
    DECLARE_CLASS_INFO()
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    // Never null; empty until pixels are given to it.
    TBitmap* Glyph() const noexcept { return FGlyph.get(); }
    // 0 is kept as given (stored descriptions hold it) and drawn as 1.
    int32_t NumGlyphs() const noexcept { return FNumGlyphs; }
    void SetNumGlyphs(int32_t value);
    TButtonLayout Layout() const noexcept { return FLayout; }
    void SetLayout(TButtonLayout value);
    // -1: centred.
    int32_t Margin() const noexcept { return FMargin; }
    void SetMargin(int32_t value);
    int32_t Spacing() const noexcept { return FSpacing; }
    void SetSpacing(int32_t value);
    bool Flat() const noexcept { return FFlat; }
    void SetFlat(bool value);
    int32_t GroupIndex() const noexcept { return FGroupIndex; }
    void SetGroupIndex(int32_t value);
    bool AllowAllUp() const noexcept { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }
    // Only a button of a group stays down; without AllowAllUp it is raised
    // only by another of its group going down.
    bool Down() const noexcept { return FDown; }
    void SetDown(bool value);
    // The mouse pressed it and is over it now.
    bool Pressed() const noexcept { return FPressed; }

    void Paint(HDC DC) override;

protected:
    void WndProc(TMessage& Message) override;
    void TextChanged() override { Invalidate(); }

private:
    void SetPressed(bool value);

    std::unique_ptr<TBitmap> FGlyph;
    int32_t FNumGlyphs = 1;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    int32_t FMargin = -1;
    int32_t FSpacing = 4;
    bool FFlat = false;
    int32_t FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FDown = false;
    bool FPressed = false;
    bool FDragging = false;     // a press began here and is not released yet
    bool FMouseInside = false;
};

void RegisterButtons();
