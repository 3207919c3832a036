// Scroll-bar skinning. Native scroll bars cannot be painted from outside, so
// a cover window of our own (TWScrollbar) lies exactly over each one and
// paints the skin there. It answers the mouse only for hot tracking: a press
// is handed to the native bar, whose own modal tracking (repeat, thumb drag,
// scroll requests) does the work while the cover shows the pressed part.
// TSkinScrollbar serves class-library controls with window scroll bars
// (memos), TSkinScrollbarH raw windows (a simple combo box's list),
// TSkinScControl scroll-bar controls. A cover belongs to its adapter: its
// handlers keep the adapter alive until they return, so the press hand-over
// (which runs posted messages, timers and user code) may unskin, re-skin or
// re-create anything without leaving a cover that touches freed memory or
// takes clicks over a window that is gone. GUI thread only.
#pragma once

#include "classlib/Canvas.h"
#include "skin/adapters/AdapterTable.h"
#include "skin/adapters/SkinControl.h"

#include <cstdint>
#include <memory>

// Which native bar a cover lies over; btHorizontal and btVertical also say
// which way a bar runs.
enum TBarType : uint8_t { btHorizontal = 0, btVertical = 1, btControl = 2 };
// A TSkinScrollbar's Mode, set by the dispatch: the control with its window's
// bars, framed when it has a border, or a single scroll bar of another
// library's, which keeps its own border.
enum TScrollbarMode { smWindowBars = 0, smSingleBar = 1 };
// The part under the mouse or pressed. The numbers are the scroll requests'
// (SB_LINEUP 0 ... SB_THUMBTRACK 5), so a request code is stored as it comes.
enum TScrollPart : int8_t {
    spNone = -1, spFirstArrow = 0, spSecondArrow = 1, spTrackBefore = 2, spTrackAfter = 3, spThumb = 5
};
// A scroll request code as a part: codes that name no part (SB_THUMBPOSITION,
// SB_ENDSCROLL, ...) show none.
TScrollPart ScrollPartOf(WPARAM Request) noexcept;

class TWScrollbar : private TOwnWindow {
public:
    // Lies over Target's bar of Type (for btControl: over the scroll-bar
    // control Target itself), as a sibling of Target; hidden until placed.
    TWScrollbar(TSkinControl& Owner, HWND Target, TControl* TargetControl, TBarType Type);
    TWScrollbar(const TWScrollbar&) = delete;
    TWScrollbar& operator=(const TWScrollbar&) = delete;

    // Follows the native bar of Target: placed over it directly above Target
    // in the Z order, or hidden when the bar or Target is not shown.
    void UpdatePosition(HWND Target);
    void HideBar();
    void Invalidate();
    // Repaints only when the bar would look different from its last paint,
    // or the native bar under it changed (the system redraws that over the
    // cover). A thumb-track request or a paint of the control that leaves the
    // bar as it was costs no paint.
    void Refresh();
    void SetEnabled(bool Value);
    // The skin changed: nothing drawn from the last one is reused.
    void ForgetBackground() { FBackgroundKey = {}; }
    // A scroll request the target got: the pressed look follows it.
    void SetRequest(WPARAM Request);

    HWND Handle() const noexcept { return Window(); }
    bool BarVisible() const noexcept { return FBarVisible; }
    // The native bar in the target's client coordinates (window bars).
    const RECT& BarRect() const noexcept { return FBarRect; }
    TScrollPart HotPart() const noexcept { return FHotPart; }
    bool Pressed() const noexcept { return FPressed; }
    int ThumbStart() const noexcept { return FThumbStart; }
    int ThumbEnd() const noexcept { return FThumbEnd; }

private:
    bool HandleMessage(TMessage& Message);
    bool ReadInfo(SCROLLBARINFO& Info);
    bool GetControlScrollInfo(SCROLLBARINFO& Info);
    TScrollPart HitTest(POINT P) const;
    // Where the dragged thumb lies now: it follows the cursor from the press.
    void TrackThumb(int& Start, int& End) const;
    // Everything a paint's picture depends on besides the skin; false when
    // nothing would be painted.
    struct TPictureKey {
        int Width = 0, Height = 0, ClientWidth = 0, ClientHeight = 0, ThumbStart = 0, ThumbEnd = 0;
        TScrollPart HotPart = spNone;
        bool Pressed = false;
        DWORD State[CCHILDREN_SCROLLBAR + 1]{};
        int Min = 0, Max = 0, Page = 0, Pos = 0;
        bool operator==(const TPictureKey&) const = default;
    };
    bool ReadPictureKey(const SCROLLBARINFO& Info, const RECT& Client, TPictureKey& Key) const;
    void Paint(HDC DC);
    // The face, track and arrows into FBackground (R: the whole bar at the origin).
    void PaintBackground(const TSkinData& Data, RECT R, int Thick, int FirstCell, int SecondCell, bool Enabled);
    void MouseMove(LPARAM LParam);
    void ButtonDown(LPARAM LParam);
    void ButtonUp(LPARAM LParam);
    LPARAM ToScreen(LPARAM LParam) const;
    UINT HitCode() const { return Vertical() ? HTVSCROLL : HTHSCROLL; }
    bool Vertical() const noexcept { return FKind == btVertical; }
    // A part's looks: hot under the mouse (or named by a scroll request),
    // pressed while held, disabled with the bar. Hot and pressed are the
    // part's, not the adapter's: the bar is one part of its control.
    TLooks PartLooks(TScrollPart Part, bool Enabled) const;

    TSkinControl& FOwner;
    int FLength = 0;
    int FThumbStart = 0, FThumbEnd = 0;
    POINT FBarOrigin{};
    POINT FPressPoint{};
    int FPressThumbStart = 0;
    bool FPressed = false;
    TBarType FKind = btHorizontal;  // the way the bar runs: btHorizontal or btVertical
    TScrollPart FHotPart = spNone;
    int FArrowSize;
    HWND FTarget;
    TControl* FTargetControl;
    TBarType FBarType;
    RECT FBarRect{};
    bool FBarVisible = false;
    TBitmap FBuffer;  // the whole bar, composed off screen
    // What the bar looks like without its thumb, kept while it fits: only
    // the thumb moves while it is dragged.
    struct TBackgroundKey {
        int Width = 0, Height = 0, Thick = 0, FirstCell = 0, SecondCell = 0;
        bool Enabled = false;
        bool operator==(const TBackgroundKey&) const = default;
    };
    TBitmap FBackground;
    TBackgroundKey FBackgroundKey;
    // What the last paint of the whole cover showed, while FPaintedValid.
    TPictureKey FPaintedKey;
    bool FPaintedValid = false;
    // What the last Paint drew, while FDrawn: the whole picture, clipped or not.
    TPictureKey FDrawnKey;
    bool FDrawn = false;
};

// The adapter of a class-library control with window scroll bars.
class TSkinScrollbar : public TSkinControl {
public:
    explicit TSkinScrollbar(TComponent* AOwner) : TSkinControl(AOwner) {}
    ~TSkinScrollbar() override;

    // Attaches the covers (InitScrollbar); the control keeps its own colour.
    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    void Unskin() override;
    void UpdateSkin() override;
    // The kind whose adapter replaces this one when the control's window is made again.
    virtual TAdapterKind ReskinKind() const noexcept { return TAdapterKind::akScrollbar; }

    TWScrollbar* HorzBar() const noexcept { return FHorzBar.get(); }
    TWScrollbar* VertBar() const noexcept { return FVertBar.get(); }
    bool BorderFrame() const noexcept { return FBorderFrame; }

protected:
    bool BeforeProc(TMessage& Message) override;
    void AfterProc(TMessage& Message) override;
    void PaintWindow(HDC DC) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
    // The control paints itself; the corner between two bars (and the frame
    // in print) over it. The bars are the covers' own windows.
    TPaintWay PaintWay() const override { return pwOver; }

private:
    void DrawBorderFrame(HDC DC) const;
    void UpdateBars();
    void HideBars();

    std::unique_ptr<TWScrollbar> FHorzBar, FVertBar;
    bool FBorderFrame = false;
    int FPrintState = 0;  // the print DC's state saved before the control printed, 0 for none
    bool FFixedColorTaken = false;
    TColor FOldFixedColor = 0;
};

// The same for a raw window without a class-library object.
class TSkinScrollbarH : public TSkinControl {
public:
    explicit TSkinScrollbarH(TComponent* AOwner) : TSkinControl(AOwner) {}
    ~TSkinScrollbarH() override;

    bool InitSkinHandle(HWND Window, TSkinData* SkinData, TAdapterHost* Form) override;
    void Unskin() override;
    void UpdateSkin() override;

    TWScrollbar* HorzBar() const noexcept { return FHorzBar.get(); }
    TWScrollbar* VertBar() const noexcept { return FVertBar.get(); }

protected:
    bool BeforeProc(TMessage& Message) override;
    void AfterProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
    TPaintWay PaintWay() const override { return pwOver; }

private:
    std::unique_ptr<TWScrollbar> FHorzBar, FVertBar;
};

// The adapter of a scroll-bar control: one cover over the whole control,
// which follows the control's window when it is made anew.
class TSkinScControl : public TSkinControl {
public:
    explicit TSkinScControl(TComponent* AOwner) : TSkinControl(AOwner) {}
    ~TSkinScControl() override;

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    void Unskin() override;
    void UpdateSkin() override;

    TWScrollbar* Bar() const noexcept { return FBar.get(); }

protected:
    bool BeforeProc(TMessage& Message) override;
    void AfterProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
    // The control paints itself under its cover.
    TPaintWay PaintWay() const override { return pwOver; }

private:
    // The control's window now: a new one once the control has made it anew.
    void TakeWindow();

    std::unique_ptr<TWScrollbar> FBar;
};
