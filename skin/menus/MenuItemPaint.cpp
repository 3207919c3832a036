// Skinned menu items.
#include "skin/menus/MenuItemPaint.h"

#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "classlib/Handles.h"
#include "classlib/Menus.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kGlyphSize = 16;
constexpr int kMenuItemCells = 5;
constexpr int kSeparatorHeight = 8;

bool HasItemElement(const TSkinData& Data)
{
    return Data.FMenuItem != nullptr && !Data.FMenuItem->FBitmap->Empty();
}

int LeftMargin(const TSkinData& Data)
{
    return HasItemElement(Data) ? Data.FMenuItem->FLeftWidth : 0;
}

int GlyphWidth(const TMenuItemView& Item)
{
    int cx = kGlyphSize, cy = kGlyphSize;
    if (Item.Images != nullptr && !ImageList_GetIconSize(Item.Images, &cx, &cy)) cx = kGlyphSize;
    return Item.Checked ? std::max(cx, kGlyphSize) : cx;
}

// An empty caption or a lone "&" still measures one line high.
std::wstring MeasurableText(const std::wstring& Text)
{
    return Text.empty() || Text == L"&" ? Text + L" " : Text;
}

SIZE TextSize(HDC DC, const std::wstring& Text, UINT Flags)
{
    RECT r{0, 0, 0, 0};
    std::wstring text = MeasurableText(Text);
    ::DrawTextW(DC, text.data(), static_cast<int>(text.size()), &r, Flags | DT_CALCRECT | DT_NOCLIP);
    return {r.right - r.left, r.bottom - r.top};
}

COLORREF TextColour(const TMenuItemView& Item, bool Selected, const TSkinData& Data)
{
    if (Item.Enabled) return ColorToRGB(Selected ? Data.FHilightTextColor : Data.FMenuTextColor);
    const COLORREF shadow = ColorToRGB(Data.FButtonShadowColor);
    return shadow == ColorToRGB(Data.FMenuTextColor) ? ::GetSysColor(COLOR_BTNSHADOW) : shadow;
}

// Cell 2 of the strip: its margins at the edges, its middle stretched
// between them; an item lower than the strip takes the cell's bottom rows.
void DrawSeparator(HDC DC, const RECT& Rect, const TSkinData& Data)
{
    const TDataSkinObject& e = *Data.FMenuItem;
    TBitmap& strip = *e.FBitmap;
    const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    const int cellW = strip.Width() / kMenuItemCells, stripH = strip.Height();
    const int l = std::min<int>(e.FLeftWidth, cellW), r = std::min<int>(e.FRightWidth, cellW - l);
    if (w <= 0 || h <= 0 || cellW <= 0 || stripH <= 0) return;
    const int top = std::max(0, stripH - h), rows = std::min(h, stripH);
    TBitmap pieces;
    pieces.SetPixelFormat(TPixelFormat::pf24bit);
    pieces.SetSize(w, h);
    const HDC dc = pieces.Canvas()->Handle();
    const HDC src = strip.Canvas()->Handle();
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, 0, 0, l, h, src, cellW, top, l, rows, SRCCOPY);
    ::StretchBlt(dc, w - r, 0, r, h, src, 2 * cellW - r, top, r, rows, SRCCOPY);
    ::StretchBlt(dc, l, 0, w - l - r, h, src, cellW + l, top, cellW - l - r, rows, SRCCOPY);
    DrawTransparentBitmap(DC, Rect, pieces, clKeyMagenta);
}

void DrawCheckMark(HDC DC, const RECT& Box, COLORREF Colour)
{
    const TGdiObject pen(::CreatePen(PS_SOLID, 2, Colour));
    if (!pen) return;
    const TSelectObject select(DC, pen.Get());
    const int x = (Box.left + Box.right) / 2 - 4, y = (Box.top + Box.bottom) / 2;
    const POINT points[] = {{x, y}, {x + 3, y + 3}, {x + 9, y - 3}};
    ::Polyline(DC, points, 3);
}

void DrawContent(HDC DC, const RECT& Rect, const TMenuItemView& Item, bool Selected, const TSkinData& Data)
{
    const int h = Rect.bottom - Rect.top;
    const int g = GlyphWidth(Item);
    const bool rtl = Item.RightToLeft;
    const int boxLeft = rtl ? Rect.right - 1 - LeftMargin(Data) - g : Rect.left + 1 + LeftMargin(Data);
    const RECT box{boxLeft, Rect.top + 1, boxLeft + g, Rect.top + 1 + g};
    const COLORREF colour = TextColour(Item, Selected, Data);
    int cx = 0, cy = 0;
    const bool image = Item.Images != nullptr && Item.ImageIndex >= 0 &&
                       Item.ImageIndex < ImageList_GetImageCount(Item.Images) &&
                       ImageList_GetIconSize(Item.Images, &cx, &cy);
    if (image) {
        const int top = Rect.top + (h - cy) / 2;
        ImageList_DrawEx(Item.Images, Item.ImageIndex, DC, box.left, top, 0, 0, CLR_NONE, CLR_NONE,
                         Item.Enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
        if (Item.Checked) {
            RECT edge{box.left - 1, top - 1, box.left + cx + 1, top + cy + 1};
            ::DrawEdge(DC, &edge, BDR_SUNKENOUTER, BF_RECT);
        }
    } else if (Item.Checked) {
        DrawCheckMark(DC, {box.left, Rect.top, box.right, Rect.bottom}, colour);
    }
    ::SetBkMode(DC, TRANSPARENT);
    ::SetTextColor(DC, colour);
    RECT text = rtl ? RECT{Rect.left + 1, Rect.top, box.left - 3, Rect.bottom}
                    : RECT{box.right + 3, Rect.top, Rect.right - 1, Rect.bottom};
    const UINT align = rtl ? DT_RIGHT : DT_LEFT;
    const SIZE size = TextSize(DC, Item.Caption, DT_EXPANDTABS | DT_SINGLELINE | align);
    text.top = Rect.top + (h - size.cy) / 2;
    text.bottom = text.top + size.cy;
    std::wstring caption = Item.Caption;
    ::DrawTextW(DC, caption.data(), static_cast<int>(caption.size()), &text, DT_EXPANDTABS | DT_SINGLELINE | align);
    if (!Item.ShortCut.empty()) {
        RECT shortcut = rtl ? RECT{Rect.left + 11, text.top, text.right - size.cx, text.bottom}
                            : RECT{text.left + size.cx, text.top, Rect.right - 11, text.bottom};
        std::wstring s = Item.ShortCut;
        ::DrawTextW(DC, s.data(), static_cast<int>(s.size()), &shortcut,
                    DT_SINGLELINE | DT_NOPREFIX | (rtl ? DT_LEFT : DT_RIGHT));
    }
}

// One off-screen surface for every item painted (and measured), grown as
// needed: a menu paints its items one after the other.
class TItemSurface {
public:
    TBitmap& Get(int W, int H)
    {
        if (!FBitmap) {
            FBitmap = std::make_unique<TBitmap>();
            FBitmap->SetPixelFormat(TPixelFormat::pf24bit);
        }
        if (FBitmap->Width() < W || FBitmap->Height() < H)
            FBitmap->SetSize(std::max(W, FBitmap->Width()), std::max(H, FBitmap->Height()));
        return *FBitmap;
    }

private:
    std::unique_ptr<TBitmap> FBitmap;
};

TItemSurface Surface;

TBitmap& ItemSurface(int W, int H)
{
    return Surface.Get(W, H);
}

// The font an item's text is measured and drawn in: the menu font, or the
// GUI font without one, bold for the default item.
class TItemFont {
public:
    explicit TItemFont(bool Bold)
    {
        const HFONT menu = MenuFontHandle();
        FFont = menu != nullptr ? static_cast<HGDIOBJ>(menu) : ::GetStockObject(DEFAULT_GUI_FONT);
        LOGFONTW lf{};
        if (Bold && ::GetObjectW(FFont, sizeof lf, &lf) != 0) {
            lf.lfWeight = FW_BOLD;
            FBold.Reset(::CreateFontIndirectW(&lf));
        }
    }
    HGDIOBJ Handle() const noexcept { return FBold ? FBold.Get() : FFont; }

private:
    HGDIOBJ FFont;
    TGdiObject FBold;
};

}  // namespace

TMenuItemView MenuItemViewOf(const std::wstring& Text)
{
    TMenuItemView view;
    const size_t tab = Text.find(L'\t');
    view.Caption = Text.substr(0, tab);
    if (tab != std::wstring::npos) view.ShortCut = Text.substr(tab + 1);
    return view;
}

HFONT MenuFont()
{
    return MenuFontHandle();
}

SIZE MeasureSkinMenuItem(const TMenuItemView& Item, const TSkinData& Data)
{
    if (Item.Separator) return {0, kSeparatorHeight};
    const HDC DC = ItemSurface(1, 1).Canvas()->Handle();
    if (DC == nullptr) return {0, kSeparatorHeight};
    const TItemFont font(Item.Default);
    const TSelectObject select(DC, font.Handle());
    const SIZE caption = TextSize(DC, Item.Caption, DT_EXPANDTABS | DT_SINGLELINE);
    int width = 1 + LeftMargin(Data) + GlyphWidth(Item) + 3 + caption.cx + 26;
    if (!Item.ShortCut.empty()) width += TextSize(DC, Item.ShortCut, DT_SINGLELINE | DT_NOPREFIX).cx + 24;
    return {width, std::max<LONG>(caption.cy + 4, kGlyphSize + 4)};
}

void PaintSkinMenuItem(HDC DC, const RECT& Rect, const TMenuItemView& Item, bool Selected, const TSkinData& Data,
                       TBitmap* Background, POINT Place)
{
    const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    if (w <= 0 || h <= 0) return;
    TBitmap& surface = ItemSurface(w, h);
    const HDC dc = surface.Canvas()->Handle();
    if (dc == nullptr) return;
    const RECT all{0, 0, w, h};
    const bool element = HasItemElement(Data);
    if (Background != nullptr && !Background->Empty()) {
        ::BitBlt(dc, 0, 0, w, h, Background->Canvas()->Handle(), Place.x, Place.y, SRCCOPY);
    } else {
        FillColor(dc, all, Data.FMenuColor);
    }
    if (!element && Selected && !Item.Separator) FillColor(dc, all, Data.FHilightColor);
    if (Item.Separator) {
        if (element) {
            DrawSeparator(dc, all, Data);
        } else {
            RECT line{0, h / 2, w, h};
            ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        }
    } else {
        if (element) {
            // Into the surface's pixels: no mask is made for the key colour.
            const TDataSkinObject& e = *Data.FMenuItem;
            ::GdiFlush();
            DrawSkinPartInto(surface, all, *e.FBitmap, MarginsOf(e),
                             {.Index = Selected ? 4 : 1, .Count = kMenuItemCells, .Transparent = e.FTrans != 0,
                              .Tile = e.FTile != 0});
        }
        const TItemFont font(Item.Default);
        const TSelectObject select(dc, font.Handle());
        DrawContent(dc, all, Item, Selected, Data);
    }
    ::BitBlt(DC, Rect.left, Rect.top, w, h, dc, 0, 0, SRCCOPY);
}
