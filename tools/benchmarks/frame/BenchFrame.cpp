// tools/bench frame, the program: the English main window made as the program
// makes it, its skinned frame painted and resized against Wine's own frame of
// the same window once unskinned, both in every round. A figure of a round is
// the median of its runs there; each prints as its least, median and greatest
// over the rounds, and each ratio is taken within a round. Runs inside a Wine
// virtual desktop and writes `key: value` lines to the file named by its one
// argument.
#include "FrameBench.h"

#include "console/Ureader.h"
#include "skin/manager/WinSkinDlg.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/support/GdiObjectCount.h"

#include <shellapi.h>

#include <algorithm>
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
constexpr int Rounds = 3;
constexpr int PaintWarmup = 10;
constexpr int PaintRuns = 60;
constexpr int ProfileWarmup = 5;
constexpr int ProfileRuns = 20;
constexpr int ResizeSteps = 100;
constexpr int CountSteps = 10;
constexpr DWORD WatchdogMs = 1200000;

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

// NAME_min_UNIT, NAME_median_UNIT and NAME_max_UNIT of Values (no unit:
// NAME_min and so on).
void AddSpread(TReport& Report, const std::string& Name, const std::string& Unit, const std::vector<double>& Values,
               int Decimals)
{
    const TStats s = StatsOf(Values);
    for (const auto& [stat, value] : {std::pair{"min", s.Min}, {"median", s.Median}, {"max", s.Max}})
        Report.Add(Name + "_" + stat + (Unit.empty() ? "" : "_" + Unit), value, Decimals);
}

// Skinned over native, round by round.
std::vector<double> Ratios(const std::vector<double>& Skinned, const std::vector<double>& Native)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < Skinned.size() && i < Native.size(); ++i)
        ratios.push_back(Native[i] > 0 ? Skinned[i] / Native[i] : 0);
    return ratios;
}

// Full WM_NCPAINTs of one round, each timed; every run is kept for the mean.
std::vector<double> MeasureNCPaint(HWND Wnd)
{
    return TimeEach(PaintWarmup, PaintRuns, [Wnd] {
        ::SendMessageW(Wnd, WM_NCPAINT, 1, 0);
        ::GdiFlush();
    });
}

struct TResizeRun {
    std::vector<TResizeResult> ByPos;   // one per round
    std::vector<TResizeResult> ByDrag;  // one per round
    TPaintCounts PosCounts;
    TPaintCounts DragCounts;
};

// Both ways of resizing in every round, so that load drifting on the machine
// meets both frames alike; the first round warms up and counts the messages.
void MeasureResize(HWND Wnd, TResizeRun& Run, bool First)
{
    if (First) ResizeBySetWindowPos(Wnd, FrameSize, 10);
    Run.ByPos.push_back(ResizeBySetWindowPos(Wnd, FrameSize, ResizeSteps));
    if (First) ResizeByDrag(Wnd, FrameSize, 10);
    Run.ByDrag.push_back(ResizeByDrag(Wnd, FrameSize, ResizeSteps));
    if (First) {
        Run.PosCounts = CountResizePaints(Wnd, FrameSize, CountSteps, false);
        Run.DragCounts = CountResizePaints(Wnd, FrameSize, CountSteps, true);
    }
}

// Each round's figure Of.
std::vector<double> EachRound(const std::vector<TResizeResult>& Results,
                              const std::function<double(const TResizeResult&)>& Of)
{
    std::vector<double> values;
    for (const TResizeResult& r : Results) values.push_back(Of(r));
    return values;
}

double Fps(const TResizeResult& R)
{
    return R.Fps();
}

// The rounds' first error, and their missed and stalled steps together.
TResizeResult Summed(const std::vector<TResizeResult>& Results)
{
    TResizeResult total;
    total.Ok = !Results.empty();
    for (const TResizeResult& r : Results) {
        total.Ok = total.Ok && r.Ok;
        if (total.Error.empty()) total.Error = r.Error;
        total.Missed += r.Missed;
        total.Stalled += r.Stalled;
    }
    return total;
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
    const std::vector<TResizeResult>& sr = Drag ? Skinned.ByDrag : Skinned.ByPos;
    const std::vector<TResizeResult>& nr = Drag ? Native.ByDrag : Native.ByPos;
    const TResizeResult s = Summed(sr), n = Summed(nr);
    const TPaintCounts& sc = Drag ? Skinned.DragCounts : Skinned.PosCounts;
    const TPaintCounts& nc = Drag ? Native.DragCounts : Native.PosCounts;
    const std::string k = "resize_" + Method + "_";
    if (!s.Error.empty()) Report.Add(k + "skinned_error", s.Error);
    if (!n.Error.empty()) Report.Add(k + "native_error", n.Error);
    const std::vector<double> skinnedFps = EachRound(sr, Fps), nativeFps = EachRound(nr, Fps);
    AddSpread(Report, k + "skinned", "fps", skinnedFps, 1);
    AddSpread(Report, k + "native", "fps", nativeFps, 1);
    AddSpread(Report, k + "ratio", "", Ratios(skinnedFps, nativeFps), 2);
    Report.Add(k + "skinned_missed_steps", std::to_string(s.Missed));
    Report.Add(k + "native_missed_steps", std::to_string(n.Missed));
    if (Drag) {
        Report.Add(k + "skinned_fps_rounds", RoundList(skinnedFps));
        Report.Add(k + "native_fps_rounds", RoundList(nativeFps));
        Report.Add(k + "skinned_stalled_steps", std::to_string(s.Stalled));
        Report.Add(k + "native_stalled_steps", std::to_string(n.Stalled));
    } else {
        const auto sizing = [](const TResizeResult& R) { return R.Steps > 0 ? R.SizingMs / R.Steps : 0; };
        const auto repaint = [](const TResizeResult& R) { return R.Steps > 0 ? R.RepaintMs / R.Steps : 0; };
        AddSpread(Report, k + "skinned_sizing", "ms_per_step", EachRound(sr, sizing), 2);
        AddSpread(Report, k + "native_sizing", "ms_per_step", EachRound(nr, sizing), 2);
        AddSpread(Report, k + "skinned_repaint", "ms_per_step", EachRound(sr, repaint), 2);
        AddSpread(Report, k + "native_repaint", "ms_per_step", EachRound(nr, repaint), 2);
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

    // A round: the skinned frame painted and taken apart, then Wine's own
    // painted and resized, then the skinned one resized.
    std::vector<double> skinnedRuns, nativeRuns, skinnedPaint, nativePaint;
    std::vector<std::pair<std::string, std::vector<double>>> profile;
    TResizeRun resizeNative, resizeSkinned;
    for (int round = 0; round < Rounds; ++round) {
        Phase = "ncpaint-skinned";
        const std::vector<double> skinnedRound = MeasureNCPaint(wnd);
        skinnedRuns.insert(skinnedRuns.end(), skinnedRound.begin(), skinnedRound.end());
        skinnedPaint.push_back(StatsOf(skinnedRound).Median);
        Phase = "profile";
        const auto parts = ProfileSkinnedPaint(*FindSkinForm(wnd), ProfileWarmup, ProfileRuns);
        for (size_t i = 0; i < parts.size(); ++i) {
            if (i == profile.size()) profile.emplace_back(parts[i].first, std::vector<double>{});
            if (profile[i].first == parts[i].first) profile[i].second.push_back(parts[i].second);
        }
        PumpUntilIdle(100, 3000);

        Phase = "unskinning";
        if (const std::string error = SwitchSkin(wnd, false); !error.empty()) return Report.Fail(error);
        Phase = "ncpaint-native";
        const std::vector<double> nativeRound = MeasureNCPaint(wnd);
        nativeRuns.insert(nativeRuns.end(), nativeRound.begin(), nativeRound.end());
        nativePaint.push_back(StatsOf(nativeRound).Median);
        Phase = "resize-native";
        MeasureResize(wnd, resizeNative, round == 0);
        Phase = "reskinning";
        if (const std::string error = SwitchSkin(wnd, true); !error.empty()) return Report.Fail(error);
        Phase = "resize-skinned";
        MeasureResize(wnd, resizeSkinned, round == 0);
    }

    Phase = "skin-cycles";
    bool cycled = true;
    const std::vector<double> cycles = TimeEach(10, 200, [&] { cycled = SkinCycle(wnd) && cycled; });
    if (!cycled) return Report.Fail("window-not-reskinned-in-cycle");
    const int gdiBefore = GdiObjectCount();
    for (int i = 0; i < 1000 && cycled; ++i) cycled = SkinCycle(wnd);
    if (!cycled) return Report.Fail("window-not-reskinned-in-cycle");
    const int gdiAfter = GdiObjectCount();

    Report.Add("window_size", std::to_string(FrameSize.cx) + "x" + std::to_string(FrameSize.cy));
    AddSpread(Report, "ncpaint_skinned", "ms", skinnedPaint, 3);
    AddSpread(Report, "ncpaint_native", "ms", nativePaint, 3);
    const std::vector<double> paintRatio = Ratios(skinnedPaint, nativePaint);
    AddSpread(Report, "ncpaint_ratio", "", paintRatio, 2);
    // Over every run of every round.
    Report.Add("ncpaint_skinned_mean_ms", StatsOf(skinnedRuns).Mean, 3);
    Report.Add("ncpaint_native_mean_ms", StatsOf(nativeRuns).Mean, 3);
    Report.Add("ncpaint_runs", std::to_string(Rounds) + "x" + std::to_string(PaintRuns));
    Report.Add("ncpaint_skinned_below_2ms", StatsOf(skinnedPaint).Median < 2.0 ? "yes" : "no");

    // The injected drag is what a person does; SetWindowPos stands in for it
    // only when the drag did not land every step.
    const auto usable = [](const std::vector<TResizeResult>& R) {
        return !R.empty() && std::all_of(R.begin(), R.end(), DragUsable);
    };
    const bool drag = usable(resizeSkinned.ByDrag) && usable(resizeNative.ByDrag);
    const std::vector<double> skinnedFps = EachRound(drag ? resizeSkinned.ByDrag : resizeSkinned.ByPos, Fps);
    const std::vector<double> nativeFps = EachRound(drag ? resizeNative.ByDrag : resizeNative.ByPos, Fps);
    const std::vector<double> resizeRatio = Ratios(skinnedFps, nativeFps);
    const std::string steps = std::to_string(ResizeSteps) + "-steps-x" + std::to_string(Rounds);
    Report.Add("resize_method", drag ? "injected-drag-" + steps : "setwindowpos-" + steps);
    AddSpread(Report, "resize_skinned", "fps", skinnedFps, 1);
    AddSpread(Report, "resize_native", "fps", nativeFps, 1);
    AddSpread(Report, "resize_ratio", "", resizeRatio, 2);
    Report.Add("resize_skinned_at_least_half_native", StatsOf(resizeRatio).Median >= 0.5 ? "yes" : "no");
    AddResize(Report, "drag", resizeSkinned, resizeNative, true);
    AddResize(Report, "setwindowpos", resizeSkinned, resizeNative, false);
    AddSpread(Report, "skin_cycle", "ms", cycles, 2);
    Report.Add("gdi_objects_before", std::to_string(gdiBefore));
    Report.Add("gdi_objects_after", std::to_string(gdiAfter));
    for (const auto& [name, ms] : profile) AddSpread(Report, "profile_" + name, "ms", ms, 3);
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
