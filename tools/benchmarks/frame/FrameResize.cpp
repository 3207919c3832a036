// Resizing the main window step by step: with SetWindowPos and a synchronous
// repaint, or by injected mouse input dragging the bottom-right corner. The
// drag runs inside the system's size loop on the GUI thread; a second thread
// injects each move once a probe window says the GUI thread has nothing
// left to handle or paint, so that the server cannot merge the moves.
#include "FrameBench.h"

#include "classlib/Handles.h"

#include <thread>

namespace benchframe {

namespace {

constexpr UINT WM_BENCH_PROBE = WM_APP + 0x40;
constexpr LRESULT prBusy = 1;    // input, posted messages or painting pending
constexpr LRESULT prSizing = 2;  // the window holds the capture: its size loop runs
constexpr DWORD StepTimeoutMs = 3000;
constexpr int MaxStalls = 3;

LRESULT CALLBACK ProbeProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg != WM_BENCH_PROBE) return ::DefWindowProcW(Wnd, Msg, WParam, LParam);
    LRESULT state = 0;
    if (HIWORD(::GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_PAINT)) != 0) state |= prBusy;
    if (::GetCapture() == reinterpret_cast<HWND>(WParam)) state |= prSizing;
    return state;
}

struct TWindowTraits {
    using Handle = HWND;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyWindow(h); }
};

// A message-only window of the GUI thread answering WM_BENCH_PROBE.
TUniqueHandle<TWindowTraits> CreateProbe()
{
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TBenchFrameProbe";
        return ::RegisterClassW(&wc);
    }();
    if (atom == 0) return {};
    return TUniqueHandle<TWindowTraits>(::CreateWindowExW(0, L"TBenchFrameProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                          nullptr, ::GetModuleHandleW(nullptr), nullptr));
}

INPUT MouseInput(DWORD Flags, POINT Screen = {})
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = Flags;
    if (Flags & MOUSEEVENTF_MOVE) {
        // Normalised over the virtual screen, rounded up so that the system's
        // (N * size) >> 16 lands on the pixel asked for.
        const LONGLONG left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
        const LONGLONG width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
        in.mi.dx = static_cast<LONG>(((Screen.x - left) * 65536 + width - 1) / width);
        in.mi.dy = static_cast<LONG>(((Screen.y - top) * 65536 + height - 1) / height);
        in.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    }
    return in;
}

void Inject(INPUT In)
{
    ::SendInput(1, &In, sizeof In);
}

// The injecting thread's side of one drag.
class TDragInjector {
public:
    TDragInjector(HWND AWnd, HWND AProbe, SIZE ABase, int ASteps)
        : FWnd(AWnd), FProbe(AProbe), FBase(ABase), FSteps(ASteps)
    {
        RECT r{};
        ::GetWindowRect(FWnd, &r);
        FCorner = {r.right - 1, r.bottom - 1};
        FResult.Steps = ASteps;
    }

    void Run()
    {
        FResult.Ok = Drag();
        FDone = true;
    }
    bool Done() const { return FDone; }
    const TResizeResult& Result() const { return FResult; }

private:
    LRESULT Probe() const
    {
        DWORD_PTR state = 0;
        if (!::SendMessageTimeoutW(FProbe, WM_BENCH_PROBE, reinterpret_cast<WPARAM>(FWnd), 0, SMTO_NORMAL, 5000,
                                   &state))
            return -1;
        return static_cast<LRESULT>(state);
    }

    // Asks until the GUI thread's state has Want under Mask.
    bool WaitFor(LRESULT Mask, LRESULT Want, DWORD TimeoutMs) const
    {
        const ULONGLONG deadline = ::GetTickCount64() + TimeoutMs;
        for (;;) {
            const LRESULT state = Probe();
            if (state < 0) return false;
            if ((state & Mask) == Want) return true;
            if (::GetTickCount64() >= deadline) return false;
        }
    }

    // Releases the button; a size loop that missed the release (its input
    // went elsewhere) still ends on an Escape key message posted to it.
    bool EndSizeLoop()
    {
        Inject(MouseInput(MOUSEEVENTF_LEFTUP));
        if (WaitFor(prBusy | prSizing, 0, 3000)) return true;
        ::PostMessageW(FWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitFor(prSizing, 0, 3000);
        return false;
    }

    bool Fail(const char* Why)
    {
        FResult.Error = Why;
        EndSizeLoop();
        return false;
    }

    bool Drag()
    {
        if (!WaitFor(prBusy, 0, 3000)) return Fail("busy-before-drag");
        Inject(MouseInput(MOUSEEVENTF_MOVE, FCorner));
        if (!WaitFor(prBusy, 0, 3000)) return Fail("busy-after-move");
        // Now and then the first press of a process starts no size loop
        // under Wine: press again, late enough not to make a double click.
        bool sizing = false;
        for (int attempt = 0; attempt < 3 && !sizing; ++attempt) {
            if (attempt > 0) {
                EndSizeLoop();
                ::Sleep(::GetDoubleClickTime() + 100);
            }
            Inject(MouseInput(MOUSEEVENTF_LEFTDOWN));
            sizing = WaitFor(prBusy | prSizing, prSizing, 3000);
        }
        if (!sizing) return Fail("no-size-loop");
        const double start = NowMs();
        for (int i = 1; i <= FSteps; ++i) {
            const SIZE want = StepSize(FBase, i, FSteps);
            Inject(MouseInput(MOUSEEVENTF_MOVE, {FCorner.x + want.cx - FBase.cx, FCorner.y + want.cy - FBase.cy}));
            if (!WaitFor(prBusy, 0, StepTimeoutMs) && ++FResult.Stalled > MaxStalls) return Fail("too-many-stalls");
            const SIZE got = OuterSize(FWnd);
            if (got.cx != want.cx || got.cy != want.cy) ++FResult.Missed;
        }
        FResult.ElapsedMs = NowMs() - start;
        if (!EndSizeLoop()) {
            FResult.Error = "size-loop-did-not-end";
            return false;
        }
        return true;
    }

    HWND FWnd;
    HWND FProbe;
    SIZE FBase;
    int FSteps;
    POINT FCorner{};
    TResizeResult FResult;
    std::atomic<bool> FDone{false};
};

// Counts the window's WM_NCPAINT and WM_PAINT, and its controls' moves and
// paints, while installed (GUI thread).
class TPaintCounter {
public:
    explicit TPaintCounter(HWND Wnd)
    {
        Target = Wnd;
        NCPaints = Paints = ChildMoves = ChildPaints = 0;
        FSent = ::SetWindowsHookExW(WH_CALLWNDPROC, SentHook, nullptr, ::GetCurrentThreadId());
        FPosted = ::SetWindowsHookExW(WH_GETMESSAGE, PostedHook, nullptr, ::GetCurrentThreadId());
    }
    ~TPaintCounter()
    {
        if (FSent) ::UnhookWindowsHookEx(FSent);
        if (FPosted) ::UnhookWindowsHookEx(FPosted);
    }
    TPaintCounter(const TPaintCounter&) = delete;
    TPaintCounter& operator=(const TPaintCounter&) = delete;

    static inline HWND Target = nullptr;
    static inline int NCPaints = 0;
    static inline int Paints = 0;
    static inline int ChildMoves = 0;   // WM_WINDOWPOSCHANGED of the controls
    static inline int ChildPaints = 0;  // WM_PAINT of the controls

private:
    static LRESULT CALLBACK SentHook(int Code, WPARAM WParam, LPARAM LParam)
    {
        const auto& msg = *reinterpret_cast<const CWPSTRUCT*>(LParam);
        if (Code == HC_ACTION && msg.hwnd == Target) {
            if (msg.message == WM_NCPAINT) ++NCPaints;
            if (msg.message == WM_PAINT) ++Paints;
        }
        if (Code == HC_ACTION && msg.hwnd != Target) {
            if (msg.message == WM_WINDOWPOSCHANGED) ++ChildMoves;
            if (msg.message == WM_PAINT) ++ChildPaints;
        }
        return ::CallNextHookEx(nullptr, Code, WParam, LParam);
    }
    static LRESULT CALLBACK PostedHook(int Code, WPARAM WParam, LPARAM LParam)
    {
        const auto& msg = *reinterpret_cast<const MSG*>(LParam);
        if (Code == HC_ACTION && WParam == PM_REMOVE && msg.message == WM_PAINT)
            ++(msg.hwnd == Target ? Paints : ChildPaints);
        return ::CallNextHookEx(nullptr, Code, WParam, LParam);
    }

    HHOOK FSent = nullptr;
    HHOOK FPosted = nullptr;
};

}  // namespace

TResizeResult ResizeBySetWindowPos(HWND Wnd, SIZE Base, int Steps)
{
    TResizeResult result;
    result.Steps = Steps;
    SetOuterSize(Wnd, Base);
    PumpUntilIdle(100, 3000);
    const double start = NowMs();
    for (int i = 1; i <= Steps; ++i) {
        const SIZE want = StepSize(Base, i, Steps);
        const double t0 = NowMs();
        SetOuterSize(Wnd, want);
        const double t1 = NowMs();
        ::RedrawWindow(Wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_FRAME | RDW_ALLCHILDREN);
        ::GdiFlush();
        result.SizingMs += t1 - t0;
        result.RepaintMs += NowMs() - t1;
        const SIZE got = OuterSize(Wnd);
        if (got.cx != want.cx || got.cy != want.cy) ++result.Missed;
    }
    result.ElapsedMs = NowMs() - start;
    result.Ok = true;
    PumpUntilIdle(100, 3000);
    return result;
}

TResizeResult ResizeByDrag(HWND Wnd, SIZE Base, int Steps)
{
    TResizeResult failed;
    failed.Steps = Steps;
    SetOuterSize(Wnd, Base);
    ::SetForegroundWindow(Wnd);
    PumpUntilIdle(100, 3000);
    const auto probe = CreateProbe();
    if (!probe) {
        failed.Error = "no-probe-window";
        return failed;
    }
    // The window's contents must follow every step, not an outline.
    BOOL fullDrag = FALSE;
    ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
    if (!fullDrag) ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);

    TDragInjector injector(Wnd, probe.Get(), Base, Steps);
    std::thread thread([&] { injector.Run(); });
    // Every wait of the injector is bounded: it ends on its own.
    PumpUntil([&] { return injector.Done(); }, INFINITE);
    thread.join();
    if (!fullDrag) ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
    PumpUntilIdle(100, 3000);
    return injector.Result();
}

TPaintCounts CountResizePaints(HWND Wnd, SIZE Base, int Steps, bool Drag)
{
    TPaintCounts counts;
    SetOuterSize(Wnd, Base);
    PumpUntilIdle(100, 3000);
    TResizeResult result;
    {
        const TPaintCounter counter(Wnd);
        result = Drag ? ResizeByDrag(Wnd, Base, Steps) : ResizeBySetWindowPos(Wnd, Base, Steps);
    }
    if (!result.Ok || Steps <= 0) return counts;
    counts.NCPaintPerStep = static_cast<double>(TPaintCounter::NCPaints) / Steps;
    counts.PaintPerStep = static_cast<double>(TPaintCounter::Paints) / Steps;
    counts.ChildMovesPerStep = static_cast<double>(TPaintCounter::ChildMoves) / Steps;
    counts.ChildPaintsPerStep = static_cast<double>(TPaintCounter::ChildPaints) / Steps;
    return counts;
}

}  // namespace benchframe
