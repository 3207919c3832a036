// The skinned window frame on real windows: what the manager accepts, the
// frame's sizes, hit tests and painted cells, title buttons, the pending
// actions, unskinning, and frame objects outliving (or not) their windows.
#include "tests/skin/support/FrameFixture.h"
#include "tests/skin/support/FrameHarness.h"

#include "classlib/ComCtrls.h"
#include "classlib/StdCtrls.h"
#include "skin/SkinWindowMessages.h"

#include <map>

namespace frametest {
namespace {

constexpr int kTitle = 30, kSide = 1, kBottom = 1;  // the default skin's frame

TEST_F(FrameTest, TheFormIsSkinnedAtItsFirstActivationKeepingItsClientSize)
{
    const TSkinnedForm made = MakeForm();
    // Loading only switched skinning on: no timer, nothing skinned yet.
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_TRUE(SkinManager->Active());
    EXPECT_FALSE(SkinManager->TimerRunning());
    const HWND window = made.Form->Handle();
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(Frame(window), nullptr);

    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(::SendMessageA(window, WM_SKIN_QUERY, 0, 0), 1);
    EXPECT_EQ(Access::BorderLeft(*frame), kSide);
    EXPECT_EQ(Access::TitleHeight(*frame), kTitle);
    EXPECT_EQ(Access::BorderBottom(*frame), kBottom);
    RECT now{}, outer{};
    ::GetClientRect(window, &now);
    ::GetWindowRect(window, &outer);
    EXPECT_EQ(now.right, client.right);
    EXPECT_EQ(now.bottom, client.bottom);
    EXPECT_EQ(outer.right - outer.left, client.right + 2 * kSide);
    EXPECT_EQ(outer.bottom - outer.top, client.bottom + kTitle + kBottom);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    EXPECT_EQ(origin.x - outer.left, kSide);
    EXPECT_EQ(origin.y - outer.top, kTitle);
    // The form takes the skin's face colour.
    EXPECT_EQ(made.Form->Color(), made.Data->FButtonFaceColor);
    // Rounded top corners: the shaped skin cut them out of the region.
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(window, region), ERROR);
    EXPECT_FALSE(::PtInRegion(region, 0, 0));
    EXPECT_TRUE(::PtInRegion(region, 200, 1));
    EXPECT_TRUE(::PtInRegion(region, 0, 100));
    ::DeleteObject(region);
    // Never attached twice.
    EXPECT_FALSE(SkinManager->SkinWindow(window));
    EXPECT_EQ(SkinManager->Forms().size(), 1u);
}

TEST_F(FrameTest, HitTestsFollowTheSkinsFrame)
{
    const TSkinnedForm made = MakeForm();
    // A memo on a page of a page control, all reaching under the right border.
    const RECT client = made.Form->ClientRect();
    auto* pages = new TPageControl(made.Form);
    pages->SetParent(made.Form);
    pages->SetBounds(client.right - 140, 60, 150, 150);
    auto* page = new TTabSheet(made.Form);
    page->SetParent(pages);
    auto* memo = new TMemo(made.Form);
    memo->SetParent(page);
    memo->SetAlign(TAlign::alClient);
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const HWND w = made.Form->Handle();
    RECT r{};
    ::GetWindowRect(w, &r);
    const int W = r.right - r.left, H = r.bottom - r.top;
    EXPECT_EQ(HitTest(w, W / 2, kTitle / 2), HTCAPTION);
    EXPECT_EQ(HitTest(w, W / 2, kTitle - 2), HTCAPTION);
    EXPECT_EQ(HitTest(w, W / 2, H / 2), HTCLIENT);
    EXPECT_EQ(HitTest(w, 0, H / 2), HTLEFT);
    EXPECT_EQ(HitTest(w, W - 1, H / 2), HTRIGHT);
    EXPECT_EQ(HitTest(w, W / 2, H - 1), HTBOTTOM);
    EXPECT_EQ(HitTest(w, W - 1, H - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTest(w, 0, H - 1), HTBOTTOMLEFT);
    EXPECT_EQ(HitTest(w, W / 2, 0), HTTOP);
    // The one-pixel border is sized from a band as wide as the system's
    // sizing frame, over the client's edge, its corners reaching along the edges.
    const int band = ::GetSystemMetrics(SM_CXSIZEFRAME) + ::GetSystemMetrics(SM_CXPADDEDBORDER);
    const int corner = ::GetSystemMetrics(SM_CXSIZE);
    EXPECT_EQ(HitTest(w, band - 1, H / 2), HTLEFT);
    EXPECT_EQ(HitTest(w, W - band, H / 2), HTRIGHT);
    EXPECT_EQ(HitTest(w, W - band - 1, H / 2), HTCLIENT);
    EXPECT_EQ(HitTest(w, W / 2, H - band), HTBOTTOM);
    EXPECT_EQ(HitTest(w, W / 2, band - 1), HTTOP);
    EXPECT_EQ(HitTest(w, W - 1, kTitle / 2), HTTOPRIGHT);
    EXPECT_EQ(HitTest(w, W - band - corner / 2, H - 1), HTBOTTOMRIGHT);
    // The controls under the band let the hit through, nested ones too.
    RECT m{};
    ::GetWindowRect(memo->Handle(), &m);
    ASSERT_GE(m.right, r.right);
    const int y = (m.top + m.bottom) / 2;
    EXPECT_EQ(::WindowFromPoint({r.right - band, y}), w);
    EXPECT_EQ(::WindowFromPoint({r.right - band - 10, y}), memo->Handle());
    // Title buttons are part of the caption for the system; the frame
    // object takes their clicks itself.
    const TWinSysButton* close = Button(*frame, 0);
    ASSERT_NE(close, nullptr);
    ASSERT_TRUE(close->Visible());
    EXPECT_EQ(close->Rect().right, W - 7);
    EXPECT_EQ(close->Rect().top, 4);
    const POINT c{(close->Rect().left + close->Rect().right) / 2, (close->Rect().top + close->Rect().bottom) / 2};
    EXPECT_EQ(HitTest(w, c.x, c.y), HTCAPTION);
    EXPECT_EQ(Access::SysButtonAt(*frame, c), close);
}

TEST_F(FrameTest, FrameCellsArePaintedActiveAndInactive)
{
    const TSkinnedForm made = MakeForm();
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const HWND w = made.Form->Handle();
    TSkinData& d = *made.Data;
    auto check = [&](int cell) {
        const frameharness::TWindowCapture shot = SkinPrint(w);
        const int W = shot.Width(), H = shot.Height();
        // The title's stretched centre, clear of caption and buttons.
        EXPECT_EQ(shot.Pixel(W / 2 + 60, 2), CellPixel(*d.FBorderTop->FBitmap, cell, 2, true, 20, 2)) << cell;
        EXPECT_EQ(shot.Pixel(0, H / 2), CellPixel(*d.FBorderLeft->FBitmap, cell, 2, false, 0, 35)) << cell;
        EXPECT_EQ(shot.Pixel(W - 1, H / 2), CellPixel(*d.FBorderRight->FBitmap, cell, 2, false, 0, 35)) << cell;
        EXPECT_EQ(shot.Pixel(W / 2, H - 1), CellPixel(*d.FBorderBottom->FBitmap, cell, 2, true, 8, 0)) << cell;
        // The close button: cell 1 active, cell 4 inactive, straight from its
        // strip (its magenta corners show what lies behind).
        for (const auto& b : Access::Buttons(*frame)) {
            if (b->Data().FAction != 0) continue;
            const int y = (b->Rect().bottom - b->Rect().top) / 2;
            for (int x = 0; x < b->Rect().right - b->Rect().left; ++x) {
                const COLORREF want = CellPixel(*b->Data().FBitmap, cell == 1 ? 1 : 4, 4, false, x, y);
                if (want == RGB(255, 0, 255)) continue;
                EXPECT_EQ(shot.Pixel(b->Rect().left + x, b->Rect().top + y), want) << x;
            }
        }
    };
    check(1);
    ::SendMessageW(w, WM_NCACTIVATE, FALSE, 0);
    EXPECT_FALSE(Access::Active(*frame));
    check(2);
    ::SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
    check(1);
}

TEST_F(FrameTest, TitleButtonsTrackHotPressedAndReleased)
{
    const TSkinnedForm made = MakeForm();
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const HWND w = made.Form->Handle();
    TWinSysButton* close = Button(*frame, 0);
    ASSERT_NE(close, nullptr);
    const int cx = (close->Rect().left + close->Rect().right) / 2, cy = (close->Rect().top + close->Rect().bottom) / 2;
    ::SendMessageW(w, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(w, cx, cy));
    EXPECT_EQ(Access::HotObject(*frame), close);
    EXPECT_EQ(close->State(), ncHot);
    ::SendMessageW(w, WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(w, 150, 15));
    EXPECT_EQ(Access::HotObject(*frame), nullptr);
    EXPECT_EQ(close->State(), ncNormal);
    // Pressed, released outside: nothing happens.
    ::SendMessageW(w, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(w, cx, cy));
    EXPECT_EQ(close->State(), ncPressed);
    ::SendMessageW(w, WM_NCLBUTTONUP, HTCAPTION, ScreenPoint(w, 150, 15));
    Pump();
    EXPECT_TRUE(::IsWindowVisible(w));
    // Pressed and released on it: the window closes (a form that is not the
    // main form hides).
    ::SendMessageW(w, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(w, cx, cy));
    ::SendMessageW(w, WM_NCLBUTTONUP, HTCAPTION, ScreenPoint(w, cx, cy));
    EXPECT_EQ(close->State(), ncHot);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(w); }));
}

TEST_F(FrameTest, ButtonsFollowTheWindowsBoxesAndState)
{
    const TSkinnedForm made = MakeForm();
    made.Form->SetBorderIcons((1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize));
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const HWND w = made.Form->Handle();
    auto shown = [&](int Action, int Visibility) {
        for (const auto& b : Access::Buttons(*frame))
            if (b->Data().FAction == Action && b->Data().FVisibility == Visibility) return b->Visible();
        ADD_FAILURE() << "no button " << Action;
        return false;
    };
    SkinPrint(w);  // lays the buttons out
    EXPECT_TRUE(shown(1, 2));   // maximize
    EXPECT_FALSE(shown(1, 1));  // restore
    EXPECT_TRUE(shown(2, 0));
    ::SendMessageW(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump();
    EXPECT_EQ(Access::WindowState(*frame), fwsMaximized);
    SkinPrint(w);
    EXPECT_FALSE(shown(1, 2));
    EXPECT_TRUE(shown(1, 1));
    // Maximized, the skinned window fills the work area exactly.
    RECT work{}, r{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(w, &r);
    EXPECT_EQ(r.left, work.left);
    EXPECT_EQ(r.top, work.top);
    EXPECT_EQ(r.right, work.right);
    EXPECT_EQ(r.bottom, work.bottom);
    ::SendMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_EQ(Access::WindowState(*frame), fwsNormal);
    EXPECT_EQ(::SendMessageW(w, WM_SKIN_PING, 0, kSkinMagic), kSkinMagic);
    EXPECT_EQ(::SendMessageW(w, WM_SKIN_PING, 0, 0), 1);
    // Pressed on one title button and released on another: neither acts.
    SkinPrint(w);
    const TWinSysButton* minimize = Button(*frame, 2);
    const TWinSysButton* close = Button(*frame, 0);
    ASSERT_TRUE(minimize != nullptr && close != nullptr);
    const LPARAM onMinimize = ScreenPoint(w, minimize->Rect().left + 5, minimize->Rect().top + 5);
    const LPARAM onClose = ScreenPoint(w, close->Rect().left + 5, close->Rect().top + 5);
    ::SendMessageW(w, WM_NCLBUTTONDOWN, HTCAPTION, onMinimize);
    ::SendMessageW(w, WM_NCMOUSEMOVE, HTCAPTION, onClose);
    EXPECT_EQ(Access::HotObject(*frame), close);
    ::SendMessageW(w, WM_NCLBUTTONUP, HTCAPTION, onClose);
    Pump();
    EXPECT_TRUE(::IsWindowVisible(w));
    EXPECT_FALSE(::IsIconic(w));
}

TEST_F(FrameTest, AFormWithoutBoxesShowsOnlyItsCloseButton)
{
    const TSkinnedForm made = MakeForm();
    made.Form->SetBorderIcons(1u << biSystemMenu);
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    SkinPrint(made.Form->Handle());
    for (const auto& b : Access::Buttons(*frame)) {
        const int a = b->Data().FAction;
        EXPECT_EQ(b->Visible(), a == 0 || a == 3) << b->Data().FName;
    }
}

TEST_F(FrameTest, UnskinAndReskinLeaveTheWindowAsItWas)
{
    const TSkinnedForm made = MakeForm();
    // What the window is before it is first activated and skinned.
    const HWND w = made.Form->Handle();
    constexpr LONG stateBits = WS_MAXIMIZE | WS_MINIMIZE | WS_VISIBLE;
    const LONG_PTR proc = ::GetWindowLongPtrW(w, GWLP_WNDPROC);
    const LONG style = ::GetWindowLongW(w, GWL_STYLE) & ~stateBits;
    RECT client{}, outer{};
    ::GetClientRect(w, &client);
    ::GetWindowRect(w, &outer);
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    EXPECT_NE(::GetWindowLongPtrW(w, GWLP_WNDPROC), proc);

    for (int round = 0; round < 2; ++round) {
        made.Data->SetActive(false);
        EXPECT_TRUE(SkinManager->TimerRunning());
        ASSERT_TRUE(PumpUntil([&] { return Frame(w) == nullptr; })) << round;
        EXPECT_EQ(::GetWindowLongPtrW(w, GWLP_WNDPROC), proc);
        EXPECT_EQ(::GetWindowLongW(w, GWL_STYLE) & ~stateBits, style);
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(::GetWindowRgn(w, region), ERROR);
        ::DeleteObject(region);
        RECT c{}, o{};
        ::GetClientRect(w, &c);
        ::GetWindowRect(w, &o);
        EXPECT_EQ(c.right, client.right);
        EXPECT_EQ(c.bottom, client.bottom);
        EXPECT_EQ(o.right - o.left, outer.right - outer.left);
        EXPECT_EQ(o.bottom - o.top, outer.bottom - outer.top);
        EXPECT_EQ(::SendMessageA(w, WM_SKIN_QUERY, 0, 0), 0);
        // The form's WindowProc is its own again: the skin's messages are not understood.
        EXPECT_NE(::SendMessageW(w, WM_SKIN_PING, 0, kSkinMagic), kSkinMagic);

        made.Data->SetActive(true);
        ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(w); })) << round;
        EXPECT_EQ(::SendMessageW(w, WM_SKIN_PING, 0, kSkinMagic), kSkinMagic);
    }
    // Unskinned while maximized: restored, the client has its old size in the native frame.
    ::SendMessageW(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump();
    made.Data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return Frame(w) == nullptr; }));
    ::SendMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    RECT c{};
    ::GetClientRect(w, &c);
    EXPECT_EQ(c.right, client.right);
    EXPECT_EQ(c.bottom, client.bottom);
}

TEST_F(FrameTest, TheFilterRefusesWhatItMust)
{
    const TSkinnedForm main = MakeForm();
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    // Tag 99, whatever DisableTag holds.
    main.Data->SetDisableTag(5);
    const TSkinnedForm tagged = MakeForm(TSkinFormType::sfMainform, false);
    tagged.Form->SetTag(99);
    tagged.Form->Show();
    ::SetForegroundWindow(tagged.Form->Handle());
    Pump();
    EXPECT_EQ(Frame(tagged.Form->Handle()), nullptr);
    // A child that is not an MDI child, and a zero-size window.
    const HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    const HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, 0, nullptr, owner);
    EXPECT_FALSE(SkinManager->SkinWindow(child));
    const HWND empty = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                         ::GetModuleHandleW(nullptr), nullptr);
    Windows.push_back(empty);
    EXPECT_FALSE(SkinManager->SkinWindow(empty));
    // A plain window of this program is skinned at activation; a tool window too.
    ::SetForegroundWindow(owner);
    EXPECT_TRUE(PumpUntil([&] { return IsActiveFrame(owner); }));
    const HWND tool = MakeWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, WS_EX_TOOLWINDOW);
    ::SetForegroundWindow(tool);
    EXPECT_TRUE(PumpUntil([&] { return IsActiveFrame(tool); }));
    // The form filter of the main skin component has the last word.
    main.Data->OnFormSkin = [](TObject*, const std::string& Name, bool& DoSkin) {
        if (Name.starts_with("TbFrameTest")) DoSkin = false;
    };
    const HWND refused = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ::SetForegroundWindow(refused);
    Pump();
    EXPECT_EQ(Frame(refused), nullptr);
}

TEST_F(FrameTest, ASecondComponentServesOnlyItsOwnForm)
{
    const TSkinnedForm main = MakeForm();
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    const TSkinnedForm own = MakeForm(TSkinFormType::sfOnlyThisForm);
    EXPECT_EQ(SkinManager->SelectSkinData(own.Form->Handle()), own.Data);
    EXPECT_EQ(SkinManager->SelectSkinData(main.Form->Handle()), main.Data);
    TWinSkinForm* frame = ShowSkinned(own.Form);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->SkinData(), own.Data);
    // Its component going away takes its frame with it; the main one stays.
    delete own.Data;
    EXPECT_EQ(Frame(own.Form->Handle()), nullptr);
    EXPECT_TRUE(IsActiveFrame(main.Form->Handle()));
}

TEST_F(FrameTest, DialogsAndMDIWindowsAreRecognised)
{
    const TSkinnedForm main = MakeForm();
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    // A system dialog box of another template: "#32770".
    struct {
        DLGTEMPLATE t{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE, 0, 0, 10, 10, 150, 60};
        WORD menu = 0, cls = 0, title = 0;
    } tpl;
    const HWND dialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &tpl.t, nullptr,
                                                     [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    Windows.push_back(dialog);
    ::SetForegroundWindow(dialog);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(dialog); }));
    EXPECT_TRUE(Access::Dialog(*Frame(dialog)));
    EXPECT_EQ(Access::FrameKind(*Frame(dialog)), fkDialog);
    // An MDI frame window with a child: its MDI client exists before it is shown.
    const HWND mdiFrame = MakeWindow(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    CLIENTCREATESTRUCT ccs{nullptr, 100};
    const HWND client = ::CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                          280, 150, mdiFrame, nullptr, ::GetModuleHandleW(nullptr), &ccs);
    ::ShowWindow(mdiFrame, SW_SHOW);
    ::SetForegroundWindow(mdiFrame);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(mdiFrame); }));
    EXPECT_EQ(Frame(mdiFrame)->MDIKind(), TMDIKind::mdiFrame);
    EXPECT_EQ(SkinManager->MDIClient(), client);
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefMDIChildProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TbFrameTestChild";
    ::RegisterClassW(&wc);
    MDICREATESTRUCTW mcs{L"TbFrameTestChild", L"Child", ::GetModuleHandleW(nullptr), 10, 10, 150, 100,
                         WS_OVERLAPPEDWINDOW, 0};
    const auto child = reinterpret_cast<HWND>(::SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(child, nullptr);
    // MDI children are offered when they are created.
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(child); }));
    EXPECT_EQ(Frame(child)->MDIKind(), mdiChild);
    ::SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    Pump();
}

// Frame objects and the windows they outlive or not.
LRESULT CALLBACK SelfDestroyingProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_APP) {
        ::DestroyWindow(Window);
        return 1;
    }
    if (Msg == WM_APP + 1) {
        // The frame object freed from inside its own window procedure's call.
        delete FindSkinForm(Window);
        return 2;
    }
    return ::DefWindowProcW(Window, Msg, WParam, LParam);
}

TEST_F(FrameTest, WindowsDestroyedOrUnskinnedFromTheirOwnHandlers)
{
    const TSkinnedForm main = MakeForm();
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    const HWND a = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, SelfDestroyingProc);
    ::SetForegroundWindow(a);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(a); }));
    TWinSkinForm* frame = Frame(a);
    EXPECT_EQ(::SendMessageW(a, WM_APP, 0, 0), 1);
    EXPECT_FALSE(::IsWindow(a));
    // Still listed while destroyed; the next skinning purges it.
    EXPECT_EQ(frame->SkinState(), ssDestroyed);
    const HWND b = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, SelfDestroyingProc);
    ::SetForegroundWindow(b);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(b); }));
    for (TWinSkinForm* f : SkinManager->Forms()) EXPECT_NE(f->Handle(), a);
    // Freed while its own procedure is on the stack: the window goes on with
    // its own procedure and nothing touches the freed object.
    const LONG_PTR before = ::GetWindowLongPtrW(b, GWLP_WNDPROC);
    EXPECT_EQ(::SendMessageW(b, WM_APP + 1, 0, 0), 2);
    EXPECT_EQ(Frame(b), nullptr);
    EXPECT_NE(::GetWindowLongPtrW(b, GWLP_WNDPROC), before);
    EXPECT_EQ(::SendMessageA(b, WM_SKIN_QUERY, 0, 0), 0);
    ::DestroyWindow(b);
    // A skinned form destroyed from another window's handler.
    const TSkinnedForm other = MakeForm(TSkinFormType::sfMainform, false);
    ASSERT_NE(ShowSkinned(other.Form), nullptr);
    const HWND c = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, SelfDestroyingProc);
    ::SetForegroundWindow(c);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(c); }));
    other.Form->WindowProc = [old = other.Form->WindowProc, c](TMessage& M) {
        if (M.Msg == WM_APP + 2) ::DestroyWindow(c);
        old(M);
    };
    ::SendMessageW(other.Form->Handle(), WM_APP + 2, 0, 0);
    EXPECT_FALSE(::IsWindow(c));
    Pump();
}

TEST_F(FrameTest, PendingActionsWaitForTheFirstActivation)
{
    const TSkinnedForm main = MakeForm();
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->State(), msIdle);
    // Posting before any activation starts no timer.
    SkinManager->PostAction(saUnskinAll, 250);
    EXPECT_FALSE(SkinManager->Active());
    EXPECT_FALSE(SkinManager->TimerRunning());
    SkinManager->PostAction(saSkinAll, 250);
    EXPECT_TRUE(SkinManager->Active());
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    EXPECT_EQ(SkinManager->State(), msRunning);
    // Refresh rebuilds the title buttons of the component's windows.
    TWinSkinForm* frame = Frame(main.Form->Handle());
    const size_t buttons = Access::Buttons(*frame).size();
    SkinManager->SetActionSkinData(main.Data);
    SkinManager->PostAction(saRefresh, 10);
    EXPECT_TRUE(SkinManager->TimerRunning());
    EXPECT_TRUE(PumpUntil([] { return !SkinManager->TimerRunning(); }));
    EXPECT_EQ(Access::Buttons(*frame).size(), buttons);
    EXPECT_EQ(SkinManager->ActionSkinData(), nullptr);
}

// Paints (background erases) per window of the thread, while it lives. A
// frame paint asked for before the skin is active draws nothing, so it
// would not tell.
class TPaints {
public:
    TPaints() : FHook(::SetWindowsHookExW(WH_CALLWNDPROC, Count, nullptr, ::GetCurrentThreadId())) { Current = this; }
    ~TPaints()
    {
        ::UnhookWindowsHookEx(FHook);
        Current = nullptr;
    }
    TPaints(const TPaints&) = delete;
    TPaints& operator=(const TPaints&) = delete;
    int Of(HWND Window) const { return FCounts.count(Window) != 0 ? FCounts.at(Window) : 0; }
    void Clear() { FCounts.clear(); }

private:
    static LRESULT CALLBACK Count(int Code, WPARAM WParam, LPARAM LParam)
    {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(LParam);
        if (Code == HC_ACTION && sent->message == WM_ERASEBKGND && Current != nullptr) ++Current->FCounts[sent->hwnd];
        return ::CallNextHookEx(nullptr, Code, WParam, LParam);
    }
    static inline TPaints* Current = nullptr;
    HHOOK FHook;
    std::map<HWND, int> FCounts;
};

// No window of the thread waits for a paint.
bool AllPainted()
{
    return (HIWORD(::GetQueueStatus(QS_PAINT)) & QS_PAINT) == 0;
}

TEST_F(FrameTest, EachWindowIsPaintedOnceWhenSkinnedAndWhenReskinned)
{
    const TSkinnedForm made = MakeForm();
    TForm* form = made.Form;
    std::vector<TWinControl*> children;
    const auto place = [&](TWinControl* Control, int Y) {
        Control->SetParent(form);
        Control->SetBounds(10, Y, 120, 24);
        children.push_back(Control);
    };
    place(new TButton(form), 10);
    place(new TEdit(form), 40);
    place(new TCheckBox(form), 70);
    // Its own paint draws its frame (WM_NCPAINT), which the skin covers after that paint.
    place(new TComboBox(form), 100);
    const HWND w = form->Handle();
    TPaints paints;
    ASSERT_NE(ShowSkinned(form), nullptr);
    ASSERT_TRUE(PumpUntil(AllPainted));
    // Nothing of the window's own look is painted first, nor again as the
    // adapters attach, the frame takes its size and the region is set.
    EXPECT_TRUE(::IsWindowVisible(w));
    EXPECT_EQ(::GetActiveWindow(), w);
    EXPECT_EQ(paints.Of(w), 1);
    for (size_t i = 0; i < children.size(); ++i) EXPECT_EQ(paints.Of(children[i]->Handle()), 1) << "child " << i;

    // A skin change paints each once more.
    paints.Clear();
    RunAction(made.Data, saRefresh);
    ASSERT_TRUE(PumpUntil(AllPainted));
    EXPECT_TRUE(::IsWindowVisible(w));
    EXPECT_EQ(paints.Of(w), 1);
    for (size_t i = 0; i < children.size(); ++i) EXPECT_EQ(paints.Of(children[i]->Handle()), 1) << "child " << i;

    // A form hidden again before its skinning ends stays hidden.
    const TSkinnedForm brief = MakeForm();
    brief.Form->Show();
    ::SetForegroundWindow(brief.Form->Handle());
    brief.Form->Hide();
    PumpUntil([&] { return IsActiveFrame(brief.Form->Handle()); });
    Pump();
    EXPECT_FALSE(::IsWindowVisible(brief.Form->Handle()));
}

}  // namespace
}  // namespace frametest

namespace frametest {
namespace {

using namespace frameharness;

POINT OnScreen(HWND Window, int X, int Y)
{
    RECT r{};
    ::GetWindowRect(Window, &r);
    return {r.left + X, r.top + Y};
}

TEST_F(FrameTest, OnScreenTheFrameShowsTheSkin)
{
    const TSkinnedForm made = MakeForm();
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    const HWND w = made.Form->Handle();
    ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(100);
    const TWindowCapture shot = TWindowCapture::Take(w);
    ASSERT_FALSE(shot.Empty());
    TSkinData& d = *made.Data;
    EXPECT_EQ(shot.Pixel(shot.Width() / 2 + 60, 2), CellPixel(*d.FBorderTop->FBitmap, 1, 2, true, 20, 2));
    EXPECT_EQ(shot.Pixel(0, shot.Height() / 2), CellPixel(*d.FBorderLeft->FBitmap, 1, 2, false, 0, 35));
}

TEST_F(FrameTest, TheMouseMovesResizesAndClosesTheWindow)
{
    const TSkinnedForm made = MakeForm();
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const HWND w = made.Form->Handle();
    RECT before{};
    ::GetWindowRect(w, &before);
    // Dragged by its caption.
    MouseDrag(OnScreen(w, 150, 15), OnScreen(w, 190, 45), 8);
    EXPECT_TRUE(PumpUntil([&] {
        RECT r{};
        ::GetWindowRect(w, &r);
        return r.left == before.left + 40 && r.top == before.top + 30;
    }, 3000));
    // Sized by its bottom-right corner: the region follows the new size.
    RECT r{};
    ::GetWindowRect(w, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    MouseDrag(OnScreen(w, width - 1, height - 1), OnScreen(w, width + 59, height + 39), 8);
    EXPECT_TRUE(PumpUntil([&] {
        RECT now{};
        ::GetWindowRect(w, &now);
        return now.right - now.left == width + 60 && now.bottom - now.top == height + 40;
    }, 3000));
    EXPECT_EQ(Access::RegionWidth(*frame), width + 60);
    EXPECT_EQ(Access::RegionHeight(*frame), height + 40);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(w, region), ERROR);
    EXPECT_TRUE(::PtInRegion(region, width + 59, height + 39));
    EXPECT_FALSE(::PtInRegion(region, width + 59, 0));  // the new top-right corner is rounded
    ::DeleteObject(region);
    // Clicked on its close button.
    const TWinSysButton* close = Button(*frame, 0);
    ASSERT_NE(close, nullptr);
    MouseMoveTo(OnScreen(w, close->Rect().left + 10, close->Rect().top + 10));
    PumpFor(50);
    EXPECT_EQ(close->State(), ncHot);
    MousePress(frameharness::TMouseButton::Left);
    PumpFor(50);
    MouseRelease(frameharness::TMouseButton::Left);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(w); }, 3000));
}

}  // namespace
}  // namespace frametest
