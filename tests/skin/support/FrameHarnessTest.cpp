// The frame-test harness proven on a plain window of our own that paints its
// non-client area in known colours, with known border sizes and hit codes.
// Runs inside a Wine virtual desktop (tb_desktop_test).
#include "tests/skin/support/FrameHarness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace frameharness;

namespace {

constexpr int kBorder = 5;    // left, right and bottom
constexpr int kCaption = 27;  // the top band, all caption
constexpr int kGrip = 12;     // the bottom-right sizing square
constexpr COLORREF kBorderColor = RGB(200, 30, 60);
constexpr COLORREF kCaptionColor = RGB(30, 60, 200);
constexpr COLORREF kClientColor = RGB(20, 160, 40);
constexpr DWORD kWait = 5000;

struct TSeen {
    UINT Msg;
    WPARAM WParam;
    POINT Pt;  // screen for non-client messages, client otherwise
};

// A top-level window that draws and hit-tests its own frame, as a skinned
// window does, and logs the mouse messages it gets.
class TTestFrame {
public:
    TTestFrame(int X, int Y, int W, int H)
    {
        static const ATOM atom = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = StaticProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            wc.lpszClassName = L"TbFrameHarnessTest";
            return ::RegisterClassExW(&wc);
        }();
        FWnd = ::CreateWindowExW(0, MAKEINTATOM(atom), L"frame", WS_OVERLAPPEDWINDOW, X, Y, W, H, nullptr,
                                 nullptr, ::GetModuleHandleW(nullptr), this);
        ::ShowWindow(FWnd, SW_SHOW);
        ::SetForegroundWindow(FWnd);
        ::UpdateWindow(FWnd);
        PumpUntil([this] { return FNcPaints > 0 && FPaints > 0; }, kWait);
        PumpFor(100);
        FSeen.clear();
    }
    ~TTestFrame()
    {
        if (FWnd) ::DestroyWindow(FWnd);
        PumpFor(20);
    }
    TTestFrame(const TTestFrame&) = delete;
    TTestFrame& operator=(const TTestFrame&) = delete;

    HWND Handle() const { return FWnd; }
    RECT WindowRect() const
    {
        RECT r{};
        ::GetWindowRect(FWnd, &r);
        return r;
    }
    // A point given in window coordinates, on the screen.
    POINT ScreenPoint(int X, int Y) const
    {
        const RECT r = WindowRect();
        return {r.left + X, r.top + Y};
    }
    bool Saw(UINT Msg) const { return Find(Msg) != nullptr; }
    // The last one of Msg.
    const TSeen* Find(UINT Msg) const
    {
        for (auto s = FSeen.rbegin(); s != FSeen.rend(); ++s)
            if (s->Msg == Msg) return &*s;
        return nullptr;
    }

    // The messages seen, for failure reports.
    std::string Log() const
    {
        std::string out;
        char line[64];
        for (const TSeen& s : FSeen) {
            snprintf(line, sizeof(line), " %04x/%d@%ld,%ld", s.Msg, static_cast<int>(s.WParam), s.Pt.x, s.Pt.y);
            out += line;
        }
        return out;
    }

    std::vector<TSeen> FSeen;
    int FNcPaints = 0, FPaints = 0;
    COLORREF FBorderColor = kBorderColor;

private:
    static LRESULT CALLBACK StaticProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
    {
        if (Msg == WM_NCCREATE) {
            auto* self = static_cast<TTestFrame*>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams);
            ::SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->FWnd = Wnd;
        }
        auto* self = reinterpret_cast<TTestFrame*>(::GetWindowLongPtrW(Wnd, GWLP_USERDATA));
        if (Msg == WM_NCDESTROY) {
            ::SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
            if (self) self->FWnd = nullptr;
        }
        return self ? self->WndProc(Msg, WParam, LParam) : ::DefWindowProcW(Wnd, Msg, WParam, LParam);
    }

    LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam)
    {
        const POINT pt{static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
        switch (Msg) {
        case WM_NCCALCSIZE: {
            RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(LParam)->rgrc[0];
            r.left += kBorder;
            r.right -= kBorder;
            r.top += kCaption;
            r.bottom -= kBorder;
            return 0;
        }
        case WM_NCHITTEST:
            return HitTest(pt);
        case WM_NCPAINT:
            PaintFrame();
            return 0;
        case WM_NCACTIVATE:
            PaintFrame();
            return TRUE;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(FWnd, &ps);
            Fill(dc, ps.rcPaint, kClientColor);
            ::EndPaint(FWnd, &ps);
            ++FPaints;
            return 0;
        }
        case WM_CONTEXTMENU:
            FSeen.push_back({Msg, WParam, pt});
            return 0;
        case WM_NCLBUTTONDBLCLK:
            FSeen.push_back({Msg, WParam, pt});
            return 0;
        case WM_NCMOUSEMOVE:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONUP:
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONUP:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_ENTERSIZEMOVE:
        case WM_EXITSIZEMOVE:
            FSeen.push_back({Msg, WParam, pt});
            break;
        }
        return ::DefWindowProcW(FWnd, Msg, WParam, LParam);
    }

    LRESULT HitTest(POINT Screen) const
    {
        const RECT r = WindowRect();
        const int x = Screen.x - r.left, y = Screen.y - r.top;
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (x < 0 || y < 0 || x >= w || y >= h) return HTNOWHERE;
        if (x >= w - kGrip && y >= h - kGrip) return HTBOTTOMRIGHT;
        if (y < kCaption) return HTCAPTION;
        if (x < kBorder) return HTLEFT;
        if (x >= w - kBorder) return HTRIGHT;
        if (y >= h - kBorder) return HTBOTTOM;
        return HTCLIENT;
    }

    static void Fill(HDC DC, const RECT& R, COLORREF Color)
    {
        ::SetBkColor(DC, Color);
        ::ExtTextOutW(DC, 0, 0, ETO_OPAQUE, &R, nullptr, 0, nullptr);
    }

    void PaintFrame()
    {
        const RECT r = WindowRect();
        const int w = r.right - r.left, h = r.bottom - r.top;
        HDC dc = ::GetWindowDC(FWnd);
        if (!dc) return;
        ::ExcludeClipRect(dc, kBorder, kCaption, w - kBorder, h - kBorder);
        Fill(dc, RECT{0, 0, w, h}, FBorderColor);
        Fill(dc, RECT{0, 0, w, kCaption}, kCaptionColor);
        ::ReleaseDC(FWnd, dc);
        ++FNcPaints;
    }

    HWND FWnd = nullptr;
};


constexpr int kLeft = 200, kTop = 150, kWidth = 320, kHeight = 240;

bool SamePoint(POINT A, POINT B)
{
    return A.x == B.x && A.y == B.y;
}

TEST(Pump, DispatchesUntilTheConditionHolds)
{
    TTestFrame frame(kLeft, kTop, kWidth, kHeight);
    ::PostMessageW(frame.Handle(), WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(1, 2));
    EXPECT_TRUE(PumpUntil([&] { return frame.Saw(WM_NCMOUSEMOVE); }, kWait));
}

TEST(Pump, GivesUpAtTheDeadlineAndPumpForDispatches)
{
    TTestFrame frame(kLeft, kTop, kWidth, kHeight);
    const ULONGLONG start = ::GetTickCount64();
    EXPECT_FALSE(PumpUntil([] { return false; }, 60));
    EXPECT_GE(::GetTickCount64() - start, 60u);
    ::PostMessageW(frame.Handle(), WM_MOUSEMOVE, 0, 0);
    PumpFor(30);
    EXPECT_GE(::GetTickCount64() - start, 90u);
    EXPECT_TRUE(frame.Saw(WM_MOUSEMOVE));
}

struct TCasePixel {
    const char* Name;
    int X, Y;  // negative: from the right or bottom edge
    COLORREF Color;
};

const TCasePixel kPixels[] = {
    {"caption top-left", 0, 0, kCaptionColor},
    {"caption middle", kWidth / 2, kCaption / 2, kCaptionColor},
    {"caption last row", -1, kCaption - 1, kCaptionColor},
    {"left border", 0, kCaption, kBorderColor},
    {"left border inner", kBorder - 1, kHeight / 2, kBorderColor},
    {"right border", -kBorder, kHeight / 2, kBorderColor},
    {"bottom border", kWidth / 2, -kBorder, kBorderColor},
    {"bottom-right corner", -1, -1, kBorderColor},
    {"client top-left", kBorder, kCaption, kClientColor},
    {"client bottom-right", -kBorder - 1, -kBorder - 1, kClientColor},
};

void ExpectPixels(const TWindowCapture& Shot, int W, int H, COLORREF Border)
{
    for (const TCasePixel& c : kPixels) {
        const int x = c.X < 0 ? W + c.X : c.X, y = c.Y < 0 ? H + c.Y : c.Y;
        const COLORREF want = c.Color == kBorderColor ? Border : c.Color;
        EXPECT_EQ(Shot.Pixel(x, y), want) << c.Name << " at " << x << "," << y;
    }
}

TEST(Capture, ShowsTheFrameThatNcPaintDrew)
{
    TTestFrame frame(kLeft, kTop, kWidth, kHeight);
    const TWindowCapture shot = TWindowCapture::Take(frame.Handle());
    ASSERT_FALSE(shot.Empty());
    EXPECT_EQ(shot.Width(), kWidth);
    EXPECT_EQ(shot.Height(), kHeight);
    ExpectPixels(shot, kWidth, kHeight, kBorderColor);
    EXPECT_EQ(shot.Pixel(-1, 0), CLR_INVALID);
    EXPECT_EQ(shot.Pixel(0, kHeight), CLR_INVALID);
    EXPECT_TRUE(TWindowCapture::Take(nullptr).Empty());
}

TEST(Capture, FollowsTheWindowAndItsRepaints)
{
    TTestFrame frame(kLeft, kTop, kWidth, kHeight);
    ::SetWindowPos(frame.Handle(), nullptr, 40, 30, kWidth + 60, kHeight + 20, SWP_NOZORDER);
    frame.FBorderColor = RGB(250, 220, 10);
    ::RedrawWindow(frame.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpFor(50);
    const TWindowCapture shot = TWindowCapture::Take(frame.Handle());
    ASSERT_EQ(shot.Width(), kWidth + 60);
    ASSERT_EQ(shot.Height(), kHeight + 20);
    ExpectPixels(shot, kWidth + 60, kHeight + 20, RGB(250, 220, 10));
}

struct TCaseMove {
    const char* Name;
    int X, Y;  // window coordinates; negative: from the right or bottom edge
    UINT Msg;
    WPARAM Hit;
};

TEST(Mouse, MovesArriveWithTheirHitCodes)
{
    TTestFrame frame(kLeft, kTop, kWidth, kHeight);
    const TCaseMove cases[] = {
        {"caption", 90, 12, WM_NCMOUSEMOVE, HTCAPTION},
        {"left border", 2, 100, WM_NCMOUSEMOVE, HTLEFT},
        {"right border", -2, 100, WM_NCMOUSEMOVE, HTRIGHT},
        {"bottom border", 100, -2, WM_NCMOUSEMOVE, HTBOTTOM},
        {"bottom-right grip", -3, -3, WM_NCMOUSEMOVE, HTBOTTOMRIGHT},
        {"client", 60, 70, WM_MOUSEMOVE, 0},
    };
    for (const TCaseMove& c : cases) {
        const int x = c.X < 0 ? kWidth + c.X : c.X, y = c.Y < 0 ? kHeight + c.Y : c.Y;
        const POINT at = frame.ScreenPoint(x, y);
        frame.FSeen.clear();
        MouseMoveTo(at);
        ASSERT_TRUE(PumpUntil([&] { return frame.Saw(c.Msg); }, kWait)) << c.Name << frame.Log();
        const TSeen& seen = *frame.Find(c.Msg);
        if (c.Msg == WM_NCMOUSEMOVE) {
            EXPECT_EQ(seen.WParam, c.Hit) << c.Name;
            EXPECT_TRUE(SamePoint(seen.Pt, at)) << c.Name << " at " << seen.Pt.x << "," << seen.Pt.y;
        } else {
            EXPECT_TRUE(SamePoint(seen.Pt, {x - kBorder, y - kCaption})) << c.Name;
        }
        POINT cursor{};
        ::GetCursorPos(&cursor);
        EXPECT_TRUE(SamePoint(cursor, at)) << c.Name;
    }
}

TEST(Mouse, ButtonsInTheClientArea)
{
    TTestFrame frame(kLeft, kTop, kWidth, kHeight);
    const POINT at = frame.ScreenPoint(150, 120);
    const POINT client{150 - kBorder, 120 - kCaption};
    MouseMoveTo(at);
    MousePress(TMouseButton::Left);
    MouseRelease(TMouseButton::Left);
    MousePress(TMouseButton::Right);
    MouseRelease(TMouseButton::Right);
    ASSERT_TRUE(PumpUntil([&] { return frame.Saw(WM_CONTEXTMENU); }, kWait)) << frame.Log();
    std::vector<UINT> order;
    for (const TSeen& s : frame.FSeen) {
        if (s.Msg == WM_MOUSEMOVE) continue;
        order.push_back(s.Msg);
        EXPECT_TRUE(SamePoint(s.Pt, s.Msg == WM_CONTEXTMENU ? at : client)) << std::hex << s.Msg;
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}));
}

TEST(Mouse, ClicksOnTheCaption)
{
    TTestFrame frame(kLeft, kTop, kWidth, kHeight);
    const RECT before = frame.WindowRect();
    const POINT at = frame.ScreenPoint(140, 8);
    MouseMoveTo(at);
    MousePress(TMouseButton::Left);
    MouseRelease(TMouseButton::Left);
    ASSERT_TRUE(PumpUntil([&] { return frame.Saw(WM_EXITSIZEMOVE); }, kWait)) << frame.Log();
    ASSERT_TRUE(frame.Saw(WM_NCLBUTTONDOWN));
    EXPECT_EQ(frame.Find(WM_NCLBUTTONDOWN)->WParam, static_cast<WPARAM>(HTCAPTION));
    EXPECT_TRUE(SamePoint(frame.Find(WM_NCLBUTTONDOWN)->Pt, at));
    EXPECT_TRUE(frame.Saw(WM_ENTERSIZEMOVE));
    const RECT after = frame.WindowRect();
    EXPECT_TRUE(::EqualRect(&before, &after));

    // The system takes the right button's release in its own loop and sends
    // WM_CONTEXTMENU for the caption instead of WM_NCRBUTTONUP.
    frame.FSeen.clear();
    MousePress(TMouseButton::Right);
    MouseRelease(TMouseButton::Right);
    ASSERT_TRUE(PumpUntil([&] { return frame.Saw(WM_CONTEXTMENU); }, kWait)) << frame.Log();
    ASSERT_TRUE(frame.Saw(WM_NCRBUTTONDOWN));
    EXPECT_EQ(frame.Find(WM_NCRBUTTONDOWN)->WParam, static_cast<WPARAM>(HTCAPTION));
    EXPECT_TRUE(SamePoint(frame.Find(WM_CONTEXTMENU)->Pt, at));
}

struct TCaseDrag {
    const char* Name;
    int X, Y;  // where the drag starts, window coordinates; negative: from the right or bottom edge
    int DX, DY;
    int Steps;
    WPARAM Hit;
};

// A drag by the caption moves the window through the system's move loop, one
// from the grip sizes it through the size loop; the frame follows on screen.
TEST(Mouse, DragsMoveAndSizeThroughTheSystemLoops)
{
    const TCaseDrag cases[] = {
        {"caption right and down", 100, 10, 50, 30, 5, HTCAPTION},
        {"caption left and up", 180, 20, -70, -45, 3, HTCAPTION},
        {"caption in one step", 60, 5, 25, 0, 1, HTCAPTION},
        {"grip outwards", -4, -4, 40, 30, 5, HTBOTTOMRIGHT},
        {"grip inwards", -8, -2, -60, -35, 4, HTBOTTOMRIGHT},
    };
    for (const TCaseDrag& c : cases) {
        TTestFrame frame(kLeft, kTop, kWidth, kHeight);
        const int x = c.X < 0 ? kWidth + c.X : c.X, y = c.Y < 0 ? kHeight + c.Y : c.Y;
        const POINT from = frame.ScreenPoint(x, y), to{from.x + c.DX, from.y + c.DY};
        MouseDrag(from, to, c.Steps);
        PumpFor(50);

        ASSERT_TRUE(frame.Saw(WM_NCLBUTTONDOWN)) << c.Name << frame.Log();
        EXPECT_EQ(frame.Find(WM_NCLBUTTONDOWN)->WParam, c.Hit) << c.Name;
        EXPECT_TRUE(SamePoint(frame.Find(WM_NCLBUTTONDOWN)->Pt, from)) << c.Name;
        EXPECT_TRUE(frame.Saw(WM_ENTERSIZEMOVE)) << c.Name;
        EXPECT_TRUE(frame.Saw(WM_EXITSIZEMOVE)) << c.Name;
        const RECT r = frame.WindowRect();
        const bool moves = c.Hit == HTCAPTION;
        EXPECT_EQ(r.left, kLeft + (moves ? c.DX : 0)) << c.Name;
        EXPECT_EQ(r.top, kTop + (moves ? c.DY : 0)) << c.Name;
        EXPECT_EQ(r.right - r.left, kWidth + (moves ? 0 : c.DX)) << c.Name;
        EXPECT_EQ(r.bottom - r.top, kHeight + (moves ? 0 : c.DY)) << c.Name;
        ExpectPixels(TWindowCapture::Take(frame.Handle()), r.right - r.left, r.bottom - r.top, kBorderColor);
    }
}

} // namespace
