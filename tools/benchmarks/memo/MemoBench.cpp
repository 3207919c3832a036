// Times Lines->Add on a shown memo for logs of growing length, against the
// edit control's own cost of appending (EM_REPLACESEL alone): the class
// library should add next to nothing, however long the log already is.
// Each round times all three; the ratio is taken within a round, and every
// figure prints as its least, median and greatest over the rounds.
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

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

constexpr int Rounds = 5;

// NAME_min_UNIT, NAME_median_UNIT and NAME_max_UNIT (no unit: NAME_min ...).
void PrintSpread(const std::string& Name, const std::string& Unit, std::vector<double> Values, int Decimals)
{
    std::sort(Values.begin(), Values.end());
    const std::pair<const char*, double> stats[] = {
        {"min", Values.front()}, {"median", Values[Values.size() / 2]}, {"max", Values.back()}};
    for (const auto& [stat, value] : stats) {
        const std::string key = Name + "_" + stat + (Unit.empty() ? "" : "_" + Unit);
        std::printf("%s: %.*f\n", key.c_str(), Decimals, value);
    }
}

} // namespace

int main()
{
    Application->Initialize();
    std::vector<double> raw, small, large, ratio;
    for (int round = 0; round < Rounds; ++round) {
        raw.push_back(MicrosecondsPerLine(1200, true));
        small.push_back(MicrosecondsPerLine(300, false));
        large.push_back(MicrosecondsPerLine(1200, false));
        ratio.push_back(large.back() / raw.back());
    }
    PrintSpread("memo_edit_control_1200", "us_per_line", raw, 1);
    PrintSpread("memo_add_300", "us_per_line", small, 1);
    PrintSpread("memo_add_1200", "us_per_line", large, 1);
    PrintSpread("memo_add_vs_edit_control_1200", "", ratio, 2);
    return 0;
}
