// TTestCommApi: the port's calls as a test sees them. It counts heap blocks
// and settings writes, keeps a handle to each I/O thread, and lets a test
// replace any call (to fail it, slow it or script it). Hooks are set before
// OpenComm and run on whichever thread makes the call.
#pragma once

#include "serial/CommApi.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

class TTestCommApi : public TCommApi {
public:
    TTestCommApi();
    ~TTestCommApi() override;

    HANDLE CreateFile(const char* name) override;
    BOOL SetupComm(HANDLE port, DWORD inQueue, DWORD outQueue) override;
    BOOL SetCommState(HANDLE port, DCB* dcb) override;
    BOOL SetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) override;
    BOOL WaitCommEvent(HANDLE port, DWORD* mask, OVERLAPPED* ov) override;
    BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* stat) override;
    BOOL ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) override;
    BOOL WriteFile(HANDLE port, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) override;
    BOOL GetOverlappedResult(HANDLE port, OVERLAPPED* ov, DWORD* done, BOOL wait) override;
    HANDLE CreateEvent(BOOL initialState) override;
    HANDLE CreateThread(LPTHREAD_START_ROUTINE proc, void* arg, DWORD* id) override;
    HLOCAL LocalAlloc(SIZE_T bytes) override;
    HLOCAL LocalFree(HLOCAL block) override;

    std::function<HANDLE(const char* name)> OnCreateFile;
    std::function<BOOL(HANDLE port, DWORD inQueue, DWORD outQueue)> OnSetupComm;
    std::function<BOOL(HANDLE port, DWORD* mask, OVERLAPPED* ov)> OnWaitCommEvent;
    std::function<BOOL(HANDLE port, DWORD* errors, COMSTAT* stat)> OnClearCommError;
    std::function<BOOL(HANDLE port, void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov)> OnReadFile;
    std::function<BOOL(HANDLE port, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov)> OnWriteFile;
    std::function<BOOL(HANDLE port, OVERLAPPED* ov, DWORD* done, BOOL wait)> OnGetOverlappedResult;
    std::function<HANDLE(BOOL initialState)> OnCreateEvent;
    std::function<HANDLE(LPTHREAD_START_ROUTINE proc, void* arg, DWORD* id)> OnCreateThread;

    // The system's own calls, for hooks that pass some calls through.
    static TCommApi& Real() { return TCommApi::System(); }

    std::atomic<int> SetCommStateCalls{0};
    std::atomic<int> SetCommTimeoutsCalls{0};
    DCB LastDcb{};
    COMMTIMEOUTS LastTimeouts{};
    // The last handle the system's CreateFile gave out.
    HANDLE LastPort = INVALID_HANDLE_VALUE;
    std::atomic<long> Allocs{0};
    std::atomic<long> Frees{0};
    long Outstanding() const noexcept { return Allocs - Frees; }
    std::vector<SIZE_T> AllocSizes() const;

    // The threads of the last open (OpenComm makes the reader first): waitable
    // handles, signalled once the thread has ended; null before the first open.
    HANDLE ReaderEnded() const noexcept { return FThreads[0]; }
    HANDLE WriterEnded() const noexcept { return FThreads[1]; }

private:
    mutable std::mutex FLock;
    std::vector<SIZE_T> FAllocSizes;
    HANDLE FThreads[2] = {nullptr, nullptr};
    int FCreated = 0;
};

// Sets the last error and answers FALSE: the body of most failing hooks.
BOOL FailWith(DWORD error);
