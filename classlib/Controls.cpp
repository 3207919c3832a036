// TControl and the message handling of TWinControl (the window itself is
// made and bound in WinControl.cpp).
#include "Controls.h"

#include "Canvas.h"
#include "Forms.h"
#include "Text.h"
#include "classlib/portable/TypInfo.h"

#include <algorithm>
#include <utility>

const TEnumInfo kAlignInfo("TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"});
const TEnumInfo kBiDiModeInfo("TBiDiMode",
                              {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"});

TShiftState KeysToShiftState(WPARAM Keys) noexcept
{
    TShiftState s = 0;
    if (Keys & MK_SHIFT) s |= ssShift;
    if (Keys & MK_CONTROL) s |= ssCtrl;
    if (Keys & MK_LBUTTON) s |= ssLeft;
    if (Keys & MK_RBUTTON) s |= ssRight;
    if (Keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

const TClassInfo& TControl::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TControl>("TControl", TComponent::StaticClassInfo())
                                       .Integer("Left", &TControl::Left, &TControl::SetLeft)
                                       .Integer("Top", &TControl::Top, &TControl::SetTop)
                                       .Integer("Width", &TControl::Width, &TControl::SetWidth)
                                       .Integer("Height", &TControl::Height, &TControl::SetHeight)
                                       .Enumeration("Align", kAlignInfo, &TControl::Align, &TControl::SetAlign)
                                       .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled)
                                       .Boolean("Visible", &TControl::Visible, &TControl::SetVisible)
                                       .Integer("Color", &TControl::Color, &TControl::SetColor)
                                       .Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
                                       .Enumeration("BiDiMode", kBiDiModeInfo, &TControl::BiDiMode,
                                                    &TControl::SetBiDiMode)
                                       .Object("Font", &TControl::Font)
                                       .Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
                                       .Build();
    return info;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>())
{
    WindowProc = [this](TMessage& m) { WndProc(m); };
    FFont->OnChange = [this](TObject*) {
        if (!FTakingParentFont) FParentFont = false;
        FontChanged();
    };
}

TControl::~TControl()
{
    // Owned helpers (skin adapters) put back WindowProc while it still exists.
    DestroyComponents();
    if (FParent != nullptr) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent) return;
    if (AParent == this) throw EInvalidOperation("a control cannot be its own parent");
    if (FParent != nullptr) {
        FParent->ForgetMouseControl(this);
        // A windowless control leaves its picture on the parent otherwise.
        if (!dynamic_cast<TWinControl*>(this)) Invalidate();
        FParent->RemoveControl(this);
    }
    if (AParent != nullptr) AParent->InsertControl(this);
    ParentFontChanged();
    ParentColorChanged();
    if (auto* self = dynamic_cast<TWinControl*>(this)) {
        if (self->FHandle != nullptr) {
            if (FParent == nullptr) self->DestroyHandle();
            else if (FParent->FHandle != nullptr) ::SetParent(self->FHandle, FParent->FHandle);
        } else if (FParent != nullptr && FParent->FHandle != nullptr && !InState(csLoading)) {
            self->CreateHandle();
        }
    } else {
        Invalidate();
    }
    if (FParent != nullptr && FAlign != TAlign::alNone) FParent->Realign();
}

void TControl::SetParentComponent(TComponent* AParent)
{
    if (auto* parent = dynamic_cast<TWinControl*>(AParent)) SetParent(parent);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    if (!dynamic_cast<TWinControl*>(this)) Invalidate();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    BoundsChanged();
    if (FParent != nullptr && FAlign != TAlign::alNone) FParent->Realign();
}

void TControl::UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}

RECT TControl::ClientRect() const
{
    return {0, 0, FWidth, FHeight};
}

POINT TControl::ScreenToClient(POINT P) const
{
    if (FParent == nullptr) return P;
    P = FParent->ScreenToClient(P);
    return {P.x - FLeft, P.y - FTop};
}

POINT TControl::ClientToScreen(POINT P) const
{
    if (FParent == nullptr) return P;
    return FParent->ClientToScreen({P.x + FLeft, P.y + FTop});
}

void TControl::SetAlign(TAlign value)
{
    if (value == FAlign) return;
    FAlign = value;
    if (FParent != nullptr) FParent->Realign();
}

void TControl::SetEnabled(bool value)
{
    if (value == FEnabled) return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetVisible(bool value)
{
    if (value == FVisible) return;
    FVisible = value;
    if (!value && FParent != nullptr) FParent->ForgetMouseControl(this);
    if (!dynamic_cast<TWinControl*>(this) && FParent != nullptr && FParent->FHandle != nullptr) {
        const RECT r = BoundsRect();
        InvalidateRect(FParent->FHandle, &r, TRUE);
    }
    VisibleChanged();
    if (FParent != nullptr && FAlign != TAlign::alNone) FParent->Realign();
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
}

void TControl::Show()
{
    SetVisible(true);
    if (FParent != nullptr) FParent->ShowControl(this);
}

std::string TControl::Text() const
{
    return FText;
}

void TControl::SetText(const std::string& value)
{
    if (value == Text()) return;
    FText = value;
    TextChanged();
}

void TControl::SetColor(TColor value)
{
    FParentColor = false;
    if (value == FColor) return;
    FColor = value;
    ColorChanged();
}

void TControl::SetParentColor(bool value)
{
    FParentColor = value;
    if (value) ParentColorChanged();
}

void TControl::SetParentFont(bool value)
{
    FParentFont = value;
    if (value) ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!FParentFont || FParent == nullptr) return;
    FTakingParentFont = true;
    try {
        FFont->Assign(*FParent->Font());
    } catch (...) {
        FTakingParentFont = false;
        throw;
    }
    FTakingParentFont = false;
}

void TControl::ParentColorChanged()
{
    if (!FParentColor || FParent == nullptr || FParent->FColor == FColor) return;
    FColor = FParent->FColor;
    ColorChanged();
}

void TControl::FontChanged()
{
    Invalidate();
}

namespace {

// The control whose window, with every window inside it, a colour change has
// just marked for repainting (TWinControl::ColorChanged); null otherwise.
const TWinControl* gColourMarked = nullptr;

bool ColourMarked(const TControl& Control)
{
    for (const TControl* c = &Control; c != nullptr; c = c->Parent())
        if (c == gColourMarked) return true;
    return false;
}

} // namespace

void TControl::ColorChanged()
{
    if (!ColourMarked(*this)) Invalidate();
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m{Msg, WParam, LParam, 0};
    // A copy: the handler may replace WindowProc while it runs.
    if (const TWndMethod proc = WindowProc) proc(m);
    else WndProc(m);
    return m.Result;
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::Invalidate() {}

void TControl::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_ENABLEDCHANGED) {
        Invalidate();
        return;
    }
    DefaultHandler(Message);
}

void TControl::DefaultHandler(TMessage& Message)
{
    Message.Result = 0;
}

void TControl::Loaded()
{
    TComponent::Loaded();
}

const TClassInfo& TGraphicControl::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TGraphicControl>("TGraphicControl", TControl::StaticClassInfo()).Build();
    return info;
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

void TGraphicControl::Invalidate()
{
    // As for a window: a parent not shown keeps no update region.
    if (Parent() != nullptr && Parent()->HandleAllocated() && IsWindowVisible(Parent()->WindowHandle())) {
        const RECT r = BoundsRect();
        InvalidateRect(Parent()->WindowHandle(), &r, TRUE);
    }
}

void TGraphicControl::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_PAINT) {
        if (Message.WParam != 0) Paint(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 0;
        return;
    }
    TControl::WndProc(Message);
}

// --- TWinControl

const TClassInfo& TWinControl::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TWinControl>("TWinControl", TControl::StaticClassInfo())
                                       .Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
                                       .Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
                                       .Boolean("ParentBackground", &TWinControl::ParentBackground,
                                                &TWinControl::SetParentBackground)
                                       .Build();
    return info;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    if (FHandle != nullptr) DestroyWindow(FHandle);
    while (!FControls.empty()) delete FControls.back();
    if (FBrush != nullptr) DeleteObject(FBrush);
}

HWND TWinControl::Handle()
{
    if (FHandle == nullptr) CreateHandle();
    return FHandle;
}

void TWinControl::InsertControl(TControl* AControl)
{
    FControls.push_back(AControl);
    AControl->FParent = this;
}

void TWinControl::RemoveControl(TControl* AControl)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
    AControl->FParent = nullptr;
    // A child freed by its own click handler is no longer under the mouse.
    if (AControl == FMouseControl) FMouseControl = nullptr;
    if (AControl == FCaptureControl) {
        FCaptureControl = nullptr;
        if (FHandle != nullptr && GetCapture() == FHandle) ReleaseCapture();
    }
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const
{
    std::vector<TWinControl*> mine;
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c)) mine.push_back(w);
    std::stable_sort(mine.begin(), mine.end(), [](const TWinControl* a, const TWinControl* b) {
        const unsigned ka = static_cast<unsigned>(a->FTabOrder), kb = static_cast<unsigned>(b->FTabOrder);
        return ka < kb;
    });
    for (TWinControl* w : mine) {
        List.push_back(w);
        w->GetTabOrderList(List);
    }
}

bool TWinControl::Focused() const
{
    return FHandle != nullptr && GetFocus() == FHandle;
}

bool TWinControl::CanFocus() const
{
    if (FHandle == nullptr || !IsWindowVisible(FHandle)) return false;
    // A window shown a moment longer while it is being hidden counts as hidden.
    for (const TControl* c = this; c != nullptr; c = c->Parent())
        if (!c->Enabled() || !c->Visible()) return false;
    return true;
}

TWinControl* TWinControl::FocusedDescendant() const
{
    const HWND focus = GetFocus();
    if (FHandle == nullptr || focus == nullptr || !IsChild(FHandle, focus)) return nullptr;
    for (HWND w = focus; w != nullptr && w != FHandle; w = GetParent(w))
        if (TWinControl* control = FindControl(w)) return control;
    return nullptr;
}

bool TWinControl::SelectNext(TWinControl* Current, bool GoForward)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    const auto n = static_cast<ptrdiff_t>(list.size());
    const auto found = std::find(list.begin(), list.end(), Current);
    const ptrdiff_t at = found != list.end() ? found - list.begin() : (GoForward ? -1 : n);
    for (ptrdiff_t step = 1; step <= n; ++step) {
        TWinControl* next = list[static_cast<size_t>((((GoForward ? at + step : at - step) % n) + n) % n)];
        if (next == Current || !next->IsTabStop() || !next->CanFocus()) continue;
        const HWND wnd = next->WindowHandle();
        ::SetFocus(wnd);
        // As a dialog does: an edit reached by the keyboard has its text
        // selected; a memo keeps its place, which a selection would scroll.
        if (GetFocus() == wnd && (SendMessageW(wnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0 &&
            (GetWindowLongW(wnd, GWL_STYLE) & ES_MULTILINE) == 0)
            SendMessageW(wnd, EM_SETSEL, 0, -1);
        return true;
    }
    return false;
}

void TWinControl::MoveFocusOn()
{
    const HWND focus = GetFocus();
    if (FHandle == nullptr || focus == nullptr || (focus != FHandle && !IsChild(FHandle, focus))) return;
    TWinControl* root = this;
    while (root->Parent() != nullptr) root = root->Parent();
    // Nothing else to go to: the window itself keeps the keys coming (with
    // the focus nowhere, they would reach no control's handling).
    if (root != this && !root->SelectNext(this, true) && root->FHandle != nullptr) ::SetFocus(root->FHandle);
}

void TWinControl::SetFocus()
{
    ::SetFocus(Handle());
}

void TWinControl::Invalidate()
{
    // A window that is not shown keeps no update region (its showing paints
    // it whole): the call would only cost a trip to the window server.
    if (FHandle != nullptr && IsWindowVisible(FHandle)) InvalidateRect(FHandle, nullptr, TRUE);
}

RECT TWinControl::ClientRect() const
{
    RECT r{0, 0, Width(), Height()};
    if (FHandle != nullptr) GetClientRect(FHandle, &r);
    return r;
}

std::string TWinControl::Text() const
{
    if (FHandle == nullptr) return FText;
    return WideToText(WideText());
}

std::wstring TWinControl::WideText() const
{
    if (FHandle == nullptr) return TextToWide(FText);
    const int n = GetWindowTextLengthW(FHandle);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(FHandle, text.data(), n + 1)));
    return text;
}

void TWinControl::Realign()
{
    if (FHandle == nullptr || FAligning || InState(csLoading)) return;
    FAligning = true;
    try {
        RECT r = ClientRect();
        AlignControls(r);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::AlignControls(RECT& Rect)
{
    static const TAlign kOrder[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient};
    for (TAlign a : kOrder) {
        for (TControl* c : FControls) {
            if (c->Align() != a || !c->Visible()) continue;
            const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
            switch (a) {
            case TAlign::alTop:
                c->SetBounds(Rect.left, Rect.top, w, c->Height());
                Rect.top += c->Height();
                break;
            case TAlign::alBottom:
                c->SetBounds(Rect.left, Rect.bottom - c->Height(), w, c->Height());
                Rect.bottom -= c->Height();
                break;
            case TAlign::alLeft:
                c->SetBounds(Rect.left, Rect.top, c->Width(), h);
                Rect.left += c->Width();
                break;
            case TAlign::alRight:
                c->SetBounds(Rect.right - c->Width(), Rect.top, c->Width(), h);
                Rect.right -= c->Width();
                break;
            default:
                c->SetBounds(Rect.left, Rect.top, w, h);
                break;
            }
        }
    }
}

void TWinControl::ShowControl(TControl*)
{
    if (Parent() != nullptr) Parent()->ShowControl(this);
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = TextToWide(FText);
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0) | (Enabled() ? 0 : WS_DISABLED) |
                   (FTabStop ? WS_TABSTOP : 0);
    Params.X = Left();
    Params.Y = Top();
    Params.Width = Width();
    Params.Height = Height();
    const std::string_view name = ClassName();
    Params.WinClassName.assign(name.begin(), name.end());
}

void TWinControl::CreateWnd()
{
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
    // Aligned children are made where they belong instead of being moved
    // there (each move is several round trips under Wine); the second pass
    // follows windows that changed their own size when made.
    Realign();
    for (size_t i = 0; i < FControls.size(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(FControls[i])) w->CreateHandle();
    Realign();
}

void TWinControl::PaintWindow(HDC DC)
{
    RECT r = ClientRect();
    FillRect(DC, &r, ColorBrush());
}

void TWinControl::PaintControls(HDC DC)
{
    // A parent image inside another: the parent alone.
    if (TParentImageScope::Depth() > 1) return;
    for (TControl* c : FControls) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (g == nullptr || !g->Visible()) continue;
        // A child beyond the clip costs nothing: one drawing its parent's
        // image repaints the parent clipped to itself.
        const RECT bounds = g->BoundsRect();
        if (!RectVisible(DC, &bounds)) continue;
        const int saved = SaveDC(DC);
        if (saved == 0) continue;
        OffsetViewportOrgEx(DC, g->Left(), g->Top(), nullptr);
        IntersectClipRect(DC, 0, 0, g->Width(), g->Height());
        try {
            g->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC));
        } catch (...) {
            RestoreDC(DC, saved);
            throw;
        }
        RestoreDC(DC, saved);
    }
}

TGraphicControl* TWinControl::GraphicControlAt(POINT P) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        auto* g = dynamic_cast<TGraphicControl*>(*it);
        if (g == nullptr || !g->TakesMouse() || !g->Visible() || !g->Enabled()) continue;
        const RECT r = g->BoundsRect();
        if (PtInRect(&r, P)) return g;
    }
    return nullptr;
}

void TWinControl::SetMouseControl(const POINT* P)
{
    TGraphicControl* under = P != nullptr ? GraphicControlAt(*P) : nullptr;
    if (under == FMouseControl) return;
    if (TGraphicControl* left = std::exchange(FMouseControl, nullptr)) {
        left->Perform(CM_MOUSELEAVE);
        // Its handler may have freed or moved children: look again.
        under = P != nullptr ? GraphicControlAt(*P) : nullptr;
    }
    if (under == nullptr || FMouseControl != nullptr) return;
    FMouseControl = under;
    under->Perform(CM_MOUSEENTER);
}

void TWinControl::ForgetMouseControl(const TControl* Control)
{
    if (Control != FMouseControl || Control == nullptr) return;
    std::exchange(FMouseControl, nullptr)->Perform(CM_MOUSELEAVE);
}

void TWinControl::CancelCaptureControl()
{
    TGraphicControl* pressed = std::exchange(FCaptureControl, nullptr);
    if (pressed == nullptr) return;
    if (FHandle != nullptr && GetCapture() == FHandle) ReleaseCapture();
    pressed->Perform(WM_CANCELMODE);
}

namespace {

// The up message that ends a press begun by Down.
UINT ReleaseOf(UINT Down) noexcept
{
    switch (Down) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        return WM_RBUTTONUP;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        return WM_MBUTTONUP;
    default:
        return WM_LBUTTONUP;
    }
}

}  // namespace

bool TWinControl::RouteMouse(TMessage& Message)
{
    const POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
    if (Message.Msg == WM_MOUSEMOVE) SetMouseControl(&p);
    TGraphicControl* target = FCaptureControl != nullptr ? FCaptureControl : GraphicControlAt(p);
    if (target == nullptr) return false;
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        // The release comes here wherever it happens, so the child sees its press end.
        if (FCaptureControl == nullptr && FHandle != nullptr) {
            FCaptureControl = target;
            FCaptureRelease = ReleaseOf(Message.Msg);
            SetCapture(FHandle);
        }
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        // Only the button that began the press ends it; let go before the
        // child runs: its click handler may free it or this window.
        if (FCaptureControl != nullptr && Message.Msg == FCaptureRelease) {
            FCaptureControl = nullptr;
            if (GetCapture() == FHandle) ReleaseCapture();
        }
        break;
    default:
        break;
    }
    Message.Result = target->Perform(Message.Msg, Message.WParam,
                                     MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
    return true;
}

namespace {

// BeginPaint's DC, ended however the painting ends: a painter that raises
// must still give the DC back and the caret its visibility.
class TPaintStruct {
public:
    explicit TPaintStruct(HWND Window) noexcept : FWindow(Window), FDC(BeginPaint(Window, &FPaint)) {}
    ~TPaintStruct() { EndPaint(FWindow, &FPaint); }
    TPaintStruct(const TPaintStruct&) = delete;
    TPaintStruct& operator=(const TPaintStruct&) = delete;
    HDC DC() const noexcept { return FDC; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

}  // namespace

void TWinControl::PaintHandler(TMessage& Message)
{
    if (Message.WParam != 0) {
        const HDC dc = reinterpret_cast<HDC>(Message.WParam);
        PaintWindow(dc);
        PaintControls(dc);
        return;
    }
    const TPaintStruct paint(FHandle);
    PaintWindow(paint.DC());
    PaintControls(paint.DC());
}

HBRUSH TWinControl::ColorBrush()
{
    const COLORREF rgb = ColorToRGB(Color());
    if (FBrush == nullptr || FBrushColor != rgb) {
        if (FBrush != nullptr) DeleteObject(FBrush);
        FBrush = CreateSolidBrush(rgb);
        FBrushColor = rgb;
    }
    return FBrush;
}

namespace {

// The WM_NOTIFY header being passed back to a child right now, if any.
const NMHDR* gReflectedNotify = nullptr;

} // namespace

const NMHDR* TWinControl::ReflectedNotify(const TMessage& Message) noexcept
{
    if (Message.Msg != CN_NOTIFY || gReflectedNotify == nullptr) return nullptr;
    return reinterpret_cast<LPARAM>(gReflectedNotify) == Message.LParam ? gReflectedNotify : nullptr;
}

void TWinControl::Reflect(TMessage& Message)
{
    // WM_NOTIFY names the child in its header (if there is one); the others in lParam.
    const NMHDR* notify = nullptr;
    HWND from = reinterpret_cast<HWND>(Message.LParam);
    if (Message.Msg == WM_NOTIFY) {
        notify = reinterpret_cast<const NMHDR*>(Message.LParam);
        from = notify != nullptr ? notify->hwndFrom : nullptr;
    } else if (Message.Msg == WM_DRAWITEM) {
        // A menu item's names a menu, not a window.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
        from = item != nullptr && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    TWinControl* child = FindControl(from);
    if (child == nullptr || child == this) return DefaultHandler(Message);
    const NMHDR* outer = gReflectedNotify;
    gReflectedNotify = notify;
    try {
        Message.Result = child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    } catch (...) {
        gReflectedNotify = outer;
        throw;
    }
    gReflectedNotify = outer;
}

void TWinControl::DoKeyPress(char& Key)
{
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

bool TWinControl::LeavesForSibling(HWND Next) const
{
    // Leaving for another control of the same window, not for a window inside
    // this control nor for another program.
    return Next != nullptr && FHandle != nullptr && Next != FHandle && !IsChild(FHandle, Next) &&
           GetAncestor(Next, GA_ROOT) == GetAncestor(FHandle, GA_ROOT);
}

void TWinControl::DoExit()
{
    if (OnExit) OnExit(this);
}

void TWinControl::WMChar(TMessage& Message)
{
    if (!OnKeyPress) return DefaultHandler(Message);
    const wchar_t wc = static_cast<wchar_t>(Message.WParam);
    char key;
    if (wc < 0x80) {
        key = static_cast<char>(wc);
    } else {
        const std::string text = WideToText(std::wstring_view(&wc, 1));
        key = text.empty() ? '?' : text[0];
    }
    const char typed = key;
    DoKeyPress(key);
    if (key == 0) {
        Message.Result = 0;
        return;
    }
    if (key != typed && static_cast<unsigned char>(key) < 0x80) Message.WParam = static_cast<unsigned char>(key);
    DefaultHandler(Message);
}

// An Alt+letter reaches a control only when the dialog manager found no
// control's mnemonic for it. The system would make it the control's own
// menu key and open nothing; the form may have a menu bar drawn by someone
// else (a skin) that wants it.
bool TWinControl::OfferDialogChar(TMessage& Message)
{
    if ((HIWORD(Message.LParam) & KF_ALTDOWN) == 0 || Message.WParam == VK_SPACE) return false;
    TWinControl* form = FParent;
    while (form != nullptr && dynamic_cast<TCustomForm*>(form) == nullptr) form = form->FParent;
    if (form == nullptr || !form->HandleAllocated()) return false;
    if (SendMessageW(form->FHandle, CM_DIALOGCHAR, Message.WParam, Message.LParam) == 0) return false;
    Message.Result = 0;
    return true;
}

void TWinControl::WndProc(TMessage& Message)
{
    const bool ownClass = FDefWndProc == DefWindowProcW;
    switch (Message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (ownClass) return PaintHandler(Message);
        break;
    case WM_ERASEBKGND:
        if (ownClass) {
            RECT r = ClientRect();
            FillRect(reinterpret_cast<HDC>(Message.WParam), &r, ColorBrush());
            Message.Result = 1;
            return;
        }
        break;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        // lParam names the control; 0 is the window's own bar.
        if (Message.LParam != 0) return Reflect(Message);
        break;
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return Reflect(Message);
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(Message.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        Message.Result = reinterpret_cast<LRESULT>(ColorBrush());
        return;
    }
    case WM_CHAR:
        return WMChar(Message);
    case WM_SYSCHAR:
        if (OfferDialogChar(Message)) return;
        break;
    case WM_SETFOCUS: {
        DefaultHandler(Message);
        // Focus coming back from a window inside the control is no entering.
        const HWND previous = reinterpret_cast<HWND>(Message.WParam);
        if (previous == nullptr || FHandle == nullptr || !IsChild(FHandle, previous)) DoEnter();
        return;
    }
    case WM_KILLFOCUS: {
        DefaultHandler(Message);
        if (LeavesForSibling(reinterpret_cast<HWND>(Message.WParam))) DoExit();
        return;
    }
    case WM_DESTROY:
        // A window made again later (a new parent) shows the same text.
        FText = Text();
        break;
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
        if ((pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
            RECT r;
            GetWindowRect(FHandle, &r);
            const HWND parent = GetParent(FHandle);
            if (parent != nullptr && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD) != 0)
                MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
            UpdateBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
            if ((pos->flags & SWP_NOSIZE) == 0) Realign();
        }
        break;
    }
    case WM_MOUSEMOVE:
        if (!FMouseInControl && FHandle != nullptr) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, FHandle, 0};
            FMouseInControl = TrackMouseEvent(&track) != FALSE;
            if (FMouseInControl) Perform(CM_MOUSEENTER);
        }
        if (RouteMouse(Message)) return;
        break;
    case WM_MOUSELEAVE:
        SetMouseControl(nullptr);
        if (std::exchange(FMouseInControl, false)) Perform(CM_MOUSELEAVE);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        if (RouteMouse(Message)) return;
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(Message.LParam) != FHandle) CancelCaptureControl();
        break;
    case WM_CANCELMODE:
        CancelCaptureControl();
        break;
    case CM_RECREATEWND:
        if (FHandle == nullptr) return;
        DestroyHandle();
        CreateHandle();
        return;
    case WM_LBUTTONDOWN:
        if (RouteMouse(Message)) return;
        MouseDown(TMouseButton::mbLeft, KeysToShiftState(Message.WParam), static_cast<short>(LOWORD(Message.LParam)),
                  static_cast<short>(HIWORD(Message.LParam)));
        break;
    case CM_ENABLEDCHANGED:
        if (!Enabled()) MoveFocusOn();
        if (FHandle != nullptr) EnableWindow(FHandle, Enabled());
        return;
    default:
        break;
    }
    TControl::WndProc(Message);
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (FHandle == nullptr) {
        Message.Result = 0;
        return;
    }
    Message.Result = CallWindowProcW(FDefWndProc != nullptr ? FDefWndProc : DefWindowProcW, FHandle, Message.Msg,
                                     Message.WParam, Message.LParam);
}

void TWinControl::TextChanged()
{
    if (FHandle != nullptr) SetWindowTextW(FHandle, TextToWide(FText).c_str());
}

void TWinControl::FontChanged()
{
    if (FHandle != nullptr) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
    for (TControl* c : FControls) c->ParentFontChanged();
}

void TWinControl::ColorChanged()
{
    // One request marks the window and every window inside it for repainting:
    // the children that take the new colour from it then need none of their
    // own (a form's colour reaches dozens of them).
    const bool mark = !ColourMarked(*this) && FHandle != nullptr && IsWindowVisible(FHandle);
    if (mark) RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    const TWinControl* outer = mark ? std::exchange(gColourMarked, this) : gColourMarked;
    try {
        for (TControl* c : FControls) c->ParentColorChanged();
    } catch (...) {
        gColourMarked = outer;
        throw;
    }
    gColourMarked = outer;
}

void TWinControl::VisibleChanged()
{
    if (!Visible()) MoveFocusOn();
    if (FHandle != nullptr) ShowWindow(FHandle, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::BoundsChanged()
{
    if (FHandle != nullptr)
        SetWindowPos(FHandle, nullptr, Left(), Top(), Width(), WindowHeight(Height()), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    Realign();
}

// --- TCustomControl

const TClassInfo& TCustomControl::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TCustomControl>("TCustomControl", TWinControl::StaticClassInfo()).Build();
    return info;
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC DC)
{
    // The canvas lets go of the DC however Paint ends.
    struct TBinding {
        TCanvas& Canvas;
        ~TBinding() { Canvas.SetHandle(nullptr); }
    } binding{*FCanvas};
    FCanvas->SetHandle(DC);
    Paint();
}
