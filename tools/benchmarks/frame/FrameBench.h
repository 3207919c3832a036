// Shared parts of the frame benchmark: the clock, per-sample statistics,
// message pumping, and the measurements each file of the benchmark makes.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class TWinSkinForm;

namespace benchframe {

// What the benchmark is doing, for the watchdog's message.
extern std::atomic<const char*> Phase;

double NowMs();

struct TStats {
    double Median = 0;
    double Mean = 0;
    double Min = 0;
    double Max = 0;
};
TStats StatsOf(std::vector<double> Samples);

// Runs Body Warmup times untimed, then Runs times, each timed alone.
std::vector<double> TimeEach(int Warmup, int Runs, const std::function<void()>& Body);

// Dispatches messages the way the program's loop does until Done() holds.
bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs);
// Dispatches messages until none but timers arrived for QuietMs.
bool PumpUntilIdle(DWORD QuietMs, DWORD TimeoutMs);

// The window's outer size; SetOuterSize keeps its position.
SIZE OuterSize(HWND Wnd);
void SetOuterSize(HWND Wnd, SIZE Size);

// The size of step I (1..Steps) of a resize: grows by 2 px a step for the
// first half, shrinks back to Base over the second.
SIZE StepSize(SIZE Base, int I, int Steps);

struct TResizeResult {
    bool Ok = false;
    std::string Error;
    int Steps = 0;
    double ElapsedMs = 0;
    int Missed = 0;   // steps after which the window did not have the step's size
    int Stalled = 0;  // steps whose repainting did not finish in time (injected only)
    // SetWindowPos steps only: the time inside SetWindowPos and in the repaint.
    double SizingMs = 0;
    double RepaintMs = 0;
    double Fps() const { return ElapsedMs > 0 ? Steps * 1000.0 / ElapsedMs : 0; }
};

// SetWindowPos steps, each followed by a synchronous repaint.
TResizeResult ResizeBySetWindowPos(HWND Wnd, SIZE Base, int Steps);
// The bottom-right corner dragged by injected mouse input, one step at a
// time: each move is sent only once the previous one is handled and painted.
TResizeResult ResizeByDrag(HWND Wnd, SIZE Base, int Steps);

// Messages the window and its controls receive per step (an untimed pass
// with hooks, which slow every message down).
struct TPaintCounts {
    double NCPaintPerStep = 0;
    double PaintPerStep = 0;
    double ChildMovesPerStep = 0;
    double ChildPaintsPerStep = 0;
};
TPaintCounts CountResizePaints(HWND Wnd, SIZE Base, int Steps, bool Drag);

// The skinned frame paint taken apart: median ms of each part.
std::vector<std::pair<std::string, double>> ProfileSkinnedPaint(TWinSkinForm& Form, int Warmup, int Runs);

}  // namespace benchframe
