// Times Lines->Add on a shown memo for logs of growing length, against the
// edit control's own cost of appending (EM_REPLACESEL alone): the class
// library should add next to nothing, however long the log already is.
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

#include <cstdio>
#include <string>

namespace {

double Seconds()
{
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Microseconds per line for Count lines added to an empty memo, Count() read
// after each as the console's log does; Raw: the edit control alone.
double MicrosecondsPerLine(int Count, bool Raw)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 600, 400);
    auto* memo = new TMemo(&form);
    memo->SetScrollBars(TScrollStyle::ssVertical);
    memo->SetParent(&form);
    memo->SetBounds(0, 0, 580, 360);
    form.Show();
    TStrings& lines = *memo->Lines();
    const double start = Seconds();
    for (int i = 0; i < Count; ++i) {
        if (Raw) {
            const LPARAM end = GetWindowTextLengthW(memo->WindowHandle());
            SendMessageW(memo->WindowHandle(), EM_SETSEL, static_cast<WPARAM>(end), end);
            SendMessageW(memo->WindowHandle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"\r\n0x1 1B 02 00 0A FF 33 21 90 4C 00 00 00 00 00 00 00"));
            continue;
        }
        lines.Add("0x" + std::to_string(i) + " 1B 02 00 0A FF 33 21 90 4C 00 00 00 00 00 00 00");
        if (lines.Count() != i + 1) std::fprintf(stderr, "wrong count at %d\n", i);
    }
    const double elapsed = Seconds() - start;
    form.DestroyHandle();
    form.DestroyComponents();
    return elapsed * 1e6 / Count;
}

} // namespace

int main()
{
    Application->Initialize();
    const double raw = MicrosecondsPerLine(1200, true);
    const double small = MicrosecondsPerLine(300, false);
    const double large = MicrosecondsPerLine(1200, false);
    std::printf("memo_edit_control_us_per_line_1200: %.1f\n", raw);
    std::printf("memo_add_us_per_line_300: %.1f\n", small);
    std::printf("memo_add_us_per_line_1200: %.1f\n", large);
    std::printf("memo_add_vs_edit_control_1200: %.2f\n", large / raw);
    return 0;
}
