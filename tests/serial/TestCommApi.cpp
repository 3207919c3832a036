// TTestCommApi: a hook when the test set one, the system otherwise; counting
// on the side.
#include "TestCommApi.h"

TTestCommApi::TTestCommApi() = default;

TTestCommApi::~TTestCommApi()
{
    for (const auto& t : FThreads)
        if (t.Ended != nullptr) CloseHandle(t.Ended);
}

BOOL FailWith(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

HANDLE TTestCommApi::OpenPort(const char* name)
{
    FNextThread = Reader;
    if (OnOpenPort) return OnOpenPort(name);
    LastPort = TCommApi::OpenPort(name);
    return LastPort;
}

BOOL TTestCommApi::SetupComm(HANDLE port, DWORD inQueue, DWORD outQueue)
{
    return OnSetupComm ? OnSetupComm(port, inQueue, outQueue) : TCommApi::SetupComm(port, inQueue, outQueue);
}

BOOL TTestCommApi::SetCommState(HANDLE port, DCB* dcb)
{
    ++SetCommStateCalls;
    LastDcb = *dcb;
    return TCommApi::SetCommState(port, dcb);
}

BOOL TTestCommApi::SetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts)
{
    ++SetCommTimeoutsCalls;
    LastTimeouts = *timeouts;
    return TCommApi::SetCommTimeouts(port, timeouts);
}

BOOL TTestCommApi::SetCommMask(HANDLE port, DWORD mask)
{
    return OnSetCommMask ? OnSetCommMask(port, mask) : TCommApi::SetCommMask(port, mask);
}

BOOL TTestCommApi::WaitCommEvent(HANDLE port, DWORD* mask, OVERLAPPED* ov)
{
    return OnWaitCommEvent ? OnWaitCommEvent(port, mask, ov) : TCommApi::WaitCommEvent(port, mask, ov);
}

BOOL TTestCommApi::ClearCommError(HANDLE port, DWORD* errors, COMSTAT* stat)
{
    return OnClearCommError ? OnClearCommError(port, errors, stat) : TCommApi::ClearCommError(port, errors, stat);
}

BOOL TTestCommApi::ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov)
{
    return OnReadFile ? OnReadFile(port, buffer, count, done, ov) : TCommApi::ReadFile(port, buffer, count, done, ov);
}

BOOL TTestCommApi::WriteFile(HANDLE port, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov)
{
    return OnWriteFile ? OnWriteFile(port, buffer, count, done, ov)
                       : TCommApi::WriteFile(port, buffer, count, done, ov);
}

BOOL TTestCommApi::GetOverlappedResult(HANDLE port, OVERLAPPED* ov, DWORD* done, BOOL wait)
{
    return OnGetOverlappedResult ? OnGetOverlappedResult(port, ov, done, wait)
                                 : TCommApi::GetOverlappedResult(port, ov, done, wait);
}

HANDLE TTestCommApi::NewEvent(BOOL initialState)
{
    return OnNewEvent ? OnNewEvent(initialState) : TCommApi::NewEvent(initialState);
}

HANDLE TTestCommApi::CreateThread(LPTHREAD_START_ROUTINE proc, void* arg, DWORD* id)
{
    HANDLE thread = OnCreateThread ? OnCreateThread(proc, arg, id) : TCommApi::CreateThread(proc, arg, id);
    std::lock_guard<std::mutex> hold(FLock);
    TThreadRecord& record = FThreads[FNextThread];
    FNextThread = Writer;
    if (record.Ended != nullptr) CloseHandle(record.Ended);
    record = TThreadRecord{};
    if (thread != nullptr) {
        DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &record.Ended, SYNCHRONIZE, FALSE, 0);
        record.Id = *id;
    }
    return thread;
}

HLOCAL TTestCommApi::LocalAlloc(SIZE_T bytes)
{
    HLOCAL block = TCommApi::LocalAlloc(bytes);
    if (block != nullptr) {
        ++Allocs;
        std::lock_guard<std::mutex> hold(FLock);
        FAllocSizes.push_back(bytes);
    }
    return block;
}

HLOCAL TTestCommApi::LocalFree(HLOCAL block)
{
    ++Frees;
    return TCommApi::LocalFree(block);
}

BOOL TTestCommApi::PostNotify(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    {
        std::lock_guard<std::mutex> hold(FLock);
        for (auto& t : FThreads)
            if (t.Id == GetCurrentThreadId()) t.Posted.push_back(msg);
    }
    return OnPostNotify ? OnPostNotify(wnd, msg, wParam, lParam) : TCommApi::PostNotify(wnd, msg, wParam, lParam);
}

std::vector<UINT> TTestCommApi::PostedBy(TRole role) const
{
    std::lock_guard<std::mutex> hold(FLock);
    return FThreads[role].Posted;
}

std::vector<SIZE_T> TTestCommApi::AllocSizes() const
{
    std::lock_guard<std::mutex> hold(FLock);
    return FAllocSizes;
}
