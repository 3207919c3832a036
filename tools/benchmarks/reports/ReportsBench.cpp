// Tag reports end to end: the simulated reader on the far end of COM1 sends
// each report as a chunk of its own; the main window decodes them on the GUI
// thread. Prints how many arrive and the handler's time per report.
#include "console/Ureader.h"
#include "tests/console/Com1Pair.h"
#include "tests/console/ReaderSimProcess.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

namespace {

constexpr int kReports = 200;
constexpr int kPeriodMs = 120;
constexpr double kWaitMs = 100.0;
// After the last report is due, how long the window may still take.
constexpr DWORD kSlackMs = 20000;

double Ms(LONGLONG ticks)
{
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency);
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
    // Time spent in the window's handler, the 100 ms wait included.
    LONGLONG handlerTicks = 0;
    int chunks = 0;
    const TReceiveDataEvent handler = form->Comm->OnReceiveData;
    form->Comm->OnReceiveData = [&](TObject* sender, const void* buffer, uint16_t length) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        handler(sender, buffer, length);
        QueryPerformanceCounter(&end);
        handlerTicks += end.QuadPart - start.QuadPart;
        ++chunks;
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
    const double perReport = chunks > 0 ? Ms(handlerTicks) / chunks : 0.0;
    std::printf("reports_sent: %d\n", kReports);
    std::printf("reports_in_memo2: %d\n", form->Memo2->Lines()->Count());
    std::printf("report_count: %s\n", form->Edit6->Text().c_str());
    std::printf("chunks_handled: %d\n", chunks);
    std::printf("gui_ms_per_report: %.2f\n", perReport);
    std::printf("gui_time_ratio_to_100ms_wait: %.3f\n", perReport / kWaitMs);
    std::printf("message_boxes: %d\n", boxes);
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
