// The tab adapters against the default skin's cells, read back from the
// screen of a Wine virtual desktop: tabs on every side and as buttons, the
// pane, Chinese captions, close boxes and what the application answers to
// them, the scroll arrows of a strip that does not fit, what is left to the
// controls under a skin without the strips, the older tab set, and another
// library's page control that takes its tab images as properties.
#include "tests/skin/support/AdapterFixture.h"

#include "classlib/ComCtrls.h"
#include "classlib/Text.h"
#include "classlib/portable/TypInfo.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/SkinRange.h"
#include "skin/adapters/SkinTab.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace frametest {
namespace {

using frameharness::TWindowCapture;

const char kChinese[] = "\xD6\xD0\xCE\xC4";  // GB2312 "中文"

RECT ItemRect(HWND Tab, int Index)
{
    RECT r{};
    ::SendMessageW(Tab, TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
    return r;
}

// Row Row of the middle of cell Index of Element's strip.
COLORREF EdgeOf(const TDataSkinObject& Element, int Index, int Row)
{
    TBitmap& strip = *Element.FBitmap;
    return CellPixel(strip, Index, Element.FFrame, false, strip.Width() / Element.FFrame / 2, Row);
}

// The middle of Rect's edge on Side, Inset pixels in.
POINT SidePoint(const RECT& Rect, TTabOrientation Side, int Inset)
{
    const int x = (Rect.left + Rect.right) / 2, y = (Rect.top + Rect.bottom) / 2;
    switch (Side) {
    case toTop: return {x, Rect.top + Inset};
    case toBottom: return {x, Rect.bottom - 1 - Inset};
    case toLeft: return {Rect.left + Inset, y};
    case toRight: return {Rect.right - 1 - Inset, y};
    }
    return {};
}

TWindowCapture Repainted(HWND Window)
{
    ::RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    return TWindowCapture::Take(Window);
}

// The width of what differs from Background in Rect's middle rows: the text there.
int InkWidth(const TWindowCapture& Shot, const RECT& Rect, COLORREF Background)
{
    int left = Rect.right, right = Rect.left - 1;
    for (int y = Rect.top + 6; y < Rect.bottom - 4; ++y)
        for (int x = Rect.left + 3; x < Rect.right - 3; ++x)
            if (Shot.Pixel(x, y) != Background) left = std::min(left, x), right = std::max(right, x);
    return right - left + 1;
}

int TextWidth(HFONT Font, const std::wstring& Text)
{
    const TWindowDC dc(nullptr, ::GetDC(nullptr));
    const TSelectObject font(dc.Get(), Font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc.Get(), Text.c_str(), static_cast<int>(Text.size()), &size);
    return size.cx;
}

class TabAdapterTest : public AdapterTest {
protected:
    static TPageControl* AddPages(TForm* Form, RECT Bounds, const std::vector<std::string>& Captions)
    {
        auto* pages = new TPageControl(Form);
        pages->SetParent(Form);
        pages->SetBounds(Bounds.left, Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top);
        for (const std::string& caption : Captions) {
            auto* page = new TTabSheet(Form);
            page->SetParent(pages);
            page->SetCaption(caption);
        }
        return pages;
    }

    // A system tab control with these items, not skinned.
    static HWND AddRawTabs(TForm* Form, RECT Bounds, DWORD Style, const std::vector<std::string>& Captions)
    {
        const HWND tab = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | Style, Bounds.left,
                                          Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top,
                                          Form->Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(tab, WM_SETFONT, reinterpret_cast<WPARAM>(Form->Font()->Handle()), FALSE);
        for (size_t i = 0; i < Captions.size(); ++i) {
            std::wstring text = TextToWide(Captions[i]);
            TCITEMW item{TCIF_TEXT, 0, 0, text.data(), 0, -1, 0};
            ::SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
        return tab;
    }
};

TEST_F(TabAdapterTest, TabsOnEverySideAndAsButtonsAreDrawnFromTheSkinsCells)
{
    const TSkinnedForm made = MakeForm();
    made.Form->SetBounds(0, 0, 1000, 700);
    made.Form->Font()->SetName("\xCB\xCE\xCC\xE5");  // the Chinese edition's font
    made.Form->Font()->SetCharset(GB2312_CHARSET);
    const std::vector<std::string> captions{"one", "two", kChinese};
    TPageControl* top = AddPages(made.Form, {10, 10, 330, 210}, captions);
    TPageControl* bottom = AddPages(made.Form, {340, 10, 660, 210}, captions);
    bottom->SetTabPosition(TTabPosition::tpBottom);
    TPageControl* buttons = AddPages(made.Form, {670, 10, 990, 210}, captions);
    buttons->SetStyle(TTabStyle::tsButtons);
    for (TPageControl* p : {top, bottom, buttons}) p->SetActivePage(p->Pages(1));
    auto* plain = new TCustomTabControl(made.Form);  // no page control: a label of its own over the pane
    plain->SetParent(made.Form);
    plain->SetBounds(670, 220, 320, 200);
    auto* label = new TLabel(made.Form);
    label->SetParent(plain);
    label->SetBounds(20, 60, 100, 20);
    label->SetCaption("label");
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    // Side tabs exist only as system tab controls.
    const HWND left = AddRawTabs(made.Form, {10, 220, 330, 420}, TCS_VERTICAL | TCS_MULTILINE, captions);
    const HWND right = AddRawTabs(made.Form, {340, 220, 660, 420}, TCS_VERTICAL | TCS_MULTILINE | TCS_BOTTOM, captions);
    for (HWND raw : {left, right}) {
        ::SendMessageW(raw, TCM_SETCURSEL, 1, 0);
        ASSERT_TRUE((new TSkinTab(frame))->InitSkinHandle(raw, made.Data, frame));
    }
    EXPECT_NE(dynamic_cast<TSkinTabBtn*>(FindSkinObject(buttons->WindowHandle())), nullptr);

    const TDataSkinObject* tabs = made.Data->FTabs.get();
    ASSERT_NE(tabs, nullptr);
    const struct {
        HWND Window;
        TTabOrientation Side;
        const TDataSkinObject* Cells;  // Tabs, or Buttons for button-style tabs (no pane)
    } rows[] = {{top->WindowHandle(), toTop, tabs},
                {bottom->WindowHandle(), toBottom, tabs},
                {left, toLeft, tabs},
                {right, toRight, tabs},
                {buttons->WindowHandle(), toTop, made.Data->FButtons.get()}};
    TBitmap& pane = *made.Data->FTabPane->FBitmap;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "side " << row.Side << (row.Cells == tabs ? "" : ", buttons"));
        if (const auto* adapter = dynamic_cast<const TSkinTab*>(FindSkinObject(row.Window))) {
            EXPECT_EQ(adapter->Orientation(), row.Side);
        }
        const TWindowCapture shot = Repainted(row.Window);
        // The tab with the focus in the second cell, the others in the first;
        // the strip draws each tab one pixel towards its side.
        const int shift = row.Side == toTop || row.Side == toBottom ? 1 : 0;
        for (int i = 0; i < 3; ++i)
            for (int edge : {0, 1}) {
                const POINT p = SidePoint(ItemRect(row.Window, i), row.Side, edge + shift);
                EXPECT_EQ(shot.Pixel(p.x, p.y), EdgeOf(*row.Cells, i == 1 ? 2 : 1, edge)) << "tab " << i;
            }
        if (row.Cells == tabs) {
            RECT r{};
            ::GetClientRect(row.Window, &r);
            ::SendMessageW(row.Window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
            ::InflateRect(&r, 4, 4);
            const POINT p = SidePoint(r, row.Side, 1);
            EXPECT_EQ(shot.Pixel(p.x, p.y), CellPixel(pane, 1, 1, false, 0, 8)) << "pane";
        }
        if (row.Side == toTop) {  // the Chinese caption as wide as its two characters
            const int text = TextWidth(made.Form->Font()->Handle(), TextToWide(kChinese));
            EXPECT_NEAR(InkWidth(shot, ItemRect(row.Window, 2), EdgeOf(*row.Cells, 1, 8)), text, 3);
        }
    }
    EXPECT_GT(InkWidth(Repainted(plain->WindowHandle()), {20, 54, 120, 84}, CellPixel(pane, 1, 1, false, 8, 8)), 10);
}

TEST_F(TabAdapterTest, CloseBoxesAskTheApplicationWhichKeepsOrFreesThePageOrFreesThePageControl)
{
    const TSkinnedForm made = MakeForm();
    TPageControl* pages = AddPages(made.Form, {10, 10, 370, 210}, {"first", "second", "third"});
    pages->SetTag(kCloseBoxTag);
    TPageControl* untagged = AddPages(made.Form, {10, 215, 370, 260}, {"a", "b"});
    LRESULT answer = 1;
    bool freeControl = false;
    std::vector<std::pair<WPARAM, LPARAM>> asked;
    const TWndMethod formProc = made.Form->WindowProc;
    made.Form->WindowProc = [&, formProc](TMessage& m) {
        if (m.Msg != WM_SKIN_TABCLOSE) return formProc(m);
        asked.emplace_back(m.WParam, m.LParam);
        if (freeControl) delete std::exchange(pages, nullptr);
        m.Result = answer;
    };
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    const HWND wnd = pages->WindowHandle();
    auto* adapter = dynamic_cast<TSkinTab*>(FindSkinObject(wnd));
    ASSERT_NE(adapter, nullptr);
    EXPECT_TRUE(adapter->CloseButtons());
    EXPECT_FALSE(dynamic_cast<TSkinTab&>(*FindSkinObject(untagged->WindowHandle())).CloseButtons());
    const auto box = [&](int i) {
        RECT t = ItemRect(wnd, i);
        ::OffsetRect(&t, 0, 1);
        return CloseBoxRect(t);
    };
    const TWindowCapture shot = Repainted(wnd);
    EXPECT_EQ(shot.Pixel(box(1).left, box(1).top), RGB(0, 0, 0));
    EXPECT_EQ(shot.Pixel(box(1).right - 1, box(1).bottom - 1), RGB(0, 0, 0));
    const auto press = [&](int i) {
        const LPARAM at = MAKELPARAM(box(i).left + 3, box(i).top + 3);
        ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(wnd, WM_LBUTTONUP, 0, at);
        Pump();
    };
    TTabSheet* first = pages->Pages(0);
    TTabSheet* third = pages->Pages(2);

    press(1);  // kept, and the press did not select its tab
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(reinterpret_cast<WPARAM>(wnd), LPARAM{1}));
    EXPECT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->ActivePage(), first);

    answer = 0;
    // A skin without the Tabs strip shows no close boxes: a press there is the tab's own.
    std::unique_ptr<TDataSkinBorder> strip = std::move(made.Data->FTabs);
    adapter->UpdateSkin();
    press(1);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(1));
    made.Data->FTabs = std::move(strip);
    adapter->UpdateSkin();
    pages->SetActivePage(first);

    press(1);
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->Pages(0), first);
    EXPECT_EQ(pages->Pages(1), third);
    EXPECT_EQ(pages->ActivePage(), first);

    freeControl = true;  // the handler frees the page control under the adapter's press
    press(1);
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_EQ(pages, nullptr);
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_EQ(FindSkinObject(wnd), nullptr);
}

TEST_F(TabAdapterTest, ScrollArrowsOfAStripThatDoesNotFitAreNotPaintedOverAndNothingIsLeftBehind)
{
    const TSkinnedForm made = MakeForm();
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const HWND tab = AddRawTabs(made.Form, {10, 10, 300, 150}, 0, std::vector<std::string>(12, "a long caption"));
    const HWND arrows = ::FindWindowExW(tab, nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_TRUE(arrows != nullptr && ::IsWindowVisible(arrows));
    auto* adapter = new TSkinTab(frame);
    ASSERT_TRUE(adapter->InitSkinHandle(tab, made.Data, frame));
    EXPECT_NE(dynamic_cast<TSkinUpDown*>(FindSkinObject(arrows)), nullptr);  // the arrows skinned themselves
    // Painted into a blank bitmap: the arrows' place is left as it was.
    const TWindowCapture shot = TWindowCapture::Paint(
        tab, [tab](HDC DC) { ::SendMessageW(tab, WM_PAINT, reinterpret_cast<WPARAM>(DC), 0); });
    RECT r{};
    ::GetWindowRect(arrows, &r);
    ::MapWindowPoints(nullptr, tab, reinterpret_cast<POINT*>(&r), 2);
    int painted = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) painted += shot.Pixel(x, y) != RGB(0, 0, 0);
    EXPECT_EQ(painted, 0);
    EXPECT_NE(shot.Pixel(r.left - 1, r.top + 3), RGB(0, 0, 0));  // the strip up to them

    Repainted(tab);  // the drawing primitives' caches filled once
    adapter->Free();
    ExpectNothingLeftAfter(
        20,
        [&] {
            adapter = new TSkinTab(frame);
            ASSERT_TRUE(adapter->InitSkinHandle(tab, made.Data, frame));
            adapter->UpdateSkin();
            Repainted(tab);
        },
        [&] { adapter->Free(); });
}

// The older tab set as the dispatch knows it, by its class name; it counts
// the paints that reach its own procedure and the components made for it.
class TTabSetLike : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    using TWinControl::TWinControl;
    int OwnPaints = 0;
    int Inserted = 0;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_PAINT) ++OwnPaints;
        TWinControl::WndProc(Message);
    }
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        if (Operation == TOperation::opInsert && AComponent->Owner() == this) ++Inserted;
        TWinControl::Notification(AComponent, Operation);
    }
};

const TClassInfo& TTabSetLike::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTabSetLike>("TTabSet", TWinControl::StaticClassInfo()).Build();
    return info;
}

// A tab adapter that a test can have paint a window of any size.
class TAnySizeTab : public TSkinTab {
public:
    using TSkinTab::TSkinTab;
    using TSkinTab::PaintControl;
};

TEST_F(TabAdapterTest, WithoutTheSkinsStripsTabsPaintThemselvesAndAPaneThatCannotBeMadeIsLeftOut)
{
    const TSkinnedForm made = MakeForm();
    TPageControl* pages = AddPages(made.Form, {10, 10, 330, 210}, {"one", "two"});
    TPageControl* buttons = AddPages(made.Form, {340, 10, 660, 210}, {"one", "two"});
    buttons->SetStyle(TTabStyle::tsButtons);
    auto* set = PlaceAt<TTabSetLike>(made.Form, {10, 220, 330, 250});
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(dynamic_cast<TSkinTab31*>(FindSkinObject(set->WindowHandle())), nullptr);
    // A change to a skin whose Tabs and Buttons elements have no strips.
    made.Data->FTabs->FBitmap->SetSize(0, 0);
    made.Data->FButtons->FBitmap->SetSize(0, 0);
    for (HWND w : {pages->WindowHandle(), buttons->WindowHandle(), set->WindowHandle()})
        dynamic_cast<TSkinControl&>(*FindSkinObject(w)).UpdateSkin();
    for (TPageControl* p : {pages, buttons}) {
        const HWND w = p->WindowHandle();
        const TWindowCapture shot = TWindowCapture::Paint(
            w, [w](HDC DC) { ::SendMessageW(w, WM_PAINT, reinterpret_cast<WPARAM>(DC), 0); });
        const RECT tab = ItemRect(w, 0);
        int drawn = 0;
        for (int x = tab.left; x < tab.right; ++x) drawn += shot.Pixel(x, (tab.top + tab.bottom) / 2) != RGB(0, 0, 0);
        EXPECT_GT(drawn, (tab.right - tab.left) / 2) << (p == buttons ? "buttons" : "tabs");
    }
    Repainted(set->WindowHandle());
    EXPECT_GT(set->OwnPaints, 0);

    // A pane too large for a bitmap is left out, without raising.
    const HWND raw = AddRawTabs(made.Form, {10, 260, 330, 400}, 0, {"one"});
    auto* adapter = new TAnySizeTab(frame);
    ASSERT_TRUE(adapter->InitSkinHandle(raw, made.Data, frame));
    TWindowCapture::Paint(raw,
                          [adapter](HDC DC) { EXPECT_NO_THROW(adapter->PaintControl(DC, {0, 0, 320, 1 << 30})); });
}

TEST_F(TabAdapterTest, ATabSetIsSkinnedOnceHoweverOftenItsFormIsWalked)
{
    const TSkinnedForm made = MakeForm();
    auto* set = PlaceAt<TTabSetLike>(made.Form, {10, 10, 330, 40});
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    for (int i = 0; i < 3; ++i) ::SendMessageW(made.Form->Handle(), WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
    EXPECT_EQ(set->Inserted, 1);
    const TSkinControl* adapter = frame->FindControl(set);
    EXPECT_NE(dynamic_cast<const TSkinTab31*>(adapter), nullptr);
    EXPECT_EQ(FindSkinObject(set->WindowHandle()), adapter);
}

// Another library's page control with bitmap properties for its tab images.
class TAdvPages : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    using TWinControl::TWinControl;
    TBitmap* Normal() const { return FNormal.get(); }
    TBitmap* Active() const { return FActive.get(); }

private:
    std::unique_ptr<TBitmap> FNormal = std::make_unique<TBitmap>(), FActive = std::make_unique<TBitmap>();
};

const TClassInfo& TAdvPages::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TAdvPages>("TAdvPages", TWinControl::StaticClassInfo())
                                       .Object("TabBackGround", &TAdvPages::Normal)
                                       .Object("TabBackGroundActive", &TAdvPages::Active)
                                       .Build();
    return info;
}

TEST_F(TabAdapterTest, OtherLibrariesPageControlsGetTheirTabImagesAndGiveBackTheirColour)
{
    const TSkinnedForm made = MakeForm();
    made.Data->Skin3rd()->Add("TAdvPages=advpagecontrol");
    // Middles of two colours (the default skin's are plain): the element is
    // transparent and not tiled, and its images' middles repeat across.
    TDataSkinBorder& tabs = *made.Data->FTabs;
    tabs.FTrans = 1;
    tabs.FTile = 0;
    const COLORREF marker = RGB(10, 200, 30);
    const int width = tabs.FBitmap->Width() / tabs.FFrame;
    tabs.FBitmap->Canvas()->SetBrushColor(marker);
    for (int i = 0; i < 2; ++i) {
        const RECT half{i * width + width / 2, tabs.FTopHeight, (i + 1) * width - tabs.FRightWidth,
                        tabs.FBitmap->Height() - tabs.FBottomHeight};
        tabs.FBitmap->Canvas()->FillRect(half);
    }
    auto* adv = new TAdvPages(made.Form);
    adv->SetParent(made.Form);
    adv->SetBounds(10, 50, 200, 100);
    adv->SetColor(0x123456);
    // The application's own normal image (the active one it left empty).
    adv->Normal()->SetPixelFormat(TPixelFormat::pf24bit);
    adv->Normal()->SetSize(7, 3);
    adv->Normal()->Canvas()->SetBrushColor(0x00FF00);
    const RECT own{0, 0, 7, 3};
    adv->Normal()->Canvas()->FillRect(own);
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    ASSERT_NE(dynamic_cast<TSkinAdvPage*>(FindSkinObject(adv->WindowHandle())), nullptr);
    for (int cell : {1, 2}) {
        TBitmap& image = *(cell == 1 ? adv->Normal() : adv->Active());
        ASSERT_TRUE(image.Width() == 100 && image.Height() == 21);
        EXPECT_EQ(CellPixel(image, 1, 1, false, 50, 1), EdgeOf(*made.Data->FTabs, cell, 1));
        // Tiled, the second colour comes early and the first again late; stretched, the reverse.
        EXPECT_EQ(CellPixel(image, 1, 1, false, 30, 10), marker) << cell;
        EXPECT_NE(CellPixel(image, 1, 1, false, 75, 10), marker) << cell;
    }
    EXPECT_EQ(adv->Color(), made.Data->FButtonFaceColor);
    made.Data->FButtonFaceColor = 0x00A0B0C0;  // a skin change recolours it
    dynamic_cast<TSkinControl&>(*FindSkinObject(adv->WindowHandle())).UpdateSkin();
    EXPECT_EQ(adv->Color(), 0x00A0B0C0);
    const HWND arrows = ::CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 150, 5, 20, 20,
                                          adv->WindowHandle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(arrows, nullptr);
    Repainted(adv->WindowHandle());
    EXPECT_NE(dynamic_cast<TSkinUpDown*>(FindSkinObject(arrows)), nullptr);
    RunAction(made.Data, saUnskinAll);
    EXPECT_TRUE(adv->Normal()->Width() == 7 && adv->Normal()->Height() == 3);
    EXPECT_EQ(CellPixel(*adv->Normal(), 1, 1, false, 3, 1), 0x00FF00u);
    EXPECT_TRUE(adv->Active()->Empty());
    EXPECT_EQ(adv->Color(), 0x123456);
}

}  // namespace
}  // namespace frametest
