// tools/bench menu, the program: a raw window with a menu bar, skinned by the
// English main window's skin and then with the skin switched off, both in
// every round (a new window each round, skinned as it is made). Each figure is
// the median of its runs in a round and prints as its least, median and
// greatest over the rounds; each ratio is taken within a round. Writes
// `key: value` lines to the file named by its one argument.
#include "FrameBench.h"

#include "console/Ureader.h"
#include "skin/SkinWindowMessages.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>

using namespace benchframe;

namespace {

constexpr SIZE WindowSize{780, 631};
constexpr int Rounds = 5;
constexpr int OpenWarmup = 2, OpenRuns = 10;
constexpr int NCPaintWarmup = 10, NCPaintRuns = 60;
constexpr int RepaintWarmup = 5, RepaintRuns = 40;
constexpr DWORD WatchdogMs = 600000;

std::vector<std::string> Lines;

void Add(const std::string& Key, double Value, int Decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", Decimals, Value);
    Lines.push_back(Key + ": " + text);
}

// NAME_min_UNIT, NAME_median_UNIT and NAME_max_UNIT (no unit: NAME_min ...).
void AddSpread(const std::string& Name, const std::string& Unit, std::vector<double> Values, int Decimals)
{
    std::sort(Values.begin(), Values.end());
    const std::pair<const char*, double> stats[] = {
        {"min", Values.front()}, {"median", Values[Values.size() / 2]}, {"max", Values.back()}};
    for (const auto& [stat, value] : stats) Add(Name + "_" + stat + (Unit.empty() ? "" : "_" + Unit), value, Decimals);
}

void Write(const std::wstring& Path)
{
    std::ofstream out(std::filesystem::path(Path), std::ios::binary | std::ios::trunc);
    for (const std::string& line : Lines) out << line << '\n';
}

bool IsPopupWindow(HWND Window)
{
    char name[16] = {};
    return ::GetClassNameA(Window, name, sizeof name) > 0 && std::string(name) == "#32768";
}

// The end of a popup's first paint (UpdateWindow sends it) ends the menu.
double PaintedAt = 0;
LRESULT CALLBACK PaintDoneHook(int Code, WPARAM WParam, LPARAM LParam)
{
    const auto& ret = *reinterpret_cast<const CWPRETSTRUCT*>(LParam);
    if (Code == HC_ACTION && ret.message == WM_PAINT && PaintedAt == 0 && IsPopupWindow(ret.hwnd)) {
        PaintedAt = NowMs();
        ::EndMenu();
    }
    return ::CallNextHookEx(nullptr, Code, WParam, LParam);
}

// Repaints of the open popup, timed inside the menu loop.
std::vector<double> Repaints;
void CALLBACK RepaintTimer(HWND, UINT, UINT_PTR Id, DWORD)
{
    ::KillTimer(nullptr, Id);
    HWND popup = ::FindWindowW(L"#32768", nullptr);
    if (popup != nullptr) {
        auto repaint = [popup] {
            ::RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            ::GdiFlush();
        };
        Repaints = TimeEach(RepaintWarmup, RepaintRuns, repaint);
    }
    ::EndMenu();
}

HMENU MakeBar(HMENU& Fifteen, HMENU& Twenty)
{
    HMENU bar = ::CreateMenu();
    const wchar_t* captions[] = {L"&File", L"&Edit", L"&View", L"&Tools", L"&Window", L"&Help"};
    for (int i = 0; i < 6; ++i) {
        HMENU drop = ::CreatePopupMenu();
        const int items = i == 0 ? 15 : i == 1 ? 20 : 3;
        for (int j = 0; j < items; ++j) {
            const std::wstring text = L"Item &" + std::to_wstring(j + 1) + (j % 4 == 0 ? L"\tCtrl+" + std::to_wstring(j) : L"");
            ::AppendMenuW(drop, MF_STRING, static_cast<UINT_PTR>(1000 + 100 * i + j), text.c_str());
        }
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(drop), captions[i]);
        if (i == 0) Fifteen = drop;
        if (i == 1) Twenty = drop;
    }
    return bar;
}

LRESULT CALLBACK PlainProc(HWND W, UINT M, WPARAM WP, LPARAM LP)
{
    return ::DefWindowProcW(W, M, WP, LP);
}

struct TWindow {
    HWND Handle = nullptr;
    HMENU Fifteen = nullptr, Twenty = nullptr;
};

bool Skinned(HWND Window)
{
    const TWinSkinForm* form = FindSkinForm(Window);
    return form != nullptr && form->SkinState() == ssActive;
}

void Settle(HWND Window)
{
    ::SetWindowPos(Window, nullptr, 100, 60, WindowSize.cx, WindowSize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpUntilIdle(200, 5000);
}

// Screen point inside bar button Index (0 or 1) of the skinned bar.
LPARAM BarPoint(HWND Window, int Index)
{
    RECT r{};
    ::GetWindowRect(Window, &r);
    POINT client{0, 0};
    ::ClientToScreen(Window, &client);
    return MAKELPARAM(r.left + 16 + 40 * Index, client.y - ::GetSystemMetrics(SM_CYMENU) / 2);
}

// Opens a drop-down, skinned through the bar or natively through TrackPopupMenu.
void Open(const TWindow& W, bool Skin, int Index)
{
    if (Skin) {
        ::SendMessageW(W.Handle, WM_SKIN_MENUAT, 0, BarPoint(W.Handle, Index));
        return;
    }
    POINT at{0, 0};
    ::ClientToScreen(W.Handle, &at);
    ::TrackPopupMenu(Index == 0 ? W.Fifteen : W.Twenty, TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x + 10, at.y, 0, W.Handle,
                     nullptr);
}

struct TFigures {
    double Open = 0, NCPaint = 0, Repaint = 0;
};

TFigures Measure(const TWindow& W, bool Skin)
{
    TFigures f;
    const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, PaintDoneHook, nullptr, ::GetCurrentThreadId());
    std::vector<double> opens;
    for (int i = 0; i < OpenWarmup + OpenRuns; ++i) {
        PaintedAt = 0;
        const double start = NowMs();
        Open(W, Skin, 0);
        if (i >= OpenWarmup && PaintedAt > 0) opens.push_back(PaintedAt - start);
        PumpUntilIdle(20, 2000);
    }
    ::UnhookWindowsHookEx(hook);
    f.Open = StatsOf(opens).Median;
    f.NCPaint = StatsOf(TimeEach(NCPaintWarmup, NCPaintRuns, [&] {
                    ::SendMessageW(W.Handle, WM_NCPAINT, 1, 0);
                    ::GdiFlush();
                })).Median;
    Repaints.clear();
    ::SetTimer(nullptr, 0, 100, RepaintTimer);
    Open(W, Skin, 1);
    PumpUntilIdle(50, 2000);
    f.Repaint = StatsOf(Repaints).Median;
    return f;
}

// One figure's skinned and native medians of every round, and their ratio.
struct TRounds {
    std::vector<double> Skinned, Native, Ratio;

    void Add(double S, double N)
    {
        Skinned.push_back(S);
        Native.push_back(N);
        Ratio.push_back(N > 0 ? S / N : 0);
    }
    void Print(const std::string& Name) const
    {
        AddSpread(Name + "_skinned", "ms", Skinned, 3);
        AddSpread(Name + "_native", "ms", Native, 3);
        AddSpread(Name + "_ratio", "", Ratio, 2);
    }
};

// The error key of a round, or an empty string: a new window with the bar,
// skinned as it is made, measured, then measured again once the skin is
// switched off, and gone with the skin back on.
std::string MeasureRound(TRounds& Open, TRounds& NCPaint, TRounds& Repaint)
{
    TWindow w;
    const HMENU bar = MakeBar(w.Fifteen, w.Twenty);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    w.Handle = ::CreateWindowExW(0, L"TbMenuBench", L"Menu bench", WS_OVERLAPPEDWINDOW, 100, 60, WindowSize.cx,
                                 WindowSize.cy, nullptr, bar, instance, nullptr);
    ::ShowWindow(w.Handle, SW_SHOW);
    ::SetForegroundWindow(w.Handle);
    std::string error;
    TFigures skinned, native;
    if (!PumpUntil([&] { return Skinned(w.Handle); }, 10000)) {
        error = "window-not-skinned";
    } else {
        Settle(w.Handle);
        skinned = Measure(w, true);
        Freader->SkinData1->SetActive(false);
        if (!PumpUntil([&] { return FindSkinForm(w.Handle) == nullptr && ::GetMenu(w.Handle) == bar; }, 10000)) {
            error = "window-not-unskinned";
        } else {
            Settle(w.Handle);
            native = Measure(w, false);
        }
    }
    ::DestroyWindow(w.Handle);
    Freader->SkinData1->SetActive(true);
    if (error.empty() && !PumpUntil([] { return Skinned(Freader->Handle()); }, 20000)) error = "main-window-not-reskinned";
    PumpUntilIdle(100, 3000);
    if (!error.empty()) return error;
    Open.Add(skinned.Open, native.Open);
    NCPaint.Add(skinned.NCPaint, native.NCPaint);
    Repaint.Add(skinned.Repaint, native.Repaint);
    return "";
}

int Run(const std::wstring& Path)
{
    InitSkinManagerUnit();
    Application->Initialize();
    RegisterConsoleClasses();
    Application->CreateForm(Freader);
    Freader->Show();
    if (!PumpUntil([] { return Skinned(Freader->Handle()); }, 20000)) {
        Lines.push_back("error: main-window-not-skinned");
        Write(Path);
        return 1;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TbMenuBench";
    ::RegisterClassW(&wc);
    TRounds open, ncpaint, repaint;
    for (int round = 0; round < Rounds; ++round) {
        if (const std::string error = MeasureRound(open, ncpaint, repaint); !error.empty()) {
            Lines.push_back("error: " + error);
            Write(Path);
            return 1;
        }
    }
    open.Print("popup_open_to_paint");
    ncpaint.Print("ncpaint_menubar");
    repaint.Print("ownerdraw_popup_paint");
    Write(Path);
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
    const std::wstring path = argv[1];
    ::LocalFree(argv);
    // Nothing here may keep the desktop (and tools/bench) waiting for ever.
    std::thread([path] {
        ::Sleep(WatchdogMs);
        std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << "error: timed-out\n";
        ::ExitProcess(3);
    }).detach();
    try {
        ::ExitProcess(static_cast<UINT>(Run(path)));
    } catch (...) {
        Lines.push_back("error: exception");
        Write(path);
    }
    ::ExitProcess(1);
}
