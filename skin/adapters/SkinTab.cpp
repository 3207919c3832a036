// The tab adapters. TSkinTab composes the strip off screen (side tabs lying
// down, turned at the end), draws the pane around the pages and answers its
// close boxes at click time from the tab control itself.
#include "skin/adapters/SkinTab.h"

#include "classlib/ComCtrls.h"
#include "classlib/Handles.h"
#include "classlib/Text.h"
#include "classlib/portable/StringList.h"
#include "skin/SkinApi.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/AdapterDraw.h"
#include "skin/adapters/SkinRange.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"

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

// Cell Index of Element's strip, with the element's own flags.
TStripCell TabCell(const TDataSkinObject& Element, int Index)
{
    return {.Index = Index, .Count = Element.FFrame, .Transparent = Element.FTrans == 1, .Tile = Element.FTile == 1};
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

bool TSkinTab::InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (Attached()) return true;
    if (!TSkinControl::InitSkin(Form, SkinData, ChangeColor)) return false;
    const auto* pages = dynamic_cast<const TPageControl*>(Control());
    FCloseButtons = pages != nullptr && pages->Tag() == CloseBoxTag && pages->TabPosition() == TTabPosition::tpTop;
    FUnicodeItems = ::IsWindowUnicode(Handle()) != FALSE;
    LoadBitmaps();
    SkinUpDownChild(*this, false);
    return true;
}

bool TSkinTab::InitSkinHandle(HWND Window, TSkinData* SkinData, TWinSkinForm* Form)
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

bool TSkinTab::BeforeProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        // Without a strip the control draws its tabs; the pane comes over them after.
        if (!HasStrip()) break;
        HandlePaint(Message);
        return false;
    case WM_LBUTTONDOWN:
        // A box that is not shown is no box: the press is the tab's.
        if (!FCloseBoxesShown || !HitCloseButton(Message)) break;
        Message.Result = 0;  // the tab is not selected
        return false;
    default:
        break;
    }
    return TSkinControl::BeforeProc(Message);
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
    if (auto* control = dynamic_cast<TWinControl*>(Control()); control != nullptr && Mode() == TabControlMode)
        control->PaintControls(DC);
}

void TSkinTab::PaintStrip(HDC DC, const RECT& Rect, const RECT& Pane, const RECT& Strip)
{
    const TDataSkinBorder& tabs = *SkinData()->FTabs;
    const bool lying = FOrientation == toLeft || FOrientation == toRight;
    const int stripWidth = Strip.right - Strip.left, stripHeight = Strip.bottom - Strip.top;
    const int w = lying ? stripHeight : stripWidth, h = lying ? stripWidth : stripHeight;
    if (w <= 0 || h <= 0) return;  // a control too small for a strip
    FBitmap.SetPixelFormat(TPixelFormat::pf24bit);
    FBitmap.SetSize(w, h);
    const HDC bitmap = FBitmap.Canvas()->Handle();
    FillParentColor(bitmap, {0, 0, w, h});
    {
        const TSelectObject font(bitmap, ControlFont(Handle()));
        const TTabItems items(Handle(), FUnicodeItems);
        for (int i = 0; i < items.Count(); ++i) {
            RECT tab{};
            if (!items.ItemRect(i, tab)) continue;
            tab = IntoStrip(tab, FOrientation, Rect, Pane, w);
            const int state = i == items.Focused() ? 2 : 1;
            DrawSkinPart(bitmap, tab, FTabBitmap, MarginsOf(tabs), TabCell(tabs, state));
            if (FCloseButtons) DrawCloseBox(bitmap, tab);
            ::SetTextColor(bitmap, ColorToRGB(state == 1 ? tabs.FNormalColour2 : tabs.FMouseOverColour2));
            const TTabItem item = items.Item(i);
            DrawImageCaption(this, bitmap, tab, items.ImageList(), item.Image, item.Caption,
                             TCaptionAlignment::caCenter);
        }
    }
    if (FOrientation == toRight) RotateBitmapCW(FBitmap);
    else if (FOrientation == toLeft) RotateBitmapCCW(FBitmap);
    // The scroll arrows of tabs that do not fit are never painted over.
    const int saved = ::SaveDC(DC);
    RECT arrows{};
    if (const HWND updown = VisibleUpDown(*this); updown != nullptr && ::GetWindowRect(updown, &arrows)) {
        ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&arrows), 2);
        ::ExcludeClipRect(DC, arrows.left, arrows.top, arrows.right, arrows.bottom);
    }
    ::BitBlt(DC, Strip.left, Strip.top, stripWidth, stripHeight, FBitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
    if (saved != 0) ::RestoreDC(DC, saved);
    FCloseBoxesShown = FCloseButtons;
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

bool TSkinTabBtn::BeforeProc(TMessage& Message)
{
    // Without the [Buttons] strip the control draws its tabs itself.
    if (Message.Msg != WM_PAINT || !HasStripImage(SkinData()->FButtons.get()))
        return TSkinControl::BeforeProc(Message);
    HandlePaint(Message);
    return false;
}

void TSkinTabBtn::PaintControl(HDC DC, const RECT& Rect)
{
    const TDataSkinButton* buttons = SkinData()->FButtons.get();
    SetEnabled((::GetWindowLongW(Handle(), GWL_STYLE) & WS_DISABLED) == 0);
    if (!HasStripImage(buttons)) return;
    // The strip ends where a pane would begin: 4 pixels above the pages, one down.
    RECT pages = Rect;
    ::SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pages));
    const int w = Rect.right - Rect.left, h = pages.top - 4 + 1 - Rect.top;
    if (w <= 0 || h <= 0) return;
    TBitmap strip;
    strip.SetPixelFormat(TPixelFormat::pf24bit);
    strip.SetSize(w, h);
    const HDC bitmap = strip.Canvas()->Handle();
    FillSkinColor(bitmap, {0, 0, w, h});
    {
        const TSelectObject font(bitmap, ControlFont(Handle()));
        ::SetTextColor(bitmap, RGB(0, 0, 0));
        const TTabItems items(Handle(), Unicode());
        for (int i = 0; i < items.Count(); ++i) {
            RECT tab{};
            if (!items.ItemRect(i, tab)) continue;
            ::OffsetRect(&tab, -Rect.left, 1 - Rect.top);
            const int state = i == items.Focused() ? 2 : 1;
            DrawSkinState(bitmap, tab, buttons, state, buttons->FFrame);
            // Without a colour of the skin's own the last one stays.
            if (state == 1 && buttons->FHasNormalColour2) ::SetTextColor(bitmap, ColorToRGB(buttons->FNormalColour2));
            if (state == 2 && buttons->FHasPressedColour2) ::SetTextColor(bitmap, ColorToRGB(buttons->FPressedColour2));
            const TTabItem item = items.Item(i);
            DrawImageCaption(this, bitmap, tab, items.ImageList(), item.Image, item.Caption,
                             TCaptionAlignment::caCenter);
        }
    }
    ::BitBlt(DC, Rect.left, Rect.top, w, h, bitmap, 0, 0, SRCCOPY);
}

// --- TSkinTab31: the tab set's tabs laid out here, those that fit between its margins.

bool TSkinTab31::InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool)
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

bool TSkinTab31::BeforeProc(TMessage& Message)
{
    // Without a strip the set paints (and erases) itself.
    if ((Message.Msg == WM_PAINT || Message.Msg == WM_ERASEBKGND) && !HasStrip())
        return TSkinControl::BeforeProc(Message);
    switch (Message.Msg) {
    case WM_PAINT:
        // The skin paints the whole set; the set's own paint would be drawn over.
        HandlePaint(Message);
        Message.Result = 0;
        return false;
    case WM_ERASEBKGND:
        Message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeProc(Message);
    }
}

void TSkinTab31::PaintControl(HDC DC, const RECT& Rect)
{
    const TDataSkinBorder* tabs = SkinData()->FTabs.get();
    const TObject* set = Owner();
    const auto* list = dynamic_cast<const TStrings*>(GetObjectPropByName(set, "Tabs", TStrings::StaticClassInfo()));
    const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    if (tabs == nullptr || FTabBitmap.Empty() || list == nullptr || w <= 0 || h <= 0) return;
    TBitmap image;
    image.SetPixelFormat(TPixelFormat::pf24bit);
    image.SetSize(w, h);
    const HDC bitmap = image.Canvas()->Handle();
    FillSkinColor(bitmap, {0, 0, w, h});
    {
        const auto* font = dynamic_cast<const TFont*>(GetObjectPropByName(set, "Font", TPersistent::StaticClassInfo()));
        const TSelectObject selected(bitmap, font != nullptr ? font->Handle() : ::GetStockObject(DEFAULT_GUI_FONT));
        const int current = GetOrdPropByName(set, "TabIndex");
        const int limit = w - std::max(0, GetOrdPropByName(set, "EndMargin"));
        int x = std::max(0, GetOrdPropByName(set, "StartMargin"));
        for (int i = std::max(0, GetOrdPropByName(set, "FirstIndex")); i < list->Count(); ++i) {
            const std::wstring caption = TextToWide(list->Get(i));
            SIZE extent{};
            ::GetTextExtentPoint32W(bitmap, caption.c_str(), static_cast<int>(caption.size()), &extent);
            const int width = extent.cx + 9;
            if (x + width > limit) continue;  // a later, shorter tab may still fit
            const RECT tab{x, 0, x + width, h};
            const int state = i == current ? 2 : 1;
            DrawSkinPart(bitmap, tab, FTabBitmap, MarginsOf(*tabs), TabCell(*tabs, state));
            ::SetTextColor(bitmap, ColorToRGB(state == 1 ? tabs->FNormalColour2 : tabs->FMouseOverColour2));
            DrawControlCaption(this, bitmap, tab, caption, true, DT_CENTER);
            x += width;
        }
    }
    ::BitBlt(DC, Rect.left, Rect.top, w, h, bitmap, 0, 0, SRCCOPY);
}

// --- TSkinAdvPage: the tab images handed over as bitmap properties; nothing drawn here.

namespace {

const char* const kTabBackgrounds[] = {"TabBackGround", "TabBackGroundActive"};  // cells 1 and 2

TBitmap* BitmapProperty(TControl* Control, const char* Name)
{
    return dynamic_cast<TBitmap*>(GetObjectPropByName(Control, Name, TPersistent::StaticClassInfo()));
}

}  // namespace

bool TSkinAdvPage::InitSkin(TWinSkinForm* Form, TSkinData* SkinData, bool ChangeColor)
{
    if (Attached()) return true;
    if (!TSkinControl::InitSkin(Form, SkinData, ChangeColor)) return false;
    ApplyBackgrounds();
    return true;
}

void TSkinAdvPage::UpdateSkin()
{
    ApplyBackgrounds();
}

void TSkinAdvPage::PaintControl(HDC, const RECT&)
{
    SkinUpDownChild(*this, false);
}

void TSkinAdvPage::ApplyBackgrounds()
{
    const TDataSkinBorder* tabs = SkinData()->FTabs.get();
    if (FPageKind != AdvPageKind || tabs == nullptr || tabs->FBitmap->Empty()) return;
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
