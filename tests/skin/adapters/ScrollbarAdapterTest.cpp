// Scroll-bar skinning with injected input in a Wine virtual desktop: the
// cover windows over a memo's bars (placement, hot and pressed cells, the
// system's own tracking doing the scrolling, the wheel, a disabled track,
// the corner between two bars, the frame as printed), a cover repainted only
// when its bar would look different, covers following the
// memo through hiding, re-creation and unskinning, an unskin during a thumb
// drag, a simple combo box's raw list and a scroll-bar control (also after
// its window is made anew).
#include "tests/skin/support/AdapterFixture.h"

#include "skin/SkinApi.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/SkinScrollbar.h"

#include <functional>
#include <string>
#include <utility>

namespace frametest {
namespace {

using frameharness::TWindowCapture;

constexpr int kStripCells = 23;

SCROLLBARINFO BarInfo(HWND Window, LONG Object)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(SkinGetScrollBarInfo(Window, Object, &info));
    return info;
}

int FirstLine(TMemo* Memo)
{
    return static_cast<int>(::SendMessageW(Memo->WindowHandle(), EM_GETFIRSTVISIBLELINE, 0, 0));
}

// The visible cover windows among Parent's children.
int VisibleCovers(HWND Parent)
{
    int count = 0;
    for (HWND w = ::GetWindow(Parent, GW_CHILD); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        ::GetClassNameW(w, name, 32);
        if (std::wstring(name) == L"TWScrollbar" && ::IsWindowVisible(w)) ++count;
    }
    return count;
}

// Runs Act once, from a timer, inside whatever modal loop is running then.
class TLater {
public:
    TLater(UINT Ms, std::function<void()> Act) : TLater(Ms, nullptr, std::move(Act)) {}
    // Act runs at the first tick at which When holds (ticks every Ms).
    TLater(UINT Ms, std::function<bool()> When, std::function<void()> Act)
        : FWhen(std::move(When)), FAct(std::move(Act))
    {
        gCurrent = this;
        FTimer = ::SetTimer(nullptr, 0, Ms, &Tick);
    }
    ~TLater()
    {
        if (FTimer != 0) ::KillTimer(nullptr, FTimer);
        gCurrent = nullptr;
    }
    bool Done() const { return FDone; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        TLater* self = gCurrent;
        if (self == nullptr || self->FDone || (self->FWhen && !self->FWhen())) return;
        ::KillTimer(nullptr, std::exchange(self->FTimer, 0));
        self->FDone = true;
        self->FAct();
    }
    static inline TLater* gCurrent = nullptr;
    std::function<bool()> FWhen;
    std::function<void()> FAct;
    UINT_PTR FTimer = 0;
    bool FDone = false;
};

// A control of our own with both bars inside a sunken border.
class TScrolledPane : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TCustomControl::CreateParams(Params);
        Params.Style |= WS_HSCROLL | WS_VSCROLL;
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    }
};

class ScrollbarAdapterTest : public AdapterTest {
protected:
    TMemo* MakeMemo(TForm* Form, TScrollStyle Bars, int Lines, const std::string& Line = "line")
    {
        auto* memo = new TMemo(Form);
        memo->SetParent(Form);
        memo->SetBounds(20, 20, 200, 150);
        memo->SetScrollBars(Bars);
        for (int i = 0; i < Lines; ++i) memo->Lines()->Add(Line + " " + std::to_string(i));
        return memo;
    }
    static TSkinScrollbar* AdapterOf(TMemo* Memo)
    {
        return dynamic_cast<TSkinScrollbar*>(FindSkinObject(Memo->WindowHandle()));
    }
    // A pixel near the corner of a cell of the Scrollbar strip: its face, not its glyph.
    static COLORREF StripPixel(TSkinData* Data, int Cell)
    {
        return CellPixel(*Data->FScrollbar->FBitmap, Cell, kStripCells, false, 3, 3);
    }
};

TEST_F(ScrollbarAdapterTest, AMemosBarIsCoveredAndScrolledByTheSystemsOwnTracking)
{
    const TSkinnedForm made = MakeForm();
    TMemo* memo = MakeMemo(made.Form, TScrollStyle::ssVertical, 200);
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    TSkinScrollbar* adapter = AdapterOf(memo);
    ASSERT_NE(adapter, nullptr);
    TWScrollbar& bar = *adapter->VertBar();
    const HWND cover = bar.Handle();
    const HWND window = memo->WindowHandle();

    // Exactly over the native bar, directly above the memo.
    SCROLLBARINFO info = BarInfo(window, OBJID_VSCROLL);
    RECT at{};
    ::GetWindowRect(cover, &at);
    EXPECT_TRUE(::EqualRect(&at, &info.rcScrollBar));
    EXPECT_TRUE(::IsWindowVisible(cover));
    EXPECT_EQ(::GetWindow(window, GW_HWNDPREV), cover);
    EXPECT_FALSE(::IsWindowVisible(adapter->HorzBar()->Handle()));

    // Hot down arrow (+3), then a click scrolls one line.
    const int arrow = ::GetSystemMetrics(SM_CXHSCROLL);
    const POINT down{(info.rcScrollBar.left + info.rcScrollBar.right) / 2, info.rcScrollBar.bottom - arrow / 2};
    const POINT local{3, info.rcScrollBar.bottom - info.rcScrollBar.top - arrow + 3};
    frameharness::MouseMoveTo(down);
    Pump();
    EXPECT_EQ(bar.HotPart(), spSecondArrow);
    EXPECT_EQ(TWindowCapture::Take(cover).Pixel(local.x, local.y), StripPixel(made.Data, 13 + 3));
    frameharness::MousePress(frameharness::TMouseButton::Left);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    Pump();
    EXPECT_EQ(FirstLine(memo), 1);

    // Held: the system repeats, the cover shows the pressed cell meanwhile.
    COLORREF held = 0;
    bool pressed = false;
    {
        TLater release(700, [&] {
            ::UpdateWindow(cover);
            held = TWindowCapture::Take(cover).Pixel(local.x, local.y);
            pressed = bar.Pressed();
            frameharness::MouseRelease(frameharness::TMouseButton::Left);
        });
        frameharness::MousePress(frameharness::TMouseButton::Left);
        ASSERT_TRUE(PumpUntil([&] { return release.Done(); }));
        Pump();
    }
    EXPECT_TRUE(pressed);
    EXPECT_EQ(held, StripPixel(made.Data, 13 + 1));
    EXPECT_GT(FirstLine(memo), 3);
    EXPECT_FALSE(bar.Pressed());

    // The thumb dragged down: it follows the cursor, the memo scrolls.
    info = BarInfo(window, OBJID_VSCROLL);
    const int before = FirstLine(memo);
    const POINT thumb{down.x, info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
    int dragged = -1, cursor = 0;
    {
        TLater look(300, [&] {
            ::UpdateWindow(cover);
            dragged = bar.ThumbStart();
            POINT q{};
            ::GetCursorPos(&q);
            cursor = q.y;
        });
        frameharness::MouseDrag(thumb, {thumb.x, thumb.y + 40}, 40);
    }
    Pump();
    EXPECT_GT(FirstLine(memo), before + 10);
    EXPECT_NEAR(dragged, info.xyThumbTop + (cursor - thumb.y), 1);
    info = BarInfo(window, OBJID_VSCROLL);
    EXPECT_EQ(bar.ThumbStart(), info.xyThumbTop);

    // The wheel over the memo scrolls it and moves the cover's thumb.
    const POINT over = memo->ClientToScreen({100, 75});
    frameharness::MouseMoveTo(over);
    const int wheeled = FirstLine(memo);
    // Wine's virtual desktop drops injected wheel input: the message the system would post.
    ::PostMessageW(memo->WindowHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                   MAKELPARAM(over.x, over.y));
    ASSERT_TRUE(PumpUntil([&] { return FirstLine(memo) > wheeled; }));
    Pump();
    ::UpdateWindow(cover);
    EXPECT_EQ(bar.ThumbStart(), BarInfo(window, OBJID_VSCROLL).xyThumbTop);

    // Short text: the track is disabled (cell 3), no thumb.
    memo->SetText("short");
    Pump();
    ::RedrawWindow(cover, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const TWindowCapture shot = TWindowCapture::Take(cover);
    TBitmap& track = *made.Data->FVertScroll->FBitmap;
    const COLORREF disabled = CellPixel(track, 3, 4, false, track.Width() / 8, track.Height() / 2);
    for (int y = arrow + 2; y < shot.Height() - arrow - 2; y += 7)
        EXPECT_EQ(shot.Pixel(shot.Width() / 2, y), disabled) << "y " << y;
}

TEST_F(ScrollbarAdapterTest, ACoverIsRepaintedOnlyWhenItsBarWouldLookDifferent)
{
    const TSkinnedForm made = MakeForm();
    TMemo* memo = MakeMemo(made.Form, TScrollStyle::ssVertical, 200);
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    TSkinScrollbar* adapter = AdapterOf(memo);
    ASSERT_NE(adapter, nullptr);
    const HWND cover = adapter->VertBar()->Handle();
    const HWND window = memo->WindowHandle();
    Pump();
    const auto step = [&](WPARAM Request) {
        ::SendMessageW(window, WM_VSCROLL, Request, 0);
        ::UpdateWindow(window);  // the memo's text, and what its paint asks of the cover
        return ::GetUpdateRect(cover, nullptr, FALSE) != FALSE;
    };

    // The first thumb-track request shows the thumb's look.
    EXPECT_TRUE(step(MAKEWPARAM(SB_THUMBTRACK, 40)));
    ::UpdateWindow(cover);
    // Further steps scroll the text while the system's thumb stays: nothing to paint.
    EXPECT_FALSE(step(MAKEWPARAM(SB_THUMBTRACK, 60)));
    EXPECT_FALSE(step(MAKEWPARAM(SB_THUMBTRACK, 80)));
    // The drag's end takes the look away and moves the system's thumb.
    EXPECT_TRUE(step(MAKEWPARAM(SB_THUMBPOSITION, 80)));
    ::UpdateWindow(cover);
    EXPECT_EQ(adapter->VertBar()->ThumbStart(), BarInfo(window, OBJID_VSCROLL).xyThumbTop);
    // Scrolled without a request: the memo's paint finds the system's bar changed.
    ::SendMessageW(window, EM_LINESCROLL, 0, 20);
    ::UpdateWindow(window);
    EXPECT_TRUE(::GetUpdateRect(cover, nullptr, FALSE));
    ::UpdateWindow(cover);
    EXPECT_EQ(adapter->VertBar()->ThumbStart(), BarInfo(window, OBJID_VSCROLL).xyThumbTop);
}

TEST_F(ScrollbarAdapterTest, CoversFollowTheMemoThroughHidingRecreationAndUnskinning)
{
    const TSkinnedForm made = MakeForm();
    TMemo* memo = MakeMemo(made.Form, TScrollStyle::ssBoth, 200, std::string(80, 'x'));
    TMemo* bareMemo = MakeMemo(made.Form, TScrollStyle::ssNone, 1);
    bareMemo->SetBounds(240, 140, 100, 40);
    bareMemo->SetBorderStyle(TBorderStyle::bsNone);
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const HWND form = made.Form->Handle();
    ASSERT_NE(AdapterOf(memo), nullptr);
    ASSERT_NE(AdapterOf(bareMemo), nullptr);
    EXPECT_EQ(VisibleCovers(form), 2);

    // The corner between the bars, from the memo's real client origin.
    const SCROLLBARINFO vert = BarInfo(memo->WindowHandle(), OBJID_VSCROLL);
    const SCROLLBARINFO horz = BarInfo(memo->WindowHandle(), OBJID_HSCROLL);
    RECT window{};
    ::GetWindowRect(memo->WindowHandle(), &window);
    ::RedrawWindow(memo->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const TWindowCapture shot = TWindowCapture::Take(memo->WindowHandle());
    EXPECT_EQ(shot.Pixel(vert.rcScrollBar.left - window.left + 1, horz.rcScrollBar.top - window.top + 1),
              ColorToRGB(made.Data->FButtonFaceColor));
    EXPECT_EQ(shot.Pixel(vert.rcScrollBar.right - window.left - 2, horz.rcScrollBar.bottom - window.top - 2),
              ColorToRGB(made.Data->FButtonFaceColor));
    // Printed, the frame is the one shown: the skin's around a bordered memo
    // (by the skin engine's request and by the system's), none around a bare one.
    const COLORREF shadow = ColorToRGB(made.Data->FButtonShadowColor);
    const HWND framed = memo->WindowHandle(), bare = bareMemo->WindowHandle();
    EXPECT_EQ(shot.Pixel(40, 0), shadow);
    EXPECT_NE(Shown(bare).Pixel(40, 0), shadow);
    const auto printedNC = [](HWND Window) {
        return TWindowCapture::Paint(Window, [Window](HDC DC) {
            EXPECT_EQ(::SendMessageW(Window, WM_SKIN_PRINTNC, reinterpret_cast<WPARAM>(DC), kSkinMagic), kSkinMagic);
        });
    };
    EXPECT_EQ(printedNC(framed).Pixel(40, 0), shadow);
    EXPECT_NE(printedNC(bare).Pixel(40, 0), shadow);
    const TWindowCapture printed = TWindowCapture::Paint(framed, [framed](HDC DC) {
        ::SendMessageW(framed, WM_PRINT, reinterpret_cast<WPARAM>(DC), PRF_NONCLIENT | PRF_CLIENT);
    });
    EXPECT_EQ(printed.Pixel(40, 0), shadow);
    EXPECT_EQ(printed.Pixel(40, 1), shot.Pixel(40, 1));
    // A control of our own paints into a DC of its client area (WM_PAINT's)
    // without a clip: the corner lies beyond the client there too, none of it lands.
    auto* pane = PlaceAt<TScrolledPane>(made.Form, {240, 20, 340, 120});
    auto* paneBars = new TSkinScrollbar(pane);
    ASSERT_TRUE(paneBars->InitSkin(frame, made.Data, false));
    Pump();
    ASSERT_TRUE(paneBars->HorzBar()->BarVisible() && paneBars->VertBar()->BarVisible());
    const HWND paneWindow = pane->Handle();
    RECT client{};
    ::GetClientRect(paneWindow, &client);
    const TWindowCapture painted = TWindowCapture::Paint(
        paneWindow, [paneWindow](HDC DC) { ::SendMessageW(paneWindow, WM_PAINT, reinterpret_cast<WPARAM>(DC), 0); });
    const COLORREF face = ColorToRGB(made.Data->FButtonFaceColor);
    int beyond = 0;
    for (int y = 0; y < painted.Height(); ++y)
        for (int x = 0; x < painted.Width(); ++x)
            beyond += (x >= client.right || y >= client.bottom) && painted.Pixel(x, y) == face;
    EXPECT_EQ(beyond, 0);
    paneBars->Free();
    Pump();

    memo->Hide();
    Pump();
    EXPECT_EQ(VisibleCovers(form), 0);
    memo->Show();
    Pump();
    EXPECT_EQ(VisibleCovers(form), 2);

    // A new window: the old covers go at once, one new pair comes.
    const HWND old = memo->WindowHandle();
    memo->DestroyHandle();
    EXPECT_EQ(VisibleCovers(form), 0);
    memo->HandleNeeded();
    ASSERT_TRUE(PumpUntil([&] { return AdapterOf(memo) != nullptr; }));
    Pump();
    EXPECT_NE(memo->WindowHandle(), old);
    EXPECT_EQ(VisibleCovers(form), 2);
    EXPECT_EQ(frame->ControlCount(), 2);

    const char* own = memo->WindowProc.target_type().name();
    RunAction(made.Data, saUnskinAll);
    Pump();
    EXPECT_EQ(VisibleCovers(form), 0);
    EXPECT_EQ(::FindWindowExW(form, nullptr, L"TWScrollbar", nullptr), nullptr);
    EXPECT_STRNE(memo->WindowProc.target_type().name(), own);  // the skinned one was ours
    EXPECT_EQ(FindSkinObject(memo->WindowHandle()), nullptr);
}

TEST_F(ScrollbarAdapterTest, AnUnskinDuringAThumbDragWaitsForTheHandOver)
{
    const TSkinnedForm made = MakeForm();
    TMemo* memo = MakeMemo(made.Form, TScrollStyle::ssVertical, 200);
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    ASSERT_NE(AdapterOf(memo), nullptr);
    const SCROLLBARINFO info = BarInfo(memo->WindowHandle(), OBJID_VSCROLL);
    const POINT thumb{(info.rcScrollBar.left + info.rcScrollBar.right) / 2,
                      info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
    bool dragging = false;
    {
        // Unskinned from a timer inside the system's tracking, once it holds the mouse.
        TLater unskin(10, [&] { return ::GetCapture() == memo->WindowHandle(); }, [&] {
            dragging = true;
            RunAction(made.Data, saUnskinAll);
        });
        frameharness::MouseDrag(thumb, {thumb.x, thumb.y + 50}, 40);
        Pump();
    }
    EXPECT_TRUE(dragging);
    EXPECT_GT(FirstLine(memo), 5);
    EXPECT_EQ(FindSkinObject(memo->WindowHandle()), nullptr);
    EXPECT_EQ(::FindWindowExW(made.Form->Handle(), nullptr, L"TWScrollbar", nullptr), nullptr);
    ExpectNothingLeftAfter(
        3, [&] { RunAction(made.Data, saSkinAll); PumpUntil([&] { return AdapterOf(memo) != nullptr; }); },
        [&] { RunAction(made.Data, saUnskinAll); });
}

TEST_F(ScrollbarAdapterTest, ASimpleComboListAndAScrollBarControlAreCovered)
{
    const TSkinnedForm made = MakeForm();
    auto* bar = new TScrollBar(made.Form);
    bar->SetKind(TScrollBarKind::sbVertical);
    bar->SetParent(made.Form);
    bar->SetBounds(300, 20, 17, 200);
    bar->SetPageSize(10);
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);

    // A raw simple combo box whose list holds Chinese items.
    const HWND combo = ::CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_SIMPLE | WS_VSCROLL, 20, 20,
                                         200, 150, made.Form->Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    const std::wstring chinese = L"\x4E2D\x6587";
    for (int i = 0; i < 40; ++i) ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(chinese.c_str()));
    COMBOBOXINFO combos{};
    combos.cbSize = sizeof combos;
    ASSERT_TRUE(SkinGetComboBoxInfo != nullptr && SkinGetComboBoxInfo(combo, &combos));
    const HWND list = combos.hwndList;
    auto* listBars = new TSkinScrollbarH(frame);
    ASSERT_TRUE(listBars->InitSkinHandle(list, made.Data, frame));
    Pump();
    const SCROLLBARINFO info = BarInfo(list, OBJID_VSCROLL);
    RECT at{};
    ::GetWindowRect(listBars->VertBar()->Handle(), &at);
    EXPECT_TRUE(::EqualRect(&at, &info.rcScrollBar));
    const POINT down{(at.left + at.right) / 2, at.bottom - 4};
    frameharness::MouseMoveTo(down);
    frameharness::MousePress(frameharness::TMouseButton::Left);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    Pump();
    EXPECT_EQ(::SendMessageW(list, LB_GETTOPINDEX, 0, 0), 1);
    wchar_t item[8] = {};
    ::SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(std::wstring(item), chinese);

    // The scroll-bar control: one cover over all of it, thumb at least 8 long.
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    auto* control = new TSkinScControl(bar);
    ASSERT_TRUE(control->InitSkin(frame, made.Data, false));
    Pump();
    ::GetWindowRect(control->Bar()->Handle(), &at);
    ::MapWindowPoints(nullptr, made.Form->Handle(), reinterpret_cast<POINT*>(&at), 2);
    const RECT bounds = bar->BoundsRect();
    EXPECT_TRUE(::EqualRect(&at, &bounds));
    ::UpdateWindow(control->Bar()->Handle());
    const int arrow = ::GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(control->Bar()->ThumbEnd() - control->Bar()->ThumbStart(), std::max(8, ::MulDiv(200 - 2 * arrow, 9, 100)));
    POINT screen{bounds.left + 8, bounds.bottom - 4};
    ::ClientToScreen(made.Form->Handle(), &screen);
    frameharness::MouseMoveTo(screen);
    frameharness::MousePress(frameharness::TMouseButton::Left);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
    Pump();
    EXPECT_EQ(bar->Position(), 1);
    EXPECT_EQ(changes, 1);

    // The control's window made anew: the cover leaves with the old one and lies over the new one.
    bar->DestroyHandle();
    EXPECT_FALSE(::IsWindowVisible(control->Bar()->Handle()));
    bar->HandleNeeded();
    Pump();
    EXPECT_EQ(control->Handle(), bar->WindowHandle());
    EXPECT_EQ(FindSkinObject(bar->WindowHandle()), static_cast<TSkinObject*>(control));
    EXPECT_TRUE(::IsWindowVisible(control->Bar()->Handle()));
    ::GetWindowRect(control->Bar()->Handle(), &at);
    ::MapWindowPoints(nullptr, made.Form->Handle(), reinterpret_cast<POINT*>(&at), 2);
    EXPECT_TRUE(::EqualRect(&at, &bounds));

    const auto listProc = ::GetWindowLongPtrW(list, GWLP_WNDPROC);
    listBars->Free();
    control->Free();
    EXPECT_NE(::GetWindowLongPtrW(list, GWLP_WNDPROC), listProc);  // the kernel's was on top
    EXPECT_EQ(FindSkinObject(list), nullptr);
    EXPECT_EQ(FindSkinObject(bar->WindowHandle()), nullptr);
    Pump();
    EXPECT_EQ(::FindWindowExW(made.Form->Handle(), nullptr, L"TWScrollbar", nullptr), nullptr);
}

}  // namespace
}  // namespace frametest
