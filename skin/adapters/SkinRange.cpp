// Track-bar, up-down and progress adapters.
#include "skin/adapters/SkinRange.h"

#include "classlib/Canvas.h"
#include "classlib/Controls.h"
#include "classlib/Handles.h"
#include "skin/SkinApi.h"
#include "skin/adapters/AdapterDraw.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/portable/SkinText.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

namespace {

int Width(const RECT& R)
{
    return R.right - R.left;
}

int Height(const RECT& R)
{
    return R.bottom - R.top;
}

bool HasBitmap(const TDataSkinObject* Element)
{
    return Element != nullptr && !Element->FBitmap->Empty();
}

DWORD StyleOf(HWND Window)
{
    return static_cast<DWORD>(::GetWindowLongW(Window, GWL_STYLE));
}

// A 24-bit bitmap of the given size filled with Colour, to compose on.
std::unique_ptr<TBitmap> Canvas24(int W, int H, TColor Colour)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    bitmap->SetSize(std::max(W, 0), std::max(H, 0));
    FillColor(bitmap->Canvas()->Handle(), {0, 0, W, H}, Colour);
    return bitmap;
}

// Bitmap (made if missing) as a 24-bit one of W x H; its pixels kept when the size is.
TBitmap& Kept24(std::unique_ptr<TBitmap>& Bitmap, int W, int H)
{
    if (Bitmap == nullptr) {
        Bitmap = std::make_unique<TBitmap>();
        Bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    }
    if (Bitmap->Width() != W || Bitmap->Height() != H) Bitmap->SetSize(W, H);
    return *Bitmap;
}

// The skin's tile key: 1 repeats the centre, anything else stretches it.
bool Tiled(const TDataSkinObject& Element)
{
    return Element.FTile == 1;
}

// Cell Index of Count of Element's strip drawn nine-part into Rect of DC, magenta left out.
void DrawPart(HDC DC, const RECT& Rect, const TDataSkinObject& Element, int Index, int Count, bool Tile)
{
    if (Width(Rect) <= 0 || Height(Rect) <= 0) return;
    const std::unique_ptr<TBitmap> part = CreateSkinPartBitmap(
        Rect, *Element.FBitmap, MarginsOf(Element), {.Index = Index, .Count = Count, .Tile = Tile});
    if (part != nullptr) DrawTransparentBitmap(DC, Rect, *part, clKeyMagenta);
}

}  // namespace

// --- TSkinTrackBar

void TSkinTrackBar::UpdateSkin()
{
    // Moving the focus to repaint would run other controls' OnEnter and OnExit.
    if (Handle() != nullptr)
        ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

bool TSkinTrackBar::BeforeProc(TMessage& Message)
{
    const NMHDR* header = nullptr;
    if (Message.Msg == CN_NOTIFY) {
        // The same number comes with a plain number in lParam ("skinning complete").
        header = TWinControl::ReflectedNotify(Message);
        if (header == nullptr) return TSkinControl::BeforeProc(Message);
    } else if (Message.Msg == WM_NOTIFY) {
        header = reinterpret_cast<const NMHDR*>(Message.LParam);
        if (header == nullptr || header->hwndFrom != Handle()) return TSkinControl::BeforeProc(Message);
    } else {
        return TSkinControl::BeforeProc(Message);
    }
    if (header->code != static_cast<UINT>(NM_CUSTOMDRAW)) return true;
    Message.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(header));
    return false;
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& Draw)
{
    if (Draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (Draw.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    switch (Draw.dwItemSpec) {
    case TBCD_THUMB:
        DrawThumb(Draw.hdc);
        return CDRF_SKIPDEFAULT;
    case TBCD_CHANNEL:
        return DrawChannel(Draw.hdc) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

bool TSkinTrackBar::DrawChannel(HDC DC)
{
    RECT c{};
    ::SendMessageW(Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
    const TSkinData& skin = *SkinData();
    if ((StyleOf(Handle()) & TBS_VERT) != 0 && HasBitmap(skin.FTrackVert.get())) {
        // A vertical bar may report its channel lying, with the axes exchanged
        // (the system's does; Wine's reports it standing).
        const RECT r = Width(c) > Height(c) ? RECT{c.top, c.left, c.bottom, c.right} : c;
        const TDataSkinObject& e = *skin.FTrackVert;
        TBitmap& bitmap = *e.FBitmap;
        const int w = bitmap.Width(), h = bitmap.Height(), mt = e.FTopHeight, mb = e.FBottomHeight;
        const int x = w < Width(r) ? r.left + (Width(r) - w) / 2 : r.left;
        const HDC from = bitmap.Canvas()->Handle();
        ::StretchBlt(DC, x, r.top, w, mt, from, 0, 0, w, mt, SRCCOPY);
        ::StretchBlt(DC, x, r.top + mt, w, Height(r) - mt - mb, from, 0, mt, w, h - mt - mb, SRCCOPY);
        ::StretchBlt(DC, x, r.bottom - mb, w, mb, from, 0, h - mb, w, mb, SRCCOPY);
        return true;
    }
    if (!HasBitmap(skin.FTrack.get())) return false;
    const TDataSkinObject& e = *skin.FTrack;
    TBitmap& bitmap = *e.FBitmap;
    const int w = bitmap.Width(), h = bitmap.Height(), ml = e.FLeftWidth, mr = e.FRightWidth;
    const int y = h < Height(c) ? c.top + (Height(c) - h) / 2 : c.top;
    const HDC from = bitmap.Canvas()->Handle();
    ::StretchBlt(DC, c.left, y, ml, h, from, 0, 0, ml, h, SRCCOPY);
    ::StretchBlt(DC, c.left + ml, y, Width(c) - ml - mr, h, from, ml, 0, w - ml - mr, h, SRCCOPY);
    ::StretchBlt(DC, c.right - mr, y, mr, h, from, w - mr, 0, mr, h, SRCCOPY);
    return true;
}

void TSkinTrackBar::DrawThumb(HDC DC)
{
    if (!::IsWindow(Handle())) return;
    RECT t{};
    ::SendMessageW(Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&t));
    const TSkinData& skin = *SkinData();
    const TDataSkinObject* thumb = nullptr;
    if ((StyleOf(Handle()) & TBS_VERT) != 0 && skin.FThumbVert != nullptr) thumb = skin.FThumbVert.get();
    else if (skin.FThumbHorz != nullptr) thumb = skin.FThumbHorz.get();
    if (HasBitmap(thumb)) {
        // Always the second of five cells: the thumb does not follow the mouse.
        DrawStripCellTransparent(DC, t, *thumb->FBitmap, 2, 5);
        return;
    }
    const TGdiObject pen(::CreatePen(PS_SOLID, 1, ColorToRGB(skin.FButtonShadowColor)));
    if (pen.Get() == nullptr) return;
    const TSelectObject selectPen(DC, pen.Get());
    const TSelectObject selectBrush(DC, ::GetStockObject(WHITE_BRUSH));
    ::Rectangle(DC, t.left, t.top, t.right, t.bottom);
}

// --- TSkinUpDown

bool TSkinUpDown::BeforeProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The control acts on the press first (capture, repeat, notifications,
        // user code); the adapter may be gone after it.
        if (CallOldProc(Message)) SetMouseBit(mbPressed, true);
        return false;
    case WM_LBUTTONUP:
        SetMouseBit(mbPressed, false);
        CallOldProc(Message);
        return false;
    default:
        return TSkinControl::BeforeProc(Message);
    }
}

void TSkinUpDown::PaintControl(HDC DC, const RECT& Rect)
{
    RECT area = Rect;
    if (FInEdit) {
        RECT client{}, edit{}, own{};
        if (::GetClientRect(Handle(), &client)) FillColor(DC, client, clWhite);
        if (::GetWindowRect(::GetParent(Handle()), &edit) && ::GetWindowRect(Handle(), &own)) {
            // Three pixels clear of the edit's skin border.
            if (own.top - edit.top < 3) area.top += 3 - (own.top - edit.top);
            if (edit.bottom - own.bottom < 3) area.bottom -= 3 - (edit.bottom - own.bottom);
            if (edit.right - own.right < 3) area.right -= 3 - (edit.right - own.right);
        }
    }
    const int w = Width(area), h = Height(area);
    if (w <= 0 || h <= 0) return;
    FillColor(DC, area, SkinData()->FButtonFaceColor);
    POINT p{};
    ::GetCursorPos(&p);
    ::ScreenToClient(Handle(), &p);
    RECT first{}, second{};
    const bool horizontal = (StyleOf(Handle()) & UDS_HORZ) != 0;
    bool overFirst = false;
    if (horizontal) {
        const int half = w / 2;
        first = {0, 0, half, h};
        second = {half, 0, w, h};
        overFirst = p.x < half;
    } else {
        const int half = h / 2;
        first = {0, 0, w, half};
        second = {0, half, w, h};
        overFirst = p.y < half;
    }
    ::OffsetRect(&first, area.left, area.top);
    ::OffsetRect(&second, area.left, area.top);
    // The pressed look follows the cursor while the button is down.
    const TLooks looks = Looks();
    const auto half = [looks](bool Over) { return Over ? looks : static_cast<TLooks>(looks & ~lkPressed); };
    DrawArrow(DC, first, horizontal ? TArrowKind::akLeft : TArrowKind::akUp, half(overFirst));
    DrawArrow(DC, second, horizontal ? TArrowKind::akRight : TArrowKind::akDown, half(!overFirst));
}

void TSkinUpDown::DrawArrow(HDC DC, const RECT& Rect, TArrowKind Arrow, TLooks Looks)
{
    const TSkinData& skin = *SkinData();
    const bool vertical = Arrow == TArrowKind::akUp || Arrow == TArrowKind::akDown;
    const bool second = Arrow == TArrowKind::akDown || Arrow == TArrowKind::akRight;
    const TDataSkinBorder* element = vertical ? skin.FUpDownVert.get() : skin.FUpDownHorz.get();
    const int look = kUpDownCells.Cell(Looks, 4);
    if (HasBitmap(element) && element->FFrame > 0) {
        const int cell = (second ? 4 : 0) + look;
        DrawSkinCell(DC, Rect, *element->FBitmap, {.Index = cell, .Count = element->FFrame, .Transparent = true});
        TBitmap* glyphs = element->FBitmap2.get();
        if (glyphs != nullptr && !glyphs->Empty()) {
            const int cw = glyphs->Width() / element->FFrame, gh = glyphs->Height();
            const int x = Rect.left + (Width(Rect) - cw) / 2, y = Rect.top + (Height(Rect) - gh) / 2;
            DrawSkinCell(DC, {x, y, x + cw, y + gh}, *glyphs,
                         {.Index = cell, .Count = element->FFrame, .Transparent = true});
        }
        return;
    }
    const TGdiObject brush(
        ::CreateSolidBrush(ColorToRGB(look == kUpDownCells.Pressed ? skin.FButtonShadowColor : skin.FButtonFaceColor)));
    const TGdiObject pen(::CreatePen(PS_SOLID, 1, ColorToRGB(skin.FButtonDkShadowColor)));
    if (brush.Get() == nullptr || pen.Get() == nullptr) return;
    const TSelectObject selectBrush(DC, brush.Get());
    const TSelectObject selectPen(DC, pen.Get());
    ::Rectangle(DC, Rect.left, Rect.top, Rect.right, Rect.bottom);
    const int y = Rect.top + Height(Rect) / 2 - (vertical ? 2 : 0);
    DrawArrowGlyph(DC, Rect.left + Width(Rect) / 2, y, Arrow);
}

HWND SkinUpDownChild(const TSkinControl& Adapter, bool InEdit)
{
    HWND found = nullptr;
    for (HWND child = ::GetWindow(Adapter.Handle(), GW_CHILD); child != nullptr && found == nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::string name = LowerCaseAZ(GetWindowClassName(child));
        if (name == "msctls_updown32" || name.find("spin") != std::string::npos ||
            name.find("updown") != std::string::npos)
            found = child;
    }
    if (found == nullptr || FindSkinObject(found) != nullptr || Adapter.Form() == nullptr) return found;
    auto* updown = new TSkinUpDown(Adapter.Owner());
    updown->SetInEdit(InEdit);
    if (!updown->InitSkinHandle(found, Adapter.SkinData(), Adapter.Form())) delete updown;
    return found;
}

// --- TSkinProgress

TPaintWay TSkinProgress::PaintWay() const
{
    const TSkinData& skin = *SkinData();
    if (!HasBitmap(skin.FProgress.get())) return pwNative;
    const bool chunks = skin.FProgress->FStyle == 1;
    return chunks && !HasBitmap(skin.FProgressChunk.get()) ? pwNative : pwOwn;
}

void TSkinProgress::PaintControl(HDC DC, const RECT& Rect)
{
    if (!(StyleOf(Handle()) & PBS_VERTICAL)) {
        PaintLying(DC, Rect);
        return;
    }
    const int w = Width(Rect), h = Height(Rect);
    TBitmap& lying = Kept24(FLying, h, w);
    TBitmap& standing = Kept24(FStanding, w, h);
    PaintLying(lying.Canvas()->Handle(), {0, 0, h, w});
    RotatePixels(PixelsOf(lying), PixelsOf(standing), false);  // the fill grows from the bottom
    ::BitBlt(DC, Rect.left, Rect.top, w, h, standing.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinProgress::PaintLying(HDC DC, const RECT& Rect)
{
    const TSkinData& skin = *SkinData();
    const TDataSkinBorder& progress = *skin.FProgress;
    const bool chunks = progress.FStyle == 1;
    FillColor(DC, Rect, skin.FButtonFaceColor);
    // The track: the first of two cells, or in chunk style the whole image.
    DrawPart(DC, Rect, progress, 1, chunks ? 1 : 2, !chunks && Tiled(progress));

    // The fill is the position's share of the range, whatever its lower limit.
    const auto lo = static_cast<int>(::SendMessageW(Handle(), PBM_GETRANGE, TRUE, 0));
    const auto hi = static_cast<int>(::SendMessageW(Handle(), PBM_GETRANGE, FALSE, 0));
    const auto pos = static_cast<int>(::SendMessageW(Handle(), PBM_GETPOS, 0, 0));
    const int filled = hi > lo ? ::MulDiv(Width(Rect), std::clamp(pos, lo, hi) - lo, hi - lo) : 0;
    const RECT f{Rect.left, Rect.top, Rect.left + filled, Rect.bottom};
    if (filled > 0 && !chunks) {
        DrawPart(DC, f, progress, 2, 2, Tiled(progress));
    } else if (filled > 0) {
        const TDataSkinObject& chunk = *skin.FProgressChunk;
        TBitmap& image = *chunk.FBitmap;
        const int cw = image.Width(), ch = image.Height();
        const int saved = ::SaveDC(DC);
        if (Tiled(chunk)) {
            const int x0 = chunk.FLeftWidth + 2, y = (f.bottom - ch) / 2;
            ::IntersectClipRect(DC, x0, y, x0 + Width(f), y + ch);
            for (int x = x0; cw > 0 && x < x0 + Width(f); x += cw)
                DrawTransparentBitmap(DC, {x, y, x + cw, y + ch}, image, clKeyMagenta);
        } else {
            // Three-part into the fill, its top and bottom two pixels left to
            // the track; the primitive draws opaque, so the magenta is keyed
            // out through a bitmap of its own.
            const std::unique_ptr<TBitmap> bar = Canvas24(f.right, std::max<int>(f.bottom - 4, 0), clKeyMagenta);
            DrawSkinCellThreePart(bar->Canvas()->Handle(), f, image, MarginsOf(chunk), {});
            DrawTransparentBitmap(DC, {2, 2, 2 + bar->Width(), 2 + bar->Height()}, *bar, clKeyMagenta);
        }
        if (saved != 0) ::RestoreDC(DC, saved);
    }
}
