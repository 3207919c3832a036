// The check-box and radio-button adapters: the box or circle replaced by a
// cell of the skin's check or radio strip. Fully skinned (a class-library
// control and a strip: background, glyph and caption painted here) or glyph
// only (raw windows: the native control paints and the glyph is drawn over
// its box). A strip that goes with a skin change hands painting back to the
// native control before a paint message is taken.
#pragma once

#include "classlib/Canvas.h"
#include "skin/adapters/SkinControl.h"

// Modes of the two adapters: what they paint now (cmGlyphOnly also while
// the skin has no strip and the control paints itself).
enum TCheckMode { cmGlyphOnly = 0, cmFull = 1 };

// The cell of a strip of Count cells for a state in 1..4 (unchecked,
// checked, unchecked disabled, checked disabled or indeterminate) as a 4-cell
// strip numbers it; Indeterminate, Disabled and Pressed (held by the mouse or
// Space) give the larger strips' own cells. Always within 1..Count.
int CheckCell(int State, bool Indeterminate, bool Disabled, int Count, bool Radio, bool Pressed = false);

// What the two adapters share; Radio says which of them it is.
class TSkinCheckGlyph : public TSkinControl {
public:
    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    // A skin change may bring or take the strip: the mode follows it.
    void UpdateSkin() override;
    bool ParentImage() const noexcept { return FParentImage; }

protected:
    TSkinCheckGlyph(TComponent* AOwner, bool Radio) : TSkinControl(AOwner), FRadio(Radio) {}

    bool BeforeProc(TMessage& Message) override;
    void AfterProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
    // Own with a strip and a class-library control, over a raw window's own
    // painting with a strip, native without one.
    TPaintWay PaintWay() const override;
    // The state (1 unchecked, 2 checked, 4 grayed) the class-library control
    // shows; Window is the window's own.
    virtual int ControlState(int Window) const = 0;
    // BM_SETCHECK seen with this value.
    virtual void CheckSent(WPARAM) {}

private:
    TBitmap* Strip(int& Count) const;
    void ChooseMode();

    bool FRadio;
    bool FParentImage = false;
};

class TSkinCheckBox : public TSkinCheckGlyph {
public:
    explicit TSkinCheckBox(TComponent* AOwner) : TSkinCheckGlyph(AOwner, false) {}

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    // The last BM_SETCHECK value plus one (0: none yet); data-aware boxes show it.
    int CheckState() const noexcept { return FCheckState; }

protected:
    int ControlState(int Window) const override;
    void CheckSent(WPARAM Value) override;

private:
    int FCheckState = 0;
};

class TSkinRadioButton : public TSkinCheckGlyph {
public:
    explicit TSkinRadioButton(TComponent* AOwner) : TSkinCheckGlyph(AOwner, true) {}

protected:
    int ControlState(int Window) const override;
};
