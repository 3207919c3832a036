// TPtyPair: socat is started and stopped through the Unix shell.
#include "PtyPair.h"

#include "UnixShell.h"

#include <stdexcept>

using UnixShell::PrefixPath;
using UnixShell::Quoted;
using UnixShell::WinePath;

namespace {

constexpr int kFirstNumber = 10;
constexpr int kPairs = 120; // COM10 .. COM249
constexpr DWORD kStartMs = 10000;
constexpr DWORD kKillMs = 10000;

} // namespace

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
    if (!UnixShell::Run(command, kStartMs)) {
        Kill();
        throw std::runtime_error("TPtyPair: socat did not make the links of " + FNameA);
    }
}

void TPtyPair::Kill()
{
    if (!FRunning) return;
    FRunning = false;
    // The pid is that of `timeout`, which passes the signal on and ends after socat.
    UnixShell::Kill(FPidFile);
    UnixShell::Run("rm -f " + Quoted(FLinkA) + " " + Quoted(FLinkB) + " " + Quoted(FPidFile) + "*", kKillMs);
}
