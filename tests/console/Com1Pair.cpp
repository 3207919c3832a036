#include "Com1Pair.h"

#include "tests/serial/UnixShell.h"

#include <stdexcept>

namespace {

using UnixShell::PrefixPath;
using UnixShell::Quoted;
using UnixShell::WinePath;

constexpr DWORD kClaimWaitMs = 60000;
constexpr DWORD kStartMs = 10000;
// Far from the numbers that the serial tests claim (COM10 upwards).
constexpr int kPeerNumber = 9;

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
    bool ready = UnixShell::Run(command, kStartMs);
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
    UnixShell::Kill(FPidFile);
    UnixShell::Run("rm -f " + Quoted(FLink) + " " + Quoted(FPeerLink), 10000);
    CloseHandle(FClaim);
}
