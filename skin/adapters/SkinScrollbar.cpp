// Scroll-bar skinning: the cover windows and the three adapters that own them.
#include "skin/adapters/SkinScrollbar.h"

#include "classlib/Controls.h"
#include "classlib/Handles.h"
#include "classlib/portable/TypInfo.h"
#include "skin/SkinApi.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/AdapterHost.h"
#include "skin/adapters/AdapterDraw.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/portable/SkinCells.h"
#include "skin/portable/SkinText.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

namespace {

constexpr wchar_t kCoverClass[] = L"TWScrollbar";
// Cells of the skin's Scrollbar strip.
constexpr int kStripCells = 23;
constexpr int kLeftArrow = 1, kRightArrow = 5, kUpArrow = 9, kDownArrow = 13, kHorzGrip = 17, kVertGrip = 20;
constexpr int kMinThumb = 8;
constexpr int kNoRange = 9999999;

bool RegisterCoverClass()
{
    static const bool registered = [] {
        WNDCLASSW c{};
        c.style = CS_DBLCLKS;
        c.lpfnWndProc = OwnWindowProc;
        c.hInstance = ::GetModuleHandleW(nullptr);
        c.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        c.lpszClassName = kCoverClass;
        return ::RegisterClassW(&c) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

int Width(const RECT& R) { return R.right - R.left; }
int Height(const RECT& R) { return R.bottom - R.top; }

// The client area's top-left corner in window coordinates: where client
// coordinates start in the window DC, whatever the border is.
POINT ClientOrigin(HWND Window)
{
    RECT w{};
    POINT origin{};
    if (!::GetWindowRect(Window, &w) || !::ClientToScreen(Window, &origin)) return {};
    return {origin.x - w.left, origin.y - w.top};
}

// The corner between two shown bars (client coordinates of the target),
// filled in the skin colour into the window DC.
void FillSizeBox(const TSkinControl& Adapter, HDC DC, const TWScrollbar* Horz, const TWScrollbar* Vert)
{
    if (Horz == nullptr || Vert == nullptr || !Horz->BarVisible() || !Vert->BarVisible()) return;
    RECT corner{Vert->BarRect().left, Horz->BarRect().top, Vert->BarRect().right, Horz->BarRect().bottom};
    const POINT origin = ClientOrigin(Adapter.Handle());
    ::OffsetRect(&corner, origin.x, origin.y);
    Adapter.FillSkinColor(DC, corner);
}

void Place(TWScrollbar* Bar, HWND Window)
{
    if (Bar != nullptr) Bar->UpdatePosition(Window);
}

void Hide(TWScrollbar* Bar)
{
    if (Bar != nullptr) Bar->HideBar();
}

void Repaint(TWScrollbar* Bar)
{
    if (Bar != nullptr && Bar->BarVisible()) Bar->Invalidate();
}

// A scroll request to the bars' window: the bar it concerns shows it.
bool ShowRequest(const TMessage& Message, TWScrollbar* Horz, TWScrollbar* Vert)
{
    TWScrollbar* bar = Message.Msg == WM_HSCROLL ? Horz : Message.Msg == WM_VSCROLL ? Vert : nullptr;
    if (bar != nullptr) bar->SetRequest(Message.WParam);
    return Message.Msg == WM_HSCROLL || Message.Msg == WM_VSCROLL;
}

// A mouse message's point, its coordinates signed.
POINT PointOf(LPARAM LParam)
{
    return {static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
}

// A strip's cell stretched over Rect of Target without its key-coloured
// pixels, as DrawStripCellTransparent draws it, straight into the pixels: a
// thumb step makes no GDI object.
void DrawStripCellKeyedInto(TBitmap& Target, const RECT& Rect, TBitmap& Strip, int Index, int Count)
{
    const int w = Width(Rect), h = Height(Rect);
    TSkinCell c;
    if (w <= 0 || h <= 0 || Strip.Empty() || Target.Empty() ||
        !StripCell(Strip.Width(), Strip.Height(), Index, Count, false, c))
        return;
    TImage cell(w, h);
    StretchPixels(PixelsOf(Strip), {c.X, c.Y, c.X + c.Width, c.Y + c.Height}, cell.View(), {0, 0, w, h});
    CopyPixels(cell.View(), PixelsOf(Target), Rect.left, Rect.top, true);
}

// Redrawn from the new skin.
void Reskin(TWScrollbar* Bar)
{
    if (Bar == nullptr) return;
    Bar->ForgetBackground();
    Repaint(Bar);
}

}  // namespace

TScrollPart ScrollPartOf(WPARAM Request) noexcept
{
    switch (LOWORD(Request)) {
    case SB_LINEUP: return spFirstArrow;
    case SB_LINEDOWN: return spSecondArrow;
    case SB_PAGEUP: return spTrackBefore;
    case SB_PAGEDOWN: return spTrackAfter;
    case SB_THUMBTRACK: return spThumb;
    default: return spNone;
    }
}

// --- the cover window

// The adapter (and this cover with it) is freed only when the outermost
// handler of the cover returns: the press hand-over may unskin it.
TWScrollbar::TWScrollbar(TSkinControl& Owner, HWND Target, TControl* TargetControl, TBarType Type)
    : TOwnWindow(Owner, [](TOwnWindow& W, TMessage& M) { return static_cast<TWScrollbar&>(W).HandleMessage(M); }),
      FOwner(Owner),
      FArrowSize(::GetSystemMetrics(SM_CXHSCROLL)),
      FTarget(Target),
      FTargetControl(TargetControl),
      FBarType(Type)
{
    FKind = Type == btHorizontal ? btHorizontal : btVertical;
    if (Type == btControl)
        FKind = LowerCaseAZ(GetEnumPropByName(TargetControl, "Kind")) == "sbhorizontal" ? btHorizontal : btVertical;
    const HWND parent = ::GetParent(Target);
    if (parent == nullptr || !RegisterCoverClass()) return;
    if (Create(WS_EX_TOOLWINDOW, kCoverClass, WS_CHILD | WS_CLIPSIBLINGS, parent) == nullptr) return;
    UpdatePosition(Target);
}

bool TWScrollbar::HandleMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        Message.Result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = ::BeginPaint(Window(), &ps);
        if (dc == nullptr) return true;
        try {
            Paint(dc);
        } catch (...) {
            // A failed paint leaves the last picture.
            FDrawn = false;
        }
        // Only a paint of the whole cover leaves one picture on all of it.
        RECT client{};
        ::GetClientRect(Window(), &client);
        FPaintedValid = FDrawn && ps.rcPaint.left <= 0 && ps.rcPaint.top <= 0 && ps.rcPaint.right >= client.right &&
                        ps.rcPaint.bottom >= client.bottom;
        if (FPaintedValid) FPaintedKey = FDrawnKey;
        ::EndPaint(Window(), &ps);
        return true;
    }
    case WM_PRINTCLIENT:
    case WM_PRINT:
        // Printed as shown (the cover has no frame of its own).
        if (Message.WParam != 0 && (Message.Msg == WM_PRINTCLIENT || (Message.LParam & PRF_CLIENT) != 0)) {
            try {
                Paint(reinterpret_cast<HDC>(Message.WParam));
            } catch (...) {
                // A failed paint prints nothing.
            }
        }
        Message.Result = 0;
        return true;
    case WM_MOUSEMOVE:
        MouseMove(Message.LParam);
        return true;
    case WM_MOUSELEAVE:
        if (!FPressed && FHotPart != spNone) {
            FHotPart = spNone;
            Invalidate();
        }
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ButtonDown(Message.LParam);
        return true;
    case WM_LBUTTONUP:
        ButtonUp(Message.LParam);
        return true;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        // A wheel over the bar scrolls its window, as over the native bar.
        Message.Result = ::SendMessageW(FTarget, Message.Msg, Message.WParam, Message.LParam);
        return true;
    case WM_NCDESTROY:
        // Destroyed with its parent: the kernel lets go of it after this.
        FBarVisible = false;
        return false;
    default:
        return false;
    }
}

bool TWScrollbar::ReadInfo(SCROLLBARINFO& Info)
{
    Info = {};
    Info.cbSize = sizeof Info;
    switch (FBarType) {
    case btHorizontal: return SkinGetScrollBarInfo(FTarget, OBJID_HSCROLL, &Info);
    case btVertical: return SkinGetScrollBarInfo(FTarget, OBJID_VSCROLL, &Info);
    case btControl: return GetControlScrollInfo(Info);
    }
    return false;
}

bool TWScrollbar::GetControlScrollInfo(SCROLLBARINFO& Info)
{
    if (FTargetControl == nullptr) return false;
    Info.rcScrollBar = FTargetControl->BoundsRect();
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    if (!::GetScrollInfo(FTarget, SB_CTL, &si)) return false;
    FLength = Vertical() ? Height(Info.rcScrollBar) : Width(Info.rcScrollBar);
    int range = si.nMax - si.nMin;
    if (range == 0) range = kNoRange;
    const int track = FLength - 2 * FArrowSize;
    int thumb = 0, start = 0;
    if (si.nPage != 0) {
        thumb = ::MulDiv(track, static_cast<int>(si.nPage) - 1, range);
        if (thumb < kMinThumb) {
            thumb = kMinThumb;
            start = FArrowSize + ::MulDiv(track - kMinThumb, si.nPos - si.nMin, range);
        } else {
            start = FArrowSize + ::MulDiv(track, si.nPos - si.nMin, range);
        }
    } else {
        thumb = FArrowSize;
        start = FArrowSize + ::MulDiv(FLength - 3 * FArrowSize, si.nPos - si.nMin, range);
    }
    if (si.nPos == si.nMin) start = FArrowSize;
    Info.xyThumbTop = start;
    Info.xyThumbBottom = start + thumb;
    return true;
}

void TWScrollbar::UpdatePosition(HWND Target)
{
    FTarget = Target;
    if (Window() == nullptr) return;
    SCROLLBARINFO info;
    if (!ReadInfo(info) || (::GetWindowLongW(FTarget, GWL_STYLE) & WS_VISIBLE) == 0 ||
        (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0) {
        HideBar();
        return;
    }
    RECT r = info.rcScrollBar;
    POINT p{r.left, r.top};
    if (FBarType != btControl) {
        FBarRect = r;
        ::MapWindowPoints(nullptr, FTarget, reinterpret_cast<POINT*>(&FBarRect), 2);
        FBarOrigin = p;
        ::ScreenToClient(::GetParent(FTarget), &p);
    }
    ::OffsetRect(&r, -r.left, -r.top);
    FLength = Vertical() ? r.bottom : r.right;
    // Directly above the target, so that it covers the native bar and no more.
    const HWND previous = ::GetWindow(FTarget, GW_HWNDPREV);
    UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
    if (previous == Window()) flags |= SWP_NOZORDER;
    ::SetWindowPos(Window(), previous != nullptr ? previous : HWND_TOP, p.x, p.y, r.right, r.bottom, flags);
    FBarVisible = true;
    Invalidate();
}

void TWScrollbar::HideBar()
{
    FBarVisible = false;
    if (Window() != nullptr) ::ShowWindow(Window(), SW_HIDE);
}

void TWScrollbar::Invalidate()
{
    if (Window() != nullptr) ::InvalidateRect(Window(), nullptr, FALSE);
}

void TWScrollbar::SetEnabled(bool Value)
{
    if (Window() != nullptr) ::EnableWindow(Window(), Value ? TRUE : FALSE);
}

void TWScrollbar::Refresh()
{
    if (Window() == nullptr) return;
    SCROLLBARINFO info;
    RECT client{};
    TPictureKey key;
    if (FPaintedValid && ReadInfo(info) && ::GetClientRect(Window(), &client) && ReadPictureKey(info, client, key) &&
        key == FPaintedKey)
        return;
    Invalidate();
}

bool TWScrollbar::ReadPictureKey(const SCROLLBARINFO& Info, const RECT& Client, TPictureKey& Key) const
{
    if ((Info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0) return false;
    Key = {};
    Key.Width = Width(Info.rcScrollBar);
    Key.Height = Height(Info.rcScrollBar);
    Key.ClientWidth = Client.right;
    Key.ClientHeight = Client.bottom;
    if (FPressed && FHotPart == spThumb && FBarType != btControl) {
        TrackThumb(Key.ThumbStart, Key.ThumbEnd);
    } else {
        Key.ThumbStart = Info.xyThumbTop;
        Key.ThumbEnd = Info.xyThumbBottom;
    }
    Key.HotPart = FHotPart;
    Key.Pressed = FPressed;
    std::copy(std::begin(Info.rgstate), std::end(Info.rgstate), std::begin(Key.State));
    // The system redraws its own bar, over the cover, whenever these change.
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    const int bar = FBarType == btControl ? SB_CTL : Vertical() ? SB_VERT : SB_HORZ;
    if (::GetScrollInfo(FTarget, bar, &si)) {
        Key.Min = si.nMin;
        Key.Max = si.nMax;
        Key.Page = static_cast<int>(si.nPage);
        Key.Pos = si.nPos;
    }
    return true;
}

void TWScrollbar::SetRequest(WPARAM Request)
{
    FHotPart = ScrollPartOf(Request);
    Refresh();
}

TLooks TWScrollbar::PartLooks(TScrollPart Part, bool Enabled) const
{
    TLooks looks = Enabled ? 0 : lkDisabled;
    if (Part == FHotPart) looks |= FPressed ? lkPressed : lkHot;
    return looks;
}

TScrollPart TWScrollbar::HitTest(POINT P) const
{
    const int c = Vertical() ? P.y : P.x;
    if (c < FArrowSize) return spFirstArrow;
    if (c < FThumbStart) return spTrackBefore;
    if (c < FThumbEnd) return spThumb;
    if (c < FLength - FArrowSize) return spTrackAfter;
    return spSecondArrow;
}

void TWScrollbar::TrackThumb(int& Start, int& End) const
{
    const int size = FThumbEnd - FThumbStart;
    Start = FThumbStart;
    End = FThumbEnd;
    POINT q{};
    if (!::GetCursorPos(&q)) return;
    const int moved = Vertical() ? q.y - FPressPoint.y : q.x - FPressPoint.x;
    Start = std::max(FPressThumbStart + moved, FArrowSize);
    Start = std::min(Start, FLength - FArrowSize - size);
    End = Start + size;
}

void TWScrollbar::MouseMove(LPARAM LParam)
{
    const TScrollPart part = HitTest(PointOf(LParam));
    if (part != FHotPart) {
        FHotPart = part;
        Invalidate();
    }
    SkinTrackMouseLeave(Window());
}

LPARAM TWScrollbar::ToScreen(LPARAM LParam) const
{
    if (FBarType == btControl) return LParam;
    // The native bar's hit codes take screen coordinates (16 bits each, as in the message).
    return MAKELPARAM(LOWORD(LParam) + FBarOrigin.x, HIWORD(LParam) + FBarOrigin.y);
}

void TWScrollbar::ButtonDown(LPARAM LParam)
{
    const POINT p = PointOf(LParam);
    ::GetCursorPos(&FPressPoint);
    SCROLLBARINFO info;
    if (ReadInfo(info)) {
        FPressThumbStart = info.xyThumbTop;
        if (FBarType != btControl) FBarOrigin = {info.rcScrollBar.left, info.rcScrollBar.top};
    }
    FHotPart = HitTest(p);
    const LPARAM at = ToScreen(LParam);
    FPressed = true;
    Invalidate();
    ::ReleaseCapture();
    // The system's own tracking runs inside this call until the button is
    // released, dispatching whatever is posted meanwhile: the adapter may be
    // gone when it returns (its memory is kept until this handler returns).
    const TSkinObject::TToken life = FOwner.Token();
    const HWND target = FTarget;
    if (FBarType == btControl) ::SendMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    else ::SendMessageA(target, WM_NCLBUTTONDOWN, HitCode(), at);
    if (!life.Alive()) return;
    FPressed = false;
    ::ReleaseCapture();
    Invalidate();
}

void TWScrollbar::ButtonUp(LPARAM LParam)
{
    FPressed = false;
    ::ReleaseCapture();
    if (FBarType == btControl) {
        ::PostMessageA(FTarget, WM_LBUTTONUP, MK_LBUTTON, LParam);
        Invalidate();
    } else {
        ::PostMessageA(FTarget, WM_NCLBUTTONUP, HitCode(), ToScreen(LParam));
    }
}

void TWScrollbar::PaintBackground(const TSkinData& Data, RECT R, int Thick, int FirstCell, int SecondCell,
                                  bool Enabled)
{
    if (FBackground.Width() != R.right || FBackground.Height() != R.bottom) FBackground.SetSize(R.right, R.bottom);
    if (FBackground.Empty()) return;
    const HDC dc = FBackground.Canvas()->Handle();
    ::SetStretchBltMode(dc, COLORONCOLOR);
    FillColor(dc, R, Data.FButtonFaceColor);
    (Vertical() ? R.right : R.bottom) = Thick;

    // The track between the arrows.
    RECT track = R;
    if (!Vertical()) track.left += FArrowSize, track.right -= FArrowSize;
    else track.top += FArrowSize, track.bottom -= FArrowSize;
    if (const TDataSkinObject* t = Vertical() ? Data.FVertScroll.get() : Data.FHorzScroll.get())
        if (!t->FBitmap->Empty())
            DrawSkinPart(dc, track, *t->FBitmap, MarginsOf(*t),
                         {.Index = kScrollCells.Cell(Enabled ? 0 : lkDisabled, 4), .Count = 4,
                          .Transparent = t->FTrans == 1, .Tile = t->FTile == 1});

    // The arrows: half the bar each when two do not fit.
    const int length = Vertical() ? R.bottom : R.right;
    const int arrow = 2 * FArrowSize > length ? length / 2 : FArrowSize;
    RECT first = R, second = R;
    if (!Vertical()) first.right = R.left + arrow, second.left = R.right - arrow;
    else first.bottom = R.top + arrow, second.top = R.bottom - arrow;
    TBitmap& strips = *Data.FScrollbar->FBitmap;
    DrawStripCellTransparent(dc, first, strips, FirstCell, kStripCells);
    DrawStripCellTransparent(dc, second, strips, SecondCell, kStripCells);
}

void TWScrollbar::Paint(HDC DC)
{
    FDrawn = false;
    const TSkinData* data = FOwner.SkinData();
    const TDataSkinObject* strip = data != nullptr ? data->FScrollbar.get() : nullptr;
    if (strip == nullptr || strip->FBitmap->Empty()) return;
    SCROLLBARINFO info;
    if (!ReadInfo(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0) return;
    const bool enabled = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
    RECT r = info.rcScrollBar;
    ::OffsetRect(&r, -r.left, -r.top);
    RECT client{};
    // Not yet moved over the bar: nothing is painted until it is.
    if (r.right <= 0 || r.bottom <= 0 || !::GetClientRect(Window(), &client) || client.bottom < r.bottom ||
        client.right < r.right)
        return;
    FLength = Vertical() ? r.bottom : r.right;
    TPictureKey picture;
    if (!ReadPictureKey(info, client, picture)) return;
    TBitmap& strips = *strip->FBitmap;
    int thick = strips.Height();
    if (std::abs(thick - FArrowSize) > 2) thick = FArrowSize;
    if (FBarType == btControl) (Vertical() ? r.right : r.bottom) = thick;
    // Each arrow has four cells from its first in the strip; a disabled
    // bar's arrows keep their normal look (only the track shows it).
    const auto arrowCell = [&](int First, TScrollPart Part) {
        return First - 1 + kScrollCells.Cell(PartLooks(Part, true), 4);
    };
    const int firstCell = arrowCell(Vertical() ? kUpArrow : kLeftArrow, spFirstArrow);
    const int secondCell = arrowCell(Vertical() ? kDownArrow : kRightArrow, spSecondArrow);
    const TBackgroundKey key{r.right, r.bottom, thick, firstCell, secondCell, enabled};
    if (!(key == FBackgroundKey) || FBackground.Empty()) {
        FBackgroundKey = {};
        PaintBackground(*data, r, thick, firstCell, secondCell, enabled);
        if (FBackground.Empty()) return;
        FBackgroundKey = key;
    }
    if (FBuffer.Width() != r.right || FBuffer.Height() != r.bottom) FBuffer.SetSize(r.right, r.bottom);
    if (FBuffer.Empty()) return;
    const HDC buffer = FBuffer.Canvas()->Handle();
    ::SetStretchBltMode(buffer, COLORONCOLOR);
    ::BitBlt(buffer, 0, 0, r.right, r.bottom, FBackground.Canvas()->Handle(), 0, 0, SRCCOPY);
    (Vertical() ? r.right : r.bottom) = thick;

    // The thumb: where the cursor drags it, else where the system has it.
    FThumbStart = picture.ThumbStart;
    FThumbEnd = picture.ThumbEnd;
    const int limit = Vertical() ? client.bottom : client.right;
    if (enabled && FThumbStart < limit && FThumbEnd < limit) {
        const TLooks looks = PartLooks(spThumb, true);
        const RECT thumb = Vertical() ? RECT{0, FThumbStart, thick, FThumbEnd} : RECT{FThumbStart, 0, FThumbEnd, thick};
        if (const TDataSkinObject* t = Vertical() ? data->FVertScrollThumb.get() : data->FHorzScrollThumb.get())
            if (!t->FBitmap->Empty())
                DrawSkinPartInto(FBuffer, thumb, *t->FBitmap, MarginsOf(*t),
                                 {.Index = kThumbCells.Cell(looks, std::max(t->FFrame, 1)),
                                  .Count = std::max(t->FFrame, 1), .Transparent = t->FTrans == 1});
        // Three cells from the first grip in the strip.
        const int grip = (Vertical() ? kVertGrip : kHorzGrip) - 1 + kThumbCells.Cell(looks, 3);
        const int g = strips.Height(), size = FThumbEnd - FThumbStart;
        if (g < size + 2) {
            const int from = FThumbStart + (size - g) / 2;
            const RECT at = Vertical() ? RECT{0, from, thick, from + g} : RECT{from, 0, from + g, thick};
            if (from < limit && from + g < limit) DrawStripCellKeyedInto(FBuffer, at, strips, grip, kStripCells);
        }
    }

    if (FBarType == btControl)
        ::StretchBlt(DC, 0, 0, client.right, client.bottom, buffer, 0, 0, FBuffer.Width(), FBuffer.Height(), SRCCOPY);
    else
        ::BitBlt(DC, 0, 0, FBuffer.Width(), FBuffer.Height(), buffer, 0, 0, SRCCOPY);
    FDrawnKey = picture;
    FDrawn = true;
}

// --- class-library controls with window scroll bars

TSkinScrollbar::~TSkinScrollbar() = default;

bool TSkinScrollbar::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool)
{
    if (Attached()) return true;
    if (!TSkinControl::InitSkin(Form, SkinData, false)) return false;
    TControl* control = Control();
    const std::string border = LowerCaseAZ(GetEnumPropByName(control, "BorderStyle"));
    FBorderFrame = border != "bsnone" && control->ClassName() != "TImageScrollBox" &&
                   static_cast<TScrollbarMode>(Mode()) != smSingleBar;
    if (const TPropInfo* fixed = FindPropInfo(*control, "FixedColor"); fixed != nullptr && fixed->Kind == TTypeKind::tkInteger) {
        FOldFixedColor = static_cast<TColor>(fixed->GetOrd(*control));
        FFixedColorTaken = true;
        SetPropByName(control, "FixedColor", std::to_string(SkinData->FButtonFaceColor));
    }
    FHorzBar = std::make_unique<TWScrollbar>(*this, Handle(), control, btHorizontal);
    FVertBar = std::make_unique<TWScrollbar>(*this, Handle(), control, btVertical);
    FHorzBar->SetEnabled(control->Enabled());
    FVertBar->SetEnabled(control->Enabled());
    if (!control->Visible()) HideBars();
    // The new border frame replaces the native one at once.
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return true;
}

void TSkinScrollbar::HideBars()
{
    Hide(FHorzBar.get());
    Hide(FVertBar.get());
}

void TSkinScrollbar::UpdateBars()
{
    Place(FHorzBar.get(), Handle());
    Place(FVertBar.get(), Handle());
}

void TSkinScrollbar::Unskin()
{
    // Hidden at once; the covers themselves go with the adapter (a press
    // hand-over may be running in one of them).
    HideBars();
    if (std::exchange(FFixedColorTaken, false) && !ControlDying())
        SetPropByName(Control(), "FixedColor", std::to_string(FOldFixedColor));
    TSkinControl::Unskin();
    if (SkinState() != asDestroyed && Handle() != nullptr && ::IsWindow(Handle()))
        ::RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::UpdateSkin()
{
    if (FFixedColorTaken && SkinData() != nullptr)
        SetPropByName(Control(), "FixedColor", std::to_string(SkinData()->FButtonFaceColor));
    Reskin(FHorzBar.get());
    Reskin(FVertBar.get());
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::DrawBorderFrame(HDC DC) const
{
    RECT r{};
    if (SkinData() == nullptr || !::GetWindowRect(Handle(), &r)) return;
    ::OffsetRect(&r, -r.left, -r.top);
    const TGdiObject shadow(::CreateSolidBrush(ColorToRGB(SkinData()->FButtonShadowColor)));
    const TGdiObject face(::CreateSolidBrush(ColorToRGB(SkinData()->FButtonFaceColor)));
    if (shadow.Get() != nullptr) ::FrameRect(DC, &r, static_cast<HBRUSH>(shadow.Get()));
    ::InflateRect(&r, -1, -1);
    if (face.Get() != nullptr) ::FrameRect(DC, &r, static_cast<HBRUSH>(face.Get()));
}

bool TSkinScrollbar::BeforeProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PRINT:
        // A control may print its client under a clip it leaves on the DC
        // (an edit does): the frame is drawn into the DC as it came.
        if (Message.WParam != 0) FPrintState = ::SaveDC(reinterpret_cast<HDC>(Message.WParam));
        return TSkinControl::BeforeProc(Message);
    case WM_NCPAINT: {
        if (!FBorderFrame) return true;
        if (!CallOldProc(Message)) return false;
        const TWindowDC dc(Handle(), ::GetWindowDC(Handle()));
        if (dc.Get() != nullptr) DrawBorderFrame(dc.Get());
        return false;
    }
    case WM_NCDESTROY: {
        // Destroyed or about to be made anew: no cover may stay over the
        // place. A control that lives on is skinned again by its frame object
        // once its new window exists.
        HideBars();
        const HWND window = Handle();
        // Held by handle: the control's own handling may free the frame object.
        const HWND frame = Form() != nullptr ? Form()->Handle() : nullptr;
        const bool lives = !ControlDying();
        const bool handled = !TSkinControl::BeforeProc(Message);
        if (lives && frame != nullptr)
            ::PostMessageA(frame, WM_SKIN_RESKINSCROLL, reinterpret_cast<WPARAM>(window), 0);
        return !handled;
    }
    default:
        return TSkinControl::BeforeProc(Message);
    }
}

void TSkinScrollbar::AfterProc(TMessage& Message)
{
    if (ShowRequest(Message, FHorzBar.get(), FVertBar.get())) return;
    switch (Message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:  // also shown and hidden
        UpdateBars();
        break;
    case WM_MOUSEWHEEL:
        for (TWScrollbar* bar : {FHorzBar.get(), FVertBar.get()})
            if (bar != nullptr && bar->BarVisible()) bar->Refresh();
        break;
    case CM_ENABLEDCHANGED:
        for (TWScrollbar* bar : {FHorzBar.get(), FVertBar.get()})
            if (bar != nullptr) bar->SetEnabled(Control()->Enabled());
        TSkinControl::AfterProc(Message);
        break;
    case WM_PRINT:
        if (const int saved = std::exchange(FPrintState, 0); saved != 0)
            ::RestoreDC(reinterpret_cast<HDC>(Message.WParam), saved);
        TSkinControl::AfterProc(Message);
        break;
    case WM_SKIN_PRINTNC:
        if (Message.LParam != kSkinMagic) break;
        // As shown: a control without a border has no frame of the skin's either.
        if (Message.WParam != 0 && FBorderFrame) DrawBorderFrame(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = kSkinMagic;
        break;
    default:
        TSkinControl::AfterProc(Message);
        break;
    }
}

void TSkinScrollbar::PaintWindow(HDC DC)
{
    if (DC != nullptr) {
        // Printed with its frame: the skin's frame and corner over the control's, as on screen.
        if (FBorderFrame) DrawBorderFrame(DC);
        TSkinControl::PaintWindow(DC);
        return;
    }
    const LONG style = ::GetWindowLongW(Handle(), GWL_STYLE);
    for (auto [bar, bit] : {std::pair{FVertBar.get(), WS_VSCROLL}, std::pair{FHorzBar.get(), WS_HSCROLL}}) {
        if (bar == nullptr) continue;
        if (bar->BarVisible()) bar->Refresh();
        else if (style & bit) bar->UpdatePosition(Handle());
    }
    // The bars are windows of their own: only the corner between two is
    // painted into the control's window (a DC for each paint costs).
    if (FHorzBar && FVertBar && FHorzBar->BarVisible() && FVertBar->BarVisible()) TSkinControl::PaintWindow(DC);
}

void TSkinScrollbar::PaintControl(HDC DC, const RECT&)
{
    FillSizeBox(*this, DC, FHorzBar.get(), FVertBar.get());
}

// --- raw windows

TSkinScrollbarH::~TSkinScrollbarH() = default;

bool TSkinScrollbarH::InitSkinHandle(HWND Window, TSkinData* SkinData, TAdapterHost* Form)
{
    if (!TSkinControl::InitSkinHandle(Window, SkinData, Form)) return false;
    FHorzBar = std::make_unique<TWScrollbar>(*this, Window, nullptr, btHorizontal);
    FVertBar = std::make_unique<TWScrollbar>(*this, Window, nullptr, btVertical);
    return true;
}

void TSkinScrollbarH::UpdateSkin()
{
    Reskin(FHorzBar.get());
    Reskin(FVertBar.get());
    TSkinControl::UpdateSkin();
}

void TSkinScrollbarH::Unskin()
{
    Hide(FHorzBar.get());
    Hide(FVertBar.get());
    TSkinControl::Unskin();
}

bool TSkinScrollbarH::BeforeProc(TMessage& Message)
{
    if (Message.Msg == WM_NCDESTROY) {
        Hide(FHorzBar.get());
        Hide(FVertBar.get());
    }
    return TSkinControl::BeforeProc(Message);
}

void TSkinScrollbarH::AfterProc(TMessage& Message)
{
    if (!::IsWindowVisible(Handle())) {
        Hide(FHorzBar.get());
        Hide(FVertBar.get());
    }
    if (ShowRequest(Message, FHorzBar.get(), FVertBar.get())) return;
    switch (Message.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
    case WM_WINDOWPOSCHANGED:
        Place(FHorzBar.get(), Handle());
        Place(FVertBar.get(), Handle());
        if (Message.Msg == WM_NCPAINT) Redraw();
        break;
    default:
        TSkinControl::AfterProc(Message);
        break;
    }
}

void TSkinScrollbarH::PaintControl(HDC DC, const RECT&)
{
    Repaint(FHorzBar.get());
    Repaint(FVertBar.get());
    FillSizeBox(*this, DC, FHorzBar.get(), FVertBar.get());
}

// --- scroll-bar controls

TSkinScControl::~TSkinScControl() = default;

bool TSkinScControl::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool)
{
    if (Attached()) return true;
    if (!TSkinControl::InitSkin(Form, SkinData, false)) return false;
    // The cover takes the control's mouse; the class library has no hints, so none is lost.
    FBar = std::make_unique<TWScrollbar>(*this, Handle(), Control(), btControl);
    if (!Control()->Visible()) FBar->HideBar();
    return true;
}

void TSkinScControl::UpdateSkin()
{
    Reskin(FBar.get());
    TSkinControl::UpdateSkin();
}

void TSkinScControl::Unskin()
{
    Hide(FBar.get());
    TSkinControl::Unskin();
}

bool TSkinScControl::BeforeProc(TMessage& Message)
{
    if (Message.Msg != WM_NCDESTROY) return TSkinControl::BeforeProc(Message);
    Hide(FBar.get());
    if (ControlDying()) return TSkinControl::BeforeProc(Message);
    // A control that lives on makes its window anew: the adapter stays and
    // its cover follows the new window (TakeWindow), none meanwhile.
    if (CallOldProc(Message)) SetHandle(nullptr);
    return false;
}

void TSkinScControl::TakeWindow()
{
    const auto* control = dynamic_cast<const TWinControl*>(Control());
    if (control != nullptr && control->WindowHandle() != Handle()) SetHandle(control->WindowHandle());
}

void TSkinScControl::AfterProc(TMessage& Message)
{
    switch (Message.Msg) {
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case CN_BASE + WM_HSCROLL:
    case CN_BASE + WM_VSCROLL:
        Repaint(FBar.get());
        break;
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
        TakeWindow();
        Place(FBar.get(), Handle());
        break;
    case CM_ENABLEDCHANGED:
        if (FBar) FBar->SetEnabled(Control()->Enabled());
        TSkinControl::AfterProc(Message);
        break;
    default:
        TSkinControl::AfterProc(Message);
        break;
    }
}

void TSkinScControl::PaintControl(HDC, const RECT&)
{
    Repaint(FBar.get());
}
