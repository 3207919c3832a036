// The reader and writer threads of an open TComm. They touch nothing of the
// component: they get copies of the port handle, the stop event and the
// notification window before they start, and report by posting messages.
#pragma once

#include "CommApi.h"
#include "classlib/Threads.h"

#include <atomic>
#include <cstdint>
#include <mutex>

// Received chunks between the reader and the GUI thread. The reader stops
// reading once kMaxUndelivered chunks wait undelivered and resumes when the
// GUI thread has taken them all: a far end faster than the window's handler
// then waits in the system's buffer instead of filling the message queue.
struct THandOver {
    static constexpr long kMaxUndelivered = 64; // 256 KB of 4 KB chunks

    // Posted and not yet taken by the notification window.
    std::atomic<long> Undelivered{0};
    // The reader waits for Resume; whoever clears this signals it.
    std::atomic<bool> Waiting{false};
    TKernelHandle Resume;

    // On the GUI thread, for each chunk it takes.
    void Taken() noexcept
    {
        if (--Undelivered == 0 && Waiting.exchange(false)) SetEvent(Resume.Get());
    }
};

class TCommThread : public TThread {
public:
    explicit TCommThread(TCommApi& api);

    HANDLE FCommHandle = nullptr;
    HANDLE FStopEvent = nullptr;
    HWND FNotifyWindow = nullptr;

protected:
    bool StopRequested() const noexcept;
    bool Post(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void PostHangup() noexcept;
    // Cancels an overlapped operation of this thread and waits until the
    // system has finished with its OVERLAPPED and buffer.
    void Abandon(OVERLAPPED& ov) noexcept;

    TCommApi& FApi;
};

class TReadThread : public TCommThread {
public:
    using TCommThread::TCommThread;

    // The component's, given like the handles before the thread starts.
    THandOver* FHandOver = nullptr;

protected:
    void Execute() override;

private:
    // True with a read pending, or with none while the GUI thread catches up.
    // checkStop false: the caller has just seen the stop event unsignalled.
    bool ArmRead(bool checkStop = true);
    bool ArmCommEvent();
    bool HandleCommEvent(bool afterWait);
    bool HandOnData(DWORD count);
    // After a read that ended for a reason that passes: a short pause, false
    // when the stop came meanwhile.
    bool ReadAgainLater() noexcept;
    // True when the GUI thread has taken every chunk; otherwise it signals
    // FHandOver->Resume once it has.
    bool Drained() noexcept;
    void NoLineEvents() noexcept;

    OVERLAPPED FReadOv{};
    OVERLAPPED FEventOv{};
    bool FReadPending = false;
    // No read is pending: the reader waits for the GUI thread to catch up.
    bool FWaitingForRoom = false;
    bool FEventPending = false;
    // Cleared for a port that cannot report line events (a pty under Wine).
    bool FLineEvents = true;
    DWORD FEventMask = 0;
    uint8_t FBuffer[4096];
};

class TWriteThread : public TCommThread {
public:
    explicit TWriteThread(TCommApi& api);

    // Signalled once the thread has a message queue, so that sends made right
    // after OpenComm returns are not lost.
    HANDLE QueueReady() const noexcept { return FQueueReady.Get(); }
    // Posts a send request (the block then belongs to the writer); false once
    // the writer has stopped taking requests, so that none is left in a queue
    // that dies with the thread.
    bool Queue(const void* block, uint16_t count) noexcept;

protected:
    void Execute() override;

private:
    void Serve();
    bool WriteBlock(const uint8_t* block, DWORD count);
    void StopTakingRequests() noexcept;

    OVERLAPPED FWriteOv{};
    TKernelHandle FQueueReady;
    // Queue and the writer's end both hold it: a request is posted only while
    // FTakesRequests, and everything posted before it was cleared is freed.
    std::mutex FQueueLock;
    bool FTakesRequests = true;
};
