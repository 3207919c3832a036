// TControl and TWinControl: the visual class-library objects. A windowed
// control owns one Unicode window of the class named after its class-library
// class ("TEdit", a superclass of the system "Edit"); every message goes
// static proc -> WindowProc (replaceable, default WndProc) -> DefaultHandler ->
// the class's own procedure. Windows are tagged with the control (property
// atom "ControlOfs%.8X%.8X", module instance and GUI thread id) for other code;
// FindControl answers from a table of the same bindings, as a property read
// costs a round trip under Wine. GUI thread only.
#pragma once

#include "Graphics.h"
#include "Messages.h"
#include "classlib/portable/Classes.h"
#include "classlib/portable/SysUtils.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCanvas;
class TEnumInfo;

// Class-library messages, sent with Perform or to a control's window.
constexpr UINT CM_BASE = 0xB000;
// A Tab or arrow press that the focused window does not take itself, offered
// to its control and then that control's parents up to the form, which moves
// the focus (wParam the virtual key); 1 from one takes it.
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
// An Alt+letter typed in a control that no control's mnemonic took, sent to
// the control's form (wParam the character, lParam the key data) for its menu
// bar; 1 from it takes the key.
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
// Visible changed (wParam the new value), sent after the window followed.
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 7;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
// The items of a form's main menu changed (sent to the form's window).
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_RELEASE = CM_BASE + 33;
// The control's window is destroyed and made again (RecreateWnd).
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
// A popup menu whose owner is a windowed control is about to be shown
// (lParam the TPopupMenu), sent to that control's top-level window: whoever
// draws that window's menus takes in one made later before it is measured.
constexpr UINT CM_POPUPSHOWING = CM_BASE + 52;
// Notifications a parent window passes back to the control they concern:
// CN_BASE + the original message (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLORxxx,
// and WM_HSCROLL / WM_VSCROLL from a scroll-bar control).
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

// An operation the control's state does not allow (no parent window).
class EInvalidOperation : public Exception {
    using Exception::Exception;
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
extern const TEnumInfo kAlignInfo;

// Reading order of the control's texts; only bdLeftToRight reads left to right.
enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
extern const TEnumInfo kBiDiModeInfo;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : uint32_t { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = uint32_t;
TShiftState KeysToShiftState(WPARAM Keys) noexcept;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
// Key is the typed character as 8-bit text (the first GB2312 byte for a
// character beyond ASCII); setting it to 0 drops the key.
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

class TWinControl;

class TControl : public TComponent {
public:
    DECLARE_CLASS_INFO()

    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const noexcept { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    void SetParentComponent(TComponent* AParent) override;

    int Left() const noexcept { return FLeft; }
    int Top() const noexcept { return FTop; }
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    RECT BoundsRect() const noexcept { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual RECT ClientRect() const;
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    POINT ScreenToClient(POINT P) const;
    POINT ClientToScreen(POINT P) const;

    TAlign Align() const noexcept { return FAlign; }
    void SetAlign(TAlign value);
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const noexcept { return FVisible; }
    void SetVisible(bool value);
    // Visible := true, and the parent brings it forward (a page control makes a
    // shown tab sheet its active page).
    void Show();
    void Hide() { SetVisible(false); }

    // Caption or Text: 8-bit GB2312; a windowed control reads its window.
    virtual std::string Text() const;
    void SetText(const std::string& value);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& value) { SetText(value); }

    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const noexcept { return FParentColor; }
    void SetParentColor(bool value);
    TBiDiMode BiDiMode() const noexcept { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value) noexcept { FBiDiMode = value; }
    TFont* Font() const noexcept { return FFont.get(); }
    bool ParentFont() const noexcept { return FParentFont; }
    void SetParentFont(bool value);

    // Every message to the control passes through here; the skin engine swaps
    // it and puts the previous value back.
    TWndMethod WindowProc;
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void Click();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Invalidate();

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;

protected:
    virtual void WndProc(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);
    virtual void TextChanged() {}
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void VisibleChanged() {}
    virtual void BoundsChanged() {}
    // Stores bounds that the window reported itself (it was moved or sized).
    void UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight);
    void ParentFontChanged();
    void ParentColorChanged();
    void Loaded() override;

    std::string FText;

private:
    friend class TWinControl;
    friend class TCustomForm;

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = TAlign::alNone;
    bool FEnabled = true;
    bool FVisible = true;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
    bool FParentFont = true;
    bool FTakingParentFont = false;
    std::unique_ptr<TFont> FFont;
};

// A control without a window (TLabel, TSpeedButton). Its parent paints it by
// sending WM_PAINT with its DC in wParam through WindowProc. One that takes
// the mouse (TakesMouse) is handed the mouse messages over it (in its own
// coordinates) and CM_MOUSEENTER / CM_MOUSELEAVE; a press keeps the messages
// coming to it until the release of the button that began it, and a press
// the parent's window loses (WM_CANCELMODE, the capture taken) ends with
// WM_CANCELMODE to it. Others leave the mouse to the parent's window.
class TGraphicControl : public TControl {
public:
    DECLARE_CLASS_INFO()
    explicit TGraphicControl(TComponent* AOwner);

    void Invalidate() override;
    // Paints into DC, whose origin is the control's top-left corner.
    virtual void Paint(HDC DC) = 0;
    // Routed the mouse by its parent (see above); a label is not.
    bool TakesMouse() const noexcept { return FTakesMouse; }

protected:
    void WndProc(TMessage& Message) override;
    void SetTakesMouse(bool value) noexcept { FTakesMouse = value; }

private:
    bool FTakesMouse = false;
};

// Held while a control's background is drawn by its parent's own painting
// (a parent image): a parent painted inside another such drawing paints
// itself without its windowless children, so that children drawing their
// parent's image cannot ask for each other without end.
class TParentImageScope {
public:
    TParentImageScope() noexcept { ++FDepth; }
    ~TParentImageScope() { --FDepth; }
    TParentImageScope(const TParentImageScope&) = delete;
    TParentImageScope& operator=(const TParentImageScope&) = delete;
    // How many parent images are being drawn, one inside another (GUI thread only).
    static int Depth() noexcept { return FDepth; }

private:
    static inline int FDepth = 0;
};

struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    HMENU Menu = nullptr;           // a top-level window's menu bar
    std::wstring WinClassName;      // the class-library class name
    const wchar_t* SysClassName = nullptr;  // system class it superclasses, or none
    UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
public:
    DECLARE_CLASS_INFO()

    explicit TWinControl(TComponent* AOwner);
    // Destroys the window first, then every child control.
    ~TWinControl() override;

    // Creates the window (and its parents' windows) when there is none yet.
    // Raises EInvalidOperation without a parent window, EOutOfResources when
    // the system refuses.
    HWND Handle();
    bool HandleAllocated() const noexcept { return FHandle != nullptr; }
    void HandleNeeded() { (void)Handle(); }
    // Destroys the window, and with it the children's windows; the texts stay
    // and a later Handle() makes new windows.
    void DestroyHandle();
    HWND WindowHandle() const noexcept { return FHandle; }
    // A new window in place of the present one (none: nothing), through
    // CM_RECREATEWND so that whoever holds the window sees it go.
    void RecreateWnd();
    // A window that is no control, as the parent of a control without a
    // Parent (set before the window is made, or it moves there).
    HWND ParentWindow() const noexcept { return FParentWindow; }
    void SetParentWindow(HWND value);

    int ControlCount() const noexcept { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const { return FControls.at(static_cast<size_t>(Index)); }
    // Windowed descendants in tab order (TabOrder among siblings), nested.
    void GetTabOrderList(std::vector<TWinControl*>& List) const;
    int TabOrder() const noexcept { return FTabOrder; }
    void SetTabOrder(int value) { FTabOrder = value; }
    bool TabStop() const noexcept { return FTabStop; }
    void SetTabStop(bool value) { FTabStop = value; }
    // Whether Tab stops here now: TabStop, and a radio button only as its
    // group's one stop.
    virtual bool IsTabStop() const { return FTabStop; }

    bool Focused() const;
    // Window made and shown, and the control and its parents enabled.
    bool CanFocus() const;
    virtual void SetFocus();
    // Focuses the tab stop after Current (before it, GoForward false) among
    // this control's windowed descendants in tab order, wrapping round;
    // without Current the first (last). False when there is none to go to.
    bool SelectNext(TWinControl* Current, bool GoForward);
    // The descendant control whose window has the keyboard focus or holds
    // the window that has it (a combo box for its edit), or null.
    TWinControl* FocusedDescendant() const;
    // Without an effect of its own here: a skin engine switches it off while it
    // paints the control's background itself.
    bool ParentBackground() const noexcept { return FParentBackground; }
    void SetParentBackground(bool value) { FParentBackground = value; }

    void Invalidate() override;
    RECT ClientRect() const override;
    std::string Text() const override;
    // The window's own UTF-16 text (without a window, Text converted).
    std::wstring WideText() const;
    // Lays out the aligned child controls in the client area.
    void Realign();
    // Paints the visible windowless children that meet DC's clip into DC,
    // each at its place relative to DC's current origin (a painter may have
    // moved it); none within a nested parent image (TParentImageScope).
    void PaintControls(HDC DC);
    // The header of the WM_NOTIFY that the parent is passing back as this
    // CN_NOTIFY, or null: others send the same number with a plain number in
    // lParam, which must not be read as a header.
    static const NMHDR* ReflectedNotify(const TMessage& Message) noexcept;
    // A child asks to be shown in front (TControl::Show).
    virtual void ShowControl(TControl* AControl);

    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    virtual void CreateParams(TCreateParams& Params);
    // The window now exists: push the state kept so far into it.
    virtual void CreateWnd();
    // Own-class windows: background and content; graphic children follow.
    virtual void PaintWindow(HDC DC);
    virtual void AlignControls(RECT& Rect);
    // The window size for the control's bounds (a combo box adds its list).
    virtual int WindowHeight(int AHeight) const { return AHeight; }
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void VisibleChanged() override;
    void BoundsChanged() override;
    void Loaded() override;
    void DoKeyPress(char& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // Focus going to Next leaves this control for another one of its window.
    bool LeavesForSibling(HWND Next) const;
    // A brush of the control's colour for WM_CTLCOLORxxx answers.
    HBRUSH ColorBrush();

private:
    friend class TControl;
    friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);

    void CreateHandle();
    // The focus is inside a window being disabled or hidden: it goes on to
    // the next tab stop of the form, as in a dialog, instead of nowhere.
    void MoveFocusOn();
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    void PaintHandler(TMessage& Message);
    void Reflect(TMessage& Message);
    // The enabled, visible windowless child taking the mouse at P (client
    // coordinates), topmost first.
    TGraphicControl* GraphicControlAt(POINT P) const;
    // A mouse message handed to the windowless child under it or holding the
    // press; false when it is the window's own.
    bool RouteMouse(TMessage& Message);
    // CM_MOUSELEAVE to the child the mouse was over, CM_MOUSEENTER to the
    // one at P (none: null).
    void SetMouseControl(const POINT* P);
    // Control is hidden or leaves: it is no longer under the mouse.
    void ForgetMouseControl(const TControl* Control);
    // The child holding a press is told it ended without a release.
    void CancelCaptureControl();
    void WMChar(TMessage& Message);
    bool OfferDialogChar(TMessage& Message);

    HWND FHandle = nullptr;
    HWND FParentWindow = nullptr;
    WNDPROC FDefWndProc = nullptr;
    bool FMouseInControl = false;  // CM_MOUSEENTER sent, CM_MOUSELEAVE owed
    TGraphicControl* FMouseControl = nullptr;    // windowless child under the mouse
    TGraphicControl* FCaptureControl = nullptr;  // windowless child holding a press
    UINT FCaptureRelease = 0;                    // the up message that ends it
    bool FAligning = false;
    std::vector<TControl*> FControls;
    int FTabOrder = -1;
    bool FTabStop = false;
    bool FParentBackground = true;
    HBRUSH FBrush = nullptr;
    COLORREF FBrushColor = 0;
};

// A windowed control that paints itself on its Canvas (Paint).
class TCustomControl : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    // Bound to the window's DC during Paint only.
    TCanvas* Canvas() const noexcept { return FCanvas.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;

private:
    std::unique_ptr<TCanvas> FCanvas;
};

// The control whose window this is, or null (another thread's, another
// program's or a plain system window).
TWinControl* FindControl(HWND Window) noexcept;
// The property atom under which controls tag their windows, and its name:
// "ControlOfs" + the module instance handle and the GUI thread id, each as at
// least eight upper-case hexadecimal digits. Made on first use, on the GUI thread.
ATOM ControlAtom();
const char* ControlAtomName();
// Number of windows currently bound to controls (tests: nothing leaks).
int BoundWindowCount() noexcept;
