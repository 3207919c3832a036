// tools/bench frame, the program: the English main window made as the program
// makes it, its skinned frame painted and resized against Wine's own frame of
// the same window once unskinned. Runs inside a Wine virtual desktop and
// writes `key: value` lines to the file named by its one argument.
#include "FrameBench.h"

#include "console/Ureader.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/support/GdiObjectCount.h"

#include <shellapi.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

using namespace benchframe;

namespace {

constexpr SIZE FrameSize{780, 631};
// Top-left, so that the window can grow by 100 px inside 1024 x 768.
constexpr POINT FramePos{8, 8};
constexpr int PaintWarmup = 30;
constexpr int PaintRuns = 300;
constexpr int ResizeSteps = 100;
constexpr int ResizeRounds = 2;
constexpr int CountSteps = 10;
constexpr DWORD WatchdogMs = 600000;

// The result file: lines gathered, written once at the end or on failure
// (the watchdog's thread may fail the run while the GUI thread adds lines).
class TReport {
public:
    explicit TReport(std::wstring APath) : FPath(std::move(APath)) {}

    void Add(const std::string& Key, const std::string& Value)
    {
        const std::lock_guard lock(FMutex);
        FLines.push_back(Key + ": " + Value);
    }
    void Add(const std::string& Key, double Value, int Decimals)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", Decimals, Value);
        Add(Key, text);
    }
    void Write()
    {
        const std::lock_guard lock(FMutex);
        if (FWritten) return;
        FWritten = true;
        std::ofstream out(std::filesystem::path(FPath), std::ios::binary | std::ios::trunc);
        for (const std::string& line : FLines) out << line << '\n';
    }
    // Returns the program's exit code for a failed run.
    int Fail(const std::string& Why)
    {
        {
            const std::lock_guard lock(FMutex);
            FLines.push_back("error: " + Why);
        }
        Write();
        return 1;
    }

private:
    std::wstring FPath;
    std::vector<std::string> FLines;
    std::mutex FMutex;
    bool FWritten = false;
};

bool Skinned(HWND Wnd)
{
    const TWinSkinForm* form = FindSkinForm(Wnd);
    return form != nullptr && form->SkinState() == ssActive;
}

bool HasSize(HWND Wnd, SIZE Size)
{
    const SIZE s = OuterSize(Wnd);
    return s.cx == Size.cx && s.cy == Size.cy;
}

// Back to the measured size; skinning and unskinning change the outer size.
bool Settle(HWND Wnd)
{
    ::SetWindowPos(Wnd, nullptr, FramePos.x, FramePos.y, FrameSize.cx, FrameSize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpUntilIdle(200, 5000);
    return HasSize(Wnd, FrameSize);
}

TStats MeasureNCPaint(HWND Wnd)
{
    return StatsOf(TimeEach(PaintWarmup, PaintRuns, [Wnd] {
        ::SendMessageW(Wnd, WM_NCPAINT, 1, 0);
        ::GdiFlush();
    }));
}

struct TResizeRun {
    TResizeResult ByPos;
    TResizeResult ByDrag;  // every round's drag together
    std::vector<double> DragRoundFps;
    TPaintCounts PosCounts;
    TPaintCounts DragCounts;
};

void AddRound(TResizeResult& Total, const TResizeResult& Round)
{
    Total.Ok = (Total.Steps == 0 || Total.Ok) && Round.Ok;
    if (Total.Error.empty()) Total.Error = Round.Error;
    Total.Steps += Round.Steps;
    Total.ElapsedMs += Round.ElapsedMs;
    Total.Missed += Round.Missed;
    Total.Stalled += Round.Stalled;
}

// The first round measures everything; later ones only drag again, so that
// load drifting on the machine meets both frames alike.
void MeasureResize(HWND Wnd, TResizeRun& Run, bool First)
{
    if (First) {
        ResizeBySetWindowPos(Wnd, FrameSize, 10);
        Run.ByPos = ResizeBySetWindowPos(Wnd, FrameSize, ResizeSteps);
        ResizeByDrag(Wnd, FrameSize, 10);
    }
    const TResizeResult drag = ResizeByDrag(Wnd, FrameSize, ResizeSteps);
    AddRound(Run.ByDrag, drag);
    Run.DragRoundFps.push_back(drag.Fps());
    if (First) {
        Run.PosCounts = CountResizePaints(Wnd, FrameSize, CountSteps, false);
        Run.DragCounts = CountResizePaints(Wnd, FrameSize, CountSteps, true);
    }
}

std::string RoundList(const std::vector<double>& Fps)
{
    std::string text;
    for (double f : Fps) {
        char item[32];
        std::snprintf(item, sizeof item, "%s%.1f", text.empty() ? "" : " ", f);
        text += item;
    }
    return text;
}

// SkinData1 switched and the window back at the measured size; the error
// key, or an empty string.
std::string SwitchSkin(HWND Wnd, bool On)
{
    Freader->SkinData1->SetActive(On);
    if (!PumpUntil([Wnd, On] { return On ? Skinned(Wnd) : FindSkinForm(Wnd) == nullptr; }, 10000))
        return On ? "window-not-reskinned" : "window-not-unskinned";
    PumpUntilIdle(300, 5000);
    return Settle(Wnd) ? "" : "window-size-refused";
}

// One unskin and re-skin of the main window as the skin component asks for
// them, run at once instead of on the manager's timer; done when the window's
// activation message has been handled.
bool SkinCycle(HWND Wnd)
{
    TSkinData* data = Freader->SkinData1;
    for (const TSkinAction action : {saUnskinAll, saSkinAll}) {
        SkinManager->SetActionSkinData(data);
        SkinManager->PostAction(action, 10000);
        SkinManager->DoAction(nullptr);
    }
    return PumpUntil([Wnd] { return Skinned(Wnd); }, 5000);
}

bool DragUsable(const TResizeResult& R)
{
    return R.Ok && R.Missed == 0 && R.Stalled == 0;
}

void AddResize(TReport& Report, const std::string& Method, const TResizeRun& Skinned, const TResizeRun& Native,
               bool Drag)
{
    const TResizeResult& s = Drag ? Skinned.ByDrag : Skinned.ByPos;
    const TResizeResult& n = Drag ? Native.ByDrag : Native.ByPos;
    const TPaintCounts& sc = Drag ? Skinned.DragCounts : Skinned.PosCounts;
    const TPaintCounts& nc = Drag ? Native.DragCounts : Native.PosCounts;
    const std::string k = "resize_" + Method + "_";
    if (!s.Error.empty()) Report.Add(k + "skinned_error", s.Error);
    if (!n.Error.empty()) Report.Add(k + "native_error", n.Error);
    Report.Add(k + "skinned_fps", s.Fps(), 1);
    Report.Add(k + "native_fps", n.Fps(), 1);
    Report.Add(k + "ratio", n.Fps() > 0 ? s.Fps() / n.Fps() : 0, 2);
    Report.Add(k + "skinned_missed_steps", std::to_string(s.Missed));
    Report.Add(k + "native_missed_steps", std::to_string(n.Missed));
    if (Drag) {
        Report.Add(k + "skinned_fps_rounds", RoundList(Skinned.DragRoundFps));
        Report.Add(k + "native_fps_rounds", RoundList(Native.DragRoundFps));
        Report.Add(k + "skinned_stalled_steps", std::to_string(s.Stalled));
        Report.Add(k + "native_stalled_steps", std::to_string(n.Stalled));
    } else {
        Report.Add(k + "skinned_sizing_ms_per_step", s.SizingMs / s.Steps, 2);
        Report.Add(k + "native_sizing_ms_per_step", n.SizingMs / n.Steps, 2);
        Report.Add(k + "skinned_repaint_ms_per_step", s.RepaintMs / s.Steps, 2);
        Report.Add(k + "native_repaint_ms_per_step", n.RepaintMs / n.Steps, 2);
    }
    Report.Add(k + "skinned_ncpaint_per_step", sc.NCPaintPerStep, 2);
    Report.Add(k + "native_ncpaint_per_step", nc.NCPaintPerStep, 2);
    Report.Add(k + "skinned_paint_per_step", sc.PaintPerStep, 2);
    Report.Add(k + "native_paint_per_step", nc.PaintPerStep, 2);
    Report.Add(k + "skinned_control_moves_per_step", sc.ChildMovesPerStep, 1);
    Report.Add(k + "native_control_moves_per_step", nc.ChildMovesPerStep, 1);
    Report.Add(k + "skinned_control_paints_per_step", sc.ChildPaintsPerStep, 1);
    Report.Add(k + "native_control_paints_per_step", nc.ChildPaintsPerStep, 1);
}

int Run(TReport& Report)
{
    InitSkinManagerUnit();
    Application->Initialize();
    RegisterConsoleClasses();
    Application->CreateForm(Freader);
    const HWND wnd = Freader->Handle();
    Freader->Show();

    Phase = "skinning";
    if (!PumpUntil([wnd] { return Skinned(wnd); }, 20000)) return Report.Fail("window-not-skinned");
    PumpUntilIdle(300, 5000);
    if (!Settle(wnd)) return Report.Fail("window-size-refused");

    Phase = "ncpaint-skinned";
    const TStats skinned = MeasureNCPaint(wnd);
    Phase = "profile";
    const auto profile = ProfileSkinnedPaint(*FindSkinForm(wnd), 10, 100);
    PumpUntilIdle(100, 3000);

    Phase = "unskinning";
    if (const std::string error = SwitchSkin(wnd, false); !error.empty()) return Report.Fail(error);
    Phase = "ncpaint-native";
    const TStats native = MeasureNCPaint(wnd);

    TResizeRun resizeNative, resizeSkinned;
    for (int round = 0; round < ResizeRounds; ++round) {
        if (round > 0) {
            Phase = "unskinning";
            if (const std::string error = SwitchSkin(wnd, false); !error.empty()) return Report.Fail(error);
        }
        Phase = "resize-native";
        MeasureResize(wnd, resizeNative, round == 0);
        Phase = "reskinning";
        if (const std::string error = SwitchSkin(wnd, true); !error.empty()) return Report.Fail(error);
        Phase = "resize-skinned";
        MeasureResize(wnd, resizeSkinned, round == 0);
    }

    Phase = "skin-cycles";
    bool cycled = true;
    const TStats cycle = StatsOf(TimeEach(10, 200, [&] { cycled = SkinCycle(wnd) && cycled; }));
    if (!cycled) return Report.Fail("window-not-reskinned-in-cycle");
    const int gdiBefore = GdiObjectCount();
    for (int i = 0; i < 1000 && cycled; ++i) cycled = SkinCycle(wnd);
    if (!cycled) return Report.Fail("window-not-reskinned-in-cycle");
    const int gdiAfter = GdiObjectCount();

    Report.Add("window_size", std::to_string(FrameSize.cx) + "x" + std::to_string(FrameSize.cy));
    Report.Add("ncpaint_skinned_ms", skinned.Median, 3);
    Report.Add("ncpaint_native_ms", native.Median, 3);
    Report.Add("ncpaint_ratio", native.Median > 0 ? skinned.Median / native.Median : 0, 2);
    Report.Add("ncpaint_skinned_mean_ms", skinned.Mean, 3);
    Report.Add("ncpaint_native_mean_ms", native.Mean, 3);
    Report.Add("ncpaint_skinned_min_ms", skinned.Min, 3);
    Report.Add("ncpaint_native_min_ms", native.Min, 3);
    Report.Add("ncpaint_skinned_max_ms", skinned.Max, 3);
    Report.Add("ncpaint_native_max_ms", native.Max, 3);
    Report.Add("ncpaint_runs", std::to_string(PaintRuns));
    Report.Add("ncpaint_skinned_below_2ms", skinned.Median < 2.0 ? "yes" : "no");

    // The injected drag is what a person does; SetWindowPos stands in for it
    // only when the drag did not land every step.
    const bool drag = DragUsable(resizeSkinned.ByDrag) && DragUsable(resizeNative.ByDrag);
    const TResizeResult& s = drag ? resizeSkinned.ByDrag : resizeSkinned.ByPos;
    const TResizeResult& n = drag ? resizeNative.ByDrag : resizeNative.ByPos;
    const double ratio = n.Fps() > 0 ? s.Fps() / n.Fps() : 0;
    const std::string steps = std::to_string(ResizeSteps) + "-steps";
    Report.Add("resize_method", drag ? "injected-drag-" + steps + "-x" + std::to_string(ResizeRounds)
                                     : "setwindowpos-" + steps);
    Report.Add("resize_skinned_fps", s.Fps(), 1);
    Report.Add("resize_native_fps", n.Fps(), 1);
    Report.Add("resize_ratio", ratio, 2);
    Report.Add("resize_skinned_at_least_half_native", ratio >= 0.5 ? "yes" : "no");
    AddResize(Report, "drag", resizeSkinned, resizeNative, true);
    AddResize(Report, "setwindowpos", resizeSkinned, resizeNative, false);
    Report.Add("skin_cycle_ms", cycle.Median, 2);
    Report.Add("gdi_objects_before", std::to_string(gdiBefore));
    Report.Add("gdi_objects_after", std::to_string(gdiAfter));
    for (const auto& [name, ms] : profile) Report.Add("profile_" + name + "_ms", ms, 3);
    Report.Write();

    Phase = "closing";
    Freader->Close();
    PumpUntilIdle(100, 2000);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 2) return 2;
    TReport report(argv[1]);
    ::LocalFree(argv);

    // Nothing here may keep the desktop (and tools/bench) waiting for ever.
    std::thread([&report] {
        ::Sleep(WatchdogMs);
        report.Fail(std::string("timed-out-in-") + Phase.load());
        ::ExitProcess(3);
    }).detach();

    try {
        const int code = Run(report);
        ::ExitProcess(static_cast<UINT>(code));
    } catch (const std::exception& e) {
        report.Fail(std::string("exception: ") + e.what());
    } catch (...) {
        report.Fail("exception");
    }
    ::ExitProcess(1);
}
