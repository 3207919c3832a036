// The adapters of edits and combo boxes. TSkinEdit draws a flat skin border
// over an edit's own border (on screen and in print alike) and gives its
// up-down child, once found, an up-down adapter. TSkinComBox paints a combo
// box's frame and drop button from the skin over the box's own painting, the
// button hot under the mouse and pressed while held; it takes over the edit
// inside a drop-down box (through the kernel, as the window is, wide or ANSI)
// to see presses and paints there too. Without the skin's combo elements the
// box paints itself.
// TSkinDateTime draws a flat border around a date-time picker and lays the
// skin's arrow (TArrowButton) over the picker's drop button.
#pragma once

#include "classlib/Canvas.h"
#include "classlib/Controls.h"
#include "classlib/Handles.h"
#include "skin/adapters/SkinControl.h"

#include <memory>

class TDataSkinObject;

class TSkinEdit : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    bool BeforeProc(TMessage& Message) override;
    void AfterProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
    // The border lies over the edit's own, in its frame.
    TPaintWay PaintWay() const override { return pwOver; }

private:
    int FPrintState = 0;  // the print DC's state saved before the edit printed, 0 for none
};

class TSkinComBox : public TSkinControl {
public:
    explicit TSkinComBox(TComponent* AOwner);
    ~TSkinComBox() override;

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    bool InitSkinHandle(HWND Window, TSkinData* SkinData, TAdapterHost* Form) override;
    void Unskin() override;

    // The edit child taken over, or null.
    HWND EditHandle() const noexcept { return FEditHook.Attached() ? FEditHook.Window() : nullptr; }
    // The always-shown list of a simple combo box, or null.
    HWND ListHandle() const noexcept { return FListHandle; }
    // The drop button in window coordinates, as last painted.
    const RECT& ButtonRect() const noexcept { return FButtonRect; }

protected:
    bool BeforeProc(TMessage& Message) override;
    void AfterProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
    // pwOver while the skin has the look's button (and edge), else pwNative.
    TPaintWay PaintWay() const override;

private:
    // What both attaches do once the window is held.
    void TakeParts();
    static void EditDispatch(TSkinObject& Owner, TMessage& Message);
    void EditWndProc(TMessage& Message);
    void PaintFlat(HDC DC, const RECT& Rect, TLooks Looks);
    // Presses and releases show on the button, and a press ends with the
    // mouse's capture; false for other messages.
    bool FollowPress(UINT Msg);
    // The focus came or went: the frame's focused look follows it.
    void FocusChanged();
    void GiveBackUncovered();
    // The info of the window now; false when the system has none to give.
    bool ReadComboInfo();
    // Cell of Element drawn over Rect without its key-coloured pixels, from
    // FLook, which is composed again when the size, cell or skin changed.
    void CopyLook(HDC DC, const RECT& Rect, const TDataSkinObject& Element, int Cell);

    TWindowHook FEditHook;
    DWORD FStyle = 0;
    DWORD FExStyle = 0;
    HWND FListHandle = nullptr;
    COMBOBOXINFO FComboInfo{};
    RECT FButtonRect{};
    bool FOwnPaint = false;  // the box's own WM_PAINT is running, its skin drawn over it after
    // The look as last drawn, kept with the region of its drawn pixels: the
    // box's own paint and its edit's each show it, so a paint is one copy
    // through the region, with no mask made.
    struct TLookKey {
        int Width = 0, Height = 0, Cell = 0;
        const TBitmap* Strip = nullptr;
        uint32_t Generation = 0;
        bool operator==(const TLookKey&) const = default;
    };
    TBitmap FLook;
    TGdiObject FLookRegion;
    TLookKey FLookKey;
};

class TSkinDateTime;

// The skin's combo arrow laid over a date-time picker's own drop button, a
// child window of the picker; a click on it is a click on the picker's button.
class TArrowButton : public TCustomControl {
public:
    explicit TArrowButton(TComponent* AOwner);
    ~TArrowButton() override;

    void Attach(TSkinDateTime& Adapter, TWinControl& Picker);
    // Over the picker's button again (the picker was resized).
    void Place();
    // Gives the picker back its style; the window goes.
    void Detach();
    // Hot is the arrow's own, a part of the picker: the adapter's mouse
    // state is the picker's as a whole.
    bool Hot() const noexcept { return FHot; }

protected:
    void WndProc(TMessage& Message) override;
    void Paint() override;

private:
    int FSize;
    TWinControl* FPicker = nullptr;
    TSkinDateTime* FAdapter = nullptr;
    HWND FPickerHandle = nullptr;
    bool FHot = false;
    bool FClipAdded = false;  // WS_CLIPCHILDREN was added to the picker
};

// A flat border around a date-time picker and the skin's arrow over its button.
class TSkinDateTime : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    ~TSkinDateTime() override;

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    void Unskin() override;
    // The arrow too: the picker clips its children, so its redraw leaves the arrow as it was.
    void UpdateSkin() override;

    TArrowButton* ArrowButton() const noexcept { return FArrowButton.get(); }

protected:
    void AfterProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;
    TPaintWay PaintWay() const override { return pwOver; }

private:
    std::unique_ptr<TArrowButton> FArrowButton;
};
