// Frame painting: border sizes, the borders and the title bar drawn through
// off-screen bitmaps (one BitBlt per part), the caption text, the client area
// the skin frame leaves, and the window region of a shaped skin.
#include "skin/frame/WinSkinForm.h"
#include "skin/frame/WinSkinMenu.h"

#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/FrameHost.h"
#include "skin/SkinApi.h"
#include "classlib/Handles.h"

#include <algorithm>

namespace {

enum TBorderPart { bpLeft = 1, bpRight = 2, bpTitle = 3, bpBottom = 4 };

TDataSkinBorder& BorderElement(TSkinData& Data, int Part)
{
    switch (Part) {
    case bpLeft: return *Data.FBorderLeft;
    case bpRight: return *Data.FBorderRight;
    case bpTitle: return *Data.FBorderTop;
    default: return *Data.FBorderBottom;
    }
}

// The cell a border part shows: the inactive look only where the strip has one.
int BorderCell(const TDataSkinBorder& Element, bool Active)
{
    return (Active || Element.FFrame <= 1) ? 1 : 2;
}

// Whether the window region leaves out the key-colour pixels of a part W x H
// pixels large; a part too thin for a shape keeps its whole rectangle.
bool IsShapedPart(TSkinData& Data, int Part, int W, int H)
{
    if (BorderElement(Data, Part).FTrans != 1 || W <= 0) return false;
    return Part == bpBottom ? H >= 2 : H > 1;
}

// Columns Left..Right of a view, those within it.
TImageView Columns(const TImageView& View, int Left, int Right)
{
    Left = std::clamp(Left, 0, View.Width);
    Right = std::clamp(Right, Left, View.Width);
    TImageView columns = View;
    columns.Bits += static_cast<ptrdiff_t>(Left) * View.BytesPerPixel;
    columns.Width = Right - Left;
    return columns;
}

}  // namespace

void TWinSkinForm::DrawBorderPart(int Part, const RECT& Rect, HDC DC, bool Transparent)
{
    if (Rect.right - Rect.left < 0 || Rect.bottom - Rect.top < 0) return;
    const TDataSkinBorder& e = BorderElement(*FSkinData, Part);
    const bool vertical = Part == bpTitle || Part == bpBottom;
    DrawSkinPart(DC, Rect, *e.FBitmap, MarginsOf(e),
                 {.Index = BorderCell(e, FActive),
                  .Count = e.FFrame,
                  .Transparent = Transparent,
                  .Tile = e.FTile != 1,
                  .Vertical = vertical});
}

// The key colour would show between a size change and the region made for
// the new size: the frame never puts it on the window.
void TWinSkinForm::DrawFramePart(int Part, const RECT& Rect, HDC DC)
{
    const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    if (!IsShapedPart(*FSkinData, Part, w, h)) {
        DrawBorderPart(Part, Rect, DC);
        return;
    }
    TBitmap& part = *FPartBitmap;
    part.SetSize(w, h);
    const HDC canvas = part.Canvas()->Handle();
    DrawBorderPart(Part, {0, 0, w, h}, canvas);
    ReplaceKeyPixels(PixelsOf(part), SkinColorToRGB(FSkinData->FButtonFaceColor));
    ::BitBlt(DC, Rect.left, Rect.top, w, h, canvas, 0, 0, SRCCOPY);
}

void TWinSkinForm::PaintNC(HDC DC)
{
    if (ScratchBitmap == nullptr || (FSkinState != ssActive && FSkinState != ssReskinning) ||
        FFrameKind == fkNoCaption || (FMDIKind == mdiChild && FWindowState == fwsMaximized) || FSkinData == nullptr)
        return;
    const TWindowDC own(FHandle, DC == nullptr ? ::GetWindowDC(FHandle) : nullptr);
    const HDC dc = DC != nullptr ? DC : own.Get();
    if (dc == nullptr) return;
    try {
        RECT r{};
        if (::GetWindowRect(FHandle, &r)) {
            FWindowRect = r;
            FWidth = r.right - r.left;
            FHeight = r.bottom - r.top;
            if (FWindowState == fwsMinimized) {
                PaintTitle(dc);
            } else {
                DrawFramePart(bpLeft, {0, 0, FBorderLeft, FHeight}, dc);
                DrawFramePart(bpRight, {FWidth - FBorderRight, 0, FWidth, FHeight}, dc);
                DrawFramePart(bpBottom, {FBorderLeft, FHeight - FBorderBottom, FWidth - FBorderRight, FHeight}, dc);
                PaintTitle(dc);
                // The band under the title: the skinned menu bar, or plain.
                if (FMenuBarHeight > 0) {
                    const RECT band{FBorderLeft, FTitleHeight, FWidth - FBorderRight, FTitleHeight + FMenuBarHeight};
                    if (FMenuBar) FMenuBar->Paint(dc, band, FActive);
                    else ::FillRect(dc, &band, static_cast<HBRUSH>(FSkinData->FFaceBrush.Get()));
                }
            }
        }
    } catch (...) {
        // A failed paint leaves the frame as it was; the next one tries again.
    }
    FHotObject = nullptr;
}

void TWinSkinForm::PaintTitle(HDC DC)
{
    TBitmap& title = *FTitleBitmap;
    title.SetSize(FWidth, FWindowState == fwsMinimized ? FHeight : FTitleHeight);
    const HDC canvas = title.Canvas()->Handle();
    const RECT titleRect = DrawTitleBackground(canvas);
    if (FWindowState != fwsMinimized) {
        // What the region leaves out of each part in the face colour, as DrawFramePart does.
        const TImageView pixels = PixelsOf(title);
        const TColor face = SkinColorToRGB(FSkinData->FButtonFaceColor);
        if (IsShapedPart(*FSkinData, bpLeft, FBorderLeft, FHeight))
            ReplaceKeyPixels(Columns(pixels, 0, FBorderLeft), face);
        if (IsShapedPart(*FSkinData, bpTitle, titleRect.right - titleRect.left, FTitleHeight))
            ReplaceKeyPixels(Columns(pixels, titleRect.left, titleRect.right), face);
        if (IsShapedPart(*FSkinData, bpRight, FBorderRight, FHeight))
            ReplaceKeyPixels(Columns(pixels, FWidth - FBorderRight, FWidth), face);
    }
    DrawCaption(canvas, titleRect);
    LayoutSysButtons();
    PaintSysButtons(canvas);
    ::BitBlt(DC, 0, 0, title.Width(), title.Height(), canvas, 0, 0, SRCCOPY);
    ::SetBkMode(DC, OPAQUE);
}

// The title bar without caption and buttons, in window coordinates; returns
// the title strip's rectangle. A minimized window has no shaped region to
// hide the strip's transparent corners: they show the face colour.
RECT TWinSkinForm::DrawTitleBackground(HDC DC)
{
    if (FWindowState == fwsMinimized) {
        const HBRUSH face = ::CreateSolidBrush(static_cast<COLORREF>(SkinColorToRGB(FSkinData->FButtonFaceColor)));
        const RECT all{0, 0, FWidth, FHeight};
        ::FillRect(DC, &all, face);
        ::DeleteObject(face);
        const RECT titleRect{0, 0, FWidth, FTitleHeight};
        DrawBorderPart(bpTitle, titleRect, DC, true);
        return titleRect;
    }
    // The tops of the side borders, exactly as drawn on the window.
    DrawBorderPart(bpLeft, {0, 0, FBorderLeft, FHeight}, DC);
    DrawBorderPart(bpRight, {FWidth - FBorderRight, 0, FWidth, FHeight}, DC);
    const RECT titleRect{FBorderLeft, 0, FWidth - FBorderRight, FTitleHeight};
    DrawBorderPart(bpTitle, titleRect, DC);
    return titleRect;
}

// The caption: the skin's title element gives its shifts, clip, alignment,
// pixel height and colours; the system's caption font gives the face.
void TWinSkinForm::DrawCaption(HDC DC, const RECT& TitleRect)
{
    const int length = ::GetWindowTextLengthW(FHandle);
    FWindowText.assign(static_cast<size_t>(length), L'\0');
    if (length > 0)
        FWindowText.resize(static_cast<size_t>(
            ::GetWindowTextW(FHandle, FWindowText.data(), length + 1)));
    if (FWindowText.empty()) return;
    const TDataSkinTitle& t = *FSkinData->FTitle;
    TColor colour = FActive ? t.FActiveText : t.FInActiveText;
    if (colour == clNone) colour = FActive ? FSkinData->FTitleTextActiveColor : FSkinData->FTitleTextNoActiveColor;
    RECT r{TitleRect.left + t.FLeftWidth, TitleRect.top + t.FTopHeight, FWidth - t.FRightWidth, TitleRect.bottom};
    if (r.right <= r.left) return;
    UINT align = DT_LEFT;
    if (t.FTextAlignment == 1) align = DT_RIGHT;
    else if (t.FTextAlignment == 2) align = DT_CENTER;
    const TSelectObject font(DC, FCaptionFont->Handle());
    ::SetBkMode(DC, TRANSPARENT);
    ::SetTextColor(DC, static_cast<COLORREF>(SkinColorToRGB(colour)) & 0xFFFFFF);
    ::DrawTextW(DC, FWindowText.c_str(), static_cast<int>(FWindowText.size()), &r,
                align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void TWinSkinForm::SetSysMenuStyle(bool Remove)
{
    if (FButtonSet & bsCaptionToggle) return;
    FStyle = ::GetWindowLongA(FHandle, GWL_STYLE);
    LONG style = FStyle;
    if (Remove) style &= ~WS_SYSMENU;
    else if (FSysMenu != nullptr) style |= WS_SYSMENU;
    // Writing an unchanged style still costs a round trip and style messages.
    if (style == FStyle) return;
    FStyle = style;
    ::SetWindowLongA(FHandle, GWL_STYLE, FStyle);
}

bool TWinSkinForm::HasTransparentBorder() const
{
    return FSkinData->FBorderLeft->FTrans == 1 || FSkinData->FBorderRight->FTrans == 1 ||
           FSkinData->FBorderTop->FTrans == 1 || FSkinData->FBorderBottom->FTrans == 1;
}

void TWinSkinForm::UpdateRegion()
{
    if (!FSkinMainMenu || FSkinState == ssDestroyed || FSkinData == nullptr) return;
    RECT window{};
    if (!::GetWindowRect(FHandle, &window)) return;
    const int w = window.right - window.left, h = window.bottom - window.top;
    if (w * h == 0 || (FMDIKind == mdiChild && FWindowState != fwsNormal)) return;
    if (w == FRegionWidth && h == FRegionHeight && FMDIKind != mdiChild && FSkinState != ssReskinning && FRegionSet)
        return;
    // The region set before belongs to the system now: only forgotten.
    FRegion = nullptr;
    FRegionSet = false;
    FRegionWidth = w;
    FRegionHeight = h;
    // Owned until the system takes the region: a part bitmap that cannot be
    // made raises, and leaks none of them.
    TGdiObject region;
    if (!HasTransparentBorder()) {
        region.Reset(::CreateRectRgn(0, 0, w, h));
    } else {
        region.Reset(::CreateRectRgn(FBorderLeft, FTitleHeight, w - FBorderRight, h - FBorderBottom));
        if (FFrameKind != fkNoCaption) {
            auto shaped = [&](int Part, int PartW, int PartH, int X, int Y, bool Shape) {
                if (!Shape) return TGdiObject(::CreateRectRgn(X, Y, X + PartW, Y + PartH));
                TDataSkinBorder& e = BorderElement(*FSkinData, Part);
                const bool vertical = Part == bpTitle || Part == bpBottom;
                const RECT size{0, 0, PartW, PartH};
                auto image = CreateSkinPartBitmap(
                    size, *e.FBitmap, MarginsOf(e),
                    {.Index = BorderCell(e, FActive), .Count = e.FFrame, .Tile = e.FTile != 1, .Vertical = vertical});
                return TGdiObject(CreateRegionFromBitmap(*image, X, Y, clKeyMagenta, 1, 1, 1));
            };
            TSkinData& d = *FSkinData;
            const int inner = w - FBorderLeft - FBorderRight;
            const TGdiObject left = shaped(bpLeft, FBorderLeft, h, 0, 0, IsShapedPart(d, bpLeft, FBorderLeft, h));
            const TGdiObject right =
                shaped(bpRight, FBorderRight, h, w - FBorderRight, 0, IsShapedPart(d, bpRight, FBorderRight, h));
            const TGdiObject bottom = shaped(bpBottom, inner, FBorderBottom, FBorderLeft, h - FBorderBottom,
                                             IsShapedPart(d, bpBottom, inner, FBorderBottom));
            const TGdiObject top =
                shaped(bpTitle, inner, FTitleHeight, FBorderLeft, 0, IsShapedPart(d, bpTitle, inner, FTitleHeight));
            const auto rgn = [](const TGdiObject& R) { return static_cast<HRGN>(R.Get()); };
            ::CombineRgn(rgn(left), rgn(left), rgn(right), RGN_OR);
            ::CombineRgn(rgn(top), rgn(top), rgn(bottom), RGN_OR);
            ::CombineRgn(rgn(left), rgn(left), rgn(top), RGN_OR);
            ::CombineRgn(rgn(region), rgn(region), rgn(left), RGN_OR);
        }
    }
    const TToken life = Token();
    // The system may send size messages from inside; they find the region not set yet.
    const HRGN handed = static_cast<HRGN>(region.Get());
    if (::SetWindowRgn(FHandle, handed, TRUE) == 0) return;  // refused: still ours, freed on return
    region.Release();
    if (!life.Alive()) return;
    FRegion = handed;
    FRegionSet = true;
}

void TWinSkinForm::ClearRegion()
{
    if (!FRegionSet) return;
    ::SetWindowRgn(FHandle, nullptr, FMDIKind == mdiChild);
    FRegion = nullptr;
    FRegionSet = false;
}

void TWinSkinForm::UpdateWindowState()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(FHandle, &placement)) return;
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED: case SW_MINIMIZE: case SW_SHOWMINNOACTIVE: FWindowState = fwsMinimized; break;
    case SW_SHOWMAXIMIZED: FWindowState = fwsMaximized; break;
    default: FWindowState = fwsNormal; break;
    }
}

void TWinSkinForm::FindMDIClient()
{
    FMDIKind = mdiNone;
    for (HWND child = ::GetTopWindow(FHandle); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowClassName(child) != "MDIClient") continue;
        FMDIKind = mdiFrame;
        FMDIClient = child;
        if (FrameHost != nullptr) FrameHost->SetMDIClient(child, FForm);
        return;
    }
}

void TWinSkinForm::FrameChanged()
{
    ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

POINT TWinSkinForm::ScreenToWindow(LPARAM Point) const
{
    POINT p{static_cast<short>(LOWORD(Point)), static_cast<short>(HIWORD(Point))};
    ::ScreenToClient(FHandle, &p);
    if (!(FMDIKind == mdiChild && FWindowState == fwsMinimized)) {
        p.x += FBorderLeft;
        p.y += FTitleHeight + FMenuBarHeight;
    }
    return p;
}
