// The adapters of the controls that show a value in a range. TSkinTrackBar
// answers the track bar's own custom-draw notifications: channel and thumb
// from the skin, tick marks left to the control. TSkinUpDown paints an
// up-down whole: two arrow halves, each in its own state, from the skin's
// UpDown strips or as flat boxes with line arrows. TSkinProgress paints a
// progress bar whole: the track and a fill for the position within the
// range, stretched or in chunks; a vertical bar is drawn lying and turned.
#pragma once

#include "skin/adapters/SkinControl.h"

#include <commctrl.h>

class TSkinTrackBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    // Repaints without moving the focus.
    void UpdateSkin() override;

protected:
    bool BeforeProc(TMessage& Message) override;

private:
    LRESULT CustomDraw(const NMCUSTOMDRAW& Draw);
    void DrawChannel(HDC DC);
    void DrawThumb(HDC DC);
};

class TSkinUpDown : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    // Lies inside an edit, whose adapter attached it: kept clear of the edit's border.
    void SetInEdit(bool Value) noexcept { FInEdit = Value; }
    bool InEdit() const noexcept { return FInEdit; }

protected:
    bool BeforeProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;

private:
    void DrawArrow(HDC DC, const RECT& Rect, int Kind, int State);

    bool FInEdit = false;
};

class TSkinProgress : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    bool BeforeProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
};

// The first up-down child of the adapter's window (a tab control's scroll
// arrows, an edit's spin) given a TSkinUpDown owned as the adapter is and
// listed by its frame object, unless something holds it already. Returns the
// child, or null when there is none.
HWND SkinUpDownChild(const TSkinControl& Adapter, bool InEdit);
