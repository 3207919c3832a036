// TThread: creation, start, priorities, and the body that runs Execute.
#include "Threads.h"

#include "classlib/portable/SysUtils.h"

namespace {

constexpr int kPriorities[] = {
    THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL,  THREAD_PRIORITY_NORMAL,
    THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_TIME_CRITICAL,
};

} // namespace

TThread::TThread(const TCreateThreadFn& create)
{
    HANDLE h = create ? create(&TThread::ThreadProc, this, &FThreadID)
                      : ::CreateThread(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &FThreadID);
    if (h == nullptr) throw EThread("cannot create a thread", GetLastError());
    FHandle.Reset(h);
}

TThread::~TThread()
{
    Terminate();
    if (!FStarted) {
        // Let it run just far enough to see that it was never started.
        ResumeThread(FHandle.Get());
    }
    WaitForSingleObject(FHandle.Get(), INFINITE);
}

void TThread::Start()
{
    if (FStarted) return;
    FStarted = true;
    ResumeThread(FHandle.Get());
}

DWORD TThread::WaitFor()
{
    WaitForSingleObject(FHandle.Get(), INFINITE);
    DWORD code = 0;
    GetExitCodeThread(FHandle.Get(), &code);
    return code;
}

TThreadPriority TThread::Priority() const
{
    const int p = GetThreadPriority(FHandle.Get());
    for (int i = 0; i < 7; ++i)
        if (kPriorities[i] == p) return static_cast<TThreadPriority>(i);
    return TThreadPriority::tpNormal;
}

void TThread::SetPriority(TThreadPriority value)
{
    SetThreadPriority(FHandle.Get(), kPriorities[static_cast<int>(value)]);
}

DWORD WINAPI TThread::ThreadProc(void* self)
{
    auto* thread = static_cast<TThread*>(self);
    if (thread->FStarted) {
        // Escaping the thread would end the process; the owner asks for it instead.
        try {
            thread->Execute();
        } catch (...) {
            thread->FFatalException = std::current_exception();
        }
    }
    thread->FFinished = true;
    return 0;
}
