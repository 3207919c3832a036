// The tab adapters. TSkinTab draws the strip into the base's picture of the
// window (side tabs lying down apart, turned at the end), draws the pane
// around the pages and answers its close boxes at click time from the tab
// control itself.
#include "skin/adapters/SkinTab.h"

#include "classlib/ComCtrls.h"
#include "classlib/Handles.h"
#include "classlib/Text.h"
#include "classlib/portable/StringList.h"
#include "skin/SkinApi.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/AdapterHost.h"
#include "skin/adapters/AdapterDraw.h"
#include "skin/adapters/SkinRange.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <memory>
#include <string>

TTabOrientation TabOrientationOf(LONG Style) noexcept
{
    const bool bottom = (Style & TCS_BOTTOM) != 0, vertical = (Style & TCS_VERTICAL) != 0;
    if (vertical) return bottom ? toRight : toLeft;
    return bottom ? toBottom : toTop;
}

RECT CloseBoxRect(const RECT& Tab) noexcept
{
    return {Tab.right - 8, Tab.top + 2, Tab.right - 1, Tab.top + 9};
}

namespace {

// What the adapters read of a tab control, through the entry (wide or ANSI)
// the window answers in.
struct TTabItem {
    std::wstring Caption;
    int Image = -1;
};

class TTabItems {
public:
    TTabItems(HWND Window, bool Unicode)
        : FWindow(Window),
          FUnicode(Unicode),
          FCount(static_cast<int>(::SendMessageW(Window, TCM_GETITEMCOUNT, 0, 0))),
          FFocused(static_cast<int>(::SendMessageW(Window, TCM_GETCURFOCUS, 0, 0))),
          FImageList(reinterpret_cast<HIMAGELIST>(::SendMessageW(Window, TCM_GETIMAGELIST, 0, 0)))
    {
    }

    int Count() const noexcept { return FCount; }
    // The highlighted tab is the one with the focus, not always the selected one.
    int Focused() const noexcept { return FFocused; }
    HIMAGELIST ImageList() const noexcept { return FImageList; }
    bool ItemRect(int Index, RECT& Rect) const
    {
        return ::SendMessageW(FWindow, TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&Rect)) != 0;
    }
    TTabItem Item(int Index) const
    {
        TTabItem item;
        const auto index = static_cast<WPARAM>(Index);
        if (FUnicode) {
            wchar_t text[80] = {};
            TCITEMW t{};
            t.mask = TCIF_TEXT | TCIF_IMAGE;
            t.pszText = text;
            t.cchTextMax = static_cast<int>(std::size(text));
            if (::SendMessageW(FWindow, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&t)) == 0) return item;
            // The control may point pszText at its own copy instead of filling ours.
            if (t.pszText != nullptr) item.Caption.assign(t.pszText, ::wcsnlen(t.pszText, std::size(text)));
            item.Image = t.iImage;
        } else {
            char text[80] = {};
            TCITEMA t{};
            t.mask = TCIF_TEXT | TCIF_IMAGE;
            t.pszText = text;
            t.cchTextMax = static_cast<int>(std::size(text));
            if (::SendMessageA(FWindow, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&t)) == 0) return item;
            if (t.pszText != nullptr)
                item.Caption = AnsiToWide(std::string_view(t.pszText, ::strnlen(t.pszText, std::size(text))));
            item.Image = t.iImage;
        }
        return item;
    }

private:
    HWND FWindow;
    bool FUnicode;
    int FCount;
    int FFocused;
    HIMAGELIST FImageList;
};

bool HasStripImage(const TDataSkinObject* Element)
{
    return Element != nullptr && !Element->FBitmap->Empty();
}

// A tab's cell of Element's strip, with the element's own flags. Each tab has
// its own look, not the control's: the selected one shows the pressed cell.
TStripCell TabCell(const TDataSkinObject& Element, bool Selected)
{
    return {.Index = kTabCells.Cell(Selected ? lkPressed : 0, Element.FFrame),
            .Count = Element.FFrame,
            .Transparent = Element.FTrans == 1,
            .Tile = Element.FTile != 0};
}

// A 6 x 6 box with a cross, in the DC's pen.
void DrawCloseBox(HDC DC, const RECT& Tab)
{
    const RECT b = CloseBoxRect(Tab);
    const int x0 = b.left, y0 = b.top, x1 = b.right - 1, y1 = b.bottom - 1;
    const POINT frame[] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}, {x1, y1}};
    ::Polyline(DC, frame, static_cast<int>(std::size(frame)));
    ::MoveToEx(DC, x1, y0, nullptr);
    ::LineTo(DC, x0, y1);
}

// Tab (window coordinates) in the strip bitmap, which lies down for side
// tabs; each tab is drawn one pixel towards its side.
RECT IntoStrip(RECT Tab, TTabOrientation Side, const RECT& Window, const RECT& Pane, int StripWidth)
{
    switch (Side) {
    case toTop:
        ::OffsetRect(&Tab, 0, 1);
        return Tab;
    case toBottom:
        ::OffsetRect(&Tab, 0, -Pane.bottom - 1);
        return Tab;
    case toLeft:
        return {StripWidth - Tab.bottom, Tab.left, StripWidth - Tab.top, Tab.right};
    case toRight:
        return {Tab.top - 1, Window.right - Tab.right, Tab.bottom - 1, Window.right - Tab.left};
    }
    return Tab;
}

// The strip: the window's side beyond the pane.
RECT StripRect(TTabOrientation Side, const RECT& Window, const RECT& Pane)
{
    switch (Side) {
    case toTop: return {Window.left, Window.top, Window.right, Pane.top};
    case toBottom: return {Window.left, Pane.bottom, Window.right, Window.bottom};
    case toLeft: return {Window.left, Window.top, Pane.left, Window.bottom};
    case toRight: return {Pane.right, Window.top, Window.right, Window.bottom};
    }
    return {};
}

// The tab control's scroll arrows while they are shown, found anew each time
// (the window may have been made again since) and skinned when first found.
HWND VisibleUpDown(const TSkinControl& Tab)
{
    const HWND updown = SkinUpDownChild(Tab, false);
    return updown != nullptr && (::GetWindowLongW(updown, GWL_STYLE) & WS_VISIBLE) != 0 ? updown : nullptr;
}

}  // namespace

bool TSkinTab::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (Attached()) return true;
    if (!TSkinControl::InitSkin(Form, SkinData, ChangeColor)) return false;
    const auto* pages = dynamic_cast<const TPageControl*>(Control());
    FCloseButtons = pages != nullptr && pages->Tag() == kCloseBoxTag && pages->TabPosition() == TTabPosition::tpTop;
    FUnicodeItems = ::IsWindowUnicode(Handle()) != FALSE;
    LoadBitmaps();
    SkinUpDownChild(*this, false);
    return true;
}

bool TSkinTab::InitSkinHandle(HWND Window, TSkinData* SkinData, TAdapterHost* Form)
{
    if (!TSkinControl::InitSkinHandle(Window, SkinData, Form)) return false;
    SetFocused(::GetFocus() == Window);
    FUnicodeItems = ::IsWindowUnicode(Window) != FALSE;
    LoadBitmaps();
    SkinUpDownChild(*this, false);
    return true;
}

void TSkinTab::UpdateSkin()
{
    LoadBitmaps();
    TSkinControl::UpdateSkin();
}

void TSkinTab::LoadBitmaps()
{
    FOrientation = TabOrientationOf(::GetWindowLongW(Handle(), GWL_STYLE));
    // A skin without these images leaves none behind (not the last skin's,
    // turned once more).
    FTabBitmap.SetSize(0, 0);
    FPaneBitmap.SetSize(0, 0);
    const TSkinData& skin = *SkinData();
    const TDataSkinBorder* tabs = skin.FTabs.get();
    if (tabs == nullptr) return;
    if (!tabs->FBitmap->Empty()) CopyBitmap(*tabs->FBitmap, FTabBitmap);
    if (tabs->FStyle == 0 && !tabs->FBitmap2->Empty())
        CopyBitmap(*tabs->FBitmap2, FPaneBitmap);
    else if (tabs->FStyle == 1 && skin.FTabPane != nullptr && !skin.FTabPane->FBitmap->Empty())
        CopyBitmap(*skin.FTabPane->FBitmap, FPaneBitmap);
    for (TBitmap* b : {&FTabBitmap, &FPaneBitmap})
        if (!b->Empty()) b->SetPixelFormat(TPixelFormat::pf24bit);
    switch (FOrientation) {
    case toBottom:
        FlipBitmap(FPaneBitmap);
        FlipBitmap(FTabBitmap);
        break;
    case toLeft:
        RotateBitmapCCW(FPaneBitmap);
        break;
    case toRight:
        RotateBitmapCW(FPaneBitmap);
        break;
    case toTop:
        break;
    }
}

bool TSkinTab::HasStrip() const
{
    return SkinData()->FTabs != nullptr && !FTabBitmap.Empty();
}

TPaintWay TSkinTab::PaintWay() const
{
    // Without the strip the control's own tabs show, with the pane over them
    // where the skin has one. Over, not native, even without a pane: the
    // system's tab control prints without erasing what it prints on, and the
    // base erases first only for a look painted over.
    return HasStrip() ? pwOwn : pwOver;
}

bool TSkinTab::BeforeProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_PRINT:
        if (PaintWay() == pwOwn) return PaintAroundArrows(Message);
        break;
    case WM_LBUTTONDOWN:
        // A box that is not shown is no box: the press is the tab's.
        if (!FCloseBoxesShown || !HasStrip() || !HitCloseButton(Message)) break;
        Message.Result = 0;  // the tab is not selected
        return false;
    default:
        break;
    }
    return TSkinControl::BeforeProc(Message);
}

bool TSkinTab::PaintAroundArrows(TMessage& Message)
{
    RECT arrows{};
    const HWND updown = VisibleUpDown(*this);
    if (updown == nullptr || !::GetWindowRect(updown, &arrows)) return TSkinControl::BeforeProc(Message);
    // Where they lie on the DC painted: WM_PRINT's is the window's, the others' the client's.
    if (RECT window{}; Message.Msg == WM_PRINT && ::GetWindowRect(Handle(), &window))
        ::OffsetRect(&arrows, -window.left, -window.top);
    else
        ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&arrows), 2);
    const auto dc = reinterpret_cast<HDC>(Message.WParam);
    if (dc == nullptr) {
        // The paint's own DC is clipped to what is left to paint.
        if (Message.Msg == WM_PAINT) ::ValidateRect(Handle(), &arrows);
        return TSkinControl::BeforeProc(Message);
    }
    const int saved = ::SaveDC(dc);
    ::ExcludeClipRect(dc, arrows.left, arrows.top, arrows.right, arrows.bottom);
    const bool pass = TSkinControl::BeforeProc(Message);
    if (saved != 0) ::RestoreDC(dc, saved);  // the caller's DC, whether or not the adapter lives
    return pass;
}

bool TSkinTab::HitCloseButton(const TMessage& Message)
{
    const POINT p{LOWORD(Message.LParam), HIWORD(Message.LParam)};
    TCHITTESTINFO hit{p, 0};
    const auto index = static_cast<int>(::SendMessageW(Handle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    RECT tab{};
    if (index < 0 || ::SendMessageW(Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index),
                                    reinterpret_cast<LPARAM>(&tab)) == 0)
        return false;
    ::OffsetRect(&tab, 0, 1);  // where the strip draws it
    const RECT box = CloseBoxRect(tab);
    if (!::PtInRect(&box, p) || Form() == nullptr) return false;
    auto* pages = dynamic_cast<TPageControl*>(Control());
    TTabSheet* page = pages != nullptr && index < pages->PageCount() ? pages->Pages(index) : nullptr;
    const TToken life = Token();
    const LRESULT answer = ::SendMessageA(Form()->Handle(), WM_SKIN_TABCLOSE, reinterpret_cast<WPARAM>(Handle()),
                                          static_cast<LPARAM>(index));
    // The application may have freed the page control (and this adapter) or
    // its pages meanwhile: the page goes only if it is still one of them.
    if (!life.Alive() || answer != 0 || page == nullptr) return true;
    for (int i = 0; i < pages->PageCount(); ++i)
        if (pages->Pages(i) == page) {
            delete page;
            break;
        }
    return true;
}

void TSkinTab::PaintControl(HDC DC, const RECT& Rect)
{
    SetEnabled((::GetWindowLongW(Handle(), GWL_STYLE) & WS_DISABLED) == 0);
    // The pane: the pages' area with a margin around it.
    RECT pane = Rect;
    ::SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
    ::InflateRect(&pane, 4, 4);
    switch (FOrientation) {
    case toTop: ++pane.top; break;
    case toBottom: --pane.bottom; break;
    case toLeft: ++pane.left; break;
    case toRight: --pane.right; break;
    }
    FCloseBoxesShown = false;
    if (HasStrip()) PaintStrip(DC, Rect, pane, StripRect(FOrientation, Rect, pane));
    PaintPane(DC, pane);
    // A tab control that is no page control keeps its windowless children
    // visible over the pane.
    if (auto* control = dynamic_cast<TWinControl*>(Control()); control != nullptr && TabMode() == tmTabControl)
        control->PaintControls(DC);
}

void TSkinTab::PaintStrip(HDC DC, const RECT& Rect, const RECT& Pane, const RECT& Strip)
{
    const bool lying = FOrientation == toLeft || FOrientation == toRight;
    const int stripWidth = Strip.right - Strip.left, stripHeight = Strip.bottom - Strip.top;
    const int w = lying ? stripHeight : stripWidth, h = lying ? stripWidth : stripHeight;
    if (w <= 0 || h <= 0) return;  // a control too small for a strip
    if (lying) {
        FLying.SetPixelFormat(TPixelFormat::pf24bit);
        FLying.SetSize(w, h);
        DrawTabs(FLying.Canvas()->Handle(), Rect, Pane, w, h);
        if (FOrientation == toRight) RotateBitmapCW(FLying);
        else RotateBitmapCCW(FLying);
        ::BitBlt(DC, Strip.left, Strip.top, stripWidth, stripHeight, FLying.Canvas()->Handle(), 0, 0, SRCCOPY);
    } else {
        const int saved = ::SaveDC(DC);
        if (saved == 0) return;
        ::OffsetViewportOrgEx(DC, Strip.left, Strip.top, nullptr);
        ::IntersectClipRect(DC, 0, 0, w, h);
        DrawTabs(DC, Rect, Pane, w, h);
        ::RestoreDC(DC, saved);
    }
    FCloseBoxesShown = FCloseButtons;
}

void TSkinTab::DrawTabs(HDC DC, const RECT& Rect, const RECT& Pane, int Width, int Height)
{
    const TDataSkinBorder& tabs = *SkinData()->FTabs;
    FillParentColor(DC, {0, 0, Width, Height});
    const TSelectObject font(DC, ControlFont(Handle()));
    const TTabItems items(Handle(), FUnicodeItems);
    for (int i = 0; i < items.Count(); ++i) {
        RECT tab{};
        if (!items.ItemRect(i, tab)) continue;
        tab = IntoStrip(tab, FOrientation, Rect, Pane, Width);
        const bool selected = i == items.Focused();
        DrawSkinPart(DC, tab, FTabBitmap, MarginsOf(tabs), TabCell(tabs, selected));
        if (FCloseButtons) DrawCloseBox(DC, tab);
        ::SetTextColor(DC, ColorToRGB(selected ? tabs.FMouseOverColour2 : tabs.FNormalColour2));
        const TTabItem item = items.Item(i);
        DrawImageCaption(this, DC, tab, items.ImageList(), item.Image, item.Caption, TCaptionAlignment::caCenter);
    }
}

void TSkinTab::PaintPane(HDC DC, const RECT& Pane)
{
    if (FPaneBitmap.Empty()) return;
    const TSkinData& skin = *SkinData();
    TSkinRect margins{4, 5, 4, 4};
    if (skin.FTabs != nullptr && skin.FTabs->FStyle != 0 && skin.FTabPane != nullptr)
        margins = MarginsOf(*skin.FTabPane);
    try {
        DrawSkinPart(DC, Pane, FPaneBitmap, margins, {});
    } catch (...) {
        // A pane that cannot be drawn (no room for its bitmap) leaves the pages as they are.
    }
}

// --- TSkinTabBtn: button-style tabs from the [Buttons] strip, no pane.

TPaintWay TSkinTabBtn::PaintWay() const
{
    // Without the strip nothing goes over the control's own tabs; over, not
    // native, for the erase before a print (see TSkinTab::PaintWay).
    return HasStripImage(SkinData()->FButtons.get()) ? pwOwn : pwOver;
}

void TSkinTabBtn::PaintControl(HDC DC, const RECT& Rect)
{
    const TDataSkinButton* buttons = SkinData()->FButtons.get();
    SetEnabled((::GetWindowLongW(Handle(), GWL_STYLE) & WS_DISABLED) == 0);
    if (!HasStripImage(buttons)) return;
    FillSkinColor(DC, Rect);
    // The strip ends where a pane would begin: 4 pixels above the pages, one down.
    RECT pages = Rect;
    ::SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pages));
    const int w = Rect.right - Rect.left, h = pages.top - 4 + 1 - Rect.top;
    if (w <= 0 || h <= 0) return;
    const int saved = ::SaveDC(DC);
    if (saved == 0) return;
    ::IntersectClipRect(DC, Rect.left, Rect.top, Rect.left + w, Rect.top + h);
    {
        const TSelectObject font(DC, ControlFont(Handle()));
        const TTabItems items(Handle(), Unicode());
        ::SetTextColor(DC, RGB(0, 0, 0));
        for (int i = 0; i < items.Count(); ++i) {
            RECT tab{};
            if (!items.ItemRect(i, tab)) continue;
            ::OffsetRect(&tab, 0, 1);
            // Each tab has its own look: the one with the focus is pressed.
            const bool selected = i == items.Focused();
            DrawSkinState(DC, tab, buttons, kTabCells.Cell(selected ? lkPressed : 0, buttons->FFrame), buttons->FFrame);
            // A state without a colour of its own keeps the one set before.
            if (!selected && buttons->FHasNormalColour2) ::SetTextColor(DC, ColorToRGB(buttons->FNormalColour2));
            if (selected && buttons->FHasPressedColour2) ::SetTextColor(DC, ColorToRGB(buttons->FPressedColour2));
            const TTabItem item = items.Item(i);
            DrawImageCaption(this, DC, tab, items.ImageList(), item.Image, item.Caption, TCaptionAlignment::caCenter);
        }
    }
    ::RestoreDC(DC, saved);
}

// --- TSkinTab31: the tab set's tabs laid out here, those that fit between its margins.

bool TSkinTab31::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool)
{
    if (Attached()) return true;
    // Through its WindowProc, as any class-library control: the form's walks
    // then know it skinned. Its colour stays its own.
    if (!TSkinControl::InitSkin(Form, SkinData, false)) return false;
    LoadBitmap();
    return true;
}

void TSkinTab31::UpdateSkin()
{
    LoadBitmap();
    TSkinControl::UpdateSkin();
}

void TSkinTab31::LoadBitmap()
{
    FTabBitmap.SetSize(0, 0);
    const TDataSkinBorder* tabs = SkinData()->FTabs.get();
    if (tabs == nullptr || tabs->FBitmap->Empty()) return;
    CopyBitmap(*tabs->FBitmap, FTabBitmap);
    FTabBitmap.SetPixelFormat(TPixelFormat::pf24bit);
    FlipBitmap(FTabBitmap);
}

bool TSkinTab31::HasStrip() const
{
    return SkinData()->FTabs != nullptr && !FTabBitmap.Empty();
}

TPaintWay TSkinTab31::PaintWay() const
{
    return HasStrip() ? pwOwn : pwNative;
}

void TSkinTab31::PaintControl(HDC DC, const RECT& Rect)
{
    const TDataSkinBorder* tabs = SkinData()->FTabs.get();
    const TObject* set = Owner();
    const auto* list = dynamic_cast<const TStrings*>(GetObjectPropByName(set, "Tabs", TStrings::StaticClassInfo()));
    if (tabs == nullptr || FTabBitmap.Empty() || Rect.right <= Rect.left || Rect.bottom <= Rect.top) return;
    FillSkinColor(DC, Rect);
    if (list == nullptr) return;
    const auto* font = dynamic_cast<const TFont*>(GetObjectPropByName(set, "Font", TPersistent::StaticClassInfo()));
    const TSelectObject selected(DC, font != nullptr ? font->Handle() : ::GetStockObject(DEFAULT_GUI_FONT));
    const int current = GetOrdPropByName(set, "TabIndex");
    const int limit = Rect.right - std::max(0, GetOrdPropByName(set, "EndMargin"));
    int x = Rect.left + std::max(0, GetOrdPropByName(set, "StartMargin"));
    for (int i = std::max(0, GetOrdPropByName(set, "FirstIndex")); i < list->Count(); ++i) {
        const std::wstring caption = TextToWide(list->Get(i));
        SIZE extent{};
        ::GetTextExtentPoint32W(DC, caption.c_str(), static_cast<int>(caption.size()), &extent);
        const int width = extent.cx + 9;
        if (x + width > limit) continue;  // a later, shorter tab may still fit
        const RECT tab{x, Rect.top, x + width, Rect.bottom};
        // Each tab has its own look: the selected one is pressed.
        DrawSkinPart(DC, tab, FTabBitmap, MarginsOf(*tabs), TabCell(*tabs, i == current));
        ::SetTextColor(DC, ColorToRGB(i == current ? tabs->FMouseOverColour2 : tabs->FNormalColour2));
        DrawControlCaption(this, DC, tab, caption, true, DT_CENTER);
        x += width;
    }
}

// --- TSkinAdvPage: the tab images handed over as bitmap properties; nothing drawn here.

namespace {

const char* const kTabBackgrounds[] = {"TabBackGround", "TabBackGroundActive"};  // cells 1 and 2

TBitmap* BitmapProperty(TControl* Control, const char* Name)
{
    return dynamic_cast<TBitmap*>(GetObjectPropByName(Control, Name, TPersistent::StaticClassInfo()));
}

}  // namespace

bool TSkinAdvPage::InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (Attached()) return true;
    if (!TSkinControl::InitSkin(Form, SkinData, ChangeColor)) return false;
    ApplyBackgrounds();
    return true;
}

void TSkinAdvPage::UpdateSkin()
{
    ApplyBackgrounds();
    TSkinControl::UpdateSkin();
}

void TSkinAdvPage::PaintControl(HDC, const RECT&)
{
    SkinUpDownChild(*this, false);
}

void TSkinAdvPage::ApplyBackgrounds()
{
    const TDataSkinBorder* tabs = SkinData()->FTabs.get();
    if (FPageKind != pkTabImages || tabs == nullptr || tabs->FBitmap->Empty()) return;
    for (int cell = 1; cell <= 2; ++cell) {
        TBitmap* target = BitmapProperty(Control(), kTabBackgrounds[cell - 1]);
        if (target == nullptr) continue;
        std::unique_ptr<TBitmap>& original = FOriginals[cell - 1];
        if (!original) {
            original = std::make_unique<TBitmap>();
            original->Assign(*target);
        }
        const std::unique_ptr<TBitmap> image = CreateSkinPartBitmap(
            {0, 0, 100, 21}, *tabs->FBitmap, MarginsOf(*tabs),
            // These images take their middle tiled from a transparent element, stretched otherwise.
            {.Index = cell, .Count = tabs->FFrame, .Tile = tabs->FTrans == 1});
        target->Assign(*image);
    }
}

void TSkinAdvPage::Unskin()
{
    for (int cell = 1; cell <= 2; ++cell) {
        std::unique_ptr<TBitmap> original = std::move(FOriginals[cell - 1]);
        if (!original) continue;
        if (TBitmap* target = BitmapProperty(Control(), kTabBackgrounds[cell - 1])) target->Assign(*original);
    }
    TSkinControl::Unskin();
}
