// TPtyPair and RunShell: socat is started and stopped through /bin/sh, which
// Wine runs as a Unix program without giving back a handle, so a command
// reports that it has finished by creating a marker file.
#include "PtyPair.h"

#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kFirstNumber = 10;
constexpr int kPairs = 120; // COM10 .. COM249
constexpr DWORD kStartMs = 10000;
constexpr DWORD kKillMs = 10000;

bool Exists(const std::string& unixPath)
{
    return GetFileAttributesA(WinePath(unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

std::string PrefixPath()
{
    char buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("WINEPREFIX", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) return std::string(buffer, n);
    n = GetEnvironmentVariableA("HOME", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) return std::string(buffer, n) + "/.wine";
    throw std::runtime_error("TPtyPair: neither WINEPREFIX nor HOME is set");
}

} // namespace

std::string WinePath(const std::string& unixPath)
{
    return "Z:" + unixPath;
}

bool RunShell(const std::string& command, DWORD timeoutMs)
{
    static std::atomic<unsigned> serial{0};
    // In the prefix: process ids are unique only within one.
    const std::string marker = PrefixPath() + "/tagbench-sh-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++serial) + ".done";
    std::string line = "/bin/sh -c \"{ " + command + "; } && touch " + Quoted(marker) + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    // For a Unix program Wine leaves stale values in PROCESS_INFORMATION:
    // closing them can close this program's own handles, so they are left alone.

    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!Exists(marker)) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(5);
    }
    DeleteFileA(WinePath(marker).c_str());
    return true;
}

TPtyPair::TPtyPair(unsigned lifetimeSeconds) : FPrefix(PrefixPath())
{
    Claim();
    try {
        Start(lifetimeSeconds);
    } catch (...) {
        CloseHandle(FClaim);
        throw;
    }
}

TPtyPair::~TPtyPair()
{
    Kill();
    CloseHandle(FClaim);
}

void TPtyPair::Claim()
{
    // A claim is a file held open without sharing and deleted on close: the
    // wineserver enforces it across the processes of the prefix and drops it
    // when a process dies.
    const int start = static_cast<int>(GetCurrentProcessId() / 4 % kPairs);
    for (int i = 0; i < kPairs; ++i) {
        const int n = kFirstNumber + 2 * ((start + i) % kPairs);
        const std::string claim = FPrefix + "/tagbench-com" + std::to_string(n) + ".claim";
        HANDLE h = CreateFileA(WinePath(claim).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h == INVALID_HANDLE_VALUE) continue;
        FClaim = h;
        FNumber = n;
        FNameA = "\\\\.\\COM" + std::to_string(n);
        FNameB = "\\\\.\\COM" + std::to_string(n + 1);
        FLinkA = FPrefix + "/dosdevices/com" + std::to_string(n);
        FLinkB = FPrefix + "/dosdevices/com" + std::to_string(n + 1);
        FPidFile = FPrefix + "/tagbench-com" + std::to_string(n) + ".pid";
        return;
    }
    throw std::runtime_error("TPtyPair: no free pair of COM numbers");
}

void TPtyPair::Start(unsigned lifetimeSeconds)
{
    // Links left by a process that died are ours to replace: we hold the claim.
    // The links are awaited on the Unix side: Wine reads "comN" in a path as a device.
    //
    // Each pty becomes the controlling terminal of a helper session of its own.
    // Otherwise the wineserver, a session leader without one, acquires it when a
    // port is opened, and gets SIGHUP (and dumps its objects) when socat ends. The
    // helpers end with that SIGHUP.
    const std::string lifetime = std::to_string(lifetimeSeconds);
    const std::string links = "[ -e " + Quoted(FLinkA) + " ] && [ -e " + Quoted(FLinkB) + " ]";
    const std::string held = "[ -e " + Quoted(FPidFile + ".a") + " ] && [ -e " + Quoted(FPidFile + ".b") + " ]";
    auto holder = [&](const std::string& link, const std::string& mark) {
        return "setsid sh -c 'exec 0<" + link + "; touch " + mark + "; exec sleep " + lifetime +
               "' </dev/null >/dev/null 2>&1 & ";
    };
    const std::string command =
        "rm -f " + Quoted(FLinkA) + " " + Quoted(FLinkB) + " " + Quoted(FPidFile) + "*; timeout " + lifetime +
        " socat pty,raw,echo=0,link=" + Quoted(FLinkA) + " pty,raw,echo=0,link=" + Quoted(FLinkB) +
        " </dev/null >/dev/null 2>&1 & echo $! > " + Quoted(FPidFile) + "; for i in $(seq 500); do " + links +
        " && break; sleep 0.01; done; " + links + " && " + holder(FLinkA, FPidFile + ".a") +
        holder(FLinkB, FPidFile + ".b") + "for i in $(seq 500); do " + held + " && break; sleep 0.01; done; " + held;
    FRunning = true;
    if (!RunShell(command, kStartMs)) {
        Kill();
        throw std::runtime_error("TPtyPair: socat did not make the links of " + FNameA);
    }
}

void TPtyPair::Kill()
{
    if (!FRunning) return;
    FRunning = false;
    // The pid is that of `timeout`, which passes the signal on and ends after
    // socat; a zombie counts as ended.
    const std::string pid = "$(cat " + Quoted(FPidFile) + ")";
    RunShell("p=" + pid + "; kill $p 2>/dev/null; while kill -0 $p 2>/dev/null && [ $(cut -d' ' -f3 /proc/$p/stat "
             "2>/dev/null || echo Z) != Z ]; do sleep 0.01; done; rm -f " +
                 Quoted(FLinkA) + " " + Quoted(FLinkB) + " " + Quoted(FPidFile) + "*",
             kKillMs);
}
