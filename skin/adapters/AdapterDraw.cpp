// The adapters' shared drawing steps on the skin drawing primitives.
#include "skin/adapters/AdapterDraw.h"

#include "classlib/Canvas.h"
#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "skin/SkinApi.h"
#include "skin/adapters/SkinControl.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinElements.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace {

// Disabled text.
constexpr TColor kShadowColor = SystemColor(COLOR_BTNSHADOW);

int Width(const RECT& R)
{
    return R.right - R.left;
}

int Height(const RECT& R)
{
    return R.bottom - R.top;
}

bool Inverted(const RECT& R)
{
    return R.right < R.left || R.bottom < R.top;
}

bool ValidCell(int Index, int Count)
{
    return Count > 0 && Index >= 1 && Index <= Count;
}

// Transparent text background and, for disabled text, the shadow colour;
// both given back when the guard goes.
class TTextState {
public:
    TTextState(HDC DC, bool Enabled)
        : FDC(DC), FMode(::SetBkMode(DC, TRANSPARENT)),
          FColor(Enabled ? CLR_INVALID : ::SetTextColor(DC, ColorToRGB(kShadowColor)))
    {
    }
    ~TTextState()
    {
        if (FColor != CLR_INVALID) ::SetTextColor(FDC, FColor);
        if (FMode != 0) ::SetBkMode(FDC, FMode);
    }
    TTextState(const TTextState&) = delete;
    TTextState& operator=(const TTextState&) = delete;

private:
    HDC FDC;
    int FMode;
    COLORREF FColor;
};

// Text measured from Rect's top-left corner.
RECT Measure(HDC DC, const std::wstring& Text, const RECT& Rect, UINT Flags)
{
    RECT t = Rect;
    if (Text.empty()) return {Rect.left, Rect.top, Rect.left, Rect.top};
    DrawTextWide(DC, Text, t, Flags | DT_CALCRECT | DT_NOCLIP);
    return {Rect.left, Rect.top, Rect.left + Width(t), Rect.top + Height(t)};
}

bool ReadsRightToLeft(const TControl* Control)
{
    return Control != nullptr && Control->BiDiMode() == TBiDiMode::bdRightToLeft;
}

}  // namespace

void DrawSkinState(HDC DC, const RECT& Rect, const TDataSkinObject* Element, int Index, int Count)
{
    if (Element == nullptr || Element->FBitmap == nullptr || Element->FBitmap->Empty()) return;
    if (Inverted(Rect) || !ValidCell(Index, Count)) return;
    DrawSkinPart(DC, Rect, *Element->FBitmap, MarginsOf(*Element),
                 {.Index = Index, .Count = Count, .Transparent = Element->FTrans == 1, .Tile = Element->FTile != 0});
}

UINT AddRTLFlag(const TSkinControl* Adapter, UINT Flags)
{
    if (Adapter != nullptr && (ReadsRightToLeft(Adapter->Control()) || ReadsRightToLeft(Adapter->GraphicOwner())))
        return Flags | DT_RTLREADING;
    return Flags;
}

void DrawControlCaption(const TSkinControl* Adapter, HDC DC, const RECT& Rect, std::wstring_view Caption,
                        bool Enabled, UINT Flags)
{
    const std::wstring text(Caption);
    const TTextState state(DC, Enabled);
    RECT t = Measure(DC, text, Rect, Flags | DT_EXPANDTABS);
    if (Flags == DT_CENTER) {
        ::OffsetRect(&t, (Width(Rect) - Width(t)) / 2, (Height(Rect) - Height(t)) / 2 - 1);
    } else {
        ::OffsetRect(&t, 0, (Height(Rect) - Height(t)) / 2 - 1);
        t.left = Rect.left;
        t.right = Rect.right;
    }
    DrawTextWide(DC, text, t, AddRTLFlag(Adapter, Flags | DT_EXPANDTABS));
}

void DrawImageCaption(const TSkinControl* Adapter, HDC DC, const RECT& Rect, HIMAGELIST ImageList, int ImageIndex,
                      std::wstring_view Caption, TCaptionAlignment Alignment)
{
    constexpr UINT kFlags = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_SINGLELINE;
    int w = 0, h = 0;
    if (ImageList == nullptr || !ImageList_GetIconSize(ImageList, &w, &h)) w = h = 0;
    RECT image{0, 0, 0, 0};
    if (ImageIndex != -1 && ImageList != nullptr && Width(Rect) > w) image = {0, 0, w, h};
    else w = 0;
    const std::wstring text(Caption);
    RECT t = Measure(DC, text, Rect, kFlags);
    ::OffsetRect(&image, Rect.left, Rect.top);
    int x = 3;
    if (Alignment == TCaptionAlignment::caCenter) x = (Width(Rect) - w - Width(t)) / 2;
    else if (Alignment == TCaptionAlignment::caRight) x = Width(Rect) - w - Width(t) - 2;
    if (x < 2) x = 1;
    ::OffsetRect(&image, x, (Height(Rect) - Height(image)) / 2);
    ::OffsetRect(&t, x + w, (Height(Rect) - Height(t)) / 2);
    // Drawn also when it did not fit: the text is then laid out as if there were none.
    if (ImageList != nullptr && ImageIndex != -1)
        ImageList_Draw(ImageList, ImageIndex, DC, image.left, image.top, ILD_TRANSPARENT);
    if (text.empty()) return;
    const TTextState state(DC, Adapter == nullptr || Adapter->Enabled());
    t.left = std::max(t.left, Rect.left);
    t.right = std::min(t.right, Rect.right);
    DrawTextWide(DC, text, t, AddRTLFlag(Adapter, kFlags));
}

void CopyScratchBitmap(HDC DC, const RECT& Rect)
{
    if (ScratchBitmap == nullptr || Inverted(Rect)) return;
    ::BitBlt(DC, Rect.left, Rect.top, Width(Rect), Height(Rect), ScratchBitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void DrawStripCellTransparent(HDC DC, const RECT& Rect, TBitmap& Bitmap, int Index, int Count)
{
    if (Inverted(Rect) || !ValidCell(Index, Count) || Bitmap.Empty()) return;
    DrawSkinCell(DC, Rect, Bitmap, {.Index = Index, .Count = Count, .Transparent = true});
}

HGDIOBJ ControlFont(HWND Window)
{
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(Window, WM_GETFONT, 0, 0));
    return font != nullptr ? font : ::GetStockObject(DEFAULT_GUI_FONT);
}

void DrawCenteredText(HDC DC, const RECT& Rect, std::wstring_view Text, bool Enabled, TTextAlignment Alignment)
{
    UINT flags = DT_EXPANDTABS | DT_SINGLELINE;
    if (Alignment == TTextAlignment::taRightJustify) flags |= DT_RIGHT;
    else if (Alignment == TTextAlignment::taCenter) flags |= DT_CENTER;
    const std::wstring text(Text);
    const TTextState state(DC, Enabled);
    RECT t = Measure(DC, text, Rect, flags);
    ::OffsetRect(&t, (Width(Rect) - Width(t)) / 2, (Height(Rect) - Height(t)) / 2);
    DrawTextWide(DC, text, t, flags);
}

void DrawArrowGlyph(HDC DC, int X, int Y, TArrowKind Kind)
{
    struct TSegment {
        int X1, Y1, X2, Y2;
    };
    const auto lines = [DC, X, Y](std::initializer_list<TSegment> Segments) {
        for (const TSegment& s : Segments) {
            ::MoveToEx(DC, X + s.X1, Y + s.Y1, nullptr);
            ::LineTo(DC, X + s.X2, Y + s.Y2);
        }
    };
    const auto polyline = [DC, X, Y](std::initializer_list<POINT> Points) {
        ::MoveToEx(DC, X, Y, nullptr);
        for (const POINT& p : Points) ::LineTo(DC, X + p.x, Y + p.y);
    };
    switch (Kind) {
    case TArrowKind::akUp:
        lines({{0, 0, 0, -1}, {1, 1, 4, 4}, {0, 1, 3, 4}, {0, 2, 2, 4}, {-1, 1, -4, 4}, {0, 2, -3, 4}, {0, 1, -2, 4}});
        break;
    case TArrowKind::akDown:
        lines({{0, 3, 0, 4}, {1, 2, 4, -1}, {0, 2, 3, -1}, {0, 1, 2, 0}, {-1, 2, -4, -1}, {0, 2, -3, -1}, {0, 1, -2, 0}});
        break;
    case TArrowKind::akLeft:
        polyline({{1, 2}, {1, -2}, {-1, 0}, {1, 2}});
        break;
    case TArrowKind::akRight:
        polyline({{-1, 2}, {-1, -2}, {1, 0}, {-1, 2}});
        break;
    }
}
