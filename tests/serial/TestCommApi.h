// TTestCommApi: the port's calls as a test sees them. It counts heap blocks
// and settings writes, keeps a handle to each I/O thread and what each posted,
// and lets a test replace any call (to fail it, slow it or script it). Hooks
// are set before OpenComm and run on whichever thread makes the call.
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

    HANDLE OpenPort(const char* name) override;
    BOOL SetupComm(HANDLE port, DWORD inQueue, DWORD outQueue) override;
    BOOL SetCommState(HANDLE port, DCB* dcb) override;
    BOOL SetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) override;
    BOOL SetCommMask(HANDLE port, DWORD mask) override;
    BOOL WaitCommEvent(HANDLE port, DWORD* mask, OVERLAPPED* ov) override;
    BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* stat) override;
    BOOL ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) override;
    BOOL WriteFile(HANDLE port, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) override;
    BOOL GetOverlappedResult(HANDLE port, OVERLAPPED* ov, DWORD* done, BOOL wait) override;
    HANDLE NewEvent(BOOL initialState) override;
    HANDLE CreateThread(LPTHREAD_START_ROUTINE proc, void* arg, DWORD* id) override;
    HLOCAL LocalAlloc(SIZE_T bytes) override;
    HLOCAL LocalFree(HLOCAL block) override;
    BOOL PostNotify(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    std::function<HANDLE(const char* name)> OnOpenPort;
    std::function<BOOL(HANDLE port, DWORD inQueue, DWORD outQueue)> OnSetupComm;
    std::function<BOOL(HANDLE port, DWORD mask)> OnSetCommMask;
    std::function<BOOL(HANDLE port, DWORD* mask, OVERLAPPED* ov)> OnWaitCommEvent;
    std::function<BOOL(HANDLE port, DWORD* errors, COMSTAT* stat)> OnClearCommError;
    std::function<BOOL(HANDLE port, void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov)> OnReadFile;
    std::function<BOOL(HANDLE port, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov)> OnWriteFile;
    std::function<BOOL(HANDLE port, OVERLAPPED* ov, DWORD* done, BOOL wait)> OnGetOverlappedResult;
    std::function<HANDLE(BOOL initialState)> OnNewEvent;
    std::function<HANDLE(LPTHREAD_START_ROUTINE proc, void* arg, DWORD* id)> OnCreateThread;
    std::function<BOOL(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)> OnPostNotify;

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

    enum TRole { Reader, Writer };
    // The threads of the last open: waitable handles, signalled once the
    // thread has ended; null before the first open or when creation failed.
    HANDLE ReaderEnded() const noexcept { return FThreads[Reader].Ended; }
    HANDLE WriterEnded() const noexcept { return FThreads[Writer].Ended; }
    // The messages a thread of the last open posted (or tried to), in order.
    std::vector<UINT> PostedBy(TRole role) const;

private:
    struct TThreadRecord {
        HANDLE Ended = nullptr;
        DWORD Id = 0;
        std::vector<UINT> Posted;
    };

    mutable std::mutex FLock;
    std::vector<SIZE_T> FAllocSizes;
    TThreadRecord FThreads[2];
    // OpenComm opens the port, then makes the reader, then the writer.
    TRole FNextThread = Reader;
};

// Sets the last error and answers FALSE: the body of most failing hooks.
BOOL FailWith(DWORD error);
