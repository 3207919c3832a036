// The frame benchmark's clock, statistics, message pumping and window sizes.
#include "FrameBench.h"

#include "classlib/Forms.h"

#include <algorithm>
#include <numeric>

namespace benchframe {

std::atomic<const char*> Phase{"start-up"};

double NowMs()
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticksPerMs;
}

TStats StatsOf(std::vector<double> Samples)
{
    TStats s;
    if (Samples.empty()) return s;
    std::sort(Samples.begin(), Samples.end());
    const size_t n = Samples.size();
    s.Median = n % 2 ? Samples[n / 2] : (Samples[n / 2 - 1] + Samples[n / 2]) / 2;
    s.Mean = std::accumulate(Samples.begin(), Samples.end(), 0.0) / static_cast<double>(n);
    s.Min = Samples.front();
    s.Max = Samples.back();
    return s;
}

std::vector<double> TimeEach(int Warmup, int Runs, const std::function<void()>& Body)
{
    for (int i = 0; i < Warmup; ++i) Body();
    std::vector<double> times;
    times.reserve(static_cast<size_t>(Runs));
    for (int i = 0; i < Runs; ++i) {
        const double start = NowMs();
        Body();
        times.push_back(NowMs() - start);
    }
    return times;
}

bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + TimeoutMs;
    for (;;) {
        Application->ProcessMessages();
        if (Done()) return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10)),
                                      QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

bool PumpUntilIdle(DWORD QuietMs, DWORD TimeoutMs)
{
    constexpr UINT busyKinds = QS_INPUT | QS_POSTMESSAGE | QS_PAINT | QS_SENDMESSAGE;
    ULONGLONG quietSince = ::GetTickCount64();
    return PumpUntil(
        [&] {
            const ULONGLONG now = ::GetTickCount64();
            if (HIWORD(::GetQueueStatus(busyKinds)) != 0) quietSince = now;
            return now - quietSince >= QuietMs;
        },
        TimeoutMs);
}

SIZE OuterSize(HWND Wnd)
{
    RECT r{};
    ::GetWindowRect(Wnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void SetOuterSize(HWND Wnd, SIZE Size)
{
    ::SetWindowPos(Wnd, nullptr, 0, 0, Size.cx, Size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE StepSize(SIZE Base, int I, int Steps)
{
    const int half = Steps / 2;
    const int grow = 2 * (I <= half ? I : Steps - I);
    return {Base.cx + grow, Base.cy + grow};
}

}  // namespace benchframe
