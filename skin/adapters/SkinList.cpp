// The header and list-view adapters: the header composed item by item from
// the Headerbar strip, hot tracking over the items as last painted, and the
// list view's header adapter held only while it lives.
#include "skin/adapters/SkinList.h"

#include "classlib/Controls.h"
#include "classlib/Handles.h"
#include "skin/SkinApi.h"
#include "skin/adapters/AdapterDraw.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>
#include <utility>

namespace {

// Item texts are read up to this many characters.
constexpr int kMaxItemText = 200;
// Each side of an item that counts as its divider, not as the item.
constexpr int kDividerWidth = 3;

TCaptionAlignment AlignmentOf(int Format)
{
    switch (Format & HDF_JUSTIFYMASK) {
    case HDF_RIGHT: return TCaptionAlignment::caRight;
    case HDF_CENTER: return TCaptionAlignment::caCenter;
    default: return TCaptionAlignment::caLeft;
    }
}

}  // namespace

// --- TSkinHeader

TSkinHeader::~TSkinHeader() = default;

bool TSkinHeader::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (!TSkinControl::InitSkin(Form, SkinData, ChangeColor)) return false;
    FHotIndex = -1;
    return true;
}

bool TSkinHeader::InitSkinHandle(HWND Window, TSkinData* SkinData, TAdapterHost* Form)
{
    if (!TSkinControl::InitSkinHandle(Window, SkinData, Form)) return false;
    FHotIndex = -1;
    return true;
}

bool TSkinHeader::HasSkin() const
{
    const TSkinData* skin = SkinData();
    return skin != nullptr && skin->FHeaderbar != nullptr && !skin->FHeaderbar->FBitmap->Empty();
}

TPaintWay TSkinHeader::PaintWay() const
{
    // Without a Headerbar image the header keeps its own look.
    return HasSkin() ? pwOwn : pwNative;
}

void TSkinHeader::AfterProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_MOUSEMOVE:
        HotTrack(Message.LParam);
        break;
    case WM_MOUSELEAVE:
        ClearHot();
        break;
    default:
        TSkinControl::AfterProc(Message);
        break;
    }
}

void TSkinHeader::ClearHot()
{
    if (std::exchange(FHotIndex, -1) != -1) Redraw();
}

void TSkinHeader::HotTrack(LPARAM Point)
{
    const POINT p{static_cast<short>(LOWORD(Point)), static_cast<short>(HIWORD(Point))};
    for (size_t i = 0; i < FItemRects.size(); ++i) {
        if (!::PtInRect(&FItemRects[i], p) || static_cast<int>(i) == FHotIndex) continue;
        FHotIndex = static_cast<int>(i);
        Redraw();
        break;
    }
    SkinTrackMouseLeave(Handle());
}

void TSkinHeader::PaintControl(HDC DC, const RECT& Rect)
{
    if (!HasSkin()) return;
    const int width = Rect.right - Rect.left, height = Rect.bottom - Rect.top;
    if (width <= 0 || height <= 0) return;
    // DC is the base's buffer, which outlives a paint: a cell the strip cannot
    // give must not show the last paint's pixels.
    const HDC buffer = DC;
    FillColor(buffer, Rect, SkinData()->FButtonFaceColor);
    // Header text is never drawn grey.
    SetEnabled(true);
    const TSelectObject font(buffer, ControlFont(Handle()));
    const HWND header = Handle();
    const auto imageList = reinterpret_cast<HIMAGELIST>(::SendMessageW(header, HDM_GETIMAGELIST, 0, 0));
    const int count = std::max(0, static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)));
    FItemRects.assign(static_cast<size_t>(count), RECT{});
    LONG maxRight = 0;
    for (int i = 0; i < count; ++i) {
        RECT r{};
        if (::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)) == 0)
            continue;
        DrawItem(imageList, buffer, i, r);
        FItemRects[static_cast<size_t>(i)] = {r.left + kDividerWidth, r.top, r.right - kDividerWidth, r.bottom};
        maxRight = std::max(maxRight, r.right);
    }
    const TDataSkinObject& bar = *SkinData()->FHeaderbar;
    if (width > maxRight)
        DrawSkinPart(buffer, {maxRight, 0, width, height}, *bar.FBitmap, MarginsOf(bar),
                     {.Index = kHeaderCells.Cell(0, bar.FFrame), .Count = bar.FFrame, .Tile = bar.FTile != 0});
}

void TSkinHeader::DrawItem(HIMAGELIST ImageList, HDC DC, int Index, const RECT& Rect)
{
    wchar_t text[kMaxItemText + 1] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    if (::SendMessageW(Handle(), HDM_GETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item)) == 0)
        item = {};
    const TDataSkinObject& bar = *SkinData()->FHeaderbar;
    DrawSkinPart(DC, Rect, *bar.FBitmap, MarginsOf(bar),
                 {.Index = kHeaderCells.Cell(Index == FHotIndex ? lkHot : 0, bar.FFrame), .Count = bar.FFrame,
                  .Tile = bar.FTile != 0});
    // The control may point pszText at its own copy instead of filling ours
    // (never at the callback marker, which is no text).
    const wchar_t* source = item.pszText != nullptr && item.pszText != LPSTR_TEXTCALLBACKW ? item.pszText : text;
    const std::wstring caption(source, ::wcsnlen(source, kMaxItemText));
    const int image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) != 0 ? item.iImage : -1;
    // An item with an image and no text still shows its image.
    if (caption.empty() && (image < 0 || ImageList == nullptr)) return;
    // The clip must not stay on the kept buffer: without a saved state, no clip.
    const int saved = ::SaveDC(DC);
    if (saved != 0) ::IntersectClipRect(DC, Rect.left, Rect.top, Rect.right, Rect.bottom);
    DrawImageCaption(this, DC, Rect, ImageList, image, caption, AlignmentOf(item.fmt));
    if (saved != 0) ::RestoreDC(DC, saved);
}

// --- TSkinListView

TSkinListView::~TSkinListView()
{
    // A header adapter whose window died goes too; one freed already is left alone.
    if (FHeader != nullptr && FHeaderLife && FHeaderLife->Alive()) FHeader->Free();
}

bool TSkinListView::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (Attached()) return true;
    if (!TSkinScrollbar::InitSkin(Form, SkinData, ChangeColor)) return false;
    const auto window = reinterpret_cast<HWND>(::SendMessageW(Handle(), LVM_GETHEADER, 0, 0));
    if (window == nullptr) return true;
    auto* header = new TSkinHeader(Control());
    if (!header->InitSkinHandle(window, SkinData, Form)) {
        header->Free();
        return true;
    }
    FHeader = header;
    FHeaderLife = header->Token();
    return true;
}

void TSkinListView::AfterProc(TMessage& Message)
{
    // The mouse over the list is off its header. The header's leave notice
    // cannot be relied on: a thread tracks one window at a time, and the
    // list view asks for its own as the mouse comes in.
    if (Message.Msg == WM_MOUSEMOVE)
        if (TSkinHeader* header = Header()) header->ClearHot();
    TSkinScrollbar::AfterProc(Message);
}

TSkinHeader* TSkinListView::Header() const noexcept
{
    // Its window may have died (the list view made anew) and its frame
    // object may have freed it since.
    if (FHeader == nullptr || !FHeaderLife || !FHeaderLife->Alive() || FHeader->SkinState() == asDestroyed)
        return nullptr;
    return FHeader;
}
