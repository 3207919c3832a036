#include "Com1Pair.h"

#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

constexpr DWORD kClaimWaitMs = 60000;
constexpr DWORD kStartMs = 10000;
// Far from the numbers that the serial tests claim (COM10 upwards).
constexpr int kPeerNumber = 9;

std::string WinePath(const std::string& unixPath)
{
    return "Z:" + unixPath;
}

bool Exists(const std::string& unixPath)
{
    return GetFileAttributesA(WinePath(unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The port opens as a serial port (a name that Wine does not resolve to the
// pty yet may open something that is not one).
bool Opens(const std::string& name)
{
    HANDLE port = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return false;
    const bool serial = SetupComm(port, 4096, 4096) != FALSE;
    CloseHandle(port);
    return serial;
}

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

// Runs a command under the Unix shell (Wine starts Unix programs but gives no
// process handle back) and waits for a marker file that it leaves at the end.
bool RunShell(const std::string& command, DWORD timeoutMs)
{
    static std::atomic<unsigned> serial{0};
    const std::string marker =
        "/tmp/tb-console-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) + ".done";
    std::string line = "/bin/sh -c \"" + command + "; touch " + Quoted(marker) + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    if (pi.hThread != nullptr) CloseHandle(pi.hThread);
    if (pi.hProcess != nullptr) CloseHandle(pi.hProcess);
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!Exists(marker)) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(5);
    }
    DeleteFileA(WinePath(marker).c_str());
    return true;
}

std::string PrefixPath()
{
    char buffer[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("WINEPREFIX", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) return std::string(buffer, n);
    throw std::runtime_error("TCom1Pair: WINEPREFIX is not set");
}

} // namespace

TCom1Pair::TCom1Pair() : FPrefix(PrefixPath())
{
    // A file held open without sharing and deleted on close: the wineserver
    // enforces the claim across processes and drops it when one dies.
    const std::string claim = WinePath(FPrefix + "/tagbench-com1.claim");
    const ULONGLONG claimDeadline = GetTickCount64() + kClaimWaitMs;
    while ((FClaim = CreateFileA(claim.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr)) == INVALID_HANDLE_VALUE) {
        if (GetTickCount64() >= claimDeadline) throw std::runtime_error("TCom1Pair: COM1 stays claimed");
        Sleep(50);
    }
    FLink = FPrefix + "/dosdevices/com1";
    FPeerLink = FPrefix + "/dosdevices/com" + std::to_string(kPeerNumber);
    FPeerName = "\\\\.\\COM" + std::to_string(kPeerNumber);
    FPidFile = FPrefix + "/tagbench-com1.pid";
    const std::string command = "rm -f " + Quoted(FLink) + " " + Quoted(FPeerLink) + "; timeout 300 socat " +
                                "pty,raw,echo=0,link=" + Quoted(FLink) + " pty,raw,echo=0,link=" + Quoted(FPeerLink) +
                                " </dev/null >/dev/null 2>&1 & echo $! > " + Quoted(FPidFile);
    // The links appear a moment before Wine resolves the port names to them:
    // wait until both ends open.
    const ULONGLONG deadline = GetTickCount64() + kStartMs;
    bool ready = RunShell(command, kStartMs);
    while (ready && !(Opens("COM1") && Opens(FPeerName))) {
        if (GetTickCount64() >= deadline) ready = false;
        Sleep(20);
    }
    if (!ready) {
        CloseHandle(FClaim);
        throw std::runtime_error("TCom1Pair: COM1 and its far end did not appear");
    }
}

TCom1Pair::~TCom1Pair()
{
    const std::string pid = "$(cat " + Quoted(FPidFile) + ")";
    RunShell("p=" + pid + "; kill $p 2>/dev/null; while kill -0 $p 2>/dev/null && [ $(cut -d' ' -f3 /proc/$p/stat "
             "2>/dev/null || echo Z) != Z ]; do sleep 0.01; done; rm -f " +
                 Quoted(FLink) + " " + Quoted(FPeerLink) + " " + Quoted(FPidFile),
             10000);
    CloseHandle(FClaim);
}
