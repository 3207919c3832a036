// Faults of the frame object and the manager that once slipped through:
// each test here failed before its mend.
#include "tests/skin/support/FrameFixture.h"

#include "classlib/ExceptionHook.h"
#include "skin/SkinWindowMessages.h"
#include "tests/skin/support/SkinTestData.h"

#include <windowsx.h>

#include <cstdio>
#include <fstream>
#include <utility>

namespace frametest {
namespace {

TEST_F(FrameTest, ComponentsOfOtherFormTypesLeaveTheManagerRunning)
{
    const TSkinnedForm main = MakeForm();
    TWinSkinForm* frame = ShowSkinned(main.Form);
    ASSERT_NE(frame, nullptr);
    for (int i = 0; i < 3; ++i) MakeForm(TSkinFormType::sfDialog);
    EXPECT_EQ(SkinManager->State(), msRunning);
    // A skin change still refreshes the title buttons...
    main.Data->UpdateSkin();
    EXPECT_TRUE(SkinManager->TimerRunning());
    EXPECT_TRUE(PumpUntil([&] { return !Access::Buttons(*frame).empty() && !SkinManager->TimerRunning(); }));
    // ...and the hook still skins newly activated windows.
    const HWND w = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ::SetForegroundWindow(w);
    EXPECT_TRUE(PumpUntil([&] { return IsActiveFrame(w); }));
}

TEST_F(FrameTest, UnskinningKeepsTheSizeOfAWindowWhoseFrameWasNeverApplied)
{
    const TSkinnedForm main = MakeForm();
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    // Attached but taken off before its activation message ran.
    const HWND w = MakeWindow(WS_OVERLAPPEDWINDOW);
    RECT before{};
    ::GetWindowRect(w, &before);
    ASSERT_TRUE(SkinManager->SkinWindow(w));
    RunAction(main.Data, saUnskinAll);
    RECT after{};
    ::GetWindowRect(w, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    Pump();

    // Skinned while minimized, unskinned, restored: the client area as it was.
    RunAction(main.Data, saSkinAll);
    const HWND m = MakeWindow(WS_OVERLAPPEDWINDOW);
    RECT client{};
    ::GetClientRect(m, &client);
    ::ShowWindow(m, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(SkinManager->SkinWindow(m));
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(m); }));
    RunAction(main.Data, saUnskinAll);
    ::ShowWindow(m, SW_RESTORE);
    Pump();
    RECT c{};
    ::GetClientRect(m, &c);
    EXPECT_EQ(c.right, client.right);
    EXPECT_EQ(c.bottom, client.bottom);
}

TEST_F(FrameTest, TheSystemMenuOpensWhereTheRightClickWasLeftOfThePrimaryMonitor)
{
    const TSkinnedForm main = MakeForm();
    TWinSkinForm* frame = ShowSkinned(main.Form);
    ASSERT_NE(frame, nullptr);
    // The menu's modal loop ends by a timer of the test, which sees the menu open.
    static bool menuShown;
    menuShown = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
        menuShown = menuShown || ::FindWindowW(L"#32768", nullptr) != nullptr;
        ::EndMenu();
    });
    ::SendMessageW(main.Form->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(-300, -20));
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(menuShown);
    ASSERT_NE(Access::SysMenu(*frame), nullptr);
    EXPECT_EQ(Access::SysMenu(*frame)->LastPoint().x, -300);
    EXPECT_EQ(Access::SysMenu(*frame)->LastPoint().y, -20);
}

TEST_F(FrameTest, AMainFormComponentLoadedLaterNamesItselfInItsAction)
{
    const TSkinnedForm main = MakeForm();
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    const TSkinnedForm later = MakeForm();
    int changed = 0;
    later.Data->OnSkinChanged = [&](TObject*) { ++changed; };
    EXPECT_EQ(SkinManager->ActionSkinData(), later.Data);
    EXPECT_TRUE(SkinManager->TimerRunning());
    EXPECT_TRUE(PumpUntil([&] { return changed == 1; }));
    EXPECT_EQ(SkinManager->ActionSkinData(), nullptr);
}

TEST_F(FrameTest, MenuChangesPutThePaintSwitchBackAsItWas)
{
    const TSkinnedForm main = MakeForm();
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    constexpr UINT CM_MENUCHANGED = 0xB015;
    for (const bool painting : {false, true}) {
        main.Data->FPaintEnabled = painting;
        ::SendMessageW(main.Form->Handle(), CM_MENUCHANGED, 0, 0);
        EXPECT_EQ(main.Data->FPaintEnabled, painting);
    }
}

TEST_F(FrameTest, AnOpaqueSkinKeepsItsRegionUntilTheSizeChanges)
{
    const TSkinnedForm main = MakeForm();
    TSkinData& d = *main.Data;
    for (TDataSkinBorder* b : {d.FBorderTop.get(), d.FBorderLeft.get(), d.FBorderRight.get(), d.FBorderBottom.get()})
        b->FTrans = 0;
    TWinSkinForm* frame = ShowSkinned(main.Form);
    ASSERT_NE(frame, nullptr);
    RECT r{};
    ::GetWindowRect(main.Form->Handle(), &r);
    EXPECT_EQ(Access::RegionWidth(*frame), r.right - r.left);
    EXPECT_EQ(Access::RegionHeight(*frame), r.bottom - r.top);
    const HRGN region = Access::Region(*frame);
    ::SendMessageW(main.Form->Handle(), WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_EQ(Access::Region(*frame), region);
}

TEST_F(FrameTest, FreeingTheManagerGivesLiveWindowsTheirOwnFrameBack)
{
    const TSkinnedForm main = MakeForm();
    const HWND w = main.Form->Handle();
    constexpr LONG stateBits = WS_MAXIMIZE | WS_MINIMIZE | WS_VISIBLE;
    const LONG style = ::GetWindowLongW(w, GWL_STYLE) & ~stateBits;
    RECT client{};
    ::GetClientRect(w, &client);
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    FreeSkinManager();
    EXPECT_EQ(::GetWindowLongW(w, GWL_STYLE) & ~stateBits, style);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(w, region), ERROR);
    ::DeleteObject(region);
    RECT c{};
    ::GetClientRect(w, &c);
    EXPECT_EQ(c.right, client.right);
    EXPECT_EQ(c.bottom, client.bottom);
    EXPECT_EQ(FindSkinForm(w), nullptr);
}

TEST_F(FrameTest, TheCaptionFontIsTheSystemsWholeCaptionFont)
{
    const TSkinnedForm main = MakeForm();
    TWinSkinForm* frame = ShowSkinned(main.Form);
    ASSERT_NE(frame, nullptr);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    LOGFONTW font{};
    ASSERT_NE(::GetObjectW(Access::CaptionFont(*frame).Handle(), sizeof font, &font), 0);
    const LOGFONTW& want = metrics.lfCaptionFont;
    EXPECT_EQ(font.lfWeight, want.lfWeight);
    EXPECT_EQ(font.lfItalic, want.lfItalic);
    EXPECT_EQ(font.lfQuality, want.lfQuality);
    EXPECT_EQ(font.lfPitchAndFamily, want.lfPitchAndFamily);
    EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(want.lfFaceName));
}

}  // namespace
}  // namespace frametest

namespace frametest {
namespace {

TEST_F(FrameTest, ASkinComponentFreedUnderTheFramesHandlerStopsThatHandler)
{
    const TSkinnedForm main = MakeForm();
    TSkinData* data = main.Data;
    bool armed = false;
    main.Form->WindowProc = [old = main.Form->WindowProc, &data, &armed](TMessage& M) {
        old(M);
        if (M.Msg == WM_SIZE && armed && data != nullptr) delete std::exchange(data, nullptr);
    };
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    armed = true;
    // What goes wrong under the handler surfaces as an exception stopped at
    // the window procedure's boundary.
    static int stopped;
    stopped = 0;
    SetExceptionHandler([](std::exception_ptr) { ++stopped; });
    const HWND w = main.Form->Handle();
    // Resized: the frame's size handler passes the message on, the form frees
    // the component, and the frame (unskinned meanwhile) must not go on to
    // give the window a region of the freed skin.
    ::SetWindowPos(w, nullptr, 0, 0, 420, 320, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(stopped, 0);
    EXPECT_EQ(FindSkinForm(w), nullptr);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(w, region), ERROR);
    ::DeleteObject(region);
    Pump();
}

}  // namespace
}  // namespace frametest

namespace frametest {
namespace {

using namespace frameharness;

TEST_F(FrameTest, ATitleButtonLooksNormalAgainOnceTheMouseLeavesIt)
{
    const TSkinnedForm made = MakeForm();
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    const HWND w = made.Form->Handle();
    const TWinSysButton* close = Button(*frame, taClose);
    ASSERT_NE(close, nullptr);
    const RECT b = close->Rect();
    RECT win{};
    ::GetWindowRect(w, &win);
    const auto screen = [&](int X, int Y) { return POINT{win.left + X, win.top + Y}; };
    // What the screen shows of the button against what a full repaint of
    // the frame paints there.
    const auto normalLook = [&] {
        const TWindowCapture shot = TWindowCapture::Take(w);
        const TWindowCapture fresh = SkinPrint(w);
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x)
                if (shot.Pixel(x, y) != fresh.Pixel(x, y)) return false;
        return true;
    };
    for (const POINT away : {POINT{150, 15}, POINT{200, 150}, POINT{-40, 80}}) {
        SCOPED_TRACE(away.x);
        MouseMoveTo(screen(b.left + 5, b.top + 5));
        ASSERT_TRUE(PumpUntil([&] { return close->State() == ncHot; }, 2000));
        MouseMoveTo(screen(away.x, away.y));
        EXPECT_TRUE(PumpUntil([&] { return close->State() == ncNormal && normalLook(); }, 2000))
            << "state " << close->State();
    }
}

// The key colour painted into the window showed at the rounded corners
// between a size change and the region made for the new size.
TEST_F(FrameTest, AFrameResizedOrMinimizedShowsNoKeyColour)
{
    const TSkinnedForm made = MakeForm();
    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    const HWND w = made.Form->Handle();
    auto keyed = [&] {
        const TWindowCapture shot = SkinPrint(w);
        EXPECT_FALSE(shot.Empty());
        int count = 0;
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x) count += shot.Pixel(x, y) == RGB(255, 0, 255);
        return count;
    };
    ::SetWindowPos(w, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_EQ(keyed(), 0);
    ::ShowWindow(w, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return ::IsIconic(w) != FALSE; }));
    Pump();
    EXPECT_EQ(keyed(), 0);
}

TEST_F(FrameTest, ADialogIsWideEnoughForItsWholeCaption)
{
    const TSkinnedForm main = MakeForm();
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    // A narrow system dialog box, as a message box of two short lines is.
    struct {
        DLGTEMPLATE t{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 10, 10, 60, 40};
        WORD menu = 0, cls = 0;
        wchar_t title[16] = L"tagbench-en";
    } tpl;
    const HWND dialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &tpl.t, nullptr,
                                                     [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    Windows.push_back(dialog);
    ::ShowWindow(dialog, SW_SHOW);
    ::SetForegroundWindow(dialog);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(dialog); }));
    TWinSkinForm& frame = *Frame(dialog);
    SIZE text{};
    {
        const HDC dc = ::GetDC(nullptr);
        const HGDIOBJ old = ::SelectObject(dc, Access::CaptionFont(frame).Handle());
        ::GetTextExtentPoint32W(dc, tpl.title, static_cast<int>(wcslen(tpl.title)), &text);
        ::SelectObject(dc, old);
        ::ReleaseDC(nullptr, dc);
    }
    RECT r{};
    ::GetWindowRect(dialog, &r);
    const TDataSkinTitle& t = *main.Data->FTitle;
    // The caption's room: from its shift after the left border to the right clip.
    EXPECT_GE((r.right - r.left) - t.FRightWidth - (Access::BorderLeft(frame) + t.FLeftWidth), text.cx);
}

TEST_F(FrameTest, FramesTooLargeForTheScreenAreRefusedAndTheWindowKeepsItsSizeAcrossSkins)
{
    const TSkinnedForm main = MakeForm();
    // Nearly the screen: a skin frame of an eighth of it on each side cannot fit.
    main.Form->SetBounds(0, 0, 1000, 740);
    ASSERT_NE(ShowSkinned(main.Form), nullptr);
    const HWND w = main.Form->Handle();
    const auto clientOf = [w] {
        RECT r{};
        ::GetClientRect(w, &r);
        return SIZE{r.right, r.bottom};
    };
    const auto outerOf = [w] {
        RECT r{};
        ::GetWindowRect(w, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    const SIZE client = clientOf(), outer = outerOf();
    char dir[MAX_PATH] = {}, path[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    ::GetTempFileNameA(dir, "skn", 0, path);
    const auto useSkin = [&](const std::vector<uint8_t>& Container) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(Container.data()), static_cast<std::streamsize>(Container.size()));
        main.Data->SetSkinFile(path);
        PumpUntil([&] { return !SkinManager->TimerRunning() && IsActiveFrame(w); });
        Pump();
    };
    const auto frameSkin = [](int Side, int Title) {
        return PackSkin({{"skin.ini", skintest::Bytes("[TitlebarSkin]\r\nSkinName=Large\r\n[Personality]\r\n"
                                                      "Left=side.bmp\r\nRight=side.bmp\r\nTop=top.bmp\r\n")},
                         {"side.bmp", skintest::MakeBmp24(Side, 40, 1)},
                         {"top.bmp", skintest::MakeBmp24(40, Title, 2)}});
    };
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    for (const auto& hostile : {frameSkin(4096, 30), frameSkin(2, 4096)}) {
        useSkin(hostile);
        EXPECT_EQ(main.Data->LastLoadResult(), TSkinLoadResult::lrTooLarge);
        EXPECT_TRUE(main.Data->LoadError().starts_with("too large")) << main.Data->LoadError();
        EXPECT_EQ(main.Data->FSkinName, "Tagbench Slate");
        EXPECT_EQ(clientOf().cx, client.cx);
        EXPECT_EQ(outerOf().cy, outer.cy);
    }

    // The largest frame taken: the system cuts the window down to fit the screen.
    useSkin(frameSkin(screenW / 8, screenH / 8));
    ASSERT_EQ(main.Data->FSkinName, "Large") << main.Data->LoadError();
    ASSERT_LT(clientOf().cx, client.cx);
    // Neither the window's own frame nor the next skin inherits the cut.
    main.Data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return Frame(w) == nullptr; }));
    EXPECT_EQ(clientOf().cx, client.cx);
    EXPECT_EQ(clientOf().cy, client.cy);
    main.Data->SetActive(true);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(w); }));
    const TBytes& stream = DefaultSkinStream();
    useSkin(std::vector<uint8_t>(stream.begin() + 4, stream.end()));
    std::remove(path);
    EXPECT_EQ(main.Data->FSkinName, "Tagbench Slate");
    EXPECT_EQ(clientOf().cx, client.cx);
    EXPECT_EQ(clientOf().cy, client.cy);
    EXPECT_EQ(outerOf().cx, outer.cx);
    EXPECT_EQ(outerOf().cy, outer.cy);
}

}  // namespace
}  // namespace frametest
