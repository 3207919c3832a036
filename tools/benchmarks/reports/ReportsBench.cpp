// Tag reports end to end: the simulated reader on the far end of COM1 sends
// each report as a chunk of its own; the main window decodes them on the GUI
// thread. Prints how many arrive and the handler's time per report with the
// repaints it causes, against a bare Sleep(100) measured in the same run
// (Wine's waits overshoot), and against that plus the edit control's own
// appends of the same lines, repainted too. Each time prints as its least,
// median and greatest.
#include "classlib/Text.h"
#include "console/Ureader.h"
#include "tests/console/Com1Pair.h"
#include "tests/console/ReaderSimProcess.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

constexpr int kReports = 200;
// A 16-byte report takes about 17 ms on the line at 9600 bit/s: the quiet
// between reports must stay well above the 100 ms read interval, or two of
// them end up in one chunk, which the console decodes as one.
constexpr int kPeriodMs = 150;
constexpr double kWaitMs = 100.0;
// After the last report is due, how long the window may still take.
constexpr DWORD kSlackMs = 20000;
constexpr int kSleepSamples = 20;

double Ms(LONGLONG ticks)
{
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency);
}

LONGLONG Now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

// Paints what is pending in Window and its children now, inside the caller's
// timed section: a report's cost includes the repaints it causes.
void PaintPending(HWND Window)
{
    RedrawWindow(Window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

struct TSpread {
    double Min = 0, Median = 0, Max = 0;
};

TSpread Spread(std::vector<double> Values)
{
    if (Values.empty()) return {};
    std::sort(Values.begin(), Values.end());
    return {Values.front(), Values[Values.size() / 2], Values.back()};
}

// NAME_min_UNIT, NAME_median_UNIT and NAME_max_UNIT.
void Print(const char* Name, const char* Unit, const TSpread& S)
{
    std::printf("%s_min_%s: %.2f\n", Name, Unit, S.Min);
    std::printf("%s_median_%s: %.2f\n", Name, Unit, S.Median);
    std::printf("%s_max_%s: %.2f\n", Name, Unit, S.Max);
}

// Milliseconds for each pair of bare edit-control appends, repaints included, (EM_SETSEL to the end,
// EM_REPLACESEL) of the texts the last report added to Memo1 and Memo2: the
// edit control's own share of a report. The memos are emptied first and get
// as many pairs as there were reports, so they hold what they held during
// the run. Between pairs the thread pumps and waits a little, as it does
// between reports: without the wait, an append also pays for the drawing
// still owed for the one before.
std::vector<double> BareAppendsMs(TFreader& form, int pairs)
{
    TStrings& log = *form.Memo1->Lines();
    TStrings& tags = *form.Memo2->Lines();
    std::vector<double> times;
    if (log.Count() == 0 || tags.Count() == 0) return times;
    const std::wstring line = TextToWide(log.Get(log.Count() - 1));
    const std::wstring tag = TextToWide(tags.Get(tags.Count() - 1));
    log.Clear();
    tags.Clear();
    const auto append = [](HWND memo, const std::wstring& text, bool first) {
        const std::wstring piece = first ? text : L"\r\n" + text;
        const LPARAM end = GetWindowTextLengthW(memo);
        SendMessageW(memo, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
    };
    for (int i = 0; i < pairs; ++i) {
        Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Application->ProcessMessages();
        const LONGLONG start = Now();
        append(form.Memo1->WindowHandle(), line, i == 0);
        append(form.Memo2->WindowHandle(), tag, i == 0);
        PaintPending(form.Handle());
        times.push_back(Ms(Now() - start));
    }
    return times;
}

// Bare Sleep(100)s on this thread: the floor of the handler's wait.
std::vector<double> MeasuredWaitsMs()
{
    std::vector<double> times;
    for (int i = 0; i < kSleepSamples; ++i) {
        const LONGLONG start = Now();
        Sleep(static_cast<DWORD>(kWaitMs));
        times.push_back(Ms(Now() - start));
    }
    return times;
}

int Run()
{
    Application->Initialize();
    RegisterConsoleClasses();
    int boxes = 0;
    SetMessageBoxHook([&boxes](HWND, const std::wstring&, const std::wstring&, UINT) {
        ++boxes;
        return IDOK;
    });
    auto* form = new TFreader(Application);
    ReadFormResource(*form);
    form->Show();
    Application->ProcessMessages();

    TCom1Pair pair;
    form->BitBtn1Click(form->BitBtn1);  // AUTO: COM1
    if (!form->Comm->IsOpen()) {
        std::fprintf(stderr, "bench-reports: COM1 did not open\n");
        return 1;
    }
    // Time spent in the window's handler, the 100 ms wait and the repaints
    // it leaves pending included.
    std::vector<double> handlerMs;
    const TReceiveDataEvent handler = form->Comm->OnReceiveData;
    const HWND window = form->Handle();
    form->Comm->OnReceiveData = [&](TObject* sender, const void* buffer, uint16_t length) {
        const LONGLONG start = Now();
        handler(sender, buffer, length);
        PaintPending(window);
        handlerMs.push_back(Ms(Now() - start));
    };

    {
        TReaderSimProcess sim(pair.PeerPath(), "--tags BC614E,FFFFFFFF,1 --rate " + std::to_string(kPeriodMs) +
                                                   "ms --count " + std::to_string(kReports));
        const ULONGLONG deadline = GetTickCount64() + kReports * kPeriodMs + kSlackMs;
        while (form->Memo2->Lines()->Count() < kReports && GetTickCount64() < deadline) {
            Application->ProcessMessages();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }
    const int chunks = static_cast<int>(handlerMs.size());
    const TSpread perReport = Spread(handlerMs);
    const TSpread sleepMs = Spread(MeasuredWaitsMs());
    const int inMemo2 = form->Memo2->Lines()->Count();
    const std::string count = form->Edit6->Text();
    const TSpread appendsMs = Spread(BareAppendsMs(*form, chunks));
    std::printf("reports_sent: %d\n", kReports);
    std::printf("reports_in_memo2: %d\n", inMemo2);
    std::printf("report_count: %s\n", count.c_str());
    std::printf("chunks_handled: %d\n", chunks);
    std::printf("reports_lost: %d\n", kReports - inMemo2);
    std::printf("message_boxes: %d\n", boxes);
    Print("gui", "ms_per_report", perReport);
    Print("bare_sleep_100", "ms", sleepMs);
    // Medians from here on: the handler's time against its 100 ms wait, what
    // is left beyond a measured Sleep(100), and beyond the edit control's own
    // appends of the same lines as well.
    std::printf("gui_time_ratio_to_100ms_wait: %.3f\n", perReport.Median / kWaitMs);
    std::printf("gui_median_ms_per_report_beyond_sleep: %.2f\n", perReport.Median - sleepMs.Median);
    std::printf("gui_time_ratio_to_measured_sleep: %.3f\n", sleepMs.Median > 0 ? perReport.Median / sleepMs.Median : 0.0);
    Print("bare_edit_appends", "ms_per_report", appendsMs);
    std::printf("gui_median_ms_per_report_beyond_sleep_and_bare_appends: %.2f\n",
                perReport.Median - sleepMs.Median - appendsMs.Median);
    form->Comm->CloseComm();
    delete form;
    SetMessageBoxHook(nullptr);
    return 0;
}

} // namespace

int main()
{
    try {
        return Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench-reports: %s\n", e.what());
        return 1;
    }
}
