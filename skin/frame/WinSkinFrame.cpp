// TWinSkinShape, the frame object's shape: border sizes, the outer size
// fitted to the skin frame (and the window's own given back), the borders and
// the title bar drawn through off-screen bitmaps (one BitBlt per part), the
// window region of a shaped skin, and the non-client size and hit test.
#include "skin/frame/WinSkinForm.h"
#include "skin/frame/WinSkinMenu.h"

#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/FrameHost.h"
#include "skin/SkinApi.h"
#include "classlib/Forms.h"
#include "classlib/Handles.h"
#include "skin/SkinWindowMessages.h"

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

TWinSkinShape::TWinSkinShape(TWinSkinForm& Frame)
    : FFrame(Frame), FTitleBitmap(std::make_unique<TBitmap>()), FPartBitmap(std::make_unique<TBitmap>())
{
    FTitleBitmap->SetPixelFormat(TPixelFormat::pf24bit);
    FPartBitmap->SetPixelFormat(TPixelFormat::pf24bit);
}

void TWinSkinShape::DrawBorderPart(int Part, const RECT& Rect, HDC DC, bool Transparent)
{
    if (Rect.right - Rect.left < 0 || Rect.bottom - Rect.top < 0) return;
    const TDataSkinBorder& e = BorderElement(*FFrame.FSkinData, Part);
    const bool vertical = Part == bpTitle || Part == bpBottom;
    DrawSkinPart(DC, Rect, *e.FBitmap, MarginsOf(e),
                 {.Index = BorderCell(e, FFrame.FActive),
                  .Count = e.FFrame,
                  .Transparent = Transparent,
                  .Tile = e.FTile != 1,
                  .Vertical = vertical});
}

// The key colour would show between a size change and the region made for
// the new size: the frame never puts it on the window.
void TWinSkinShape::DrawFramePart(int Part, const RECT& Rect, HDC DC)
{
    const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    if (!IsShapedPart(*FFrame.FSkinData, Part, w, h)) {
        DrawBorderPart(Part, Rect, DC);
        return;
    }
    TBitmap& part = *FPartBitmap;
    part.SetSize(w, h);
    const HDC canvas = part.Canvas()->Handle();
    DrawBorderPart(Part, {0, 0, w, h}, canvas);
    ReplaceKeyPixels(PixelsOf(part), SkinColorToRGB(FFrame.FSkinData->FButtonFaceColor));
    ::BitBlt(DC, Rect.left, Rect.top, w, h, canvas, 0, 0, SRCCOPY);
}

void TWinSkinShape::PaintNC(HDC DC)
{
    if (ScratchBitmap == nullptr || (FFrame.FSkinState != ssActive && FFrame.FSkinState != ssReskinning) ||
        FFrame.FClass.FrameKind == fkNoCaption || (FFrame.FClass.MDIKind == mdiChild && FFrame.FWindowState == fwsMaximized) ||
        FFrame.FSkinData == nullptr)
        return;
    const TWindowDC own(FFrame.FHandle, DC == nullptr ? ::GetWindowDC(FFrame.FHandle) : nullptr);
    const HDC dc = DC != nullptr ? DC : own.Get();
    if (dc == nullptr) return;
    try {
        RECT r{};
        if (::GetWindowRect(FFrame.FHandle, &r)) {
            FWindowRect = r;
            FWidth = r.right - r.left;
            FHeight = r.bottom - r.top;
            if (FFrame.FWindowState == fwsMinimized) {
                PaintTitle(dc);
            } else {
                DrawFramePart(bpLeft, {0, 0, FBorderLeft, FHeight}, dc);
                DrawFramePart(bpRight, {FWidth - FBorderRight, 0, FWidth, FHeight}, dc);
                DrawFramePart(bpBottom, {FBorderLeft, FHeight - FBorderBottom, FWidth - FBorderRight, FHeight}, dc);
                PaintTitle(dc);
                // The band under the title: the skinned menu bar, or plain.
                if (FMenuBarHeight > 0) {
                    const RECT band{FBorderLeft, FTitleHeight, FWidth - FBorderRight, FTitleHeight + FMenuBarHeight};
                    if (FFrame.FMenus->MenuBar()) FFrame.FMenus->MenuBar()->Paint(dc, band, FFrame.FActive);
                    else ::FillRect(dc, &band, static_cast<HBRUSH>(FFrame.FSkinData->FFaceBrush.Get()));
                }
            }
        }
    } catch (...) {
        // A failed paint leaves the frame as it was; the next one tries again.
    }
    FFrame.FTitle.SetHotObject(nullptr);
}

void TWinSkinShape::PaintTitle(HDC DC)
{
    TBitmap& title = *FTitleBitmap;
    title.SetSize(FWidth, FFrame.FWindowState == fwsMinimized ? FHeight : FTitleHeight);
    const HDC canvas = title.Canvas()->Handle();
    const RECT titleRect = DrawTitleBackground(canvas);
    if (FFrame.FWindowState != fwsMinimized) {
        // What the region leaves out of each part in the face colour, as DrawFramePart does.
        const TImageView pixels = PixelsOf(title);
        const TColor face = SkinColorToRGB(FFrame.FSkinData->FButtonFaceColor);
        if (IsShapedPart(*FFrame.FSkinData, bpLeft, FBorderLeft, FHeight))
            ReplaceKeyPixels(Columns(pixels, 0, FBorderLeft), face);
        if (IsShapedPart(*FFrame.FSkinData, bpTitle, titleRect.right - titleRect.left, FTitleHeight))
            ReplaceKeyPixels(Columns(pixels, titleRect.left, titleRect.right), face);
        if (IsShapedPart(*FFrame.FSkinData, bpRight, FBorderRight, FHeight))
            ReplaceKeyPixels(Columns(pixels, FWidth - FBorderRight, FWidth), face);
    }
    FFrame.FTitle.DrawCaption(canvas, titleRect);
    FFrame.FTitle.LayoutSysButtons();
    FFrame.FTitle.PaintSysButtons(canvas);
    ::BitBlt(DC, 0, 0, title.Width(), title.Height(), canvas, 0, 0, SRCCOPY);
    ::SetBkMode(DC, OPAQUE);
}

// The title bar without caption and buttons, in window coordinates; returns
// the title strip's rectangle. A minimized window has no shaped region to
// hide the strip's transparent corners: they show the face colour.
RECT TWinSkinShape::DrawTitleBackground(HDC DC)
{
    if (FFrame.FWindowState == fwsMinimized) {
        const HBRUSH face = ::CreateSolidBrush(static_cast<COLORREF>(SkinColorToRGB(FFrame.FSkinData->FButtonFaceColor)));
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

bool TWinSkinShape::HasTransparentBorder() const
{
    return FFrame.FSkinData->FBorderLeft->FTrans == 1 || FFrame.FSkinData->FBorderRight->FTrans == 1 ||
           FFrame.FSkinData->FBorderTop->FTrans == 1 || FFrame.FSkinData->FBorderBottom->FTrans == 1;
}

void TWinSkinShape::UpdateRegion()
{
    if (!FFrame.FSkinMainMenu || FFrame.FSkinState == ssDestroyed || FFrame.FSkinData == nullptr) return;
    RECT window{};
    if (!::GetWindowRect(FFrame.FHandle, &window)) return;
    const int w = window.right - window.left, h = window.bottom - window.top;
    if (w * h == 0 || (FFrame.FClass.MDIKind == mdiChild && FFrame.FWindowState != fwsNormal)) return;
    if (w == FRegionWidth && h == FRegionHeight && FFrame.FClass.MDIKind != mdiChild && FFrame.FSkinState != ssReskinning && FRegionSet)
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
        if (FFrame.FClass.FrameKind != fkNoCaption) {
            auto shaped = [&](int Part, int PartW, int PartH, int X, int Y, bool Shape) {
                if (!Shape) return TGdiObject(::CreateRectRgn(X, Y, X + PartW, Y + PartH));
                TDataSkinBorder& e = BorderElement(*FFrame.FSkinData, Part);
                const bool vertical = Part == bpTitle || Part == bpBottom;
                const RECT size{0, 0, PartW, PartH};
                auto image = CreateSkinPartBitmap(
                    size, *e.FBitmap, MarginsOf(e),
                    {.Index = BorderCell(e, FFrame.FActive), .Count = e.FFrame, .Tile = e.FTile != 1, .Vertical = vertical});
                return TGdiObject(CreateRegionFromBitmap(*image, X, Y, clKeyMagenta, 1, 1, 1));
            };
            TSkinData& d = *FFrame.FSkinData;
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
    const TToken life = FFrame.Token();
    // The system may send size messages from inside; they find the region not set yet.
    const HRGN handed = static_cast<HRGN>(region.Get());
    if (::SetWindowRgn(FFrame.FHandle, handed, TRUE) == 0) return;  // refused: still ours, freed on return
    region.Release();
    if (!life.Alive()) return;
    FRegion = handed;
    FRegionSet = true;
}

void TWinSkinShape::ClearRegion()
{
    if (!FRegionSet) return;
    ::SetWindowRgn(FFrame.FHandle, nullptr, FFrame.FClass.MDIKind == mdiChild);
    FRegion = nullptr;
    FRegionSet = false;
}

POINT TWinSkinShape::ScreenToWindow(LPARAM Point) const
{
    POINT p{static_cast<short>(LOWORD(Point)), static_cast<short>(HIWORD(Point))};
    ::ScreenToClient(FFrame.FHandle, &p);
    if (!(FFrame.FClass.MDIKind == mdiChild && FFrame.FWindowState == fwsMinimized)) {
        p.x += FBorderLeft;
        p.y += FTitleHeight + FMenuBarHeight;
    }
    return p;
}


void TWinSkinShape::UpdateRects()
{
    ::GetClientRect(FFrame.FHandle, &FClientRect);
}

void TWinSkinShape::ApplyFrameSize(bool UseClientRect)
{
    constexpr UINT keepAll = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    if (FFrame.FWindowState == fwsMaximized) {
        ::SetWindowPos(FFrame.FHandle, nullptr, 0, 0, 0, 0, keepAll);
        return;
    }
    RECT window{};
    ::GetWindowRect(FFrame.FHandle, &window);
    if (FFrame.FClass.Dialog || FFrame.FSkinState == ssReskinning) ::GetClientRect(FFrame.FHandle, &FClientRect);
    int width = FClientRect.right + FBorderLeft + FBorderRight;
    // Once: the client area as it was with the window's own menu bar.
    const int growth = std::exchange(FMenuTakenGrowth, 0);
    int clientHeight = FClientRect.bottom - growth;
    if (UseClientRect) {
        const SIZE client = KeptClientSize();
        FClientRect = {0, 0, client.cx, client.cy};
        width = client.cx + FBorderLeft + FBorderRight;
        clientHeight = client.cy;
    } else if (FFrame.FForm != nullptr) {
        const RECT client = FFrame.FForm->ClientRect();
        width = client.right + FBorderLeft + FBorderRight;
        clientHeight = client.bottom - growth;
    }
    int height = clientHeight + FTitleHeight + FBorderBottom + FMenuBarHeight;
    if (FFrame.FClass.Dialog && !UseClientRect) {
        std::wstring text;
        text.assign(static_cast<size_t>(::GetWindowTextLengthW(FFrame.FHandle)), L'\0');
        if (!text.empty())
            text.resize(static_cast<size_t>(
                ::GetWindowTextW(FFrame.FHandle, text.data(), static_cast<int>(text.size()) + 1)));
        SIZE size{};
        {
            const TWindowDC dc(FFrame.FHandle, ::GetWindowDC(FFrame.FHandle));
            const TSelectObject font(dc.Get(), FFrame.FTitle.CaptionFont().Handle());
            ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        }
        FCaptionWidth = size.cx;
        // The caption starts its shift after the left border.
        const int needed =
            FBorderLeft + FFrame.FSkinData->FTitle->FLeftWidth + FCaptionWidth + FFrame.FSkinData->FTitle->FRightWidth;
        if (width < needed) {
            const int shift = (needed - width) / 2;
            for (HWND child = ::GetWindow(FFrame.FHandle, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
                RECT r{};
                ::GetWindowRect(child, &r);
                POINT p{r.left, r.top};
                ::ScreenToClient(FFrame.FHandle, &p);
                ::SetWindowPos(child, nullptr, p.x + shift, p.y, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
            }
            width = needed;
        }
    }
    FFrameApplied = true;
    FKeptClient = {width - FBorderLeft - FBorderRight, height - FTitleHeight - FBorderBottom - FMenuBarHeight};
    ::SetWindowPos(FFrame.FHandle, nullptr, 0, 0, width, height,
                   SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

// The outer size that gives the client area the size it has now inside the
// window's own frame. A maximized or minimized window gets it for the place
// it returns to, unless the skin never resized that place.
void TWinSkinShape::RestoreOuterSize()
{
    if (::IsZoomed(FFrame.FHandle) || ::IsIconic(FFrame.FHandle)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (FFrameApplied && ::GetWindowPlacement(FFrame.FHandle, &placement)) {
            placement.rcNormalPosition.right += FFrameRect.right - FBorderLeft - FBorderRight;
            placement.rcNormalPosition.bottom += FFrameRect.bottom - FTitleHeight - FBorderBottom - FMenuBarHeight;
            ::SetWindowPlacement(FFrame.FHandle, &placement);
        }
        FFrame.FrameChanged();
        return;
    }
    RECT r{};
    ::GetWindowRect(FFrame.FHandle, &r);
    const SIZE client = KeptClientSize();
    POINT p{r.left, r.top};
    if (FFrame.FClass.MDIKind == mdiChild) ::ScreenToClient(::GetParent(FFrame.FHandle), &p);
    ::SetWindowPos(FFrame.FHandle, nullptr, p.x, p.y, client.cx + FFrameRect.right, client.cy + FFrameRect.bottom,
                   SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
}

SIZE TWinSkinShape::KeptClientSize() const
{
    if (FFrameApplied) return FKeptClient;
    RECT client{};
    ::GetClientRect(FFrame.FHandle, &client);
    return {client.right, client.bottom};
}

void TWinSkinShape::WMGetMinMaxInfo(TMessage& Message)
{
    if (!FFrame.CallDefault(Message)) return;
    // The system places a maximized window so that its own frame lies off
    // the screen; the skin's frame is another size, so it is fitted to the
    // work area instead (none of the title, client or borders lost).
    if (FFrame.FSkinState != ssAttached && FFrame.FClass.MDIKind != mdiChild && !FFrame.FChild &&
        FFrame.FClass.FrameKind != fkNoCaption) {
        if (const HMONITOR monitor = ::MonitorFromWindow(FFrame.FHandle, MONITOR_DEFAULTTONEAREST)) {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (::GetMonitorInfoW(monitor, &info)) {
                auto& mmi = *reinterpret_cast<MINMAXINFO*>(Message.LParam);
                mmi.ptMaxPosition = {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
                mmi.ptMaxSize = {info.rcWork.right - info.rcWork.left, info.rcWork.bottom - info.rcWork.top};
            }
        }
    }
    FFrame.UpdateWindowState();
    FFrame.SetCaptionStyle(FFrame.FWindowState == fwsMinimized ||
                           (FFrame.FClass.MDIKind == mdiChild && FFrame.FWindowState == fwsMaximized));
}

void TWinSkinShape::WMNCCalcSize(TMessage& Message)
{
    if (!FFrame.CallDefault(Message)) return;
    // SetMenu gave the window a menu again: taken into the bar after this
    // message (nothing that changes sizes runs inside it).
    if (FFrame.FMenus->MenuBar() && !FFrame.FMenus->MenuChanging() && ::GetMenu(FFrame.FHandle) != nullptr)
        ::PostMessageW(FFrame.FHandle, CM_MENUCHANGED, 0, kSkinMagic);
    const bool own = (FFrame.FClass.MDIKind == mdiChild && FFrame.FWindowState != fwsNormal) || FFrame.FClass.FrameKind == fkNoCaption;
    if (Message.WParam == 0) {
        // The window rectangle becomes the client rectangle: ours, not the
        // native frame's, or the client area would not match the frame.
        if (!own) {
            auto& r = *reinterpret_cast<RECT*>(Message.LParam);
            r = {r.left + FBorderLeft, r.top + FTitleHeight + FMenuBarHeight, r.right - FBorderRight,
                 r.bottom - FBorderBottom};
        }
        Message.Result = 0;
        return;
    }
    auto& params = *reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam);
    if (!own) {
        RECT window = params.rgrc[0];
        if (params.lppos != nullptr) {
            const WINDOWPOS& pos = *params.lppos;
            window = {pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
        }
        params.rgrc[0] = {window.left + FBorderLeft, window.top + FTitleHeight + FMenuBarHeight,
                          window.right - FBorderRight, window.bottom - FBorderBottom};
        if (params.rgrc[0].right < params.rgrc[0].left) params.rgrc[0].right = params.rgrc[0].left;
        if (params.rgrc[0].bottom < params.rgrc[0].top) params.rgrc[0].bottom = params.rgrc[0].top;
    }
    params.rgrc[1] = params.rgrc[0];
    Message.Result = WVR_VALIDRECTS;
}

void TWinSkinShape::WMNCHitTest(TMessage& Message)
{
    if (!FFrame.CallDefault(Message)) return;
    if (const int sizing = SizingHitAt(ScreenToWindow(Message.LParam)); sizing != HTNOWHERE) {
        Message.Result = sizing;
        return;
    }
    if (FFrame.FMenus->MenuBar()) {
        const POINT p = ScreenToWindow(Message.LParam);
        if (p.y >= FTitleHeight && p.y < FTitleHeight + FMenuBarHeight && p.x >= FBorderLeft &&
            p.x < FWidth - FBorderRight) {
            Message.Result = HTMENU;
            return;
        }
    }
    if (Message.Result != HTNOWHERE && Message.Result != HTCAPTION) return;
    const POINT p = ScreenToWindow(Message.LParam);
    if (p.y > 3) Message.Result = HTCAPTION;
    if (p.y > FTitleHeight && FMenuBarHeight > 0) Message.Result = HTMENU;
}

// The client area reaches to the skin's border, one pixel wide or so: the
// window is sized instead from a band as wide as the system's sizing frame
// (or the border, if wider), over the client's edge too, with the corner
// zones reaching along the edges as far as the system's do. Title and menu
// bar buttons keep their own hits.
int TWinSkinShape::SizingHitAt(POINT P) const
{
    if (FFrame.FClass.FrameKind != fkSizeable || FFrame.FWindowState != fwsNormal || !FFrame.FSkinMainMenu ||
        (FFrame.FSkinState != ssActive && FFrame.FSkinState != ssReskinning) || (FFrame.FChild && FFrame.FClass.MDIKind != mdiChild))
        return HTNOWHERE;
    RECT r{};
    if (!::GetWindowRect(FFrame.FHandle, &r)) return HTNOWHERE;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (P.x < 0 || P.y < 0 || P.x >= w || P.y >= h || FFrame.ObjectAt(P) != nullptr) return HTNOWHERE;
    const int padded = ::GetSystemMetrics(SM_CXPADDEDBORDER);
    const int frameX = ::GetSystemMetrics(SM_CXSIZEFRAME) + padded;
    const int frameY = ::GetSystemMetrics(SM_CYSIZEFRAME) + padded;
    const int left = std::max(frameX, FBorderLeft), right = std::max(frameX, FBorderRight);
    const int top = frameY, bottom = std::max(frameY, FBorderBottom);
    const int cornerX = ::GetSystemMetrics(SM_CXSIZE), cornerY = ::GetSystemMetrics(SM_CYSIZE);
    const bool nearLeft = P.x < left + cornerX, nearRight = P.x >= w - right - cornerX;
    const bool nearTop = P.y < top + cornerY, nearBottom = P.y >= h - bottom - cornerY;
    if (P.y < top) return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
    if (P.y >= h - bottom) return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
    if (P.x < left) return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
    if (P.x >= w - right) return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
    return HTNOWHERE;
}

bool TWinSkinShape::InSizingBand(POINT At) const
{
    return SizingHitAt(ScreenToWindow(MAKELPARAM(At.x, At.y))) != HTNOWHERE;
}

// The frame sizes the skin's border strips give (none for a window without a caption).
void TWinSkinShape::ReadBorderSizes()
{
    if (FFrame.FClass.FrameKind == fkNoCaption) {
        FBorderLeft = FTitleHeight = FBorderRight = FBorderBottom = FMenuBarHeight = 0;
    } else {
        auto cells = [](const TDataSkinObject& E) { return E.FFrame > 0 ? E.FFrame : 1; };
        FTitleHeight = FFrame.FSkinData->FBorderTop->FBitmap->Height() / cells(*FFrame.FSkinData->FBorderTop);
        FBorderLeft = FFrame.FSkinData->FBorderLeft->FBitmap->Width() / cells(*FFrame.FSkinData->FBorderLeft);
        FBorderRight = FFrame.FSkinData->FBorderRight->FBitmap->Width() / cells(*FFrame.FSkinData->FBorderRight);
        FBorderBottom = FFrame.FSkinData->FBorderBottom->FBitmap->Height() / cells(*FFrame.FSkinData->FBorderBottom);
    }
}
