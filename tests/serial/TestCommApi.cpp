// TTestCommApi: a hook when the test set one, the system otherwise; counting
// on the side.
#include "TestCommApi.h"

TTestCommApi::TTestCommApi() = default;

TTestCommApi::~TTestCommApi()
{
    for (HANDLE h : FThreads)
        if (h != nullptr) CloseHandle(h);
}

BOOL FailWith(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

HANDLE TTestCommApi::CreateFile(const char* name)
{
    if (OnCreateFile) return OnCreateFile(name);
    LastPort = TCommApi::CreateFile(name);
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

HANDLE TTestCommApi::CreateEvent(BOOL initialState)
{
    return OnCreateEvent ? OnCreateEvent(initialState) : TCommApi::CreateEvent(initialState);
}

HANDLE TTestCommApi::CreateThread(LPTHREAD_START_ROUTINE proc, void* arg, DWORD* id)
{
    HANDLE thread = OnCreateThread ? OnCreateThread(proc, arg, id) : TCommApi::CreateThread(proc, arg, id);
    HANDLE& slot = FThreads[FCreated++ % 2];
    if (slot != nullptr) CloseHandle(slot);
    slot = nullptr;
    if (thread != nullptr)
        DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &slot, SYNCHRONIZE, FALSE, 0);
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

std::vector<SIZE_T> TTestCommApi::AllocSizes() const
{
    std::lock_guard<std::mutex> hold(FLock);
    return FAllocSizes;
}
