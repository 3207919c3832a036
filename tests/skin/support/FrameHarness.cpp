// Message pumping, window capture and SendInput mouse helpers for frame tests.
#include "tests/skin/support/FrameHarness.h"

#include "classlib/Handles.h"

#include <cstring>

namespace frameharness {

namespace {

constexpr UINT kTickMs = 10;           // one input event of a gesture per tick
constexpr int kSettleTicks = 3;        // the cursor stays put this long before a press
constexpr int kSteadyTicks = 2;        // the cursor stays put this long before the next step
constexpr DWORD kPointMs = 1000;       // at most, for the cursor to stay on a point
constexpr DWORD kLoopStartMs = 500;    // for the press to start a move, size or capture
constexpr DWORD kLoopEndMs = 3000;     // for the release to end it
constexpr DWORD kGestureLimitMs = 30000;

GUITHREADINFO ThreadInfo(DWORD Thread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(Thread, &info)) info = GUITHREADINFO{};
    return info;
}

bool InMoveSize(DWORD Thread)
{
    return ThreadInfo(Thread).flags & GUI_INMOVESIZE;
}

bool HasCapture(DWORD Thread)
{
    return ThreadInfo(Thread).hwndCapture != nullptr;
}

void SendKey(WORD Key)
{
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = Key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
}

void Send(INPUT In)
{
    ::SendInput(1, &In, sizeof(INPUT));
}

INPUT MoveInput(POINT Screen)
{
    // Normalised 0..65535 over the virtual screen; rounding up makes the
    // system's (N * size) >> 16 land on the pixel asked for.
    const LONG left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const LONG width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>(((static_cast<LONGLONG>(Screen.x) - left) * 65536 + width - 1) / width);
    in.mi.dy = static_cast<LONG>(((static_cast<LONGLONG>(Screen.y) - top) * 65536 + height - 1) / height);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return in;
}

// Under Wine the X pointer lags behind injected moves, and a window moved or
// sized under it reports it, taking the cursor back a step. SetCursorPos
// moves the X pointer first; the injected move then does what a user's would.
void SendMove(POINT Screen)
{
    ::SetCursorPos(Screen.x, Screen.y);
    Send(MoveInput(Screen));
}

// A press or release where the cursor is, or at At moving there with it.
INPUT ButtonInput(TMouseButton Button, bool Down, const POINT* At = nullptr)
{
    INPUT in = At ? MoveInput(*At) : INPUT{};
    in.type = INPUT_MOUSE;
    if (Button == TMouseButton::Left)
        in.mi.dwFlags |= Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    else
        in.mi.dwFlags |= Down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
    return in;
}

struct THookTraits {
    using Handle = HHOOK;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::UnhookWindowsHookEx(h); }
};

// Where the last mouse move taken from this thread's queue happened: what a
// modal loop went by, which is not always where the cursor is.
thread_local POINT tLastMove{-32768, -32768};

LRESULT CALLBACK LastMoveHook(int Code, WPARAM WParam, LPARAM LParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(LParam);
    if (Code == HC_ACTION && WParam == PM_REMOVE && (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE))
        tLastMove = msg->pt;
    return ::CallNextHookEx(nullptr, Code, WParam, LParam);
}

// Plays a move, or a drag, from a timer of this thread: the system's move and
// size loops dispatch timer messages, so the gesture goes on inside them
// (input sent from another thread reaches Wine's X pointer late). Each point
// is held until the cursor and the last move this thread took both stay on
// it, as moves from where the X pointer was still come in now and then. A
// drag's moves wait for the press to have started its loop, which takes its
// start point from the cursor then.
class TMousePlayer {
public:
    TMousePlayer(POINT From, POINT To, int Steps, bool Drag)
        : FFrom(From), FTo(To), FSteps(Steps), FDrag(Drag),
          FHook(::SetWindowsHookExW(WH_GETMESSAGE, LastMoveHook, nullptr, ::GetCurrentThreadId()))
    {
        static const ATOM atom = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = Proc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TbFrameHarnessDrag";
            return ::RegisterClassExW(&wc);
        }();
        FWnd = ::CreateWindowExW(0, MAKEINTATOM(atom), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
        if (!FWnd) {
            FPhase = TPhase::Done;
            return;
        }
        ::SetWindowLongPtrW(FWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetTimer(FWnd, 1, kTickMs, nullptr);
    }
    ~TMousePlayer()
    {
        if (FWnd) ::DestroyWindow(FWnd);
    }
    TMousePlayer(const TMousePlayer&) = delete;
    TMousePlayer& operator=(const TMousePlayer&) = delete;

    bool Done() const { return FPhase == TPhase::Done; }

private:
    enum class TPhase { Hover, AwaitLoop, Move, AwaitEnd, Done };

    static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
    {
        auto* self = reinterpret_cast<TMousePlayer*>(::GetWindowLongPtrW(Wnd, GWLP_USERDATA));
        if (Msg == WM_TIMER && self) {
            self->Tick();
            return 0;
        }
        return ::DefWindowProcW(Wnd, Msg, WParam, LParam);
    }

    void Tick()
    {
        const DWORD thread = ::GetCurrentThreadId();
        switch (FPhase) {
        case TPhase::Hover:
            if (!Settled(FFrom, kSettleTicks)) break;
            if (!FDrag) {
                Finish();
                break;
            }
            Send(ButtonInput(TMouseButton::Left, true, &FFrom));
            Next(TPhase::AwaitLoop);
            break;
        case TPhase::AwaitLoop:
            if (InMoveSize(thread) || HasCapture(thread) || Elapsed() >= kLoopStartMs) Next(TPhase::Move);
            break;
        case TPhase::Move:
            if (!Settled(StepPoint(), kSteadyTicks)) break;
            if (FStep < FSteps) {
                ++FStep;
                Next(TPhase::Move);
                SendMove(StepPoint());
                break;
            }
            Send(ButtonInput(TMouseButton::Left, false, &FTo));
            Next(TPhase::AwaitEnd);
            break;
        case TPhase::AwaitEnd:
            if (!InMoveSize(thread)) {
                Finish();
            } else if (Elapsed() >= kLoopEndMs) {
                // The loop missed the release; Escape ends it rather than the test hanging.
                SendKey(VK_ESCAPE);
                Finish();
            }
            break;
        case TPhase::Done:
            break;
        }
    }

    void Next(TPhase Phase)
    {
        FPhase = Phase;
        FSteady = 0;
        FSince = ::GetTickCount64();
    }
    void Finish()
    {
        ::KillTimer(FWnd, 1);
        FPhase = TPhase::Done;
    }
    ULONGLONG Elapsed() const { return ::GetTickCount64() - FSince; }
    POINT StepPoint() const
    {
        return {FFrom.x + (FTo.x - FFrom.x) * FStep / FSteps, FFrom.y + (FTo.y - FFrom.y) * FStep / FSteps};
    }
    // Whether a move to P reaches this thread: its window is there, or it has
    // the capture (as in a move or size loop).
    static bool MovesComeHere(POINT P)
    {
        const DWORD thread = ::GetCurrentThreadId();
        return HasCapture(thread) || ::GetWindowThreadProcessId(::WindowFromPoint(P), nullptr) == thread;
    }
    // Whether the cursor has stayed on P for Ticks ticks; moves it there again
    // when it has not, and gives up waiting after kPointMs.
    bool Settled(POINT P, int Ticks)
    {
        POINT c{};
        const bool taken = (tLastMove.x == P.x && tLastMove.y == P.y) || !MovesComeHere(P);
        if (!::GetCursorPos(&c) || c.x != P.x || c.y != P.y || !taken) {
            SendMove(P);
            FSteady = 0;
            return Elapsed() >= kPointMs;
        }
        return ++FSteady >= Ticks || Elapsed() >= kPointMs;
    }

    POINT FFrom, FTo;
    int FSteps;
    bool FDrag;
    int FStep = 0;
    int FSteady = 0;
    ULONGLONG FSince = ::GetTickCount64();
    TPhase FPhase = TPhase::Hover;
    TUniqueHandle<THookTraits> FHook;
    HWND FWnd = nullptr;
};

} // namespace

void PumpFor(DWORD Ms)
{
    PumpUntil([] { return false; }, Ms);
}

bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + TimeoutMs;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (Done()) return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        const DWORD wait = static_cast<DWORD>(deadline - now < 10 ? deadline - now : 10);
        ::MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

TWindowCapture TWindowCapture::Paint(HWND Wnd, const std::function<void(HDC)>& Painter)
{
    TWindowCapture result;
    RECT rect;
    if (!::GetWindowRect(Wnd, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) return result;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const TMemoryDC memory(::CreateCompatibleDC(nullptr));
    const TGdiObject dib(::CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !dib || !bits) return result;
    {
        const TSelectObject select(memory.Get(), dib.Get());
        Painter(memory.Get());
        ::GdiFlush();
    }
    result.FWidth = width;
    result.FHeight = height;
    result.FPixels.resize(static_cast<size_t>(width) * height);
    std::memcpy(result.FPixels.data(), bits, result.FPixels.size() * sizeof(uint32_t));
    return result;
}

TWindowCapture TWindowCapture::Take(HWND Wnd)
{
    RECT rect{};
    ::GetWindowRect(Wnd, &rect);
    const TWindowDC screen(nullptr, ::GetDC(nullptr));
    bool copied = false;
    // Under Wine PrintWindow and WM_PRINT leave out what WM_NCPAINT draws
    // through GetWindowDC (no WM_NCPAINT is sent, and the client lands at
    // the DC's origin), so only the screen shows a frame drawn that way.
    TWindowCapture result = Paint(Wnd, [&](HDC DC) {
        copied = screen.Get() != nullptr && ::BitBlt(DC, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                                                     screen.Get(), rect.left, rect.top, SRCCOPY);
    });
    return copied ? result : TWindowCapture();
}

COLORREF TWindowCapture::Pixel(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return CLR_INVALID;
    const uint32_t p = FPixels[static_cast<size_t>(Y) * FWidth + X];  // 0x..RRGGBB
    return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
}

void MouseMoveTo(POINT Screen)
{
    TMousePlayer player(Screen, Screen, 1, false);
    PumpUntil([&] { return player.Done(); }, kGestureLimitMs);
}

void MousePress(TMouseButton Button)
{
    Send(ButtonInput(Button, true));
}

void MouseRelease(TMouseButton Button)
{
    Send(ButtonInput(Button, false));
}

void MouseDrag(POINT From, POINT To, int Steps)
{
    TMousePlayer player(From, To, Steps < 1 ? 1 : Steps, true);
    PumpUntil([&] { return player.Done(); }, kGestureLimitMs);
}

} // namespace frameharness
