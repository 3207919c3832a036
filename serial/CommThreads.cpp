#include "CommThreads.h"

#include "CommMessages.h"
#include "classlib/portable/SysUtils.h"

#include <cstring>

namespace {

constexpr DWORD kRecancelMs = 100;
// A read that keeps ending at once without data must not spin the thread.
constexpr DWORD kReadAgainMs = 20;

// Reads that end this way leave the port as it was: under Wine a long write
// into a far end that does not read ends the pending read with a time-out,
// and a purge of the receive side aborts it.
bool Transient(DWORD error) noexcept
{
    return error == ERROR_TIMEOUT || error == ERROR_OPERATION_ABORTED;
}

} // namespace

TCommThread::TCommThread(TCommApi& api)
    : TThread([&api](LPTHREAD_START_ROUTINE proc, void* arg, DWORD* id) { return api.CreateThread(proc, arg, id); }),
      FApi(api)
{
}

bool TCommThread::StopRequested() const noexcept
{
    return WaitForSingleObject(FStopEvent, 0) != WAIT_TIMEOUT;
}

bool TCommThread::Post(UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    return FApi.PostNotify(FNotifyWindow, msg, wParam, lParam) != FALSE;
}

void TCommThread::PostHangup() noexcept
{
    Post(WM_COMM_HANGUP, 0, 0);
}

void TCommThread::Abandon(OVERLAPPED& ov) noexcept
{
    // CancelIo on this thread's own I/O completes the operation (cancelled, or
    // done if it finished first). Under Wine a write that the line resumes at
    // that very moment (a purge makes room) can be queued again past the cancel
    // and then waits for a line that never drains: so cancel until it is over.
    do CancelIo(FCommHandle);
    while (WaitForSingleObject(ov.hEvent, kRecancelMs) == WAIT_TIMEOUT);
    DWORD done;
    FApi.GetOverlappedResult(FCommHandle, &ov, &done, TRUE);
}

// --- Reader

void TReadThread::Execute()
{
    TKernelHandle readEvent(FApi.NewEvent(TRUE));
    TKernelHandle lineEvent(FApi.NewEvent(TRUE));
    if (!readEvent || !lineEvent) {
        PostHangup();
    } else if (!FApi.SetCommMask(FCommHandle, EV_RLSD | EV_ERR | EV_RING)) {
        PostHangup();
    } else {
        FReadOv.hEvent = readEvent.Get();
        FEventOv.hEvent = lineEvent.Get();
        // Order matters: the lowest signalled index wins, so stop goes first.
        // The last slot is the pending read, or the GUI thread's signal that
        // it has taken every chunk while no read is pending.
        const HANDLE reading[3] = {FStopEvent, lineEvent.Get(), readEvent.Get()};
        const HANDLE waitingForRoom[3] = {FStopEvent, lineEvent.Get(), FHandOver->Resume.Get()};
        bool running = ArmCommEvent() && ArmRead();
        while (running) {
            switch (WaitForMultipleObjects(3, FWaitingForRoom ? waitingForRoom : reading, FALSE, INFINITE)) {
            case WAIT_OBJECT_0:
                running = false;
                break;
            case WAIT_OBJECT_0 + 1:
                running = HandleCommEvent(true) && ArmCommEvent();
                break;
            case WAIT_OBJECT_0 + 2: {
                // The wait has just found the stop event unsignalled (it
                // would have won): no need to ask the server again.
                if (FWaitingForRoom) {
                    FWaitingForRoom = false;
                    running = ArmRead(false);
                    break;
                }
                FReadPending = false;
                DWORD count = 0;
                if (FApi.GetOverlappedResult(FCommHandle, &FReadOv, &count, FALSE)) {
                    running = HandOnData(count) && ArmRead(false);
                } else if (const DWORD error = GetLastError(); Transient(error)) {
                    running = (count == 0 || HandOnData(count)) && ReadAgainLater() && ArmRead();
                } else {
                    if (error != ERROR_INVALID_HANDLE) PostHangup();
                    running = false;
                }
                break;
            }
            default:
                PostHangup();
                running = false;
            }
        }
    }
    FApi.PurgeComm(FCommHandle, PURGE_RXABORT | PURGE_RXCLEAR);
    // The events and the buffer must outlive every operation still pending.
    if (FReadPending) Abandon(FReadOv);
    if (FEventPending) Abandon(FEventOv);
}

bool TReadThread::ArmRead(bool checkStop)
{
    for (;; checkStop = true) {
        if (checkStop && StopRequested()) return false;
        if (FHandOver->Undelivered >= THandOver::kMaxUndelivered && !Drained()) {
            FWaitingForRoom = true;
            return true;
        }
        if (FApi.ReadFile(FCommHandle, FBuffer, sizeof FBuffer, nullptr, &FReadOv)) {
            // Completed at once; short reads are normal with interval time-outs.
            DWORD count = 0;
            FApi.GetOverlappedResult(FCommHandle, &FReadOv, &count, FALSE);
            if (!HandOnData(count)) return false;
            continue;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING) {
            FReadPending = true;
            return true;
        }
        if (Transient(error)) {
            if (!ReadAgainLater()) return false;
            continue;
        }
        if (error != ERROR_INVALID_HANDLE) PostHangup();
        return false;
    }
}

bool TReadThread::ReadAgainLater() noexcept
{
    return WaitForSingleObject(FStopEvent, kReadAgainMs) == WAIT_TIMEOUT;
}

bool TReadThread::Drained() noexcept
{
    // Reset before asking: a signal left from an earlier wait must not wake this one.
    ResetEvent(FHandOver->Resume.Get());
    FHandOver->Waiting = true;
    if (FHandOver->Undelivered != 0) return false;
    FHandOver->Waiting = false;
    return true;
}

bool TReadThread::ArmCommEvent()
{
    while (FLineEvents) {
        if (StopRequested()) return false;
        FEventMask = 0;
        if (FApi.WaitCommEvent(FCommHandle, &FEventMask, &FEventOv)) {
            if (!HandleCommEvent(false)) return false;
            continue;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING) {
            FEventPending = true;
            return true;
        }
        if (error == ERROR_NOT_SUPPORTED) break;
        if (error != ERROR_INVALID_HANDLE) PostHangup();
        return false;
    }
    NoLineEvents();
    return true;
}

void TReadThread::NoLineEvents() noexcept
{
    // A pty under Wine has no modem lines and answers ERROR_NOT_SUPPORTED:
    // keep receiving data, and keep the line-event slot of the wait quiet.
    FLineEvents = false;
    ResetEvent(FEventOv.hEvent);
}

bool TReadThread::HandleCommEvent(bool afterWait)
{
    if (afterWait) {
        FEventPending = false;
        DWORD unused = 0;
        if (!FApi.GetOverlappedResult(FCommHandle, &FEventOv, &unused, FALSE)) {
            const DWORD error = GetLastError();
            if (error == ERROR_NOT_SUPPORTED) {
                NoLineEvents();
                return true;
            }
            if (error != ERROR_INVALID_HANDLE) PostHangup();
            return false;
        }
    }
    bool reported = false;
    if (FEventMask & EV_ERR) {
        DWORD errors = 0;
        if (!FApi.ClearCommError(FCommHandle, &errors, nullptr)) {
            if (GetLastError() != ERROR_INVALID_HANDLE) PostHangup();
            return false;
        }
        if (!Post(WM_COMM_ERROR, 0, static_cast<LPARAM>(errors))) {
            PostHangup();
            return false;
        }
        reported = true;
    }
    const DWORD modem = ((FEventMask & EV_RLSD) ? 8 : 0) | ((FEventMask & EV_RING) ? 4 : 0);
    if (modem != 0) {
        if (!Post(WM_COMM_MODEM, 0, static_cast<LPARAM>(modem))) {
            PostHangup();
            return false;
        }
        reported = true;
    }
    if (!reported) PostHangup();
    return reported;
}

bool TReadThread::HandOnData(DWORD count)
{
    if (count == 0) return false;
    HLOCAL block = FApi.LocalAlloc(count + 1);
    if (block == nullptr) {
        PostHangup();
        return false;
    }
    std::memcpy(block, FBuffer, count);
    // Counted before the post: the GUI thread may take the chunk at once.
    ++FHandOver->Undelivered;
    if (!Post(WM_COMM_RECEIVE, count, reinterpret_cast<LPARAM>(block))) {
        --FHandOver->Undelivered;
        FApi.LocalFree(block);
        PostHangup();
        return false;
    }
    return true;
}

// --- Writer

TWriteThread::TWriteThread(TCommApi& api)
    : TCommThread(api), FQueueReady(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    if (!FQueueReady) throw EThread("cannot create an event", GetLastError());
}

bool TWriteThread::Queue(const void* block, uint16_t count) noexcept
{
    std::lock_guard<std::mutex> hold(FQueueLock);
    return FTakesRequests &&
           PostThreadMessageA(ThreadID(), WM_COMM_SEND, count, reinterpret_cast<LPARAM>(block)) != FALSE;
}

void TWriteThread::Execute()
{
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // makes this thread's queue
    SetEvent(FQueueReady.Get());

    TKernelHandle event(FApi.NewEvent(TRUE));
    if (event) {
        FWriteOv.hEvent = event.Get();
        Serve();
    } else {
        PostHangup();
    }
    FApi.PurgeComm(FCommHandle, PURGE_TXABORT | PURGE_TXCLEAR);
    StopTakingRequests();
}

void TWriteThread::Serve()
{
    bool notify = true;
    for (;;) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (notify) {
                if (!Post(WM_COMM_SENDEMPTY, 0, 0)) {
                    PostHangup();
                    return;
                }
                notify = false;
            }
            // 0xFF: keyboard, mouse, posted, timer, paint, sent and hot-key input.
            const DWORD r = MsgWaitForMultipleObjects(1, &FStopEvent, FALSE, INFINITE, 0xFF);
            if (r == WAIT_OBJECT_0) return;
            if (r == WAIT_OBJECT_0 + 1) continue;
            PostHangup();
            return;
        }
        const bool request = msg.hwnd == nullptr && msg.message == WM_COMM_SEND;
        TCommBlock block(FApi, request ? reinterpret_cast<HLOCAL>(msg.lParam) : nullptr);
        if (StopRequested()) return;
        if (msg.hwnd != nullptr) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else if (request) {
            if (!WriteBlock(static_cast<const uint8_t*>(block.Get()), static_cast<DWORD>(msg.wParam))) return;
            notify = true;
        }
    }
}

bool TWriteThread::WriteBlock(const uint8_t* block, DWORD count)
{
    DWORD offset = 0;
    while (offset < count) {
        // Also between partial writes: a line that takes nothing must not keep
        // the thread from stopping.
        if (StopRequested()) return false;
        DWORD done = 0;
        if (!FApi.WriteFile(FCommHandle, block + offset, count - offset, nullptr, &FWriteOv)) {
            const DWORD error = GetLastError();
            if (error == ERROR_INVALID_HANDLE) return false;
            if (error != ERROR_IO_PENDING) {
                PostHangup();
                return false;
            }
            const HANDLE waits[2] = {FStopEvent, FWriteOv.hEvent};
            const DWORD r = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
            if (r != WAIT_OBJECT_0 + 1) {
                Abandon(FWriteOv);
                if (r != WAIT_OBJECT_0) PostHangup();
                return false;
            }
        }
        if (!FApi.GetOverlappedResult(FCommHandle, &FWriteOv, &done, TRUE)) {
            if (GetLastError() != ERROR_INVALID_HANDLE) PostHangup();
            return false;
        }
        offset += done;
    }
    return true;
}

void TWriteThread::StopTakingRequests() noexcept
{
    {
        std::lock_guard<std::mutex> hold(FQueueLock);
        FTakesRequests = false;
    }
    // Nothing can be posted from here on: free what is still queued.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.hwnd == nullptr && msg.message == WM_COMM_SEND) FApi.LocalFree(reinterpret_cast<HLOCAL>(msg.lParam));
}
