// Unix shell commands from a Windows test under Wine.
#include "UnixShell.h"

#include <atomic>
#include <stdexcept>
#include <vector>

namespace UnixShell {

std::string WinePath(const std::string& unixPath)
{
    return "Z:" + unixPath;
}

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
    throw std::runtime_error("neither WINEPREFIX nor HOME is set");
}

std::string TempPath(const std::string& suffix)
{
    static std::atomic<unsigned> serial{0};
    return PrefixPath() + "/tagbench-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) +
           suffix;
}

bool Run(const std::string& command, DWORD timeoutMs)
{
    const std::string marker = TempPath(".done");
    std::string line = "/bin/sh -c \"{ " + command + "; } && touch " + Quoted(marker) + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // For a Unix program Wine fills PROCESS_INFORMATION with whatever was on
    // its stack: closing those "handles" can close this program's own (its
    // standard output among them), so they are left alone.
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!Exists(marker)) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(5);
    }
    DeleteFileA(WinePath(marker).c_str());
    return true;
}

void Kill(const std::string& pidFile)
{
    const std::string pid = "$(cat " + Quoted(pidFile) + ")";
    Run("p=" + pid + "; kill $p 2>/dev/null; while kill -0 $p 2>/dev/null && [ $(cut -d' ' -f3 /proc/$p/stat "
        "2>/dev/null || echo Z) != Z ]; do sleep 0.01; done; rm -f " + Quoted(pidFile),
        10000);
}

std::string ReadFile(const std::string& unixPath)
{
    HANDLE file = CreateFileA(WinePath(unixPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string content;
    char buffer[4096];
    DWORD count = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0) content.append(buffer, count);
    CloseHandle(file);
    return content;
}

} // namespace UnixShell
