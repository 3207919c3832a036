// TSkinSpeedButton: a windowless speed button drawn from the skin's [Buttons]
// strip when its parent paints it (the WM_PAINT that brings the parent's DC
// at its place: it has no window for the base to paint). It takes the
// button's WindowProc, leaves the click logic to the button (presses and
// releases pass on) and only asks for a repaint: hot on CM_MOUSEENTER,
// pressed while the left button or Space is down or while held down (Down);
// disabled over all of them. A flat one shows the frame only while hot or
// pressed. Its glyph strip and caption are laid out as a bit button's.
#pragma once

#include "skin/adapters/SkinButton.h"

class TSkinSpeedButton : public TSkinBitButton {
public:
    explicit TSkinSpeedButton(TComponent* AOwner) : TSkinBitButton(AOwner) {}

    // The button's attach: its WindowProc taken, no window, no colour change.
    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    bool InitSpeedButton(TAdapterHost* Form, TSkinData* SkinData);
    void UpdateSkin() override;

protected:
    bool BeforeProc(TMessage& Message) override;
    void AfterProc(TMessage& Message) override;
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
    // The button composed before it is copied onto the parent's DC once;
    // kept while the size stays.
    TBitmap FImage;
    TBitmap FFace;
    int FFaceCell = -1;  // -1: nothing kept
    const void* FFaceElement = nullptr;
};
