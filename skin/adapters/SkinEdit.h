// The adapters of edits and combo boxes. TSkinEdit draws a flat skin border
// over an edit's own border and gives its up-down child, once found, an
// up-down adapter. TSkinComBox paints a combo box's frame and drop button
// from the skin, the button hot under the mouse and pressed while held; it
// takes over the edit inside a drop-down box (through the kernel, as the
// window is, wide or ANSI) to see presses and paints there too.
#pragma once

#include "skin/adapters/SkinControl.h"

class TSkinEdit : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

protected:
    void AfterProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;

private:
    // The border for WM_PRINT into DC (the window DC when DC is null).
    void PrintBorder(HDC DC);
};

class TSkinComBox : public TSkinControl {
public:
    explicit TSkinComBox(TComponent* AOwner);
    ~TSkinComBox() override;

    bool InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool ChangeColor) override;
    bool InitSkinHandle(HWND Window, TSkinData* SkinData, TWinSkinForm* Form) override;
    void Unskin() override;

    // The edit child taken over, or null.
    HWND EditHandle() const noexcept { return FEditHook.Attached() ? FEditHook.Window() : nullptr; }
    // The always-shown list of a simple combo box, or null.
    HWND ListHandle() const noexcept { return FListHandle; }
    // The drop button in window coordinates, as last painted.
    const RECT& ButtonRect() const noexcept { return FButtonRect; }

protected:
    void AfterProc(TMessage& Message) override;
    void PaintControl(HDC DC, const RECT& Rect) override;

private:
    // What both attaches do once the window is held.
    void TakeParts();
    static void EditDispatch(TSkinObject& Owner, TMessage& Message);
    void EditWndProc(TMessage& Message);
    void PaintFlat(HDC DC, const RECT& Rect);
    void SetMouseBit(uint8_t Bit, bool On);
    // The info of the window now; false when the system has none to give.
    bool ReadComboInfo();

    TWindowHook FEditHook;
    DWORD FStyle = 0;
    DWORD FExStyle = 0;
    HWND FListHandle = nullptr;
    COMBOBOXINFO FComboInfo{};
    RECT FButtonRect{};
};
