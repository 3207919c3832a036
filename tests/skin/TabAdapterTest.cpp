// The tab adapters against the default skin's cells, read back from the
// screen of a Wine virtual desktop: tabs on every side and as buttons, the
// pane, Chinese captions, close boxes and what the application answers to
// them, the scroll arrows of a strip that does not fit, the tab set and
// another library's page control that takes its tab images as properties.
#include "AdapterFixture.h"

#include "classlib/ComCtrls.h"
#include "classlib/Text.h"
#include "classlib/portable/StringList.h"
#include "classlib/portable/TypInfo.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/SkinTab.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace frametest {
namespace {

// "中文" in GB2312, and the font the edition shows it in.
const char kChinese[] = "\xD6\xD0\xCE\xC4";
const char kSongTi[] = "\xCB\xCE\xCC\xE5";

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

// Where row Row of a tab's outer edge is shown (window coordinates): the
// strip lies one pixel towards the tabs' side.
POINT OuterEdge(const RECT& Tab, TTabOrientation Side, int Row)
{
    const int x = (Tab.left + Tab.right) / 2, y = (Tab.top + Tab.bottom) / 2;
    switch (Side) {
    case toTop: return {x, Tab.top + 1 + Row};
    case toBottom: return {x, Tab.bottom - 2 - Row};
    case toLeft: return {Tab.left + Row, y};
    case toRight: return {Tab.right - 1 - Row, y};
    }
    return {};
}

// The pane's border next to the tabs.
POINT PaneEdge(HWND Tab, TTabOrientation Side)
{
    RECT d{};
    ::GetClientRect(Tab, &d);
    ::SendMessageW(Tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
    ::InflateRect(&d, 4, 4);
    const int x = (d.left + d.right) / 2, y = (d.top + d.bottom) / 2;
    switch (Side) {
    case toTop: return {x, d.top + 1};
    case toBottom: return {x, d.bottom - 2};
    case toLeft: return {d.left + 1, y};
    case toRight: return {d.right - 2, y};
    }
    return {};
}

frameharness::TWindowCapture Repainted(HWND Window, UINT Flags = 0)
{
    ::RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | Flags);
    Pump();
    return frameharness::TWindowCapture::Take(Window);
}

// Columns of Rect's middle rows (window coordinates) holding anything but
// Background: the width of the text drawn there.
int InkWidth(const frameharness::TWindowCapture& Shot, const RECT& Rect, COLORREF Background)
{
    int left = Rect.right, right = Rect.left - 1;
    for (int y = Rect.top + 6; y < Rect.bottom - 4; ++y)
        for (int x = Rect.left + 3; x < Rect.right - 3; ++x)
            if (Shot.Pixel(x, y) != Background) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return right - left + 1;
}

int TextWidth(HFONT Font, const std::wstring& Text)
{
    const HDC dc = ::GetDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, Font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, Text.c_str(), static_cast<int>(Text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return size.cx;
}

class TabAdapterTest : public AdapterTest {
protected:
    TPageControl* AddPages(TForm* Form, RECT Bounds, const std::vector<std::string>& Captions)
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
    HWND AddRawTabs(TForm* Form, RECT Bounds, DWORD Style, const std::vector<std::wstring>& Captions)
    {
        const HWND tab = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | Style, Bounds.left,
                                          Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top,
                                          Form->Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(tab, WM_SETFONT, reinterpret_cast<WPARAM>(Form->Font()->Handle()), FALSE);
        for (size_t i = 0; i < Captions.size(); ++i) {
            std::wstring text = Captions[i];
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            ::SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
        return tab;
    }
};

TEST_F(TabAdapterTest, TabsOnEverySideAndAsButtonsAreDrawnFromTheSkinsCells)
{
    const TSkinnedForm made = MakeForm();
    made.Form->SetBounds(0, 0, 1000, 700);
    made.Form->Font()->SetName(kSongTi);
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
    const std::vector<std::wstring> wide{L"one", L"two", TextToWide(kChinese)};
    const HWND left = AddRawTabs(made.Form, {10, 220, 330, 420}, TCS_VERTICAL | TCS_MULTILINE, wide);
    const HWND right = AddRawTabs(made.Form, {340, 220, 660, 420}, TCS_VERTICAL | TCS_MULTILINE | TCS_BOTTOM, wide);
    for (HWND raw : {left, right}) {
        ::SendMessageW(raw, TCM_SETCURSEL, 1, 0);
        ASSERT_TRUE((new TSkinTab(frame))->InitSkinHandle(raw, made.Data, frame));
    }
    EXPECT_NE(dynamic_cast<TSkinTabBtn*>(FindSkinObject(buttons->WindowHandle())), nullptr);

    struct TRow {
        const char* Name;
        HWND Window;
        TTabOrientation Side;
        const TDataSkinObject* Cells;  // Tabs, or Buttons for button-style tabs (no pane)
    };
    const TDataSkinObject* tabs = made.Data->FTabs.get();
    ASSERT_NE(tabs, nullptr);
    const TRow rows[] = {
        {"top", top->WindowHandle(), toTop, tabs},
        {"bottom", bottom->WindowHandle(), toBottom, tabs},
        {"left", left, toLeft, tabs},
        {"right", right, toRight, tabs},
        {"buttons", buttons->WindowHandle(), toTop, made.Data->FButtons.get()},
    };
    const COLORREF paneBorder = CellPixel(*made.Data->FTabPane->FBitmap, 1, 1, false, 0, 8);
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        const auto* adapter = dynamic_cast<TSkinControl*>(FindSkinObject(row.Window));
        ASSERT_NE(adapter, nullptr);
        if (const auto* tab = dynamic_cast<const TSkinTab*>(adapter)) {
            EXPECT_EQ(tab->Orientation(), row.Side);
        }
        const frameharness::TWindowCapture shot = Repainted(row.Window);
        // The tab with the focus in the second cell, the others in the first.
        for (int i = 0; i < 3; ++i)
            for (int edgeRow : {0, 1}) {
                const POINT p = OuterEdge(ItemRect(row.Window, i), row.Side, edgeRow);
                EXPECT_EQ(shot.Pixel(p.x, p.y), EdgeOf(*row.Cells, i == 1 ? 2 : 1, edgeRow)) << "tab " << i;
            }
        if (row.Cells == tabs) {
            const POINT p = PaneEdge(row.Window, row.Side);
            EXPECT_EQ(shot.Pixel(p.x, p.y), paneBorder);
        }
        if (row.Side == toTop) {
            // The Chinese caption shows as wide as its two characters.
            const int text = TextWidth(made.Form->Font()->Handle(), TextToWide(kChinese));
            EXPECT_NEAR(InkWidth(shot, ItemRect(row.Window, 2), EdgeOf(*row.Cells, 1, 8)), text, 3);
        }
    }
    const COLORREF paneInside = CellPixel(*made.Data->FTabPane->FBitmap, 1, 1, false, 8, 8);
    EXPECT_GT(InkWidth(Repainted(plain->WindowHandle()), {20, 54, 120, 84}, paneInside), 10);
}

TEST_F(TabAdapterTest, CloseBoxesAskTheApplicationWhichKeepsOrFreesThePageOrFreesThePageControl)
{
    const TSkinnedForm made = MakeForm();
    TPageControl* pages = AddPages(made.Form, {10, 10, 370, 210}, {"first", "second", "third"});
    pages->SetTag(CloseBoxTag);
    TPageControl* untagged = AddPages(made.Form, {10, 215, 370, 260}, {"a", "b"});
    LRESULT answer = 1;
    bool freeControl = false;
    std::vector<std::pair<WPARAM, LPARAM>> asked;
    const TWndMethod formProc = made.Form->WindowProc;
    made.Form->WindowProc = [&, formProc](TMessage& m) {
        if (m.Msg != WM_SKIN_TABCLOSE) return formProc(m);
        asked.emplace_back(m.WParam, m.LParam);
        if (freeControl) {
            delete pages;
            pages = nullptr;
        }
        m.Result = answer;
    };
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    const HWND wnd = pages->WindowHandle();
    const auto* adapter = dynamic_cast<TSkinTab*>(FindSkinObject(wnd));
    ASSERT_NE(adapter, nullptr);
    EXPECT_TRUE(adapter->CloseButtons());
    EXPECT_FALSE(dynamic_cast<TSkinTab&>(*FindSkinObject(untagged->WindowHandle())).CloseButtons());
    const auto box = [&](int i) {
        RECT t = ItemRect(wnd, i);
        ::OffsetRect(&t, 0, 1);
        return CloseBoxRect(t);
    };
    const frameharness::TWindowCapture shot = Repainted(wnd);
    EXPECT_EQ(shot.Pixel(box(1).left, box(1).top), RGB(0, 0, 0));
    EXPECT_EQ(shot.Pixel(box(1).right - 1, box(1).bottom - 1), RGB(0, 0, 0));
    const auto press = [&](int i) {
        const RECT b = box(i);
        const LPARAM at = MAKELPARAM(b.left + 3, b.top + 3);
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
    std::vector<std::wstring> captions;
    for (int i = 0; i < 12; ++i) captions.push_back(L"a long caption " + std::to_wstring(i));
    const HWND tab = AddRawTabs(made.Form, {10, 10, 300, 150}, 0, captions);
    const HWND arrows = ::FindWindowExW(tab, nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_TRUE(arrows != nullptr && ::IsWindowVisible(arrows));
    auto* adapter = new TSkinTab(frame);
    ASSERT_TRUE(adapter->InitSkinHandle(tab, made.Data, frame));
    // Painted into a blank bitmap: the arrows' place is left as it was.
    const frameharness::TWindowCapture shot = frameharness::TWindowCapture::Paint(
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

// The older tab set, as its class is known by name.
class TTabSet : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TTabSet(TComponent* AOwner) : TWinControl(AOwner) { SetColor(0x0000FF); }

    TStrings* Tabs() const { return FTabs.get(); }
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int Value) { FTabIndex = Value; }
    int Margin() const { return FMargin; }
    void SetMargin(int Value) { FMargin = Value; }
    int FirstIndex() const { return FFirstIndex; }
    void SetFirstIndex(int Value) { FFirstIndex = Value; }

private:
    std::unique_ptr<TStringList> FTabs = std::make_unique<TStringList>();
    int FTabIndex = 0;
    int FMargin = 5;
    int FFirstIndex = 0;
};

const TClassInfo& TTabSet::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTabSet>("TTabSet", TWinControl::StaticClassInfo())
                                       .Object("Tabs", &TTabSet::Tabs)
                                       .Integer("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex)
                                       .Integer("StartMargin", &TTabSet::Margin, &TTabSet::SetMargin)
                                       .Integer("EndMargin", &TTabSet::Margin, &TTabSet::SetMargin)
                                       .Integer("FirstIndex", &TTabSet::FirstIndex, &TTabSet::SetFirstIndex)
                                       .Build();
    return info;
}

TEST_F(TabAdapterTest, TabSetDrawsTheTabsThatFitBetweenItsMargins)
{
    const TSkinnedForm made = MakeForm();
    auto* set = new TTabSet(made.Form);
    set->SetParent(made.Form);
    set->SetBounds(10, 10, 200, 24);
    set->Tabs()->Assign({"one", "a caption much too long to fit in", "two"});
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    ASSERT_NE(dynamic_cast<TSkinTab31*>(FindSkinObject(set->WindowHandle())), nullptr);
    const frameharness::TWindowCapture shot = Repainted(set->WindowHandle());
    const TDataSkinObject& tabs = *made.Data->FTabs;
    const HFONT font = set->Font()->Handle();
    const int one = TextWidth(font, L"one") + 9, two = TextWidth(font, L"two") + 9;
    // Flipped strip: the outer edge is at the bottom. The long tab is skipped.
    EXPECT_EQ(shot.Pixel(5 + one / 2, 24 - 2), EdgeOf(tabs, 2, 1));
    EXPECT_EQ(shot.Pixel(5 + one + two / 2, 24 - 2), EdgeOf(tabs, 1, 1));
    EXPECT_NE(shot.Pixel(5 + one + two + 2, 24 - 2), RGB(255, 0, 0));  // its own paint is covered
}

// Another library's page control: tab images as bitmap properties.
class TAdvPages : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    using TWinControl::TWinControl;

    TBitmap* TabBackGround() const { return FNormal.get(); }
    TBitmap* TabBackGroundActive() const { return FActive.get(); }

private:
    std::unique_ptr<TBitmap> FNormal = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FActive = std::make_unique<TBitmap>();
};

const TClassInfo& TAdvPages::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TAdvPages>("TAdvPages", TWinControl::StaticClassInfo())
                                       .Object("TabBackGround", &TAdvPages::TabBackGround)
                                       .Object("TabBackGroundActive", &TAdvPages::TabBackGroundActive)
                                       .Build();
    return info;
}

TEST_F(TabAdapterTest, AnotherLibrarysPageControlGetsItsTabImagesAndGivesThemAndItsColourBack)
{
    const TSkinnedForm made = MakeForm();
    made.Data->Skin3rd()->Add("TAdvPages=advpagecontrol");
    auto* pages = new TAdvPages(made.Form);
    pages->SetParent(made.Form);
    pages->SetBounds(10, 10, 200, 100);
    pages->SetColor(0x123456);
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    ASSERT_NE(dynamic_cast<TSkinAdvPage*>(FindSkinObject(pages->WindowHandle())), nullptr);
    const TDataSkinObject& tabs = *made.Data->FTabs;
    int cell = 1;
    for (TBitmap* image : {pages->TabBackGround(), pages->TabBackGroundActive()}) {
        ASSERT_EQ(image->Width(), 100);
        ASSERT_EQ(image->Height(), 21);
        EXPECT_EQ(CellPixel(*image, 1, 1, false, 50, 1), EdgeOf(tabs, cell++, 1));
    }
    EXPECT_EQ(pages->Color(), made.Data->FButtonFaceColor);
    RunAction(made.Data, saUnskinAll);
    EXPECT_TRUE(pages->TabBackGround()->Empty());
    EXPECT_TRUE(pages->TabBackGroundActive()->Empty());
    EXPECT_EQ(pages->Color(), 0x123456);
}

}  // namespace
}  // namespace frametest
