// TCommApi: each call goes straight to the system.
#include "CommApi.h"

HANDLE TCommApi::OpenPort(const char* name)
{
    return ::CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
}

BOOL TCommApi::SetupComm(HANDLE port, DWORD inQueue, DWORD outQueue) { return ::SetupComm(port, inQueue, outQueue); }
BOOL TCommApi::PurgeComm(HANDLE port, DWORD flags) { return ::PurgeComm(port, flags); }
BOOL TCommApi::GetCommState(HANDLE port, DCB* dcb) { return ::GetCommState(port, dcb); }
BOOL TCommApi::SetCommState(HANDLE port, DCB* dcb) { return ::SetCommState(port, dcb); }
BOOL TCommApi::GetCommTimeouts(HANDLE port, COMMTIMEOUTS* t) { return ::GetCommTimeouts(port, t); }
BOOL TCommApi::SetCommTimeouts(HANDLE port, COMMTIMEOUTS* t) { return ::SetCommTimeouts(port, t); }
BOOL TCommApi::SetCommMask(HANDLE port, DWORD mask) { return ::SetCommMask(port, mask); }
BOOL TCommApi::WaitCommEvent(HANDLE port, DWORD* mask, OVERLAPPED* ov) { return ::WaitCommEvent(port, mask, ov); }
BOOL TCommApi::ClearCommError(HANDLE port, DWORD* errors, COMSTAT* stat) { return ::ClearCommError(port, errors, stat); }

BOOL TCommApi::ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov)
{
    return ::ReadFile(port, buffer, count, done, ov);
}

BOOL TCommApi::WriteFile(HANDLE port, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov)
{
    return ::WriteFile(port, buffer, count, done, ov);
}

BOOL TCommApi::GetOverlappedResult(HANDLE port, OVERLAPPED* ov, DWORD* done, BOOL wait)
{
    return ::GetOverlappedResult(port, ov, done, wait);
}

HANDLE TCommApi::NewEvent(BOOL initialState) { return ::CreateEventA(nullptr, TRUE, initialState, nullptr); }

HANDLE TCommApi::CreateThread(LPTHREAD_START_ROUTINE proc, void* arg, DWORD* id)
{
    return ::CreateThread(nullptr, 0, proc, arg, CREATE_SUSPENDED, id);
}

HLOCAL TCommApi::LocalAlloc(SIZE_T bytes) { return ::LocalAlloc(LMEM_ZEROINIT, bytes); }
HLOCAL TCommApi::LocalFree(HLOCAL block) { return ::LocalFree(block); }

BOOL TCommApi::PostNotify(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(wnd, msg, wParam, lParam);
}

TCommApi& TCommApi::System()
{
    static TCommApi api;
    return api;
}
