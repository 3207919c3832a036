// bench-startup [--skinned] PROGRAM...: starts each program kRounds times
// (interleaved, so every program sees the same machine state) and prints, per
// program, the least, median and greatest time from CreateProcess to its first
// visible top-level window being painted, the executable's size and its
// private memory at the median run. PROGRAM may be EXE?ARGUMENT: the program
// then gets ARGUMENT on its command line and is named after both (EXE?ARGUMENT's
// base names joined by "@"). A program after --skinned counts as painted only
// once its window also says it is skinned: a paint without the skin is not the
// first paint of a skinned window.
#include "Painted.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 7;
constexpr DWORD kTimeoutMs = 30000;

struct TSample {
    double Ms = 0;
    SIZE_T PrivateBytes = 0;
};

constexpr UINT WM_SKIN_QUERY = 0x3523; // a skinned window answers 1
constexpr UINT kQueryTimeoutMs = 1000;

struct TProgram {
    std::wstring Path;
    bool Skinned = false;
};

struct TFindTop {
    DWORD ProcessId;
    HWND Found;
};

BOOL CALLBACK FindVisibleTop(HWND wnd, LPARAM param)
{
    auto* find = reinterpret_cast<TFindTop*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == find->ProcessId && IsWindowVisible(wnd)) {
        find->Found = wnd;
        return FALSE;
    }
    return TRUE;
}

// The executable of PROGRAM and its argument ("" for none).
std::wstring ExeOf(const std::wstring& program)
{
    return program.substr(0, program.find(L'?'));
}

std::wstring ArgumentOf(const std::wstring& program)
{
    const size_t mark = program.find(L'?');
    return mark == std::wstring::npos ? std::wstring() : program.substr(mark + 1);
}

bool IsSkinned(HWND Window)
{
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(Window, WM_SKIN_QUERY, 0, 0, SMTO_ABORTIFHUNG, kQueryTimeoutMs, &answer) != 0 &&
           answer == 1;
}

bool RunOnce(const TProgram& Program, TSample& sample)
{
    const std::wstring& program = Program.Path;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const std::wstring exe = ExeOf(program);
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!ArgumentOf(program).empty()) cmd += L" " + ArgumentOf(program);
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    TFindTop find{pi.dwProcessId, nullptr};
    const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
    bool shown = false;
    while (!shown && GetTickCount64() < deadline) {
        if (find.Found == nullptr) EnumWindows(FindVisibleTop, reinterpret_cast<LPARAM>(&find));
        // Skinned first: taking the skin leaves the window to be painted again.
        shown = find.Found != nullptr && (!Program.Skinned || IsSkinned(find.Found)) && Painted(find.Found);
        if (!shown) Sleep(1);
    }
    QueryPerformanceCounter(&t1);
    PROCESS_MEMORY_COUNTERS_EX mem{};
    mem.cb = sizeof mem;
    GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof mem);
    sample.Ms = static_cast<double>(t1.QuadPart - t0.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
    // Wine leaves PrivateUsage at 0 and reports the committed private bytes
    // as the page-file usage.
    sample.PrivateBytes = mem.PrivateUsage != 0 ? mem.PrivateUsage : mem.PagefileUsage;
    if (find.Found != nullptr) PostMessageW(find.Found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return shown;
}

std::wstring BaseName(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"/\\");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::vector<TProgram> exes;
    for (int i = 1; i < argc; ++i) {
        const bool skinned = std::wstring(argv[i]) == L"--skinned";
        if (skinned && ++i == argc) break;
        exes.push_back({argv[i], skinned});
    }
    if (exes.empty()) {
        std::fprintf(stderr, "usage: bench-startup [--skinned] PROGRAM.exe...\n");
        return 2;
    }
    std::vector<std::vector<TSample>> samples(exes.size());
    for (const TProgram& exe : exes) {
        TSample warm;
        RunOnce(exe, warm);
    }
    for (int round = 0; round < kRounds; ++round)
        for (size_t i = 0; i < exes.size(); ++i) {
            TSample s;
            if (!RunOnce(exes[i], s)) {
                std::fprintf(stderr, "%ls: no%s window shown within %lu ms\n", exes[i].Path.c_str(),
                             exes[i].Skinned ? " skinned" : "", kTimeoutMs);
                return 1;
            }
            samples[i].push_back(s);
        }
    for (size_t i = 0; i < exes.size(); ++i) {
        std::vector<TSample>& v = samples[i];
        std::sort(v.begin(), v.end(), [](const TSample& a, const TSample& b) { return a.Ms < b.Ms; });
        const TSample& median = v[v.size() / 2];
        const std::wstring& path = exes[i].Path;
        WIN32_FILE_ATTRIBUTE_DATA attr{};
        GetFileAttributesExW(ExeOf(path).c_str(), GetFileExInfoStandard, &attr);
        std::wstring name = BaseName(ExeOf(path));
        if (!ArgumentOf(path).empty()) name += L"@" + BaseName(ArgumentOf(path));
        std::printf("%ls %.1f %.1f %.1f %llu %llu\n", name.c_str(), v.front().Ms, median.Ms, v.back().Ms,
                    static_cast<unsigned long long>(attr.nFileSizeLow) |
                        (static_cast<unsigned long long>(attr.nFileSizeHigh) << 32),
                    static_cast<unsigned long long>(median.PrivateBytes));
    }
    return 0;
}
