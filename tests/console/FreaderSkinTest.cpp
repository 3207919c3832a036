// The skinned main window end to end, in a Wine virtual desktop with the
// mouse injected: "COM", "open", Setting, Restore, Send and Reset clicked
// through the skin with the simulated reader on COM1; each answer comes up
// in a real message box, skinned with its OK button, and is dismissed by a
// click on that button. Another skin loaded from a file while the window
// runs changes its frame, menus and controls; a corrupt one is refused.
#include "Com1Pair.h"
#include "ConsoleTexts.h"
#include "FreaderFixture.h"
#include "ReaderSimProcess.h"

#include "classlib/ComCtrls.h"
#include "skin/adapters/SkinButton.h"
#include "skin/adapters/SkinCheck.h"
#include "skin/adapters/SkinControl.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/kernel/SkinObject.h"
#include "skin/manager/WinSkinDlg.h"
#include "tests/skin/support/FrameHarness.h"
#include "tools/skinpack-src/SkinInvert.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// What the watcher saw of one message box before it clicked its OK button.
struct TSeenBox {
    std::wstring Text;
    bool Skinned = false;
    bool SkinnedOk = false;
    std::wstring OkText;
    bool ClosedByClick = true;
};

std::vector<TSeenBox> gSeen;
// The box in view, and the watcher's ticks since it came, became ready and was clicked.
HWND gBox = nullptr;
int gTicks = 0, gReadyAt = 0, gClickedAt = 0;

POINT Centre(HWND Window)
{
    RECT r{};
    ::GetWindowRect(Window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Move, press and release queued at once: a modal loop takes them.
void QueueClick(POINT Screen)
{
    const int w = ::GetSystemMetrics(SM_CXSCREEN) - 1, h = ::GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT in[3] = {};
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = Screen.x * 65535 / w;
        i.mi.dy = Screen.y * 65535 / h;
        i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
    }
    in[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
    in[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    ::SendInput(3, in, sizeof(INPUT));
}

BOOL CALLBACK FindBox(HWND Window, LPARAM Found)
{
    wchar_t name[16] = {};
    ::GetClassNameW(Window, name, 16);
    if (std::wstring(name) != L"#32770" || !::IsWindowVisible(Window)) return TRUE;
    *reinterpret_cast<HWND*>(Found) = Window;
    return FALSE;
}

// Runs from the timer, inside a box's modal loop too. A box is looked at
// once it is skinned and has settled (its activation moves the focus, which
// lets a press go), then its OK button is clicked; a click that went astray
// is tried again, and a box that is never skinned or stays is closed and
// reported rather than hanging the test.
void CALLBACK WatchBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    constexpr int kSettle = 6, kGiveUp = 100;
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) return;
    if (box != gBox) {
        gBox = box;
        gTicks = gReadyAt = gClickedAt = 0;
    }
    ++gTicks;
    const HWND ok = ::GetDlgItem(box, IDOK);
    if (gClickedAt == 0) {
        const TWinSkinForm* frame = FindSkinForm(box);
        const bool ready = ok != nullptr && frame != nullptr && frame->SkinState() == ssActive &&
                           FindSkinObject(ok) != nullptr;
        if (ready && gReadyAt == 0) gReadyAt = gTicks;
        if (ready ? gTicks - gReadyAt < kSettle : gTicks < kGiveUp) return;
        gSeen.push_back({GetWindowTextWide(::GetDlgItem(box, 0xFFFF)), ready,
                         dynamic_cast<TSkinButton*>(FindSkinObject(ok)) != nullptr, GetWindowTextWide(ok)});
        gClickedAt = gTicks;
    } else if (gTicks - gClickedAt >= kGiveUp) {
        gSeen.back().ClosedByClick = false;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        return;
    } else if ((gTicks - gClickedAt) % 20 != 0) {
        return;
    }
    if (ok != nullptr) QueueClick(Centre(ok));
}

// The default skin inverted: a second skin whose every cell differs.
std::vector<uint8_t> InvertedDefaultSkin()
{
    std::vector<std::string> skipped;
    return InvertedSkin(CollectSkinFolder(std::filesystem::path(TB_SOURCE_DIR) / "skins" / "default", skipped));
}

std::string WriteTempFile(const std::vector<uint8_t>& Bytes)
{
    char dir[MAX_PATH] = {}, path[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    ::GetTempFileNameA(dir, "skn", 0, path);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    return path;
}

// The window's system menu as the skin draws it: opened the keyboard's way,
// captured from a timer inside its modal loop once shown, then closed.
frameharness::TWindowCapture gMenuShot;
void CALLBACK CaptureMenu(HWND, UINT, UINT_PTR, DWORD)
{
    const HWND popup = ::FindWindowW(L"#32768", nullptr);
    if (popup == nullptr || !::IsWindowVisible(popup)) return;
    ::UpdateWindow(popup);
    gMenuShot = frameharness::TWindowCapture::Take(popup);
    ::EndMenu();
}

class FreaderSkinTest : public FreaderTest {
protected:
    void SetUp() override
    {
        InitSkinManagerUnit();  // as the program starts: its windows are skinned
        FreaderTest::SetUp();
        SetMessageBoxHook(nullptr);  // real boxes, skinned as the program shows them
        gSeen.clear();
        gBox = nullptr;
        FTimer = ::SetTimer(nullptr, 0, 50, &WatchBoxes);
        ::SetForegroundWindow(Form->Handle());
        ASSERT_TRUE(PumpUntil([this] {
            const TWinSkinForm* frame = FindSkinForm(Form->Handle());
            return frame != nullptr && frame->SkinState() == ssActive;
        }));
    }

    void TearDown() override
    {
        ::KillTimer(nullptr, FTimer);
        Sim.reset();
        Form->Comm->CloseComm();
        Pair.reset();
        FreaderTest::TearDown();
        FreeSkinManager();
    }

    // A mouse click on the control's middle, its pages brought to the front.
    void MouseClick(TWinControl* Control)
    {
        for (TWinControl* p = Control->Parent(); p != nullptr; p = p->Parent())
            if (auto* sheet = dynamic_cast<TTabSheet*>(p)) sheet->PageControl()->SetActivePage(sheet);
        Pump();
        frameharness::MouseMoveTo(Centre(Control->Handle()));
        frameharness::MousePress(frameharness::TMouseButton::Left);
        frameharness::MouseRelease(frameharness::TMouseButton::Left);
        Pump();
    }

    // Clicks the button and waits for the reader's frame and the box
    // answering it, clicked away.
    void SendByMouse(TBitBtn* Button)
    {
        SCOPED_TRACE(Button->Name());
        const size_t frames = Sim->Frames().size(), boxes = gSeen.size();
        MouseClick(Button);
        ASSERT_TRUE(PumpUntil([&] {
            HWND open = nullptr;
            ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&open));
            return Sim->Frames().size() > frames && gSeen.size() > boxes && open == nullptr;
        }, 10000));
        const TSeenBox& seen = gSeen.back();
        EXPECT_EQ(seen.Text, ConsoleTexts::Success);
        EXPECT_TRUE(seen.Skinned);
        EXPECT_TRUE(seen.SkinnedOk);
        EXPECT_FALSE(seen.OkText.empty());
        EXPECT_TRUE(seen.ClosedByClick);
    }

    frameharness::TWindowCapture SystemMenu()
    {
        gMenuShot = {};
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &CaptureMenu);
        ::PostMessageW(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
        EXPECT_TRUE(PumpUntil([] { return !gMenuShot.Empty(); }));
        ::KillTimer(nullptr, timer);
        Pump();
        return gMenuShot;
    }

    // A pixel each of the frame (left border, title bar), the system menu and a bit button.
    struct TLooks {
        COLORREF Border, Title, Menu, Button;
        bool operator==(const TLooks&) const = default;
    };
    TLooks Looks()
    {
        const HWND window = Form->Handle(), button = Form->BitBtn1->Handle();
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        const frameharness::TWindowCapture frame = frameharness::TWindowCapture::Take(window);
        const frameharness::TWindowCapture face = frameharness::TWindowCapture::Take(button);
        const frameharness::TWindowCapture menu = SystemMenu();
        return {frame.Pixel(1, frame.Height() / 2), frame.Pixel(frame.Width() / 3, 3), menu.Pixel(1, 1),
                face.Pixel(2, face.Height() / 2)};
    }

    UINT_PTR FTimer = 0;
    std::unique_ptr<TCom1Pair> Pair;
    std::unique_ptr<TReaderSimProcess> Sim;
};

} // namespace

TEST_F(FreaderSkinTest, ButtonsClickedThroughTheSkinSendAndTheSkinnedAnswerBoxesCloseByTheirOk)
{
    for (TWinControl* c : {static_cast<TWinControl*>(Form->BitBtn1), static_cast<TWinControl*>(Form->CheckBox1),
                           static_cast<TWinControl*>(Form->RadioButton1)})
        EXPECT_NE(FindSkinObject(c->Handle()), nullptr) << c->Name();

    Pair = std::make_unique<TCom1Pair>();
    MouseClick(Form->RadioButton1);
    EXPECT_TRUE(Form->RadioButton1->Checked());
    MouseClick(Form->BitBtn1);
    ASSERT_TRUE(Form->Comm->IsOpen());
    Sim = std::make_unique<TReaderSimProcess>(Pair->PeerPath(), "");

    SendByMouse(Form->BitBtn5);   // Setting
    SendByMouse(Form->BitBtn6);   // Restore
    Type(Form->Edit5, L"050201140000");
    SendByMouse(Form->BitBtn11);  // Send

    Form->Edit6->SetText("7");
    MouseClick(Form->BitBtn12);  // Reset
    EXPECT_EQ(WindowText(Form->Edit6), L"0");
}

TEST_F(FreaderSkinTest, TheWindowIsSizedFromInsideItsBorderOverTheControlsAndByTheStatusBarsGrip)
{
    const HWND window = Form->Handle();
    auto bounds = [&] {
        RECT r{};
        ::GetWindowRect(window, &r);
        return r;
    };
    auto size = [&] {
        const RECT r = bounds();
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    const SIZE first = size();

    // 3 px inside the right border, where the page control lies: the frame
    // takes the hit, shows the sizing cursor and the drag widens the window.
    const POINT edge{bounds().right - 4, (bounds().top + bounds().bottom) / 2};
    frameharness::MouseMoveTo(edge);
    EXPECT_EQ(::WindowFromPoint(edge), window);
    EXPECT_EQ(::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)), HTRIGHT);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZEWE));
    frameharness::MouseDrag(edge, {edge.x + 40, edge.y}, 8);
    EXPECT_TRUE(PumpUntil([&] { return size().cx == first.cx + 40; }, 3000)) << size().cx;
    EXPECT_EQ(size().cy, first.cy);

    // The status bar's grip, clear of the frame's own band: the bar takes the
    // hit and sizes its window from the bottom-right corner.
    const SIZE second = size();
    RECT bar{};
    ::GetWindowRect(Form->StatusBar1->Handle(), &bar);
    const POINT grip{bar.right - 6, bar.bottom - 6};
    ASSERT_LT(grip.x, bounds().right - 8);
    frameharness::MouseMoveTo(grip);
    EXPECT_EQ(::WindowFromPoint(grip), Form->StatusBar1->Handle());
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZENWSE));
    frameharness::MouseDrag(grip, {grip.x + 30, grip.y + 20}, 8);
    EXPECT_TRUE(PumpUntil([&] { return size().cx == second.cx + 30 && size().cy == second.cy + 20; }, 3000))
        << size().cx << " x " << size().cy;
}

TEST_F(FreaderSkinTest, AnotherSkinFileChangesFrameMenusAndControlsWhileTheWindowRunsAndACorruptOneIsRefused)
{
    // The bit button's page in front.
    for (TWinControl* p = Form->BitBtn1->Parent(); p != nullptr; p = p->Parent())
        if (auto* sheet = dynamic_cast<TTabSheet*>(p)) sheet->PageControl()->SetActivePage(sheet);
    const TLooks first = Looks();
    TSkinData* data = Form->SkinData1;
    const std::vector<uint8_t> second = InvertedDefaultSkin();
    const std::string good = WriteTempFile(second);
    data->SetSkinFile(good);
    ASSERT_EQ(data->LastLoadResult(), TSkinLoadResult::lrLoaded) << data->LoadError();
    // The manager re-skins the window on its timer.
    ASSERT_TRUE(PumpUntil([&] {
        const TWinSkinForm* frame = FindSkinForm(Form->Handle());
        if (frame == nullptr || frame->SkinState() != ssActive) return false;
        const frameharness::TWindowCapture shot = frameharness::TWindowCapture::Take(Form->Handle());
        return shot.Pixel(1, shot.Height() / 2) != first.Border;
    }, 10000));
    const TLooks changed = Looks();
    EXPECT_NE(changed.Border, first.Border);
    EXPECT_NE(changed.Title, first.Title);
    EXPECT_NE(changed.Menu, first.Menu);
    EXPECT_NE(changed.Button, first.Button);

    // Cut short: the container cannot be read, the skin in use stays.
    const std::string bad = WriteTempFile({second.begin(), second.begin() + static_cast<ptrdiff_t>(second.size() / 2)});
    data->SetSkinFile(bad);
    EXPECT_NE(data->LastLoadResult(), TSkinLoadResult::lrLoaded);
    frameharness::PumpFor(500);
    const TWinSkinForm* frame = FindSkinForm(Form->Handle());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->SkinState(), ssActive);
    EXPECT_EQ(Looks(), changed);
    std::remove(good.c_str());
    std::remove(bad.c_str());
}
