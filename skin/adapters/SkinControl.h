// TSkinControl, the base of every control adapter: it takes over one child
// control's messages (a class-library control through its WindowProc, a raw
// window through its procedure, both by the subclassing kernel), lets the
// control's own procedure run and then paints it from the skin. Its frame
// object lists it and frees it; it may be freed while one of its own
// messages is on the stack, so after every call that can run user code it
// asks its token before touching itself. Also here: the routines that reach
// a control's published properties by name, answering "absent" instead of
// raising. GUI thread only.
#pragma once

#include <windows.h>

#include "classlib/Graphics.h"
#include "classlib/Messages.h"
#include "classlib/portable/Classes.h"
#include "skin/kernel/SkinObject.h"
#include "skin/kernel/WindowHook.h"
#include "skin/portable/LookCells.h"

#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>

class TAdapterHost;
class TBitmap;
class TClassInfo;
class TControl;
class TSkinData;

// The adapter's life; the numbers are those the frame object's own state uses.
enum TAdapterState { asNew = 0, asSkinned = 1, asDestroyed = 6 };
// Bits of MouseState().
enum TAdapterMouseBit : uint8_t { mbHot = 0x01, mbPressed = 0x02 };
// A button, check box or radio button tagged so takes its parent's image
// behind it instead of the skin colour.
constexpr intptr_t kParentImageTag = 5555;

// How a control's look reaches its window. A family answers before every
// paint message, so a skin change that brings or takes what it draws from
// is followed at once.
enum TPaintWay {
    pwNative,  // the control paints itself: the skin lacks what the family draws
    pwOwn,     // the adapter paints the whole window; the control's own painting never runs
    pwOver,    // the control paints itself and the adapter paints its parts over that
};

class TSkinControl : public TComponent, public TSkinObject {
public:
    // AOwner: the skinned class-library control, or the frame object for a
    // raw window; the adapter is freed with it or earlier by its frame object.
    explicit TSkinControl(TComponent* AOwner);
    ~TSkinControl() override;

    // Attaches to the owner (a windowed class-library control, whose window is
    // made if needed); with ChangeColor its Color is the skin colour while
    // skinned. False when the owner is no windowed control or is held already.
    virtual bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor);
    // Attaches to a window without a class-library object. False when Window
    // is no window or is held already (also by this adapter).
    virtual bool InitSkinHandle(HWND Window, TSkinData* SkinData, TAdapterHost* Form);
    // Gives back what the skin changed (colour, ParentBackground).
    virtual void Unskin();
    // Re-reads the skin after a change and redraws.
    virtual void UpdateSkin();
    virtual bool CanSkin() { return true; }

    // Lets go of the window now (procedure given back, unlisted) and frees
    // the adapter, at once or when its outermost handler returns.
    void Free();

    // The replacement window procedure.
    void SkinWndProc(TMessage& Message);
    // Runs the procedure that was replaced; false when the adapter was freed
    // meanwhile (touch nothing of it then).
    bool CallOldProc(TMessage& Message);
    void Redraw();
    // CM_MOUSELEAVE to the window: the frame object's notice that the mouse left.
    void SendMouseLeave();
    void SwitchParentBackground(bool Off);
    // The parent's Color, read by name; Default when there is none.
    TColor GetParentColor(TColor Default) const;
    void FillSkinColor(HDC DC, const RECT& Rect) const;
    void FillParentColor(HDC DC, const RECT& Rect) const;
    LONG GetWindowLongAW(HWND Window, int Index) const;
    // A focus rectangle around the caption as DrawText would place it with Flags.
    void DrawFocus(HDC DC, const RECT& Rect, UINT Flags) const;
    // Hands a mouse-button message to the control's own MouseDown (left button).
    void ForwardMouseDown(const TMessage& Message);
    // WM_PAINT answered by PaintControl alone (the control does not paint).
    void HandlePaint(TMessage& Message);
    // WM_ERASEBKGND answered with the parent's image (or the skin colour), 1.
    void HandleEraseBkgnd(TMessage& Message);

    HWND Handle() const noexcept { return FHandle; }
    TControl* Control() const noexcept { return FControl; }
    TControl* GraphicOwner() const noexcept { return FGraphicOwner; }
    TAdapterHost* Form() const noexcept { return FForm; }
    TSkinData* SkinData() const noexcept { return FSkinData; }
    TAdapterState SkinState() const noexcept { return FSkinState; }
    bool Attached() const noexcept { return FAttached; }
    bool PaintOn() const noexcept { return FPaintOn; }
    bool Unicode() const noexcept { return FUnicode; }
    bool ChangeColor() const noexcept { return FChangeColor; }
    bool ParentBackgroundOff() const noexcept { return FParentBackgroundOff; }
    int Mode() const noexcept { return FMode; }
    // The dispatch sets a per-class mode before attaching.
    void SetMode(int Value) noexcept { FMode = Value; }
    bool Enabled() const noexcept { return FEnabled; }
    const std::wstring& Caption() const noexcept { return FCaption; }
    uint8_t MouseState() const noexcept { return FMouseState; }
    const RECT& WindowRect() const noexcept { return FWindowRect; }
    bool Resized() const noexcept { return FResized; }

protected:
    // Before the control's procedure: false consumes the message with the
    // Result left in it. The base paints WM_PAINT, WM_PRINTCLIENT and
    // WM_PRINT as PaintWay says, and holds off the system button's own
    // drawing of a state change under a look the adapter owns.
    virtual bool BeforeProc(TMessage& Message);
    // After the control's procedure (only while the adapter lives).
    virtual void AfterProc(TMessage& Message);
    // Measures the window and paints it; exceptions are swallowed.
    virtual void PaintWindow(HDC DC);
    // Draws the control's skinned look, or its parts over the control's own
    // painting (pwOver), in window coordinates: Rect is the whole window at
    // the origin. DC is the adapter's back buffer for pwOwn, else the window
    // DC or the one a print message brought, its origin at the window's corner.
    virtual void PaintControl(HDC DC, const RECT& Rect);
    // pwOver unless a family says otherwise.
    virtual TPaintWay PaintWay() const { return pwOver; }
    // The looks the control shows now: hot and pressed as MouseState keeps
    // them, focused (its window or one inside it has the focus) and disabled
    // from the window. A family maps them to its strip's cells (LookCells.h).
    TLooks Looks() const;
    // One of MouseState's bits set or cleared; a change repaints the control.
    void SetMouseBit(uint8_t Bit, bool On);

    // InitSkin without taking the control's messages: for adapters that act
    // only when attached, on a skin change and when unskinned.
    bool InitUnhooked(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor);
    // Attaches to the owner as a windowless control (its GraphicOwner): its
    // WindowProc is taken, it has no window (Handle() stays null).
    bool InitGraphic(TAdapterHost* Form, TSkinData* SkinData);
    bool Handled() const noexcept { return FHandled; }
    void SetHandled(bool Value) noexcept { FHandled = Value; }
    void SetEnabled(bool Value) noexcept { FEnabled = Value; }
    bool Focused() const noexcept { return FFocused; }
    void SetFocused(bool Value) noexcept { FFocused = Value; }
    void SetCaption(std::wstring Value) { FCaption = std::move(Value); }
    void SetMouseState(uint8_t Value) noexcept { FMouseState = Value; }
    void SetGraphicOwner(TControl* Value) noexcept { FGraphicOwner = Value; }
    void SetResized(bool Value) noexcept { FResized = Value; }
    // The control's window was made anew (null while it has none).
    void SetHandle(HWND Value) noexcept { FHandle = Value; }
    // The control is being destroyed (its window goes while the object is only
    // its base class): reach none of its derived parts then.
    bool ControlDying() const;

private:
    bool AttachControl(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor, bool Hook);
    void Detach();
    // The whole window composed in the back buffer and copied onto Target in
    // one BitBlt: its client part for a client DC, all of it for a window DC.
    void PaintOwn(HDC Target, bool Client);
    // WM_PRINT for pwOwn: true when answered (the adapter may be gone then).
    bool PrintOwn(TMessage& Message);
    // PaintControl over what the control painted into a client DC.
    void PaintOverClient(HDC Target);
    // The client area's top-left corner in window coordinates.
    POINT ClientOffset() const;
    // A message on which the system's button draws straight onto its window,
    // passed on with that drawing held off; false when the adapter went.
    bool CallOldProcUndrawn(TMessage& Message);

    TWindowProcHook FProcHook;
    TWindowHook FWindowHook;
    uint8_t FMouseState = 0;
    bool FHandled = false;
    bool FEnabled = false;
    bool FFocused = false;
    std::wstring FCaption;
    bool FPaintOn = true;
    bool FUnicode = false;
    TSkinData* FSkinData = nullptr;
    HWND FHandle = nullptr;
    TControl* FControl = nullptr;
    const std::type_info* FControlType = nullptr;  // the control's class when attached
    RECT FWindowRect{};
    TControl* FGraphicOwner = nullptr;
    bool FChangeColor = false;
    TColor FOldColor = 0;
    bool FOldParentColor = false;
    bool FColorTaken = false;  // FOldColor holds the control's own colour
    bool FAttached = false;
    TAdapterState FSkinState = asNew;
    TAdapterHost* FForm = nullptr;
    int FMode = 0;
    bool FResized = false;
    bool FParentBackgroundOff = false;
};

// Window text as UTF-16.
std::wstring GetWindowTextWide(HWND Window);
// A popup window: WS_POPUP, or a parent that is the desktop window.
bool IsPopupWindow(HWND Window);
// Target takes Source's size and pixel format and then its pixels.
void CopyBitmap(const TBitmap& Source, TBitmap& Target);

// Published properties by name. A null instance or a missing property (or
// one of another kind) gives the empty answer: -1, "", nullptr; setting one
// does nothing. SetPropByName raises EConvertError for a non-numeric text
// given to an integer property.
int GetOrdPropByName(const TObject* Instance, std::string_view Name);
std::string GetEnumPropByName(const TObject* Instance, std::string_view Name);
std::wstring GetTextPropByName(const TObject* Instance, std::string_view Name);
TObject* GetObjectPropByName(const TObject* Instance, std::string_view Name, const TClassInfo& MinClass);
void SetPropByName(TObject* Instance, std::string_view Name, std::string_view Value);
