// The Win32 calls a serial port and its threads make, behind one interface so
// that tests can make any of them fail on purpose (errors a pty cannot
// produce). The base class calls the system; a test derives and overrides.
// Names that windows.h defines as A/W macros are avoided.
// TCommBlock owns a heap block of the port and frees it through that interface.
#pragma once

#include <windows.h>

class TCommApi {
public:
    virtual ~TCommApi() = default;

    // Opens the named port for overlapped I/O, exclusively; INVALID_HANDLE_VALUE on failure.
    virtual HANDLE OpenPort(const char* name);
    virtual BOOL SetupComm(HANDLE port, DWORD inQueue, DWORD outQueue);
    virtual BOOL PurgeComm(HANDLE port, DWORD flags);
    virtual BOOL GetCommState(HANDLE port, DCB* dcb);
    virtual BOOL SetCommState(HANDLE port, DCB* dcb);
    virtual BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts);
    virtual BOOL SetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts);
    virtual BOOL SetCommMask(HANDLE port, DWORD mask);
    virtual BOOL WaitCommEvent(HANDLE port, DWORD* mask, OVERLAPPED* ov);
    virtual BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* stat);
    virtual BOOL ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov);
    virtual BOOL WriteFile(HANDLE port, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov);
    virtual BOOL GetOverlappedResult(HANDLE port, OVERLAPPED* ov, DWORD* done, BOOL wait);
    // Manual-reset events, as every event of the port is.
    virtual HANDLE NewEvent(BOOL initialState);
    // Creates a suspended thread running proc(arg).
    virtual HANDLE CreateThread(LPTHREAD_START_ROUTINE proc, void* arg, DWORD* id);
    virtual HLOCAL LocalAlloc(SIZE_T bytes);
    // Every block of the port goes back through here, so a test can match frees to allocations.
    virtual HLOCAL LocalFree(HLOCAL block);
    // Posts a thread's report to the notification window.
    virtual BOOL PostNotify(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // The one instance that calls the system.
    static TCommApi& System();
};

// Owns one heap block of the port until it goes out of scope; frees it through the api.
class TCommBlock {
public:
    TCommBlock(TCommApi& api, HLOCAL block) noexcept : FApi(api), FBlock(block) {}
    TCommBlock(const TCommBlock&) = delete;
    TCommBlock& operator=(const TCommBlock&) = delete;
    ~TCommBlock()
    {
        if (FBlock != nullptr) FApi.LocalFree(FBlock);
    }

    void* Get() const noexcept { return FBlock; }

private:
    TCommApi& FApi;
    HLOCAL FBlock;
};
