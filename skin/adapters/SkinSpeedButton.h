// TSkinSpeedButton: a windowless speed button drawn from the skin's [Buttons]
// strip on its parent's DC at its place. It takes the button's WindowProc,
// leaves the click logic to the button (presses and releases pass on) and
// only repaints: hot on CM_MOUSEENTER, pressed while the left button or
// Space is down, held down (Down) over everything; a flat one shows the
// frame only while hot or pressed. Its glyph strip and caption are laid out
// as a bit button's.
#pragma once

#include "skin/adapters/SkinButton.h"

class TSkinSpeedButton : public TSkinBitButton {
public:
    explicit TSkinSpeedButton(TComponent* AOwner) : TSkinBitButton(AOwner) {}

    // The button's attach: its WindowProc taken, no window, no colour change.
    bool InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool ChangeColor) override;
    bool InitSpeedButton(TWinSkinForm* Form, TSkinData* SkinData);
    void UpdateSkin() override;

protected:
    bool BeforeProc(TMessage& Message) override;
    void AfterProc(TMessage& Message) override;
    // With no DC: paints on the parent's DC at the button's place, given
    // back at once. Failures end the paint quietly.
    void PaintWindow(HDC DC) override;
    // Rect: the button at the DC's origin.
    void PaintControl(HDC DC, const RECT& Rect) override;

private:
    // The button's client rectangle at the origin.
    RECT ButtonRect() const;
    // The skin colour with the cell's frame (cell 0: none) at W x H, drawn
    // once and kept while cell, size and skin stay: a parent repaints every
    // button, and the nine-part frame is the dearest step.
    TBitmap& Face(int Cell, int W, int H);

    bool FPainting = false;  // a paint is under way: the parent's image may ask for another
    TBitmap FFace;
    int FFaceCell = -1;  // -1: nothing kept
    const void* FFaceElement = nullptr;
};
