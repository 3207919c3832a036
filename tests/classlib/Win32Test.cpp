#include "classlib/ExceptionHook.h"
#include "classlib/Handles.h"
#include "classlib/Text.h"
#include "classlib/Threads.h"
#include "classlib/UtilWindow.h"
#include "classlib/portable/SysUtils.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

struct TCountingTraits {
    using Handle = int;
    static inline int Closed = 0;
    static Handle Invalid() noexcept { return -1; }
    static void Close(Handle) noexcept { ++Closed; }
};

// Records what its body did in state that outlives the thread object.
struct TFlagState {
    std::atomic<int> Runs{0};
    std::atomic<bool> Returned{false};
    TKernelHandle Running{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

class TFlagThread : public TThread {
public:
    explicit TFlagThread(TFlagState& state) : FState(state) {}

protected:
    void Execute() override
    {
        ++FState.Runs;
        SetEvent(FState.Running.Get());
        while (!Terminated()) Sleep(1);
        FState.Returned = true;
    }

private:
    TFlagState& FState;
};

HANDLE Duplicate(HANDLE h)
{
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return copy;
}

} // namespace

TEST(Handles, ClosedExactlyOnceThroughMovesAndResets)
{
    TCountingTraits::Closed = 0;
    {
        TUniqueHandle<TCountingTraits> a(5);
        TUniqueHandle<TCountingTraits> b(std::move(a));
        EXPECT_FALSE(a.Valid());
        TUniqueHandle<TCountingTraits> c(7);
        c = std::move(b); // closes 7
        EXPECT_EQ(TCountingTraits::Closed, 1);
        c.Reset(); // closes 5
        c.Reset();
        EXPECT_EQ(TCountingTraits::Closed, 2);
        TUniqueHandle<TCountingTraits> d(9);
        EXPECT_EQ(d.Release(), 9);
    }
    EXPECT_EQ(TCountingTraits::Closed, 2);
    TFileHandle none;
    EXPECT_EQ(none.Get(), INVALID_HANDLE_VALUE);
}

TEST(Text, Gb2312BecomesUtf16WhateverTheAnsiCodePage)
{
    EXPECT_EQ(TextToWide("\xb4\xf2\xbf\xaa COM1\xa3\xba"), L"\u6253\u5f00 COM1\uff1a"); // 打开 COM1：
    EXPECT_EQ(WideToText(L"\u6253\u5f00"), "\xb4\xf2\xbf\xaa");
    EXPECT_EQ(TextToWide(""), L"");
}

TEST(Threads, RunsOnlyAfterStartAndIsJoinedOnFree)
{
    TFlagState state;
    auto* t = new TFlagThread(state);
    const TKernelHandle thread(Duplicate(t->Handle()));
    // Suspended since creation: it cannot have run a single instruction.
    EXPECT_EQ(SuspendThread(thread.Get()), 1u);
    EXPECT_EQ(ResumeThread(thread.Get()), 2u);
    EXPECT_EQ(state.Runs, 0);
    t->SetPriority(TThreadPriority::tpHighest);
    EXPECT_EQ(t->Priority(), TThreadPriority::tpHighest);
    t->Start();
    ASSERT_EQ(WaitForSingleObject(state.Running.Get(), 5000), WAIT_OBJECT_0);
    delete t; // terminates and waits until Execute has returned
    EXPECT_TRUE(state.Returned);
    EXPECT_EQ(WaitForSingleObject(thread.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(state.Runs, 1);
}

TEST(Threads, NeverStartedThreadNeverRunsExecute)
{
    TFlagState state;
    auto* t = new TFlagThread(state);
    const TKernelHandle thread(Duplicate(t->Handle()));
    delete t;
    EXPECT_EQ(WaitForSingleObject(thread.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(state.Runs, 0);
}

TEST(Threads, CreationFailureRaisesWithTheSystemCode)
{
    struct TNoThread : TThread {
        TNoThread()
            : TThread([](LPTHREAD_START_ROUTINE, void*, DWORD*) -> HANDLE {
                  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                  return nullptr;
              })
        {
        }
        void Execute() override {}
    };
    try {
        TNoThread t;
        FAIL();
    } catch (const EThread& e) {
        EXPECT_EQ(e.ErrorCode(), static_cast<unsigned long>(ERROR_NOT_ENOUGH_MEMORY));
    }
}

TEST(Threads, AnExceptionEscapingExecuteIsKeptAndTheProcessGoesOn)
{
    struct TFailingThread : TThread {
        bool Fail = true;
        void Execute() override
        {
            if (Fail) throw Exception("lost the port");
        }
    };
    TFailingThread failing;
    failing.Start();
    failing.WaitFor();
    EXPECT_TRUE(failing.Finished());
    ASSERT_TRUE(failing.FatalException());
    try {
        std::rethrow_exception(failing.FatalException());
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "lost the port");
    }

    TFailingThread fine;
    fine.Fail = false;
    fine.Start();
    fine.WaitFor();
    EXPECT_FALSE(fine.FatalException());
}

namespace {
std::string gLastError;
void Record(std::exception_ptr e)
{
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& x) {
        gLastError = x.what();
    }
}
} // namespace

TEST(UtilWindow, DeliversMessagesToItsMethodAndContainsExceptions)
{
    int seen = 0;
    HWND wnd = nullptr;
    wnd = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_USER + 7) {
            ++seen;
            m.Result = 42;
        } else if (m.Msg == WM_USER + 8) {
            throw Exception("handler failed");
        } else {
            m.Result = DefWindowProcW(wnd, m.Msg, m.WParam, m.LParam);
        }
    });
    ASSERT_NE(wnd, nullptr);
    EXPECT_FALSE(IsWindowVisible(wnd));
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 7, 0, 0), 42);
    PostMessageW(wnd, WM_USER + 7, 0, 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_EQ(seen, 2);
    SetExceptionHandler(Record);
    SendMessageW(wnd, WM_USER + 8, 0, 0);
    SetExceptionHandler(nullptr);
    EXPECT_EQ(gLastError, "handler failed");
    DeallocateHWnd(wnd);
    EXPECT_FALSE(IsWindow(wnd));
}
