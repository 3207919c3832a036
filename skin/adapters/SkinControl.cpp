// The adapter base: attaching through the kernel, the message flow before and
// after the control's own procedure, colours taken and given back, and the
// routines that reach published properties by name.
#include "skin/adapters/SkinControl.h"

#include "classlib/Canvas.h"
#include "classlib/Controls.h"
#include "classlib/Handles.h"
#include "classlib/Text.h"
#include "classlib/portable/TypInfo.h"
#include "skin/SkinApi.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/AdapterHost.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/portable/SkinText.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

void Dispatch(TSkinObject& Owner, TMessage& Message)
{
    static_cast<TSkinControl&>(Owner).SkinWndProc(Message);
}

// BeginPaint's DC, ended on every path: a paint that raises still validates the window.
class TPaintDC {
public:
    explicit TPaintDC(HWND Window) : FWindow(Window), FDC(::BeginPaint(Window, &FPaint)) {}
    ~TPaintDC()
    {
        if (FDC != nullptr) ::EndPaint(FWindow, &FPaint);
    }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    HDC Get() const noexcept { return FDC; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

// The property of that name when it is one of Kinds, else null.
const TPropInfo* FindProp(const TObject* Instance, std::string_view Name, std::initializer_list<TTypeKind> Kinds)
{
    if (Instance == nullptr) return nullptr;
    const TPropInfo* p = FindPropInfo(*Instance, Name);
    if (p == nullptr || std::find(Kinds.begin(), Kinds.end(), p->Kind) == Kinds.end()) return nullptr;
    return p;
}

}  // namespace

TSkinControl::TSkinControl(TComponent* AOwner)
    : TComponent(AOwner), FProcHook(*this, &Dispatch), FWindowHook(*this, &Dispatch)
{
}

TSkinControl::~TSkinControl()
{
    Detach();
}

void TSkinControl::Detach()
{
    FProcHook.Detach();
    FWindowHook.Detach();
    if (TAdapterHost* form = std::exchange(FForm, nullptr)) form->RemoveControl(this);
}

void TSkinControl::Free()
{
    Detach();
    FreeDeferred();
}

bool TSkinControl::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    return AttachControl(Form, SkinData, ChangeColor, true);
}

bool TSkinControl::InitUnhooked(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    return AttachControl(Form, SkinData, ChangeColor, false);
}

bool TSkinControl::AttachControl(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor, bool Hook)
{
    if (FAttached) return true;
    auto* control = dynamic_cast<TWinControl*>(Owner());
    if (control == nullptr || Form == nullptr || SkinData == nullptr) return false;
    const HWND window = control->Handle();
    // One adapter a window: a second one would pass every message to the first.
    if (FindSkinObject(window) != nullptr || (Hook && !FProcHook.Attach(*control))) return false;
    FChangeColor = ChangeColor;
    FSkinData = SkinData;
    FForm = Form;
    FControl = control;
    FControlType = &typeid(*control);
    FHandle = window;
    FUnicode = ::IsWindowUnicode(window) != FALSE;
    FEnabled = control->Enabled();
    FCaption = control->WideText();
    Form->AddControl(this);
    if (FChangeColor) {
        SwitchParentBackground(true);
        FOldColor = control->Color();
        FOldParentColor = control->ParentColor();
        FColorTaken = true;
        control->SetColor(SkinData->FButtonFaceColor);
    }
    if (FParentBackgroundOff) FMode = 1;
    FAttached = true;
    FSkinState = asSkinned;
    control->Invalidate();
    return true;
}

bool TSkinControl::InitGraphic(TAdapterHost* Form, TSkinData* SkinData)
{
    if (FAttached) return true;
    auto* control = dynamic_cast<TControl*>(Owner());
    if (control == nullptr || Form == nullptr || SkinData == nullptr || !FProcHook.Attach(*control)) return false;
    FSkinData = SkinData;
    FForm = Form;
    FGraphicOwner = control;
    FEnabled = control->Enabled();
    FCaption = TextToWide(control->Caption());
    Form->AddControl(this);
    FAttached = true;
    FSkinState = asSkinned;
    control->Invalidate();
    return true;
}

bool TSkinControl::InitSkinHandle(HWND Window, TSkinData* SkinData, TAdapterHost* Form)
{
    if (FAttached || Form == nullptr || SkinData == nullptr || !::IsWindow(Window)) return false;
    if (FindSkinObject(Window) != nullptr || !FWindowHook.Attach(Window)) return false;
    FSkinData = SkinData;
    FForm = Form;
    FHandle = Window;
    FEnabled = true;
    FMode = 0;
    FUnicode = FWindowHook.Unicode();
    FCaption = GetWindowTextWide(Window);
    Form->AddControl(this);
    FAttached = true;
    FSkinState = asSkinned;
    ::InvalidateRect(Window, nullptr, TRUE);
    return true;
}

void TSkinControl::SwitchParentBackground(bool Off)
{
    // What was switched off goes back on, whatever the options say by now.
    if (!Off) {
        if (std::exchange(FParentBackgroundOff, false)) SetPropByName(FControl, "ParentBackground", "True");
        return;
    }
    if (FSkinData == nullptr || (FSkinData->Options() & SkinBit(xoParentBackGround)) != 0 || FControl == nullptr)
        return;
    FParentBackgroundOff = LowerCaseAZ(GetEnumPropByName(FControl, "ParentBackground")) == "true";
    if (FParentBackgroundOff) SetPropByName(FControl, "ParentBackground", "False");
}

void TSkinControl::Unskin()
{
    if (!FChangeColor || FControl == nullptr || !FColorTaken) return;
    SwitchParentBackground(false);
    FColorTaken = false;
    FControl->SetColor(FOldColor);
    if (FOldParentColor) FControl->SetParentColor(true);
}

void TSkinControl::UpdateSkin()
{
    if (FChangeColor && FControl != nullptr && FSkinData != nullptr) FControl->SetColor(FSkinData->FButtonFaceColor);
    Redraw();
}

bool TSkinControl::ControlDying() const
{
    return FControl != nullptr && FControlType != nullptr && typeid(*FControl) != *FControlType;
}

void TSkinControl::SkinWndProc(TMessage& Message)
{
    FHandled = false;
    if (Message.Msg == WM_SKIN_PAINTON) {
        FPaintOn = static_cast<LONG_PTR>(Message.WParam) > 0;
        if (FPaintOn) Redraw();
        return;
    }
    // Painting off or not, a window that goes leaves its adapter to be purged.
    if (!FPaintOn && Message.Msg != WM_NCDESTROY) {
        CallOldProc(Message);
        return;
    }
    // A handler further down may free the adapter (a click handler closes a
    // tab, a modal loop unskins); nothing of it is touched after that.
    const TToken life = Token();
    if (BeforeProc(Message) && life.Alive() && CallOldProc(Message)) AfterProc(Message);
}

bool TSkinControl::CallOldProc(TMessage& Message)
{
    if (FControl != nullptr || FGraphicOwner != nullptr) return FProcHook.CallDefault(Message);
    return FWindowHook.CallDefault(Message);
}

bool TSkinControl::BeforeProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCDESTROY:
        if (!CallOldProc(Message)) return false;
        FPaintOn = false;
        FSkinState = asDestroyed;
        // Under the control's destructor only its base class is left to give back to.
        if (!ControlDying()) Unskin();
        return false;
    case WM_SKIN_QUERY:
        Message.Result = 1;
        return false;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        // Asked to, the background comes first, as BeginPaint erases it on
        // screen: a control that prints only what lies on its background
        // would print it on whatever the DC held.
        const TPaintWay way = PaintWay();
        if (way == pwOver && Message.Msg == WM_PRINTCLIENT && Message.WParam != 0 &&
            (Message.LParam & PRF_ERASEBKGND) != 0) {
            const TToken life = Token();
            ::SendMessageW(FHandle, WM_ERASEBKGND, Message.WParam, 0);
            if (!life.Alive()) return false;
        }
        if (way != pwOwn) return true;
        if (Message.WParam != 0) {
            PaintOwn(reinterpret_cast<HDC>(Message.WParam), true);
        } else {
            const TPaintDC dc(FHandle);
            if (dc.Get() != nullptr) PaintOwn(dc.Get(), true);
        }
        Message.Result = 0;
        return false;
    }
    case WM_PRINT:
        return PaintWay() != pwOwn || !PrintOwn(Message);
    case WM_ERASEBKGND:
        // The adapter's paint covers every pixel: erasing first would only flicker.
        if (PaintWay() != pwOwn) return true;
        Message.Result = 1;
        return false;
    case BM_SETSTATE:
    case BM_SETCHECK: {
        if (PaintWay() != pwOwn) return true;
        const TToken life = Token();
        if (CallOldProcUndrawn(Message) && life.Alive()) AfterProc(Message);
        return false;
    }
    case WM_NCHITTEST: {
        // A control lying in its frame's sizing band lets the hit through:
        // the system asks the windows under it, down to the frame.
        const POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
        if (FForm == nullptr || FHandle == nullptr || !::IsChild(FForm->Handle(), FHandle) || !FForm->InSizingBand(p))
            return true;
        Message.Result = HTTRANSPARENT;
        return false;
    }
    default:
        return true;
    }
}

void TSkinControl::AfterProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
        Redraw();
        break;
    case WM_PAINT:
        if (PaintWay() != pwOver) break;
        if (Message.WParam != 0) PaintOverClient(reinterpret_cast<HDC>(Message.WParam));
        else PaintWindow(nullptr);
        break;
    case WM_PRINTCLIENT:
        if (PaintWay() == pwOver && Message.WParam != 0) PaintOverClient(reinterpret_cast<HDC>(Message.WParam));
        break;
    case WM_PRINT:
        // The control printed its frame and client: the skin's parts over both.
        if (PaintWay() == pwOver && Message.WParam != 0 && (Message.LParam & PRF_NONCLIENT) != 0)
            PaintWindow(reinterpret_cast<HDC>(Message.WParam));
        break;
    case BM_SETSTATE:
        // Pressed or let go by Space or the mouse: shown at once.
        if (PaintWay() == pwOwn) Redraw();
        break;
    case BM_SETCHECK:
        // With the next paint: a run of changes (a box and its partner, a
        // whole page restored) costs one paint each.
        if (PaintWay() == pwOwn) ::InvalidateRect(FHandle, nullptr, FALSE);
        break;
    default:
        break;
    }
}

TLooks TSkinControl::Looks() const
{
    TLooks looks = 0;
    if (FMouseState & mbHot) looks |= lkHot;
    if (FMouseState & mbPressed) looks |= lkPressed;
    if (FHandle != nullptr) {
        const HWND focus = ::GetFocus();
        if (focus != nullptr && (focus == FHandle || ::IsChild(FHandle, focus))) looks |= lkFocused;
        if (!::IsWindowEnabled(FHandle)) looks |= lkDisabled;
    } else if (FGraphicOwner != nullptr && !FGraphicOwner->Enabled()) {
        looks |= lkDisabled;
    }
    return looks;
}

void TSkinControl::SetMouseBit(uint8_t Bit, bool On)
{
    const uint8_t state = On ? FMouseState | Bit : FMouseState & ~Bit;
    if (state == FMouseState) return;
    FMouseState = state;
    Redraw();
}

POINT TSkinControl::ClientOffset() const
{
    RECT window{};
    POINT origin{0, 0};
    if (!::GetWindowRect(FHandle, &window) || !::ClientToScreen(FHandle, &origin)) return {0, 0};
    return {origin.x - window.left, origin.y - window.top};
}

void TSkinControl::PaintOwn(HDC Target, bool Client)
{
    RECT window{};
    if (FHandle == nullptr || Target == nullptr || !::GetWindowRect(FHandle, &window)) return;
    FWindowRect = window;
    const int w = window.right - window.left, h = window.bottom - window.top;
    if (w <= 0 || h <= 0) return;
    // One back buffer serves every adapter: windows are painted one at a time,
    // and a buffer of its own per window costs each of its pages when first
    // touched. A paint asked for while the buffer is being composed (a
    // windowless child drawing its parent's image, its DC offset and clipped
    // to the child then) composes in a bitmap of its own.
    static TBitmap shared;
    static bool composing = false;
    std::unique_ptr<TBitmap> nested;
    if (composing) nested = std::make_unique<TBitmap>();
    TBitmap& bitmap = nested != nullptr ? *nested : shared;
    if (bitmap.Width() < w || bitmap.Height() < h)
        bitmap.SetSize(std::max(w, bitmap.Width()), std::max(h, bitmap.Height()));
    const HDC buffer = bitmap.Canvas()->Handle();
    // Each paint starts from the buffer's own state, whatever the last one selected.
    const int state = ::SaveDC(buffer);
    const bool outer = std::exchange(composing, true);
    bool painted = true;
    try {
        PaintControl(buffer, {0, 0, w, h});
    } catch (...) {
        painted = false;  // a paint that fails leaves the window as it was
    }
    composing = outer;
    ::RestoreDC(buffer, state);
    if (!painted) return;
    POINT from{0, 0};
    RECT size{0, 0, w, h};
    if (Client) {
        from = ClientOffset();
        ::GetClientRect(FHandle, &size);
    }
    ::BitBlt(Target, 0, 0, size.right, size.bottom, buffer, from.x, from.y, SRCCOPY);
}

bool TSkinControl::PrintOwn(TMessage& Message)
{
    const auto dc = reinterpret_cast<HDC>(Message.WParam);
    const LPARAM flags = Message.LParam;
    Message.Result = 0;
    if (dc == nullptr || ((flags & PRF_CHECKVISIBLE) != 0 && !::IsWindowVisible(FHandle))) return true;
    // A frame of its own, if the control has one, as the system prints it;
    // the client as the skin paints it, where the client lies in the window.
    if ((flags & PRF_NONCLIENT) != 0) {
        TMessage frame{WM_PRINT, Message.WParam, PRF_NONCLIENT, 0};
        if (!CallOldProc(frame)) return true;
    }
    if ((flags & PRF_CLIENT) == 0) return true;
    const POINT origin = ClientOffset();
    const int saved = ::SaveDC(dc);
    if (saved == 0) return true;
    ::OffsetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    PaintOwn(dc, true);
    ::RestoreDC(dc, saved);
    return true;
}

void TSkinControl::PaintOverClient(HDC Target)
{
    RECT r{};
    if (FHandle == nullptr || !::GetWindowRect(FHandle, &r)) return;
    FWindowRect = r;
    ::OffsetRect(&r, -r.left, -r.top);
    const POINT origin = ClientOffset();
    RECT client{};
    ::GetClientRect(FHandle, &client);
    const int saved = ::SaveDC(Target);
    if (saved == 0) return;
    // Window coordinates land on the client DC; what lies beyond the client stays out.
    ::OffsetViewportOrgEx(Target, -origin.x, -origin.y, nullptr);
    ::IntersectClipRect(Target, origin.x, origin.y, origin.x + client.right, origin.y + client.bottom);
    try {
        PaintControl(Target, r);
    } catch (...) {
        // A paint that fails leaves the control as it painted itself.
    }
    ::RestoreDC(Target, saved);
}

bool TSkinControl::CallOldProcUndrawn(TMessage& Message)
{
    // The system's button draws its new state straight onto the window. A
    // hidden one draws nothing, and must not be shown by switching drawing on.
    const HWND window = FHandle;
    if (window == nullptr || (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) == 0) return CallOldProc(Message);
    ::SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    const bool alive = CallOldProc(Message);
    if (::IsWindow(window)) ::SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    return alive;
}

void TSkinControl::PaintWindow(HDC DC)
{
    RECT r{};
    if (!::GetWindowRect(FHandle, &r)) return;
    FWindowRect = r;
    ::OffsetRect(&r, -r.left, -r.top);
    try {
        if (DC != nullptr) {
            PaintControl(DC, r);
            return;
        }
        const TWindowDC dc(FHandle, ::GetWindowDC(FHandle));
        if (dc.Get() != nullptr) PaintControl(dc.Get(), r);
    } catch (...) {
        // A paint that fails leaves the control as it painted itself.
    }
}

void TSkinControl::PaintControl(HDC, const RECT&) {}

void TSkinControl::Redraw()
{
    if (FGraphicOwner != nullptr) {
        FGraphicOwner->Invalidate();
        return;
    }
    if (FHandle == nullptr) return;
    ::InvalidateRect(FHandle, nullptr, TRUE);
    ::UpdateWindow(FHandle);
}

void TSkinControl::SendMouseLeave()
{
    if (FHandle != nullptr) ::SendMessageA(FHandle, CM_MOUSELEAVE, 0, 0);
}

TColor TSkinControl::GetParentColor(TColor Default) const
{
    const TObject* parent = FControl != nullptr ? FControl->Parent() : nullptr;
    const TPropInfo* color = FindProp(parent, "Color", {TTypeKind::tkInteger});
    return color != nullptr ? static_cast<TColor>(color->GetOrd(*parent)) : Default;
}

void TSkinControl::FillSkinColor(HDC DC, const RECT& Rect) const
{
    if (FSkinData != nullptr) FillColor(DC, Rect, FSkinData->FButtonFaceColor);
}

void TSkinControl::FillParentColor(HDC DC, const RECT& Rect) const
{
    if (FSkinData != nullptr) FillColor(DC, Rect, GetParentColor(FSkinData->FButtonFaceColor));
}

LONG TSkinControl::GetWindowLongAW(HWND Window, int Index) const
{
    return FUnicode ? ::GetWindowLongW(Window, Index) : ::GetWindowLongA(Window, Index);
}

void TSkinControl::DrawFocus(HDC DC, const RECT& Rect, UINT Flags) const
{
    RECT t = Rect;
    DrawTextWide(DC, FCaption, t, Flags | DT_CALCRECT | DT_NOCLIP);
    const int width = t.right - t.left, height = t.bottom - t.top;
    t = {Rect.left, Rect.top, Rect.left + width, Rect.top + height};
    if (Flags & DT_CENTER)
        ::OffsetRect(&t, ((Rect.right - Rect.left) - width) / 2, ((Rect.bottom - Rect.top) - height) / 2 - 1);
    else if (Flags & DT_RIGHT)
        ::OffsetRect(&t, (Rect.right - Rect.left) - width, 0);
    ::InflateRect(&t, 2, 1);
    t = {std::max(t.left, Rect.left), std::max(t.top, Rect.top), std::min(t.right, Rect.right),
         std::min(t.bottom, Rect.bottom)};
    ::DrawFocusRect(DC, &t);
}

void TSkinControl::ForwardMouseDown(const TMessage& Message)
{
    if (FControl == nullptr) return;
    POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
    // Beyond 32768 pixels the message's 16-bit coordinates wrap.
    if (FControl->Width() > 0x8000 || FControl->Height() > 0x8000) {
        POINT cursor{};
        if (::GetCursorPos(&cursor)) p = FControl->ScreenToClient(cursor);
    }
    FControl->MouseDown(TMouseButton::mbLeft, KeysToShiftState(Message.WParam), p.x, p.y);
}

void TSkinControl::HandlePaint(TMessage& Message)
{
    std::optional<TPaintDC> own;
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    if (dc == nullptr) dc = own.emplace(FHandle).Get();
    RECT r{};
    if (dc == nullptr || !::GetWindowRect(FHandle, &r)) return;
    FWindowRect = r;
    ::OffsetRect(&r, -r.left, -r.top);
    PaintControl(dc, r);
}

void TSkinControl::HandleEraseBkgnd(TMessage& Message)
{
    const HDC dc = reinterpret_cast<HDC>(Message.WParam);
    Message.Result = 1;
    if (dc == nullptr) return;
    if (FControl != nullptr) {
        PaintControlToDC(FControl, dc);
        return;
    }
    RECT r{};
    if (::GetClientRect(FHandle, &r)) FillParentColor(dc, r);
}

std::wstring GetWindowTextWide(HWND Window)
{
    const int length = ::GetWindowTextLengthW(Window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(Window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::clamp(copied, 0, length)));
    return text;
}

bool IsPopupWindow(HWND Window)
{
    if ((static_cast<DWORD>(::GetWindowLongW(Window, GWL_STYLE)) & WS_POPUP) != 0) return true;
    const HWND parent = ::GetParent(Window);
    return parent != nullptr && parent == ::GetDesktopWindow();
}

void CopyBitmap(const TBitmap& Source, TBitmap& Target)
{
    Target.Assign(Source);
}

int GetOrdPropByName(const TObject* Instance, std::string_view Name)
{
    const TPropInfo* p = FindProp(Instance, Name, {TTypeKind::tkInteger});
    return p != nullptr ? static_cast<int>(p->GetOrd(*Instance)) : -1;
}

std::string GetEnumPropByName(const TObject* Instance, std::string_view Name)
{
    const TPropInfo* p = FindProp(Instance, Name, {TTypeKind::tkEnumeration, TTypeKind::tkBoolean});
    return p != nullptr ? GetEnumProp(*Instance, Name) : std::string();
}

std::wstring GetTextPropByName(const TObject* Instance, std::string_view Name)
{
    if (Instance == nullptr || FindPropInfo(*Instance, Name) == nullptr) return {};
    try {
        return TextToWide(GetPropText(*Instance, Name));
    } catch (const EPropertyError&) {
        return {};  // a property without a text form
    }
}

TObject* GetObjectPropByName(const TObject* Instance, std::string_view Name, const TClassInfo& MinClass)
{
    const TPropInfo* p = FindProp(Instance, Name, {TTypeKind::tkClass});
    if (p == nullptr || !p->GetObj) return nullptr;
    TObject* object = p->GetObj(*Instance);
    return object != nullptr && object->InheritsFrom(MinClass) ? object : nullptr;
}

void SetPropByName(TObject* Instance, std::string_view Name, std::string_view Value)
{
    const TPropInfo* p = FindProp(Instance, Name,
                                  {TTypeKind::tkInteger, TTypeKind::tkEnumeration, TTypeKind::tkBoolean,
                                   TTypeKind::tkString});
    if (p == nullptr) return;
    if (p->Kind == TTypeKind::tkInteger) {
        SetOrdProp(*Instance, Name, StrToInt(Value));
        return;
    }
    try {
        if (p->Kind == TTypeKind::tkString) SetStrProp(*Instance, Name, std::string(Value));
        else SetEnumProp(*Instance, Name, Value);
    } catch (const EPropertyError&) {
        // A value the property does not have leaves it as it is.
    }
}
