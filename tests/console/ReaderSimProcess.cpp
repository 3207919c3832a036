// The simulated reader started through the Unix shell.
#include "ReaderSimProcess.h"

#include "tests/serial/UnixShell.h"

#include <windows.h>

#include <stdexcept>

namespace {

constexpr DWORD kStartMs = 10000;

std::string SimulatorPath()
{
    char buffer[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("TB_READER_SIM", buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer)
        throw std::runtime_error("TReaderSimProcess: TB_READER_SIM does not name the simulated reader");
    const std::string path(buffer, n);
    if (!UnixShell::Exists(path)) throw std::runtime_error("TReaderSimProcess: no simulated reader at " + path);
    return path;
}

} // namespace

TReaderSimProcess::TReaderSimProcess(const std::string& PtyPath, const std::string& Options)
    : FOut(UnixShell::TempPath(".sim-out")), FErr(UnixShell::TempPath(".sim-err")), FPidFile(UnixShell::TempPath(".sim-pid"))
{
    using UnixShell::Quoted;
    const std::string command = Quoted(SimulatorPath()) + " " + Options + " " + Quoted(PtyPath) + " </dev/null >" +
                                Quoted(FOut) + " 2>" + Quoted(FErr) + " & echo $! > " + Quoted(FPidFile);
    bool ready = UnixShell::Run(command, kStartMs);
    const ULONGLONG deadline = GetTickCount64() + kStartMs;
    while (ready && UnixShell::ReadFile(FErr).find("listening") == std::string::npos) {
        if (GetTickCount64() >= deadline) ready = false;
        Sleep(10);
    }
    if (!ready) {
        const std::string said = UnixShell::ReadFile(FErr);
        UnixShell::Kill(FPidFile);
        UnixShell::Run("rm -f " + Quoted(FOut) + " " + Quoted(FErr), kStartMs);
        throw std::runtime_error("TReaderSimProcess: the simulated reader did not start: " + said);
    }
}

TReaderSimProcess::~TReaderSimProcess()
{
    using UnixShell::Quoted;
    UnixShell::Kill(FPidFile);
    UnixShell::Run("rm -f " + Quoted(FOut) + " " + Quoted(FErr), kStartMs);
}

std::vector<std::string> TReaderSimProcess::Frames() const
{
    const std::string out = UnixShell::ReadFile(FOut);
    std::vector<std::string> lines;
    size_t start = 0;
    // Only whole lines: the last one may still be being written.
    for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(out.substr(start, end - start));
    return lines;
}
