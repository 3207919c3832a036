// The adapters of the controls that show a value in a range. TSkinTrackBar
// answers the track bar's own custom-draw notifications: channel and thumb
// from the skin, tick marks left to the control. TSkinUpDown paints an
// up-down whole: two arrow halves, each in its own state, from the skin's
// UpDown strips or as flat boxes with line arrows. TSkinProgress paints a
// progress bar whole: the track and a fill for the position within the
// range, stretched or in chunks; a vertical bar is drawn lying and turned.
#pragma once

#include "skin/adapters/AdapterDraw.h"
#include "skin/adapters/SkinControl.h"

#include <memory>

// The custom-draw record as comctl32 declares it (no <commctrl.h> here).
struct tagNMCUSTOMDRAWINFO;
typedef struct tagNMCUSTOMDRAWINFO NMCUSTOMDRAW;

class TSkinTrackBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    // Repaints without moving the focus.
    void UpdateSkin() override;

protected:
    // The control paints itself, on screen and in print alike, and asks for
    // the skin's channel and thumb through its custom-draw notifications.
    TPaintWay PaintWay() const override { return pwNative; }
    bool BeforeProc(TMessage& Message) override;

private:
    LRESULT CustomDraw(const NMCUSTOMDRAW& Draw);
    // False when the skin has no image for it: the control draws it then.
    bool DrawChannel(HDC DC);
    void DrawThumb(HDC DC);
};

class TSkinUpDown : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    // Lies inside an edit, whose adapter attached it: kept clear of the edit's border.
    void SetInEdit(bool Value) noexcept { FInEdit = Value; }
    bool InEdit() const noexcept { return FInEdit; }

protected:
    // Without the skin's strips the halves are flat boxes with line arrows.
    TPaintWay PaintWay() const override { return pwOwn; }
    bool BeforeProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;

private:
    // One half; Looks are that half's own (only the half under the cursor is pressed).
    void DrawArrow(HDC DC, const RECT& Rect, TArrowKind Arrow, TLooks Looks);

    bool FInEdit = false;
};

class TSkinProgress : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    // Native without the skin's bar, or in chunk style without its chunk.
    TPaintWay PaintWay() const override;
    void PaintControl(HDC DC, const RECT& Rect) override;

private:
    // Track and fill of a bar lying in Rect (at the origin).
    void PaintLying(HDC DC, const RECT& Rect);

    // A standing bar is composed lying and turned: both images kept by size.
    std::unique_ptr<TBitmap> FLying, FStanding;
};

// The first up-down child of the adapter's window (a tab control's scroll
// arrows, an edit's spin) given a TSkinUpDown owned as the adapter is and
// listed by its frame object, unless something holds it already. Returns the
// child, or null when there is none.
HWND SkinUpDownChild(const TSkinControl& Adapter, bool InEdit);
