// Skinned menus under Wine, driven by injected mouse and keyboard input:
// the popup life cycle, item and ring pixels, the menu bar of a raw window
// made with CreateMenu, the system menu, and leaks over many opens.
#include "tests/skin/support/FrameFixture.h"

#include "skin/SkinApi.h"
#include "skin/SkinWindowMessages.h"
#include "classlib/StdCtrls.h"
#include "skin/menus/MenuItemPaint.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "tools/skinpack-src/SkinInvert.h"
#include "tests/support/GdiObjectCount.h"

#include <algorithm>
#include <deque>
#include <fstream>
#include <functional>

namespace frametest {
namespace {

using frameharness::TWindowCapture;

constexpr UINT MnGetHMenu = 0x01E1;

void Key(WORD Vk, bool Up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = Vk;
    in.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof in);
}

void Tap(WORD Vk)
{
    Key(Vk, false);
    Key(Vk, true);
}

// A character typed as such (any script), not as a key of the layout.
void TypeChar(wchar_t Char)
{
    INPUT in[2]{};
    for (INPUT& i : in) {
        i.type = INPUT_KEYBOARD;
        i.ki.wScan = Char;
        i.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof in[0]);
}

void AltTap(WORD Vk)
{
    Key(VK_MENU, false);
    Tap(Vk);
    Key(VK_MENU, true);
}

// A move that the menu's own loop takes from the queue.
void MoveOnly(POINT Screen)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(Screen.x) * 65536 + ::GetSystemMetrics(SM_CXSCREEN) - 1) /
                                 ::GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(Screen.y) * 65536 + ::GetSystemMetrics(SM_CYSCREEN) - 1) /
                                 ::GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof in);
}

void Click(POINT Screen)
{
    frameharness::MouseMoveTo(Screen);
    frameharness::MousePress(frameharness::TMouseButton::Left);
    frameharness::MouseRelease(frameharness::TMouseButton::Left);
}

// Steps run one per timer tick, also inside the modal loop of a menu; the
// test pumps until every step has run.
class TScript {
public:
    explicit TScript(std::deque<std::function<void()>> Steps) : FSteps(std::move(Steps))
    {
        Current = this;
        FTimer = ::SetTimer(nullptr, 0, 120, [](HWND, UINT, UINT_PTR, DWORD) {
            if (Current == nullptr) return;
            // A menu the steps left open must not hold the test for ever.
            if (Current->FSteps.empty()) {
                if (::FindWindowW(L"#32768", nullptr) != nullptr) {
                    ++Current->FLeftOpen;
                    ::EndMenu();
                } else if (::GetCapture() != nullptr) {
                    ++Current->FLeftOpen;  // a menu bar left in menu mode
                    ::ReleaseCapture();
                }
                return;
            }
            auto step = std::move(Current->FSteps.front());
            Current->FSteps.pop_front();
            step();
        });
    }
    ~TScript()
    {
        ::KillTimer(nullptr, FTimer);
        Current = nullptr;
    }
    TScript(const TScript&) = delete;
    TScript& operator=(const TScript&) = delete;
    // Every step ran and no menu was left open after the last.
    bool Finish()
    {
        const bool ran = PumpUntil([this] { return FSteps.empty(); }, 15000);
        frameharness::PumpFor(150);
        return ran && FLeftOpen == 0;
    }

private:
    int FLeftOpen = 0;
    static inline TScript* Current = nullptr;
    std::deque<std::function<void()>> FSteps;
    UINT_PTR FTimer = 0;
};

// The visible popup-menu windows of the thread, oldest first.
std::vector<HWND> OpenPopups()
{
    std::vector<HWND> found;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND W, LPARAM L) {
            if (::IsWindowVisible(W) && GetWindowClassName(W) == "#32768")
                reinterpret_cast<std::vector<HWND>*>(L)->insert(reinterpret_cast<std::vector<HWND>*>(L)->begin(), W);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Escape while a menu or the bar in menu mode holds the mouse: as often as
// needed to leave menus however far a loaded machine has got.
void LeaveMenuMode()
{
    if (::GetCapture() != nullptr) Tap(VK_ESCAPE);
}

std::vector<HMENU> OpenMenus()
{
    std::vector<HMENU> menus;
    for (HWND w : OpenPopups()) menus.push_back(reinterpret_cast<HMENU>(::SendMessageW(w, MnGetHMenu, 0, 0)));
    return menus;
}

std::vector<UINT> Commands;
LRESULT CALLBACK CommandProc(HWND W, UINT M, WPARAM WP, LPARAM LP)
{
    if (M == WM_COMMAND) Commands.push_back(LOWORD(WP));
    return ::DefWindowProcW(W, M, WP, LP);
}

const wchar_t* CommandClass()
{
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = CommandProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"TbMenuTest";
        return ::RegisterClassW(&wc) != 0;
    }();
    return registered ? L"TbMenuTest" : nullptr;
}

struct TBar {
    HMENU Bar, File, Recent, Edit;
};

// File (Open, a disabled item, a separator, Recent >, a checked item), Edit, and the command Help.
TBar MakeBar()
{
    TBar m{::CreateMenu(), ::CreatePopupMenu(), ::CreatePopupMenu(), ::CreatePopupMenu()};
    ::AppendMenuW(m.File, MF_STRING, 101, L"&Open\tCtrl+O");
    ::AppendMenuW(m.File, MF_STRING | MF_GRAYED, 102, L"&Disabled");
    ::AppendMenuW(m.File, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(m.Recent, MF_STRING, 201, L"One");
    ::AppendMenuW(m.File, MF_POPUP, reinterpret_cast<UINT_PTR>(m.Recent), L"&Recent");
    ::AppendMenuW(m.File, MF_STRING | MF_CHECKED, 103, L"C&hecked");
    ::AppendMenuW(m.Edit, MF_STRING, 301, L"Cu&t");
    ::AppendMenuW(m.Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m.File), L"&File");
    ::AppendMenuW(m.Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m.Edit), L"&Edit");
    ::AppendMenuW(m.Bar, MF_STRING, 401, L"&Help");
    return m;
}

class MenuTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        Main = MakeForm();
        ASSERT_NE(ShowSkinned(Main.Form), nullptr);
        Commands.clear();
    }

    // A skinned raw window with the bar of MakeBar, active.
    HWND MakeBarWindow(DWORD Style = WS_OVERLAPPEDWINDOW)
    {
        Menu = MakeBar();
        const HWND w = ::CreateWindowExW(0, CommandClass(), L"Menu", Style, 100, 100, 400, 300, nullptr, Menu.Bar,
                                         ::GetModuleHandleW(nullptr), nullptr);
        Windows.push_back(w);
        ::ShowWindow(w, SW_SHOW);
        ::SetForegroundWindow(w);
        if (!PumpUntil([&] { return IsActiveFrame(w); })) return nullptr;
        Pump();
        return w;
    }

    // Screen point of bar button Index's centre.
    POINT BarButton(HWND Window, int Index)
    {
        RECT r{};
        ::GetWindowRect(Window, &r);
        const int y = r.top + Access::TitleHeight(*Frame(Window)) + 8;
        const int x[] = {30, 62, 95};
        return {r.left + x[Index], y};
    }

    TSkinnedForm Main;
    TBar Menu{};
};

TEST_F(MenuTest, APopupIsListedAndSkinnedWhileOpenAndLetGoWhenItCloses)
{
    const HWND window = Main.Form->Handle();
    const size_t hooked = HookedWindowCount();
    HWND popup = nullptr;
    LRESULT query = 0;
    bool listed = false;
    TScript script({[&] {
                        const auto popups = OpenPopups();
                        popup = popups.empty() ? nullptr : popups.back();
                        query = ::SendMessageW(popup, WM_SKIN_QUERY, 0, 0);
                        listed = SkinManager->FindPopupMenu(popup) != nullptr;
                    },
                    [] { Tap(VK_ESCAPE); }});
    ::SetForegroundWindow(window);
    AltTap(VK_SPACE);
    ASSERT_TRUE(script.Finish());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(query, 1);
    EXPECT_TRUE(listed);
    EXPECT_TRUE(PumpUntil([] { return SkinManager->PopupMenus().empty(); }));
    EXPECT_EQ(HookedWindowCount(), hooked);

    // A skin read while the popup is open: its background follows at the same size.
    char dir[MAX_PATH] = {}, inverted[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    ::GetTempFileNameA(dir, "skn", 0, inverted);
    const std::vector<uint8_t> bytes = InvertedSkin(SkinEntriesOf(Main.Data->SkinStream()));
    std::ofstream(inverted, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // A menu window made here is skinned as one the system makes.
    const HWND menuLike = ::CreateWindowExW(0, L"#32768", L"", WS_POPUP, 10, 10, 120, 90, window, nullptr,
                                            ::GetModuleHandleW(nullptr), nullptr);
    Windows.push_back(menuLike);
    TWinSkinPopMenu* skinner = SkinManager->FindPopupMenu(menuLike);
    ASSERT_NE(skinner, nullptr);
    const auto corner = [skinner] {
        TBitmap* background = skinner->Background();
        return background != nullptr ? ::GetPixel(background->Canvas()->Handle(), 1, 1) : CLR_INVALID;
    };
    const COLORREF before = corner();
    Main.Data->SetSkinFile(inverted);
    const COLORREF after = corner();
    ::DestroyWindow(menuLike);
    ::DeleteFileA(inverted);
    EXPECT_NE(before, CLR_INVALID);
    EXPECT_NE(after, before);

    // A skin component freed while its popup is open: the popup is let go
    // with it and repaints without it (Wine's heap checking sees any read).
    const TSkinnedForm other = MakeForm();
    ASSERT_NE(ShowSkinned(other.Form), nullptr);
    bool ownData = false, letGo = false;
    TScript dataFreed({[&] {
                           const auto popups = OpenPopups();
                           TWinSkinPopMenu* open = popups.empty() ? nullptr : SkinManager->FindPopupMenu(popups.back());
                           ownData = open != nullptr && open->SkinData() == other.Data;
                           delete other.Data;
                           letGo = SkinManager->PopupMenus().empty();
                           for (HWND w : popups) ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                       },
                       [] { Tap(VK_ESCAPE); }});
    ::SetForegroundWindow(other.Form->Handle());
    AltTap(VK_SPACE);
    ASSERT_TRUE(dataFreed.Finish());
    EXPECT_TRUE(ownData);
    EXPECT_TRUE(letGo);

    // The manager freed while a menu is open: the popup's window gets its
    // own procedure back and nothing of the skin runs afterwards.
    TScript freeing({[] { FreeSkinManager(); }, [] { Tap(VK_ESCAPE); }});
    ::SetForegroundWindow(window);
    AltTap(VK_SPACE);
    ASSERT_TRUE(freeing.Finish());
    EXPECT_TRUE(PumpUntil([] { return OpenPopups().empty(); }));
    EXPECT_EQ(HookedWindowCount(), 0u);
}

// The system menu's copy: item states as the window's state says, its
// pixels from the skin (ring, selected cell, separator, shortcut at the right).
TEST_F(MenuTest, TheSystemMenuIsDrawnFromTheSkinWithItsItemsEnabledForTheWindowState)
{
    const HWND window = Main.Form->Handle();
    struct TSeen {
        std::vector<UINT> Grayed;
        TWindowCapture Capture;
        RECT Move{}, Close{}, Separator{};
        HWND Popup = nullptr;
    };
    auto open = [&](TSeen& Seen, bool Hover) {
        // A second request within the double-click time is a double click.
        frameharness::PumpFor(::GetDoubleClickTime() + 50);
        TScript script({[&] {
                            const auto popups = OpenPopups();
                            if (popups.empty()) return;
                            Seen.Popup = popups.back();
                            const auto menu = reinterpret_cast<HMENU>(::SendMessageW(Seen.Popup, MnGetHMenu, 0, 0));
                            for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
                                if (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED)
                                    Seen.Grayed.push_back(::GetMenuItemID(menu, i));
                            RECT w{};
                            ::GetWindowRect(Seen.Popup, &w);
                            auto local = [&](int Pos, RECT& R) {
                                ::GetMenuItemRect(window, menu, static_cast<UINT>(Pos), &R);
                                ::OffsetRect(&R, -w.left, -w.top);
                            };
                            local(1, Seen.Move);
                            local(5, Seen.Separator);
                            local(6, Seen.Close);
                            if (Hover) MoveOnly({w.left + Seen.Move.right - 6, w.top + Seen.Move.top + 4});
                        },
                        [&] { Seen.Capture = TWindowCapture::Take(Seen.Popup); }, [] { Tap(VK_ESCAPE); }});
        ::SetForegroundWindow(window);
        AltTap(VK_SPACE);
        EXPECT_TRUE(script.Finish());
    };
    auto has = [](const std::vector<UINT>& Ids, UINT Id) { return std::find(Ids.begin(), Ids.end(), Id) != Ids.end(); };

    TSeen normal;
    open(normal, true);
    EXPECT_TRUE(has(normal.Grayed, SC_RESTORE));
    EXPECT_FALSE(has(normal.Grayed, SC_MAXIMIZE));
    EXPECT_FALSE(has(normal.Grayed, SC_MOVE));
    EXPECT_FALSE(has(normal.Grayed, SC_CLOSE));
    ASSERT_FALSE(normal.Capture.Empty());
    TBitmap& back = *Main.Data->FMenuBackground->FBitmap;
    TBitmap& item = *Main.Data->FMenuItem->FBitmap;
    EXPECT_EQ(normal.Capture.Pixel(0, 0), CellPixel(back, 1, 1, false, 0, 0));
    EXPECT_EQ(normal.Capture.Pixel(normal.Capture.Width() / 2, normal.Capture.Height() - 1),
              CellPixel(back, 1, 1, false, back.Width() / 2, back.Height() - 1));
    EXPECT_EQ(normal.Capture.Pixel(normal.Move.right - 6, (normal.Move.top + normal.Move.bottom) / 2),
              CellPixel(item, 4, 5, false, 12, 10));
    // The separator's line comes from the bottom rows of cell 2.
    const int lineRow = normal.Separator.top + (normal.Separator.bottom - normal.Separator.top) - (item.Height() - 15);
    EXPECT_EQ(normal.Capture.Pixel((normal.Separator.left + normal.Separator.right) / 2, lineRow),
              CellPixel(item, 2, 5, false, 12, 15));
    // The shortcut ends 11 pixels or a little more before the item's right edge.
    const COLORREF plain = normal.Capture.Pixel(normal.Close.right - 2, normal.Close.top + 2);
    int rightmost = -1;
    for (int x = normal.Close.left; x < normal.Close.right; ++x)
        for (int y = normal.Close.top; y < normal.Close.bottom; ++y)
            if (normal.Capture.Pixel(x, y) != plain) rightmost = x;
    EXPECT_LT(rightmost, normal.Close.right - 11);
    EXPECT_GT(rightmost, normal.Close.right - 20);

    ::ShowWindow(window, SW_MAXIMIZE);
    Pump();
    TSeen maximized;
    open(maximized, false);
    EXPECT_FALSE(has(maximized.Grayed, SC_RESTORE));
    EXPECT_TRUE(has(maximized.Grayed, SC_MAXIMIZE));
    EXPECT_TRUE(has(maximized.Grayed, SC_MOVE));
    EXPECT_TRUE(has(maximized.Grayed, SC_SIZE));
    ::ShowWindow(window, SW_RESTORE);
    Pump();

    // Without boxes: neither maximize nor minimize is offered.
    ::SetWindowLongW(window, GWL_STYLE, ::GetWindowLongW(window, GWL_STYLE) & ~(WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
    RunAction(Main.Data, saUnskinAll);
    RunAction(Main.Data, saSkinAll);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(window); }));
    TSeen boxless;
    open(boxless, false);
    EXPECT_TRUE(has(boxless.Grayed, SC_MAXIMIZE));
    EXPECT_TRUE(has(boxless.Grayed, SC_MINIMIZE));
}

// The copy keeps what the window added to its system menu: a submenu stays
// a submenu, a picture stays a picture, and a tick the window sets as the
// menu opens shows.
constexpr UINT PinnedId = 0x0110, PictureId = 0x0120, InnerId = 0x0130;
LRESULT CALLBACK PinningProc(HWND W, UINT M, WPARAM WP, LPARAM LP)
{
    if (M == WM_INITMENUPOPUP && HIWORD(LP) != 0) ::CheckMenuItem(reinterpret_cast<HMENU>(WP), PinnedId, MF_CHECKED);
    return ::DefWindowProcW(W, M, WP, LP);
}

TEST_F(MenuTest, TheSystemMenusCopyKeepsSubmenusPicturesAndTheWindowsOwnTicks)
{
    const HWND w = MakeWindow(WS_OVERLAPPEDWINDOW, 0, PinningProc);
    const HMENU system = ::GetSystemMenu(w, FALSE);
    const HMENU inner = ::CreatePopupMenu();
    ::AppendMenuW(inner, MF_STRING, InnerId, L"Inner");
    ::AppendMenuW(system, MF_STRING, PinnedId, L"Pinned");
    ::AppendMenuW(system, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), L"More");
    const TGdiObject picture(::CreateBitmap(16, 16, 1, 1, nullptr));
    ::AppendMenuW(system, MF_BITMAP, PictureId, reinterpret_cast<LPCWSTR>(picture.Get()));
    ::ShowWindow(w, SW_SHOW);
    ::SetForegroundWindow(w);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(w); }));

    HMENU shown = nullptr;
    int count = 0;
    UINT pinned = 0;
    HMENU sub = nullptr;
    MENUITEMINFOW pictureInfo{};
    pictureInfo.cbSize = sizeof pictureInfo;
    pictureInfo.fMask = MIIM_FTYPE | MIIM_BITMAP;
    TScript script({[&] {
                        const auto menus = OpenMenus();
                        if (menus.empty()) return;
                        shown = menus.back();
                        count = ::GetMenuItemCount(shown);
                        pinned = ::GetMenuState(shown, PinnedId, MF_BYCOMMAND);
                        sub = ::GetSubMenu(shown, count - 2);
                        ::GetMenuItemInfoW(shown, static_cast<UINT>(count - 1), TRUE, &pictureInfo);
                    },
                    [] { Tap(VK_ESCAPE); }});
    AltTap(VK_SPACE);
    ASSERT_TRUE(script.Finish());
    ASSERT_NE(shown, nullptr);
    EXPECT_NE(shown, system);
    EXPECT_EQ(count, ::GetMenuItemCount(system));
    EXPECT_NE(pinned & MF_CHECKED, 0u);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(::GetMenuItemID(sub, 0), InnerId);
    EXPECT_EQ(pictureInfo.fType & MFT_SEPARATOR, 0u);
    EXPECT_EQ(pictureInfo.hbmpItem, picture.Get());
}

TEST_F(MenuTest, CloseChosenInTheSystemMenuClosesTheWindowAndAGreyedCloseKeepsTheCloseButtonShut)
{
    const HWND w = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ::SetForegroundWindow(w);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(w); }));
    ::EnableMenuItem(::GetSystemMenu(w, FALSE), SC_CLOSE, MF_GRAYED);
    TWinSysButton* close = Button(*Frame(w), 0);
    ASSERT_NE(close, nullptr);
    RECT r{};
    ::GetWindowRect(w, &r);
    const POINT at{r.left + (close->Rect().left + close->Rect().right) / 2, r.top + (close->Rect().top + close->Rect().bottom) / 2};
    Click(at);
    frameharness::PumpFor(300);
    EXPECT_TRUE(::IsWindow(w));
    ::EnableMenuItem(::GetSystemMenu(w, FALSE), SC_CLOSE, MF_ENABLED);

    // Up twice from no selection: past the last item (About Wine) to Close.
    TScript script({[] { Tap(VK_UP); }, [] { Tap(VK_UP); }, [] { Tap(VK_RETURN); }});
    AltTap(VK_SPACE);
    EXPECT_TRUE(script.Finish());
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(w); }));
}

std::vector<WPARAM> SysCommands;
LRESULT CALLBACK SysCommandProc(HWND W, UINT M, WPARAM WP, LPARAM LP)
{
    // Alt+Space comes as SC_KEYMENU first.
    if (M == WM_SYSCOMMAND && (WP & 0xFFF0) != SC_KEYMENU) SysCommands.push_back(WP & 0xFFF0);
    return ::DefWindowProcW(W, M, WP, LP);
}

// Letters in the skinned system menu as in a native one: a letter that marks
// no item highlights the next item it starts, wrapping round; a mnemonic runs
// its item whatever its case and script; C closes the window.
TEST_F(MenuTest, LettersChooseAndHighlightSystemMenuItemsAsInANativeMenu)
{
    const HWND w = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, SysCommandProc);
    ::SetForegroundWindow(w);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(w); }));
    const HMENU sys = ::GetSystemMenu(w, FALSE);
    ::AppendMenuW(sys, MF_STRING, 0x10, L"Zoom in");
    ::AppendMenuW(sys, MF_STRING, 0x20, L"Zoom out");
    ::AppendMenuW(sys, MF_STRING, 0x30, L"&\u0416\u0443\u043a");
    SysCommands.clear();
    std::vector<UINT> highlighted;
    auto look = [&] {
        const auto menus = OpenMenus();
        if (menus.empty()) return;
        UINT id = 0;
        for (int i = 0; i < ::GetMenuItemCount(menus.back()); ++i)
            if (::GetMenuState(menus.back(), static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
                id = ::GetMenuItemID(menus.back(), i);
        highlighted.push_back(id);
    };
    TScript letters({[] { Tap('Z'); }, look, [] { Tap('Z'); }, look, [] { Tap('Z'); }, look,
                     [] { TypeChar(L'\u0436'); }, [] {}});
    AltTap(VK_SPACE);
    ASSERT_TRUE(letters.Finish());
    EXPECT_EQ(highlighted, (std::vector<UINT>{0x10, 0x20, 0x10}));
    EXPECT_EQ(SysCommands, (std::vector<WPARAM>{0x30}));

    TScript close({[] { Tap('C'); }, [] {}});
    AltTap(VK_SPACE);
    EXPECT_TRUE(close.Finish());
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(w); }));
    EXPECT_EQ(SysCommands, (std::vector<WPARAM>{0x30, SC_CLOSE}));
}

// A raw window's CreateMenu bar: drawn from the skin's menu-bar cells, the
// client area kept, the menu given back on unskin.
TEST_F(MenuTest, ARawWindowsMenuBarIsSkinnedAndGivenBack)
{
    Menu = MakeBar();
    const HWND w = ::CreateWindowExW(0, CommandClass(), L"Menu", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr, Menu.Bar,
                                     ::GetModuleHandleW(nullptr), nullptr);
    Windows.push_back(w);
    RECT before{};
    ::GetClientRect(w, &before);
    ::ShowWindow(w, SW_SHOW);
    ::SetForegroundWindow(w);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(w); }));
    Pump();
    RECT skinned{};
    ::GetClientRect(w, &skinned);
    EXPECT_EQ(skinned.right, before.right);
    EXPECT_EQ(skinned.bottom, before.bottom);
    EXPECT_EQ(::GetMenu(w), nullptr);

    TBitmap& bar = *Main.Data->FMenuBar->FBitmap;
    const int title = Access::TitleHeight(*Frame(w));
    const int barHeight = ::GetSystemMetrics(SM_CYMENU);
    auto barPixel = [&] {
        Pump();
        const TWindowCapture shot = TWindowCapture::Take(w);
        return shot.Pixel(shot.Width() - 30, title + barHeight / 2);
    };
    const int cellRow = (barHeight / 2) * (bar.Height() / 2) / barHeight;
    EXPECT_EQ(barPixel(), CellPixel(bar, 1, 2, true, bar.Width() / 2, cellRow));
    ::SendMessageW(w, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(barPixel(), CellPixel(bar, 2, 2, true, bar.Width() / 2, cellRow));
    ::SendMessageW(w, WM_NCACTIVATE, TRUE, 0);

    RunAction(Main.Data, saUnskinAll);
    Pump();
    RECT after{};
    ::GetClientRect(w, &after);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_EQ(::GetMenu(w), Menu.Bar);
    // The items are the application's again: strings, not owner-drawn.
    EXPECT_EQ(::GetMenuState(Menu.File, 0, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
}

// Keyboard and mouse on the bar: Alt+letter, Left and Right with wrap and
// past the plain command, Right into a submenu, a mouse slide, Alt and Esc.
TEST_F(MenuTest, TheBarOpensSwitchesAndClosesByKeyboardAndMouse)
{
    const HWND w = MakeBarWindow();
    ASSERT_NE(w, nullptr);
    std::vector<std::vector<HMENU>> seen;
    auto look = [&] { seen.push_back(OpenMenus()); };
    RECT recent{};
    TScript script({look, [] { Tap(VK_RIGHT); }, look, [] { Tap(VK_RIGHT); }, look, [] { Tap(VK_LEFT); }, look,
                    [] { Tap(VK_LEFT); }, look,
                    [&] {
                        // Onto Recent with the mouse, then Right opens its submenu.
                        ::GetMenuItemRect(w, Menu.File, 3, &recent);
                        MoveOnly({recent.left + 20, (recent.top + recent.bottom) / 2});
                    },
                    [] { Tap(VK_RIGHT); }, look,
                    [&] { MoveOnly(BarButton(w, 1)); }, look, look, [] { Tap(VK_ESCAPE); }, look, LeaveMenuMode,
                    LeaveMenuMode});
    ::SetForegroundWindow(w);
    AltTap('F');
    ASSERT_TRUE(script.Finish());
    ASSERT_EQ(seen.size(), 9u);
    const std::vector<HMENU> file{Menu.File}, edit{Menu.Edit};
    EXPECT_EQ(seen[0], file);
    EXPECT_EQ(seen[1], edit);
    EXPECT_EQ(seen[2], file);  // past Help, around to the first
    EXPECT_EQ(seen[3], edit);  // Left from the first wraps to the last drop-down
    EXPECT_EQ(seen[4], file);
    EXPECT_EQ(seen[5], (std::vector<HMENU>{Menu.File, Menu.Recent}));
    EXPECT_EQ(seen[6], edit);  // the mouse slid onto Edit: switched once
    EXPECT_EQ(seen[7], edit);
    EXPECT_TRUE(seen[8].empty());

    // Alt alone opens the first drop-down, Alt again ends it.
    std::vector<HMENU> altAlone;
    TScript alt({[&] { altAlone = OpenMenus(); }, [] { Tap(VK_MENU); }, [] {}});
    Tap(VK_MENU);
    ASSERT_TRUE(alt.Finish());
    EXPECT_EQ(altAlone, file);
    EXPECT_TRUE(PumpUntil([] { return OpenPopups().empty(); }));

    // Escape closes a drop-down into the bar, as a native bar does: Right
    // and Down open the next one; the mouse on the plain command closes it
    // without running the command, back on a drop-down's button opens that;
    // Escape in the bar leaves.
    std::vector<std::vector<HMENU>> bar;
    auto peek = [&] { bar.push_back(OpenMenus()); };
    TScript barMode({[] { Tap(VK_ESCAPE); }, peek, [] { Tap(VK_RIGHT); }, [] { Tap(VK_DOWN); }, peek,
                     [&] { MoveOnly(BarButton(w, 2)); }, peek, [&] { MoveOnly(BarButton(w, 0)); }, [] {}, peek,
                     [] { Tap(VK_ESCAPE); }, LeaveMenuMode, LeaveMenuMode});
    AltTap('F');
    ASSERT_TRUE(barMode.Finish());
    EXPECT_EQ(bar, (std::vector<std::vector<HMENU>>{{}, edit, {}, file}));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(Commands.empty());
}

// A right-to-left window's bar reads from the right, as its drop-downs
// open and its Left and Right keys go.
TEST_F(MenuTest, ARightToLeftWindowsBarReadsFromTheRight)
{
    Menu = MakeBar();
    const HWND w = ::CreateWindowExW(WS_EX_LEFTSCROLLBAR, CommandClass(), L"Menu", WS_OVERLAPPEDWINDOW, 100, 100, 400,
                                     300, nullptr, Menu.Bar, ::GetModuleHandleW(nullptr), nullptr);
    Windows.push_back(w);
    ::ShowWindow(w, SW_SHOW);
    ::SetForegroundWindow(w);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(w); }));
    ::RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const TWinSkinMenu& bar = *Access::MenuBar(*Frame(w));
    ASSERT_EQ(bar.Count(), 3);
    const RECT first = bar.Button(0)->Rect(), second = bar.Button(1)->Rect();
    EXPECT_EQ(second.right, first.left);
    EXPECT_GT(first.left, 300);

    // Its items mirrored: tick and caption at the right, the shortcut at the left.
    auto inkColumns = [&](bool RightToLeft) {
        TBitmap item;
        item.SetPixelFormat(TPixelFormat::pf24bit);
        item.SetSize(240, 22);
        TMenuItemView view = MenuItemViewOf(L"C&hecked\tCtrl+K");
        view.Checked = true;
        view.RightToLeft = RightToLeft;
        PaintSkinMenuItem(item.Canvas()->Handle(), {0, 0, 240, 22}, view, false, *Main.Data, nullptr, {0, 0});
        const COLORREF ink = ColorToRGB(Main.Data->FMenuTextColor);
        std::vector<int> columns;
        for (int x = 0; x < 240; ++x)
            for (int y = 0; y < 22; ++y)
                if (::GetPixel(item.Canvas()->Handle(), x, y) == ink) {
                    columns.push_back(x);
                    break;
                }
        return columns;
    };
    const std::vector<int> ltr = inkColumns(false), rtl = inkColumns(true);
    ASSERT_FALSE(ltr.empty());
    ASSERT_EQ(rtl.size(), ltr.size());
    EXPECT_NEAR(rtl.back(), 239 - ltr.front(), 4);
    EXPECT_LE(rtl.front(), 239 - ltr.back());
    EXPECT_LT(ltr.front(), 30);
}

// An MDI frame's bar: a maximized child's buttons drawn at its far end, the
// pictures the system adds to the menu for that child making no buttons, and
// a new frame menu given through the client taken at once.
TEST_F(MenuTest, AnMDIFramesBarDrawsTheMaximizedChildsButtonsAndTakesANewFrameMenu)
{
    Menu = MakeBar();
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const HWND frame = ::CreateWindowExW(0, CommandClass(), L"MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100, 100,
                                         400, 300, nullptr, Menu.Bar, instance, nullptr);
    Windows.push_back(frame);
    CLIENTCREATESTRUCT ccs{nullptr, 100};
    const HWND client = ::CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                          380, 200, frame, nullptr, instance, &ccs);
    ::ShowWindow(frame, SW_SHOW);
    ::SetForegroundWindow(frame);
    ASSERT_TRUE(PumpUntil([&] { return IsActiveFrame(frame); }));
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefMDIChildProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"TbMenuTestChild";
    ::RegisterClassW(&wc);
    MDICREATESTRUCTW mcs{L"TbMenuTestChild", L"Child", instance, 10, 10, 150, 100, WS_OVERLAPPEDWINDOW, 0};
    const auto child = reinterpret_cast<HWND>(::SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(child, nullptr);
    ::SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    Pump();
    ::RedrawWindow(frame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();

    TWinSysButton* close = nullptr;
    for (const auto& button : Access::Buttons(*Frame(frame)))
        if (button->Data().FAction == taMDIClose) close = button.get();
    ASSERT_NE(close, nullptr);
    ASSERT_TRUE(close->Visible());
    TBitmap& strip = *close->Data().FBitmap;
    const RECT r = close->Rect();
    const TWindowCapture shot = TWindowCapture::Take(frame);
    int compared = 0;
    for (int y = 0; y < r.bottom - r.top; y += 2)
        for (int x = 0; x < r.right - r.left; x += 2) {
            const COLORREF cell = CellPixel(strip, 1, 4, false, x, y);
            if (cell == RGB(255, 0, 255)) continue;
            EXPECT_EQ(shot.Pixel(r.left + x, r.top + y), cell) << x << "," << y;
            if (++compared > 20) break;
        }
    EXPECT_GT(compared, 0);
    EXPECT_EQ(Access::MenuBar(*Frame(frame))->Count(), 3);

    const HMENU next = ::CreateMenu(), window = ::CreatePopupMenu();
    ::AppendMenuW(window, MF_STRING, 501, L"&Tile");
    ::AppendMenuW(next, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"&Window");
    ::SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(next), 0);
    EXPECT_EQ(::GetMenu(frame), nullptr);
    const TWinSkinMenu& bar = *Access::MenuBar(*Frame(frame));
    ASSERT_EQ(bar.Count(), 1);
    EXPECT_EQ(bar.Button(0)->FCaption, L"&Window");
    ::SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    Pump();
    ::DestroyMenu(Menu.Bar);
}

// Only enabled commands of the window's own menu reach it: a disabled item
// and a drop-down button post nothing.
TEST_F(MenuTest, OnlyEnabledCommandsArriveAndAWindowClosedWhileItsMenuIsOpenTakesItsMenuAlong)
{
    const HWND w = MakeBarWindow();
    ASSERT_NE(w, nullptr);
    RECT item{};
    TScript script({[&] {
                        ::GetMenuItemRect(w, Menu.File, 1, &item);
                        MoveOnly({item.left + 20, (item.top + item.bottom) / 2});
                    },
                    [] { Tap(VK_RETURN); }, [] { Tap(VK_ESCAPE); }, [] {},
                    [&] { Click(BarButton(w, 0)); }, [] {},
                    [&] {
                        ::GetMenuItemRect(w, Menu.File, 0, &item);
                        MoveOnly({item.left + 20, (item.top + item.bottom) / 2});
                    },
                    [] { Tap(VK_RETURN); }, [] {}});
    Click(BarButton(w, 0));
    ASSERT_TRUE(script.Finish());
    Click(BarButton(w, 2));
    Pump();
    EXPECT_EQ(Commands, (std::vector<UINT>{101, 401}));

    TScript closing({[&] { ::DestroyWindow(w); }, [] {}});
    Click(BarButton(w, 1));
    ASSERT_TRUE(closing.Finish());
    EXPECT_FALSE(::IsWindow(w));
    EXPECT_FALSE(::IsMenu(Menu.Bar));
    EXPECT_TRUE(OpenPopups().empty());
}

// The application changes a drop-down while it is open (the bar's drop-downs
// send no WM_INITMENUPOPUP): an item added in front, one removed, one
// renamed. After it closes each keeps what the application made of it.
TEST_F(MenuTest, ItemsChangedWhileADropDownIsOpenKeepTheirChangesAfterItCloses)
{
    const HWND w = MakeBarWindow();
    ASSERT_NE(w, nullptr);
    const auto change = [&] {
        ::InsertMenuW(Menu.File, 0, MF_BYPOSITION | MF_STRING, 100, L"&New");
        ::DeleteMenu(Menu.File, 102, MF_BYCOMMAND);
        MENUITEMINFOW rename{};
        rename.cbSize = sizeof rename;
        rename.fMask = MIIM_STRING;
        rename.dwTypeData = const_cast<wchar_t*>(L"C&hosen");
        ::SetMenuItemInfoW(Menu.File, 103, FALSE, &rename);
    };
    TScript script({change, [] { Tap(VK_ESCAPE); }, LeaveMenuMode, LeaveMenuMode});
    Click(BarButton(w, 0));
    ASSERT_TRUE(script.Finish());
    const std::vector<std::wstring> texts{L"&New", L"&Open\tCtrl+O", L"", L"&Recent", L"C&hosen"};
    ASSERT_EQ(::GetMenuItemCount(Menu.File), 5);
    for (UINT i = 0; i < 5; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        ASSERT_TRUE(::GetMenuItemInfoW(Menu.File, i, TRUE, &info));
        EXPECT_EQ(info.fType & MFT_OWNERDRAW, 0u) << i;
        EXPECT_EQ(info.dwItemData, 0u) << i;
        EXPECT_EQ(MenuItemText(Menu.File, i), texts[i]) << i;
    }
    EXPECT_EQ(::GetMenuState(Menu.File, 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_NE(::GetMenuState(Menu.File, 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
}

// A hundred opens of a drop-down and of the system menu leave no GDI object
// and no menu behind.
TEST_F(MenuTest, OpeningMenusAHundredTimesLeaksNothing)
{
    const HWND w = MakeBarWindow();
    ASSERT_NE(w, nullptr);
    const UINT_PTR closer = ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
        if (!OpenPopups().empty()) ::EndMenu();
    });
    std::vector<HMENU> sysMenus;
    auto openBoth = [&] {
        ::SendMessageW(w, WM_SKIN_MENUAT, 0, MAKELPARAM(BarButton(w, 0).x, BarButton(w, 0).y));
        ::SendMessageW(w, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(BarButton(w, 0).x, BarButton(w, 0).y - 15));
        if (const TWinSkinSysMenu* menu = Access::SysMenu(*Frame(w))) sysMenus.push_back(menu->Handle());
        // Past the double-click time of two system-menu requests.
        Access::ForgetRightClick(*Frame(w));
    };
    for (int i = 0; i < 3; ++i) openBoth();
    const int gdi = GdiObjectCount();
    ASSERT_NE(gdi, -1) << kNoGdiObjectCount;
    for (int i = 0; i < 100; ++i) openBoth();
    ::KillTimer(nullptr, closer);
    Pump();
    EXPECT_LE(GdiObjectCount(), gdi);
    ASSERT_EQ(sysMenus.size(), 103u);
    for (size_t i = 0; i + 1 < sysMenus.size(); ++i) EXPECT_FALSE(::IsMenu(sysMenus[i])) << i;
    EXPECT_TRUE(::IsMenu(Menu.File));
    EXPECT_TRUE(SkinManager->PopupMenus().empty());
}

// A class-library form's main menu on the skinned bar: a chosen item runs
// its OnClick, a caption changed in place shows on the bar.
TEST_F(MenuTest, AFormsMainMenuRunsItsItemsAndShowsItsCaptionChanges)
{
    const TSkinnedForm form = MakeForm();
    auto* menu = new TMainMenu(form.Form);
    auto item = [](TComponent* Owner, const char* Caption) {
        auto* made = new TMenuItem(Owner);
        made->SetCaption(Caption);
        return made;
    };
    TMenuItem* file = item(menu, "&File");
    TMenuItem* open = item(menu, "&Open");
    TMenuItem* edit = item(menu, "&Edit");
    file->Add(open);
    edit->Add(item(menu, "Cu&t"));
    menu->Items()->Add(file);
    menu->Items()->Add(edit);
    int clicks = 0;
    open->OnClick = [&](TObject*) { ++clicks; };
    form.Form->SetMenu(menu);
    TWinSkinForm* frame = ShowSkinned(form.Form);
    ASSERT_NE(frame, nullptr);
    const HWND window = form.Form->Handle();
    ASSERT_NE(Access::MenuBar(*frame), nullptr);
    EXPECT_EQ(::GetMenu(window), nullptr);

    RECT item0{};
    TScript script({[&] {
                        ::GetMenuItemRect(window, file->Handle(), 0, &item0);
                        MoveOnly({item0.left + 20, (item0.top + item0.bottom) / 2});
                    },
                    [] { Tap(VK_RETURN); }, [] {}});
    ::SendMessageW(window, WM_SKIN_MENUAT, 0, MAKELPARAM(BarButton(window, 0).x, BarButton(window, 0).y));
    ASSERT_TRUE(script.Finish());
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));

    // Alt+letter opens the drop-down that the letter marks, but not while
    // a modal form keeps the window disabled.
    std::vector<HMENU> byKey, whileDisabled{nullptr};
    TScript keys({[&] { byKey = OpenMenus(); }, [] { Tap(VK_ESCAPE); }, LeaveMenuMode, LeaveMenuMode});
    ::SetForegroundWindow(window);
    AltTap('F');
    ASSERT_TRUE(keys.Finish());
    EXPECT_EQ(byKey, (std::vector<HMENU>{file->Handle()}));
    // The same with the focus in a control (its own menu key would open nothing).
    auto* box = new TEdit(form.Form);
    box->SetParent(form.Form);
    box->SetFocus();
    ASSERT_EQ(::GetFocus(), box->Handle());
    TScript fromBox({[&] { byKey = OpenMenus(); }, [] { Tap(VK_ESCAPE); }, LeaveMenuMode, LeaveMenuMode});
    AltTap('E');
    ASSERT_TRUE(fromBox.Finish());
    EXPECT_EQ(byKey, (std::vector<HMENU>{edit->Handle()}));
    ::EnableWindow(window, FALSE);
    TScript disabled({[&] { whileDisabled = OpenMenus(); }, [] {}});
    ::SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    ASSERT_TRUE(disabled.Finish());
    EXPECT_TRUE(whileDisabled.empty());
    ::EnableWindow(window, TRUE);
    // A disabled first drop-down opened by F10 leaves no key behind.
    file->SetEnabled(false);
    Pump();
    ::SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
    MSG left{};
    EXPECT_FALSE(::PeekMessageW(&left, window, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
    file->SetEnabled(true);

    edit->SetCaption("&Change");
    Pump();
    EXPECT_EQ(::GetMenu(window), nullptr);
    ASSERT_NE(Access::MenuBar(*frame)->Button(1), nullptr);
    EXPECT_EQ(Access::MenuBar(*frame)->Button(1)->FCaption, L"&Change");
    RunAction(form.Data, saUnskinAll);
    EXPECT_EQ(::GetMenu(window), menu->Handle());
}

// A main menu freed while the form is skinned leaves the bar: no buttons,
// no band, and a click where the bar was opens nothing.
TEST_F(MenuTest, AFormsMainMenuFreedWhileSkinnedLeavesTheBar)
{
    const TSkinnedForm form = MakeForm();
    auto* menu = new TMainMenu(form.Form);
    auto* file = new TMenuItem(menu);
    file->SetCaption("&File");
    auto* open = new TMenuItem(menu);
    open->SetCaption("&Open");
    file->Add(open);
    menu->Items()->Add(file);
    form.Form->SetMenu(menu);
    TWinSkinForm* frame = ShowSkinned(form.Form);
    ASSERT_NE(frame, nullptr);
    const HWND window = form.Form->Handle();
    ASSERT_EQ(Access::MenuBar(*frame)->Count(), 1);
    RECT before{};
    ::GetClientRect(window, &before);
    delete menu;
    Pump();
    EXPECT_EQ(Access::MenuBar(*frame)->Count(), 0);
    EXPECT_EQ(Access::MenuBar(*frame)->Handle(), nullptr);
    RECT after{};
    ::GetClientRect(window, &after);
    EXPECT_EQ(after.bottom - before.bottom, ::GetSystemMetrics(SM_CYMENU));
    TScript script({[] {}, [] {}});
    ::SendMessageW(window, WM_SKIN_MENUAT, 0, MAKELPARAM(BarButton(window, 0).x, BarButton(window, 0).y));
    EXPECT_TRUE(script.Finish());  // nothing was left open
    RunAction(form.Data, saUnskinAll);
    EXPECT_EQ(::GetMenu(window), nullptr);
}

// A form's popup menu is drawn by the skin while the form is skinned; the
// items' own handlers and the menu's own OwnerDraw come back on unskin, and
// an item freed meanwhile is simply gone from what is given back.
TEST_F(MenuTest, AFormsPopupMenuIsDrawnByTheSkinAndGetsItsOwnHandlersBack)
{
    const TSkinnedForm form = MakeForm();
    auto* popup = new TPopupMenu(form.Form);
    auto item = [&](const char* Caption) {
        auto* made = new TMenuItem(popup);
        made->SetCaption(Caption);
        popup->Items()->Add(made);
        return made;
    };
    TMenuItem* own = item("&Own");
    TMenuItem* plain = item("&Plain");
    TMenuItem* freed = item("&Freed");
    int ownDrawn = 0;
    own->OnDrawItem = [&](TObject*, TCanvas&, const RECT&, bool) { ++ownDrawn; };
    ASSERT_NE(ShowSkinned(form.Form), nullptr);
    EXPECT_TRUE(popup->OwnerDraw());
    EXPECT_TRUE(plain->OnDrawItem && plain->OnMeasureItem);
    delete freed;

    RECT r{};
    TWindowCapture shot;
    HWND popupWindow = nullptr;
    TScript script({[&] {
                        const auto open = OpenPopups();
                        if (open.empty()) return;
                        popupWindow = open.back();
                        ::GetMenuItemRect(popup->WindowHandle(), popup->Handle(), 1, &r);
                        Tap(VK_DOWN);
                    },
                    [] { Tap(VK_DOWN); }, [&] { shot = TWindowCapture::Take(popupWindow); }, [] { Tap(VK_ESCAPE); }});
    popup->Popup(200, 200);
    ASSERT_TRUE(script.Finish());
    ASSERT_FALSE(shot.Empty());
    RECT w{};
    ::GetWindowRect(popupWindow, &w);
    EXPECT_EQ(shot.Pixel(r.right - 6 - w.left, (r.top + r.bottom) / 2 - w.top),
              CellPixel(*form.Data->FMenuItem->FBitmap, 4, 5, false, 12, 10));
    EXPECT_GT(ownDrawn, 0);
    // A default item is drawn bold, so it is measured bold.
    TMenuItemView regular = MenuItemViewOf(L"A default item's long caption\tCtrl+D"), bold = regular;
    bold.Default = true;
    EXPECT_GT(MeasureSkinMenuItem(bold, *form.Data).cx, MeasureSkinMenuItem(regular, *form.Data).cx);

    // A popup made after the form was skinned is the skin's by the time it shows.
    auto* later = new TPopupMenu(form.Form);
    auto* laterItem = new TMenuItem(later);
    laterItem->SetCaption("&Later");
    later->Items()->Add(laterItem);
    UINT laterType = 0;
    TScript laterShown({[&] {
                            MENUITEMINFOW info{};
                            info.cbSize = sizeof info;
                            info.fMask = MIIM_FTYPE;
                            if (::GetMenuItemInfoW(later->Handle(), 0, TRUE, &info)) laterType = info.fType;
                        },
                        [] { Tap(VK_ESCAPE); }});
    later->Popup(200, 200);
    ASSERT_TRUE(laterShown.Finish());
    EXPECT_NE(laterType & MFT_OWNERDRAW, 0u);

    RunAction(form.Data, saUnskinAll);
    EXPECT_FALSE(later->OwnerDraw());
    EXPECT_FALSE(popup->OwnerDraw());
    EXPECT_FALSE(plain->OnDrawItem);
    EXPECT_FALSE(plain->OnMeasureItem);
    EXPECT_TRUE(own->OnDrawItem);
}

}  // namespace
}  // namespace frametest
