// The push-button adapters: the mouse taken from the native button while the
// skin paints it, the pressed look kept honest (only a press here clicks, and
// losing the focus or the mouse forgets it), and the button drawn whole into
// the base's back buffer.
#include "skin/adapters/SkinButton.h"

#include "classlib/Controls.h"
#include "classlib/Handles.h"
#include "classlib/ImgList.h"
#include "skin/SkinApi.h"
#include "skin/adapters/AdapterDraw.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/portable/SkinText.h"

#include <iterator>

namespace {

// Timer of the native button's press animation; other timers are the application's.
constexpr UINT_PTR kPressTimer = 1;
// Room for the menu button's arrow at the right.
constexpr int kArrowRoom = 17;
constexpr TColor kShadowColor = SystemColor(COLOR_BTNSHADOW);

int Width(const RECT& R)
{
    return R.right - R.left;
}

int Height(const RECT& R)
{
    return R.bottom - R.top;
}

bool WindowEnabled(HWND Window)
{
    return (::GetWindowLongW(Window, GWL_STYLE) & WS_DISABLED) == 0;
}

// A TCanvas drawing on a DC it does not own, for the drawing calls that want one.
class TDCCanvas {
public:
    explicit TDCCanvas(HDC DC) { FCanvas.SetHandle(DC); }
    TCanvas& Get() noexcept { return FCanvas; }

private:
    TCanvas FCanvas;
};

// Caption measured with Flags: its width and height (0, 0 when empty).
SIZE MeasureCaption(HDC DC, const std::wstring& Caption, RECT Box, UINT Flags)
{
    if (Caption.empty()) return {0, 0};
    DrawTextWide(DC, Caption, Box, Flags | DT_CALCRECT);
    return {Width(Box), Height(Box)};
}

}  // namespace

TGlyphLayout GlyphLayout(const std::string& Text)
{
    if (Text == "blglyphright") return glRight;
    if (Text == "blglyphtop") return glTop;
    if (Text == "blglyphbottom") return glBottom;
    return glLeft;
}

std::wstring WideReplaceFirst(const std::wstring& S, std::wstring_view Old, std::wstring_view New)
{
    const size_t at = Old.empty() ? std::wstring::npos : S.find(Old);
    if (at == std::wstring::npos) return S;
    std::wstring result = S.substr(0, at);
    result += New;
    result += S.substr(at + Old.size());
    return result;
}

bool TSkinButton::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (Attached()) return true;
    if (!TSkinControl::InitSkin(Form, SkinData, ChangeColor)) return false;
    // These libraries' buttons take a forwarded press as a second one.
    const std::string name = LowerCaseAZ(Control()->ClassName());
    SetMode(name.starts_with("trz") || name.starts_with("tel") ? bmOwnPress : bmForwardPress);
    FParentImage = Control()->Tag() == kParentImageTag || (SkinData->Options() & SkinBit(xoTransparent)) != 0;
    return true;
}

bool TSkinButton::CanPaint() const
{
    const TSkinData* data = SkinData();
    return data != nullptr && data->FButtons != nullptr && !data->FButtons->FBitmap->Empty() &&
           data->FButtons->FFrame > 0;
}

TPaintWay TSkinButton::PaintWay() const
{
    return CanPaint() ? pwOwn : pwNative;
}

bool TSkinButton::BeforeProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_TIMER:
        // A button painting itself keeps its press animation and its press.
        if (Message.WParam != kPressTimer || Handle() == nullptr || PaintWay() != pwOwn) break;
        ::KillTimer(Handle(), kPressTimer);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (PaintWay() != pwOwn) break;
        const TToken life = Token();
        // Taking the focus runs the focus handlers, which may free the button.
        if (::GetFocus() != Handle()) ::SetFocus(Handle());
        if (!life.Alive()) return false;
        FMousePressed = true;
        SetMouseBit(mbPressed, true);
        if (!life.Alive()) return false;
        Message.Result = 0;
        if (ButtonMode() == bmForwardPress && Control() != nullptr) ForwardMouseDown(Message);
        return false;
    }
    default:
        break;
    }
    return TSkinControl::BeforeProc(Message);
}

void TSkinButton::AfterProc(TMessage& Message)
{
    const auto forgetPress = [this] {
        FMousePressed = false;
        SetMouseBit(mbPressed, false);
    };
    switch (Message.Msg) {
    case BM_SETSTATE:
        // Space held or let go: the system's button says so before it clicks.
        SetMouseBit(mbPressed, Message.WParam != 0);
        return;
    case WM_MOUSEMOVE:
        if (WindowEnabled(Handle())) SetMouseBit(mbHot, true);
        SkinTrackMouseLeave(Handle());
        return;
    case WM_LBUTTONUP:
        // Only a press on this button clicks: not Space's, not one dragged off.
        if ((MouseState() & mbPressed) == 0 || !FMousePressed) return;
        forgetPress();
        Click();
        return;
    case WM_MOUSELEAVE:
        FMousePressed = false;
        SetMouseBit(mbPressed | mbHot, false);
        return;
    case WM_CANCELMODE:
        forgetPress();
        return;
    case WM_KILLFOCUS:
        FMousePressed = false;
        if ((MouseState() & mbPressed) == 0) break;  // the base shows the focus gone
        SetMouseBit(mbPressed, false);
        return;
    case CM_DIALOGKEY:
        Redraw();
        return;
    default:
        break;
    }
    TSkinControl::AfterProc(Message);
}

void TSkinButton::Click()
{
    if (Control() != nullptr) {
        Control()->Click();
        return;
    }
    const HWND window = Handle();
    const WPARAM command = LowerCaseAZ(GetWindowClassName(window)) == "tbutton"
                               ? 0
                               : MAKEWPARAM(::GetDlgCtrlID(window), BN_CLICKED);
    ::PostMessageW(::GetParent(window), WM_COMMAND, command, reinterpret_cast<LPARAM>(window));
}

void TSkinButton::Paint(HDC DC, const RECT& Rect, const TCellLayout& Cells, bool WindowFont, const TContent& Content)
{
    if (!CanPaint()) return;
    const TDataSkinButton& buttons = *SkinData()->FButtons;
    const TLooks looks = Looks();
    SetFocused((looks & lkFocused) != 0);
    SetEnabled((looks & lkDisabled) == 0);
    SetCaption(Control() != nullptr ? GetTextPropByName(Control(), "Caption") : GetWindowTextWide(Handle()));
    const auto cell = static_cast<TButtonCell>(Cells.Cell(looks, bcFocused));
    if (Width(Rect) <= 0 || Height(Rect) <= 0) return;
    if (FParentImage && Control() != nullptr) PaintControlToDC(Control(), DC);
    else FillSkinColor(DC, Rect);
    DrawSkinState(DC, Rect, &buttons, Cells.Cell(looks, buttons.FFrame), buttons.FFrame);

    HGDIOBJ font = nullptr;
    TColor colour = SkinData()->FButtonTextColor;
    if (WindowFont || Control() == nullptr)
        font = reinterpret_cast<HGDIOBJ>(::SendMessageW(Handle(), WM_GETFONT, 0, 0));
    if (const auto* own = static_cast<const TFont*>(GetObjectPropByName(Control(), "Font", TFont::StaticClassInfo()))) {
        font = own->Handle();
        colour = own->Color();
    }
    if (font == nullptr) font = ::GetStockObject(DEFAULT_GUI_FONT);
    colour = StateColour(cell, colour);
    {
        const TSelectObject selected(DC, font);
        ::SetTextColor(DC, ColorToRGB(colour));
        const int mode = ::SetBkMode(DC, TRANSPARENT);
        Content(DC, Rect, cell, looks);
        ::SetBkMode(DC, mode);
    }
}

TColor TSkinButton::StateColour(TButtonCell Cell, TColor Default) const
{
    const TDataSkinButton& buttons = *SkinData()->FButtons;
    if (Cell == bcNormal && buttons.FHasNormalColour2) return buttons.FNormalColour2;
    if (Cell == bcHot && buttons.FHasMouseOverColour2) return buttons.FMouseOverColour2;
    if (Cell == bcPressed && buttons.FHasPressedColour2) return buttons.FPressedColour2;
    return Cell == bcDisabled ? kShadowColor : Default;
}

void TSkinButton::DrawFocusBox(HDC DC, RECT Box) const
{
    if (!Focused() || (SkinData()->Options() & SkinBit(xoNoFocusRect)) != 0) return;
    ::InflateRect(&Box, 2, 2);
    ::DrawFocusRect(DC, &Box);
}

void TSkinButton::BreakCaption()
{
    SetCaption(WideReplaceFirst(Caption(), L"||", L"\r\n"));
}

void TSkinButton::DrawCaption(HDC DC, const RECT& Rect, UINT Alignment)
{
    const UINT flags = Alignment | DT_EXPANDTABS | DT_WORDBREAK;
    BreakCaption();
    RECT box = Rect;
    ::InflateRect(&box, -2, -2);
    const SIZE text = MeasureCaption(DC, Caption(), box, flags | DT_NOCLIP);
    const int w = Width(Rect), h = Height(Rect);
    RECT t{0, 0, text.cx, text.cy};
    if (Alignment == DT_CENTER) {
        ::OffsetRect(&t, (w - text.cx) / 2, (h - text.cy) / 2 - 1);
    } else {
        ::OffsetRect(&t, 0, (h - text.cy) / 2 - 1);
        t.left = Rect.left;
        t.right = Rect.right;
    }
    DrawTextWide(DC, Caption(), t, AddRTLFlag(this, flags));
    DrawFocusBox(DC, t);
}

void TSkinButton::PaintControl(HDC DC, const RECT& Rect)
{
    Paint(DC, Rect, kButtonCells, Control() == nullptr,
          [this](HDC dc, const RECT& r, TButtonCell, TLooks) { DrawCaption(dc, r, DT_CENTER); });
}

void TSkinBitButton::DrawGlyphCell(HDC DC, int X, int Y, int NumGlyphs, int Index, TBitmap& Glyph)
{
    if (NumGlyphs < 1) NumGlyphs = 1;
    const int w = Glyph.Width() / NumGlyphs, h = Glyph.Height();
    if (w <= 0 || h <= 0) return;
    const int cell = Index > NumGlyphs ? 1 : Index;
    TBitmap part;
    part.SetPixelFormat(TPixelFormat::pf24bit);
    part.SetSize(w, h);
    ::BitBlt(part.Canvas()->Handle(), 0, 0, w, h, Glyph.Canvas()->Handle(), w * (cell - 1), 0, SRCCOPY);
    if (Index == 2) GrayBitmap(part);
    // The lower-left pixel is the glyph's background, left out.
    const TColor key = part.Canvas()->Pixel(0, h - 1);
    DrawTransparentBitmap(DC, {X, Y, X + w, Y + h}, part, key);
}

void TSkinBitButton::PaintControl(HDC DC, const RECT& Rect)
{
    Paint(DC, Rect, kButtonCells, true, [this](HDC dc, const RECT& r, TButtonCell cell, TLooks looks) {
        const TControl* control = Control();
        const bool graphicButton = !FGraphicProp.empty();
        const TClassInfo& bitmapClass = TBitmap::StaticClassInfo();
        auto* graphic = graphicButton ? static_cast<TBitmap*>(GetObjectPropByName(control, FGraphicProp, bitmapClass))
                                      : nullptr;
        auto* glyph = graphicButton ? nullptr : static_cast<TBitmap*>(GetObjectPropByName(control, "Glyph", bitmapClass));
        const auto* images = graphicButton ? nullptr
                                           : static_cast<const TCustomImageList*>(GetObjectPropByName(
                                                 control, "Images", TCustomImageList::StaticClassInfo()));
        const int numGlyphs = std::max(1, GetOrdPropByName(control, "NumGlyphs"));
        const int imageIndex = GetOrdPropByName(control, "ImageIndex");
        const int disabledIndex = GetOrdPropByName(control, "DisabledIndex");
        const int margin = GetOrdPropByName(control, "Margin");
        const int spacing = GetOrdPropByName(control, "Spacing");
        const TGlyphLayout layout = GlyphLayout(LowerCaseAZ(GetEnumPropByName(control, "Layout")));
        const bool centred = LowerCaseAZ(GetEnumPropByName(control, "Alignment")) == "tacenter";

        SIZE g{0, 0};
        if (graphic != nullptr && !graphic->Empty()) g = {graphic->Width(), graphic->Height()};
        else if (glyph != nullptr && !glyph->Empty()) g = {glyph->Width() / numGlyphs, glyph->Height()};
        else if (images != nullptr && imageIndex != -1) g = {images->Width(), images->Height()};
        BreakCaption();
        const TGlyphPlace place = PlaceGlyph(dc, r, Caption(), {g, layout, margin, spacing, centred, 0});
        const POINT gp = place.Glyph;
        if (graphic != nullptr && !graphic->Empty()) {
            TDCCanvas(dc).Get().Draw(gp.x, gp.y, *graphic);
        } else if (glyph != nullptr && !glyph->Empty()) {
            DrawGlyphCell(dc, gp.x, gp.y, numGlyphs, kGlyphCells.Cell(looks, kGlyphCellCount), *glyph);
        } else if (images != nullptr) {
            const bool enabled = cell != bcDisabled;
            const int index = enabled || disabledIndex == -1 ? imageIndex : disabledIndex;
            if (index != -1) images->Draw(TDCCanvas(dc).Get(), gp.x, gp.y, index, enabled);
        }
        if (Caption().empty()) return;
        RECT text = place.Text;
        DrawTextWide(dc, Caption(), text, graphicButton ? place.Flags : AddRTLFlag(this, place.Flags));
        DrawFocusBox(dc, place.Text);
    });
}

TGlyphPlace TSkinBitButton::PlaceGlyph(HDC DC, const RECT& Rect, const std::wstring& Caption, TGlyphRequest Request)
{
    const SIZE g = Request.Glyph;
    const bool across = Request.Layout == glLeft || Request.Layout == glRight;
    const int w = Width(Rect), h = Height(Rect);
    RECT box = Rect;
    ::InflateRect(&box, -2, -2);
    if (across) box.right -= g.cx + 2;
    else box.bottom -= g.cy + 2;
    const SIZE t = MeasureCaption(DC, Caption, box, DT_WORDBREAK);
    POINT gp{0, 0}, tp{0, 0};
    if (across) {
        gp.y = (h - g.cy + 1) / 2;
        tp.y = (h - t.cy + 1) / 2;
    } else {
        gp.x = (w - g.cx + 1) / 2;
        tp.x = (w - t.cx + 1) / 2;
    }
    int margin = Request.Margin, spacing = Request.Spacing;
    if (t.cx == 0 || g.cx == 0) spacing = 0;
    const int extent = across ? w : h, gs = across ? g.cx : g.cy, ts = across ? t.cx : t.cy;
    if (margin == -1 || Request.Centred) {
        if (spacing == -1) spacing = margin = (extent - (gs + ts)) / 3;
        else margin = (extent - (gs + spacing + ts)) / 2 + Request.CentredExtra;
    } else if (spacing == -1) {
        spacing = ((extent - (margin + gs)) - ts) / 2;
    }
    UINT flags = DT_WORDBREAK;
    switch (Request.Layout) {
    case glLeft:
        gp.x = margin;
        tp.x = margin + gs + spacing;
        break;
    case glRight:
        gp.x = w - margin - gs;
        tp.x = gp.x - spacing - ts;
        flags |= DT_RIGHT;
        break;
    case glTop:
        gp.y = margin;
        tp.y = margin + gs + spacing;
        flags |= DT_CENTER;
        break;
    case glBottom:
        gp.y = h - margin - gs;
        tp.y = gp.y - spacing - ts;
        flags |= DT_CENTER;
        break;
    }
    return {gp, {tp.x, tp.y, tp.x + t.cx, tp.y + t.cy}, flags};
}

void TSkinMenuButton::PaintControl(HDC DC, const RECT& Rect)
{
    Paint(DC, Rect, kMenuButtonCells, true, [this](HDC dc, const RECT& r, TButtonCell cell, TLooks) {
        const int w = Width(r), h = Height(r);
        RECT box{0, 0, w - kArrowRoom, h};
        ::InflateRect(&box, -2, -2);
        BreakCaption();
        const SIZE t = MeasureCaption(dc, Caption(), box, DT_WORDBREAK);
        const int ty = (h - t.cy + 1) / 2, tx = (w - kArrowRoom - t.cx) / 2 + 2;
        const COLORREF ink = ColorToRGB(cell == bcDisabled ? kShadowColor : clWindowText);
        if (cell == bcDisabled) ::SetTextColor(dc, ink);
        {
            const TGdiObject brush(::CreateSolidBrush(ink));
            const TGdiObject pen(::CreatePen(PS_SOLID, 1, ink));
            if (brush.Get() != nullptr && pen.Get() != nullptr) {
                const TSelectObject selectedBrush(dc, brush.Get());
                const TSelectObject selectedPen(dc, pen.Get());
                const POINT arrow[] = {{w - 12, h / 2 + 2}, {w - 15, h / 2 - 1}, {w - 9, h / 2 - 1}};
                ::Polygon(dc, arrow, static_cast<int>(std::size(arrow)));
            }
        }
        if (Caption().empty()) return;
        RECT text{tx, ty, tx + t.cx, ty + t.cy};
        DrawTextWide(dc, Caption(), text, DT_WORDBREAK);
        DrawFocusBox(dc, text);
    });
}
