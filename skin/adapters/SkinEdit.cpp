// Edit and combo-box adapters.
#include "skin/adapters/SkinEdit.h"

#include "classlib/Canvas.h"
#include "classlib/Controls.h"
#include "classlib/Handles.h"
#include "skin/SkinApi.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/AdapterHost.h"
#include "skin/adapters/AdapterDraw.h"
#include "skin/adapters/SkinRange.h"
#include "skin/adapters/SkinScrollbar.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

#include <utility>

namespace {

int Width(const RECT& R)
{
    return R.right - R.left;
}

int Height(const RECT& R)
{
    return R.bottom - R.top;
}

// An outline in the DC's own colour brush: nothing made per paint (typing repaints at every key).
void Frame(HDC DC, const RECT& Rect, TColor Colour)
{
    const COLORREF previous = ::SetDCBrushColor(DC, ColorToRGB(Colour));
    if (previous == CLR_INVALID) return;
    ::FrameRect(DC, &Rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::SetDCBrushColor(DC, previous);
}

RECT Inflated(RECT R, int By)
{
    ::InflateRect(&R, By, By);
    return R;
}

// The client area has the window's full width or height: no border to skin.
bool Borderless(HWND Window, const RECT& Rect)
{
    RECT client{};
    return !::GetClientRect(Window, &client) || client.right == Width(Rect) || client.bottom == Height(Rect);
}

bool HasStrip(const TDataSkinObject* Element)
{
    return Element != nullptr && !Element->FBitmap->Empty() && Element->FFrame > 0;
}

}  // namespace

// --- TSkinEdit

bool TSkinEdit::BeforeProc(TMessage& Message)
{
    // The edit prints its text under a clip it leaves on the DC: the border
    // is drawn into the DC as it came.
    if (Message.Msg == WM_PRINT && Message.WParam != 0) FPrintState = ::SaveDC(reinterpret_cast<HDC>(Message.WParam));
    return TSkinControl::BeforeProc(Message);
}

void TSkinEdit::AfterProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PRINT:
        if (const int saved = std::exchange(FPrintState, 0); saved != 0)
            ::RestoreDC(reinterpret_cast<HDC>(Message.WParam), saved);
        TSkinControl::AfterProc(Message);
        break;
    case WM_SKIN_PRINTCLIENT:
        // Only the skin engine's own request; the number is used by others too.
        if (Message.LParam != kSkinMagic) break;
        if (Message.WParam != 0) {
            TMessage paint{WM_PAINT, Message.WParam, 0, 0};
            if (!CallOldProc(paint)) return;
        }
        Message.Result = kSkinMagic;
        break;
    case WM_SETTEXT:
        // The new text changes nothing of the border: the edit's own repaint
        // of its text brings the border with it, and setting a text (a
        // counter at each report) paints nothing at once.
        break;
    default:
        TSkinControl::AfterProc(Message);
        break;
    }
}

void TSkinEdit::PaintControl(HDC DC, const RECT& Rect)
{
    if (SkinData()->SkinControls() & SkinBit(xcSpin)) SkinUpDownChild(*this, true);
    if (Borderless(Handle(), Rect)) return;
    Frame(DC, Rect, SkinData()->FButtonShadowColor);
    Frame(DC, Inflated(Rect, -1), clWhite);
    Frame(DC, Inflated(Rect, -2), clWhite);
}

// --- TSkinComBox

TSkinComBox::TSkinComBox(TComponent* AOwner) : TSkinControl(AOwner), FEditHook(*this, &EditDispatch) {}

void TSkinComBox::EditDispatch(TSkinObject& Owner, TMessage& Message)
{
    static_cast<TSkinComBox&>(Owner).EditWndProc(Message);
}

TSkinComBox::~TSkinComBox()
{
    FEditHook.Detach();
}

bool TSkinComBox::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (Attached()) return true;
    if (!TSkinControl::InitSkin(Form, SkinData, ChangeColor)) return false;
    TakeParts();
    return true;
}

bool TSkinComBox::InitSkinHandle(HWND Window, TSkinData* SkinData, TAdapterHost* Form)
{
    if (!TSkinControl::InitSkinHandle(Window, SkinData, Form)) return false;
    TakeParts();
    return true;
}

bool TSkinComBox::ReadComboInfo()
{
    // The structure's own size: a fixed 52 is wrong on x64 and the call fails.
    FComboInfo = {};
    FComboInfo.cbSize = sizeof FComboInfo;
    return SkinGetComboBoxInfo != nullptr && SkinGetComboBoxInfo(Handle(), &FComboInfo) != FALSE;
}

void TSkinComBox::TakeParts()
{
    FStyle = static_cast<DWORD>(GetWindowLongAW(Handle(), GWL_STYLE));
    if ((FStyle & 3) == CBS_SIMPLE) {
        if (!ReadComboInfo() || FComboInfo.hwndList == nullptr) return;
        FListHandle = FComboInfo.hwndList;
        FStyle = static_cast<DWORD>(GetWindowLongAW(FListHandle, GWL_STYLE));
        // The list of a simple box is a child window with scroll bars of its
        // own; its adapter joins the frame object's list, which frees it.
        if ((FStyle & WS_CHILD) != 0 && !IsPopupWindow(FListHandle) && FindSkinObject(FListHandle) == nullptr) {
            auto* bars = new TSkinScrollbarH(&Form()->HostComponent());
            if (!bars->InitSkinHandle(FListHandle, SkinData(), Form())) bars->Free();
        }
        return;
    }
    FListHandle = nullptr;
    // The edit of a drop-down box is its only child, found also where user32
    // cannot say; a drop-down list has none (its list is a popup).
    if (const HWND edit = ::GetTopWindow(Handle())) FEditHook.Attach(edit);
}

void TSkinComBox::Unskin()
{
    TSkinControl::Unskin();
    FEditHook.Detach();
}

void TSkinComBox::EditWndProc(TMessage& Message)
{
    if (!FEditHook.CallDefault(Message) || !PaintOn()) return;
    if (Message.Msg == WM_PAINT) {
        // The edit painted over the box's frame.
        if (PaintWay() == pwOver) PaintWindow(nullptr);
    } else if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_KILLFOCUS) FocusChanged();
    else FollowPress(Message.Msg);
}

void TSkinComBox::FocusChanged()
{
    // The box's frame shows the focus, which mostly lies in its edit: drawn
    // anew when the focus comes into the box or leaves it, not when it only
    // passes from the box to its edit.
    const HWND focus = ::GetFocus();
    const bool focused = focus != nullptr && (focus == Handle() || focus == EditHandle());
    // A press does not outlast the focus.
    if (!focused) SetMouseBit(mbPressed, false);
    if (focused != Focused()) Redraw();
}

bool TSkinComBox::FollowPress(UINT Msg)
{
    switch (Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetMouseBit(mbPressed, true);
        return true;
    case WM_LBUTTONUP:
    // The box lets the mouse go as its list takes over a press dragged into
    // it: the button is up then, though no release came here.
    case WM_CAPTURECHANGED:
        SetMouseBit(mbPressed, false);
        return true;
    default:
        return false;
    }
}

TPaintWay TSkinComBox::PaintWay() const
{
    const TSkinData* skin = SkinData();
    if (skin == nullptr || !HasStrip(skin->FComboButton.get())) return pwNative;
    const TDataSkinBorder& button = *skin->FComboButton;
    if (button.FStyle == 1) return pwOver;
    if (button.FStyle == 2) {
        // The loader's composition of edge and button; mirrored in SunkEdge for a left button.
        const bool left = (GetWindowLongAW(Handle(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
        return HasStrip(left ? skin->FSunkEdge.get() : &button) ? pwOver : pwNative;
    }
    // Without the edge there is no three-part look to give.
    return HasStrip(skin->FSunkEdge.get()) ? pwOver : pwNative;
}

bool TSkinComBox::BeforeProc(TMessage& Message)
{
    // A simple box (it has a list of its own) keeps its nested repaint: what
    // lies between its edit and its list is drawn only there.
    if (Message.Msg != WM_PAINT || Message.WParam != 0 || FOwnPaint || FListHandle != nullptr ||
        PaintWay() != pwOver)
        return TSkinControl::BeforeProc(Message);
    // The frame that BeginPaint has drawn in the box's paint is covered by
    // the skin drawn after that paint: its WM_NCPAINT needs no paint of its own.
    const TToken life = Token();
    struct TOwnPaint {
        TSkinComBox& Box;
        const TToken& Life;
        ~TOwnPaint() { if (Life.Alive()) Box.FOwnPaint = false; }
    } ownPaint{*this, life};
    FOwnPaint = true;
    if (CallOldProc(Message) && life.Alive()) {
        FOwnPaint = false;
        AfterProc(Message);
    }
    return false;
}

void TSkinComBox::AfterProc(TMessage& Message)
{
    if (FollowPress(Message.Msg)) return;
    switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        FocusChanged();
        break;
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == CBN_CLOSEUP) SetMouseBit(mbPressed, false);
        break;
    case WM_DRAWITEM: {
        // The box's own item drawn outside a paint: its parts again over it,
        // without painting the box anew (which would draw the item again).
        // Items of the list are the list's alone.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
        if (PaintWay() == pwOver && item != nullptr && (item->itemState & ODS_COMBOBOXEDIT) != 0)
            PaintWindow(nullptr);
        break;
    }
    case WM_NCPAINT:
        if (PaintWay() == pwOver && !FOwnPaint) Redraw();
        break;
    case WM_MOUSEMOVE: {
        const POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
        const bool over = ::PtInRect(&FButtonRect, p) != FALSE;
        SetEnabled((GetWindowLongAW(Handle(), GWL_STYLE) & WS_DISABLED) == 0);
        // Hot over the button only, and never while disabled.
        if (Enabled()) SetMouseBit(mbHot, over);
        break;
    }
    case CM_MOUSELEAVE:
        SetMouseBit(mbHot, false);
        break;
    case WM_WINDOWPOSCHANGED:
        GiveBackUncovered();
        break;
    default:
        TSkinControl::AfterProc(Message);
        break;
    }
}

void TSkinComBox::GiveBackUncovered()
{
    // The box is made taller for a moment while its list opens and may be
    // painted so; what it no longer covers is its parent's to paint again.
    RECT now{};
    const RECT painted = WindowRect();
    const HWND parent = ::GetParent(Handle());
    if (parent == nullptr || ::IsRectEmpty(&painted) || !::GetWindowRect(Handle(), &now)) return;
    if (painted.bottom <= now.bottom && painted.right <= now.right) return;
    RECT gone = painted;
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&gone), 2);
    ::RedrawWindow(parent, &gone, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TSkinComBox::PaintControl(HDC DC, const RECT& Rect)
{
    if (PaintWay() != pwOver) return;
    const TSkinData& skin = *SkinData();
    const TDataSkinBorder& button = *skin.FComboButton;
    FStyle = static_cast<DWORD>(GetWindowLongAW(Handle(), GWL_STYLE));
    FExStyle = static_cast<DWORD>(GetWindowLongAW(Handle(), GWL_EXSTYLE));
    if (ReadComboInfo()) {
        FButtonRect = FComboInfo.rcButton;
        if (FComboInfo.stateButton & STATE_SYSTEM_INVISIBLE) return;  // a simple box: no button
    }
    const TLooks looks = Looks();
    // As painted: a focus that only passes between the box and its edit repaints nothing.
    SetFocused((looks & lkFocused) != 0);
    if (button.FStyle == 1) {
        PaintFlat(DC, Rect, looks);
        return;
    }
    const bool left = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    if (button.FStyle == 2) {
        const TDataSkinObject& element = left ? *skin.FSunkEdge : static_cast<const TDataSkinObject&>(button);
        CopyLook(DC, Rect, element, kEditCells.Cell(looks, element.FFrame));
        return;
    }
    const int a = ::GetSystemMetrics(SM_CXHSCROLL), w = Width(Rect), h = Height(Rect);
    RECT b{}, glyph{};
    // The text area is left as the control painted it; the caller's clip comes back.
    const int saved = ::SaveDC(DC);
    if (!left) {
        ::ExcludeClipRect(DC, 2, 2, w - a - 4, h - 2);
        b = {w - a - 2, 0, w, h};
        glyph = {w - a - 2, 0, w - 2, h};
    } else {
        ::ExcludeClipRect(DC, a + 4, 2, w - 2, h - 2);
        b = {0, 0, a + 2, h};
        glyph = {2, 0, a + 2, h};
    }
    const int edge = skin.FSunkEdge->FFrame;
    DrawSkinState(DC, Rect, skin.FSunkEdge.get(), kEditCells.Cell(looks, edge), edge);
    TBitmap* strip = left ? button.FBitmap2.get() : button.FBitmap.get();
    if (strip != nullptr && !strip->Empty())
        DrawStripCellTransparent(DC, b, *strip, kEditCells.Cell(looks, button.FFrame), button.FFrame);
    FButtonRect = b;
    if (HasStrip(skin.FExtraImages.get())) {
        const TDataSkinObject& glyphs = *skin.FExtraImages;
        const int cw = glyphs.FBitmap->Width() / glyphs.FFrame, ch = glyphs.FBitmap->Height();
        const int x = glyph.left + (Width(glyph) - cw) / 2, y = glyph.top + (Height(glyph) - ch) / 2;
        DrawStripCellTransparent(DC, {x, y, x + cw, y + ch}, *glyphs.FBitmap, kEditCells.Cell(looks, glyphs.FFrame),
                                 glyphs.FFrame);
    }
    if (saved != 0) ::RestoreDC(DC, saved);
}

void TSkinComBox::CopyLook(HDC DC, const RECT& Rect, const TDataSkinObject& Element, int Cell)
{
    const int w = Width(Rect), h = Height(Rect);
    const TLookKey key{w, h, Cell, Element.FBitmap.get(), SkinData()->Generation()};
    if (!(key == FLookKey) || !FLookRegion) {
        FLookKey = {};
        FLookRegion.Reset();
        FLook.SetPixelFormat(TPixelFormat::pf24bit);
        FLook.SetSize(w, h);
        if (FLook.Empty()) return;
        // Drawn on the key colour, which the draw leaves out: what is not
        // key-coloured afterwards is what it drew.
        const HDC look = FLook.Canvas()->Handle();
        FillColor(look, {0, 0, w, h}, clKeyMagenta);
        DrawSkinPart(look, {0, 0, w, h}, *Element.FBitmap, MarginsOf(Element),
                     {.Index = Cell, .Count = Element.FFrame, .Transparent = true});
        FLookRegion.Reset(CreateRegionFromBitmap(FLook, 0, 0, clKeyMagenta, 0, 0, 0));
        if (!FLookRegion) return;
        FLookKey = key;
    }
    const int saved = ::SaveDC(DC);
    if (saved == 0) return;
    // A clip region is in device units: moved to where the DC puts the window's corner.
    POINT corner{Rect.left, Rect.top};
    ::LPtoDP(DC, &corner, 1);
    const auto region = static_cast<HRGN>(FLookRegion.Get());
    ::OffsetRgn(region, corner.x, corner.y);
    ::ExtSelectClipRgn(DC, region, RGN_AND);
    ::OffsetRgn(region, -corner.x, -corner.y);
    ::BitBlt(DC, Rect.left, Rect.top, w, h, FLook.Canvas()->Handle(), 0, 0, SRCCOPY);
    ::RestoreDC(DC, saved);
}

void TSkinComBox::PaintFlat(HDC DC, const RECT& Rect, TLooks Looks)
{
    const TDataSkinBorder& button = *SkinData()->FComboButton;
    const int cw = button.FBitmap->Width() / button.FFrame, ch = button.FBitmap->Height();
    const int thumb = ::GetSystemMetrics(SM_CYVTHUMB);
    const bool left = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const auto brush = static_cast<HBRUSH>(::GetCurrentObject(DC, OBJ_BRUSH));
    const RECT r1 = Inflated(Rect, -1), r2 = Inflated(r1, -1);
    ::FrameRect(DC, &r1, brush);
    RECT strip = r2;
    if (left) strip.right = r2.left + thumb;
    else strip.left = r2.right - thumb;
    ::FillRect(DC, &strip, brush);
    RECT b = r2;
    if (left) b.right = r2.left + cw;
    else b.left = r2.right - cw;
    if (thumb > ch) b.bottom = b.top + ch;
    Frame(DC, Rect, SkinData()->FButtonShadowColor);
    FButtonRect = b;
    // The flat look's own order: pressed, then hot or focused, and only then
    // disabled (a box disabled under the mouse keeps the hot cell).
    int cell = (Looks & lkPressed) ? 2 : (Looks & (lkHot | lkFocused)) ? 4 : (Looks & lkDisabled) ? 3 : 1;
    if (cell > button.FFrame) cell = 1;
    DrawStripCellTransparent(DC, b, *button.FBitmap, cell, button.FFrame);
}

// --- TArrowButton

TArrowButton::TArrowButton(TComponent* AOwner) : TCustomControl(AOwner), FSize(::GetSystemMetrics(SM_CXHSCROLL))
{
    SetTabStop(false);
}

TArrowButton::~TArrowButton()
{
    Detach();
}

void TArrowButton::Attach(TSkinDateTime& Adapter, TWinControl& Picker)
{
    FAdapter = &Adapter;
    FPicker = &Picker;
    FPickerHandle = Picker.Handle();
    SetParentWindow(FPickerHandle);
    Place();
    // The picker must not paint over its child.
    const LONG style = ::GetWindowLongW(FPickerHandle, GWL_STYLE);
    FClipAdded = (style & WS_CLIPCHILDREN) == 0;
    if (FClipAdded) ::SetWindowLongW(FPickerHandle, GWL_STYLE, style | WS_CLIPCHILDREN);
    HandleNeeded();
}

void TArrowButton::Place()
{
    RECT r{};
    if (FPickerHandle == nullptr || !::GetWindowRect(FPickerHandle, &r)) return;
    const bool left = (::GetWindowLongW(FPickerHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    SetBounds(left ? 2 : static_cast<int>(r.right - r.left) - FSize - 4, 0, FSize, FSize + 1);
}

void TArrowButton::Detach()
{
    if (FPickerHandle == nullptr) return;
    if (std::exchange(FClipAdded, false) && ::IsWindow(FPickerHandle))
        ::SetWindowLongW(FPickerHandle, GWL_STYLE, ::GetWindowLongW(FPickerHandle, GWL_STYLE) & ~WS_CLIPCHILDREN);
    DestroyHandle();
    SetParentWindow(nullptr);
    FPickerHandle = nullptr;
    FPicker = nullptr;
}

void TArrowButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (FPicker != nullptr && FPicker->Enabled()) {
            FHot = Message.Msg == CM_MOUSEENTER;
            Invalidate();
        }
        return;
    case WM_LBUTTONDOWN: {
        TCustomControl::WndProc(Message);
        // The same point on the picker, whose own button lies under this one.
        const LPARAM at = MAKELPARAM(LOWORD(Message.LParam) + Left(), HIWORD(Message.LParam) + Top());
        ::PostMessageW(FPickerHandle, WM_LBUTTONDOWN, Message.WParam, at);
        ::PostMessageW(FPickerHandle, WM_LBUTTONUP, Message.WParam, at);
        Invalidate();
        return;
    }
    case WM_LBUTTONUP:
        TCustomControl::WndProc(Message);
        if (FPickerHandle != nullptr) ::SetFocus(FPickerHandle);
        return;
    default:
        TCustomControl::WndProc(Message);
        return;
    }
}

void TArrowButton::Paint()
{
    if (FAdapter == nullptr) return;
    const TSkinData& skin = *FAdapter->SkinData();
    const HDC dc = Canvas()->Handle();
    const RECT client = ClientRect();
    FillColor(dc, client, skin.FButtonFaceColor);
    // Without the arrow strip the face alone: no cell to divide it into.
    if (!HasStrip(skin.FComboArrow.get())) return;
    TBitmap& strip = *skin.FComboArrow->FBitmap;
    const int frames = skin.FComboArrow->FFrame, cw = strip.Width() / frames;
    const int cell = kArrowCells.Cell(FHot ? lkHot : 0, frames);
    ::StretchBlt(dc, 0, 0, client.right, client.bottom, strip.Canvas()->Handle(), cw * (cell - 1), 0, cw,
                 strip.Height(), SRCCOPY);
}

// --- TSkinDateTime

TSkinDateTime::~TSkinDateTime()
{
    FArrowButton.reset();
}

bool TSkinDateTime::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (Attached()) return true;
    if (!TSkinControl::InitSkin(Form, SkinData, ChangeColor)) return false;
    if (auto* picker = dynamic_cast<TWinControl*>(Control())) {
        FArrowButton = std::make_unique<TArrowButton>(nullptr);
        FArrowButton->Attach(*this, *picker);
    }
    return true;
}

void TSkinDateTime::Unskin()
{
    TSkinControl::Unskin();
    if (FArrowButton != nullptr) FArrowButton->Detach();
}

void TSkinDateTime::UpdateSkin()
{
    TSkinControl::UpdateSkin();
    if (FArrowButton != nullptr && FArrowButton->HandleAllocated()) FArrowButton->Invalidate();
}

void TSkinDateTime::AfterProc(TMessage& Message)
{
    if (Message.Msg == WM_SIZE && FArrowButton != nullptr) FArrowButton->Place();
    TSkinControl::AfterProc(Message);
}

void TSkinDateTime::PaintControl(HDC DC, const RECT& Rect)
{
    if (Borderless(Handle(), Rect)) return;
    Frame(DC, Rect, SkinData()->FButtonShadowColor);
    Frame(DC, Inflated(Rect, -1), clWhite);
}
