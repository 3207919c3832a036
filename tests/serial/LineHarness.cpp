// The far end of a test line (overlapped Win32 I/O with deadlines) and the
// message pump that delivers a TComm's events on the test's thread.
#include "LineHarness.h"

#include <algorithm>
#include <stdexcept>

TFarEnd::TFarEnd(const std::string& name)
{
    FHandle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE)
        throw std::runtime_error("TFarEnd: cannot open " + name + " (error " + std::to_string(GetLastError()) + ")");
    FEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);

    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(FHandle, &dcb);
    dcb.BaudRate = 19200;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    SetCommState(FHandle, &dcb);
    COMMTIMEOUTS t{10, 0, 0, 0, 0};
    SetCommTimeouts(FHandle, &t);
}

TFarEnd::~TFarEnd()
{
    CloseHandle(FHandle);
    CloseHandle(FEvent);
}

bool TFarEnd::Finish(OVERLAPPED& ov, ULONGLONG deadline, DWORD& done)
{
    const ULONGLONG now = GetTickCount64();
    const DWORD wait = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    if (WaitForSingleObject(ov.hEvent, wait) != WAIT_OBJECT_0) {
        CancelIo(FHandle);
        GetOverlappedResult(FHandle, &ov, &done, TRUE);
        return false;
    }
    return GetOverlappedResult(FHandle, &ov, &done, FALSE) != FALSE;
}

bool TFarEnd::Write(const void* data, size_t count, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t offset = 0;
    while (offset < count) {
        OVERLAPPED ov{};
        ov.hEvent = FEvent;
        ResetEvent(FEvent);
        DWORD done = 0;
        if (!WriteFile(FHandle, bytes + offset, static_cast<DWORD>(count - offset), nullptr, &ov)) {
            if (GetLastError() != ERROR_IO_PENDING) return false;
        }
        const bool ok = Finish(ov, deadline, done);
        offset += done;
        if (!ok) return offset == count;
    }
    return true;
}

TBytes TFarEnd::Read(size_t count, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    TBytes got(count);
    size_t have = 0;
    while (have < count) {
        OVERLAPPED ov{};
        ov.hEvent = FEvent;
        ResetEvent(FEvent);
        DWORD done = 0;
        if (!ReadFile(FHandle, got.data() + have, static_cast<DWORD>(count - have), nullptr, &ov)) {
            if (GetLastError() != ERROR_IO_PENDING) break;
        }
        const bool ok = Finish(ov, deadline, done);
        have += done;
        if (!ok) break;
    }
    got.resize(have);
    return got;
}

size_t TFarEnd::Drain(size_t count, DWORD quietMs)
{
    size_t dropped = 0;
    while (dropped < count) {
        const size_t got = Read(count - dropped, quietMs).size();
        if (got == 0) break;
        dropped += got;
    }
    return dropped;
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        PumpPending();
        if (done()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        // Waits for any new message, bounded so that conditions changed by
        // other threads (not by messages) are seen too.
        const DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20));
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

TBytes Pattern(size_t count, uint32_t seed)
{
    TBytes out(count);
    uint32_t x = seed * 2654435761u + 12345;
    for (auto& b : out) {
        x = x * 1103515245u + 12345;
        b = static_cast<uint8_t>(x >> 16);
    }
    return out;
}
