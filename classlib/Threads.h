// TThread: a thread object whose body is Execute. It is created suspended and
// runs once Start is called; freeing it waits for the thread to end, so no
// thread outlives its object. An exception that escapes Execute is kept, not fatal.
#pragma once

#include "Handles.h"
#include "classlib/portable/Classes.h"

#include <atomic>
#include <exception>
#include <functional>

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
public:
    // How the OS thread is made (suspended, running proc(arg)); tests replace
    // it to make creation fail.
    using TCreateThreadFn = std::function<HANDLE(LPTHREAD_START_ROUTINE proc, void* arg, DWORD* id)>;

    // Raises EThread (with the system's error code) when no thread can be made.
    explicit TThread(const TCreateThreadFn& create = nullptr);
    // Never started: the thread ends without running Execute. Running: sets
    // Terminated and waits until Execute has returned.
    ~TThread() override;

    void Start();
    // Sets the flag that Execute may poll; it does not stop the thread.
    void Terminate() noexcept { FTerminated = true; }
    bool Terminated() const noexcept { return FTerminated; }
    bool Started() const noexcept { return FStarted; }
    bool Finished() const noexcept { return FFinished; }
    // Waits until the thread has ended; returns its exit code.
    DWORD WaitFor();

    // What escaped Execute, or null; read it once the thread has finished.
    std::exception_ptr FatalException() const noexcept { return FFatalException; }

    HANDLE Handle() const noexcept { return FHandle.Get(); }
    DWORD ThreadID() const noexcept { return FThreadID; }
    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority value);

protected:
    virtual void Execute() = 0;

private:
    static DWORD WINAPI ThreadProc(void* self);

    TKernelHandle FHandle;
    DWORD FThreadID = 0;
    std::atomic<bool> FStarted{false};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::exception_ptr FFatalException;
};
