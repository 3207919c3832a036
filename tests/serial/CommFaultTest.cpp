// Failures a pty cannot produce, made through the TCommApi seam: I/O errors
// on either thread, line events and their flags, the ways the reader ends, and
// the blocks of a writer that stops with requests taken or still queued.
#include "CommFixture.h"
#include "serial/CommMessages.h"

#include <algorithm>
#include <deque>

namespace {

constexpr DWORD kOtherError = ERROR_GEN_FAILURE;

// Which call of which thread fails, and how.
enum class TSite { ReadFile, ReadResult, WriteFile, WriteResult, WaitCommEvent };

struct TIoFault {
    const char* Name;
    TSite Site;
    DWORD Error;
};

// Makes the call at `site` fail with `error`; the others go to the system.
// "Result" sites fail GetOverlappedResult for an operation that was pending.
void Inject(TTestCommApi& api, TSite site, DWORD error)
{
    struct TState {
        std::atomic<OVERLAPPED*> ReadOv{nullptr};
        std::atomic<OVERLAPPED*> WriteOv{nullptr};
        std::atomic<bool> ReadPending{false};
    };
    auto state = std::make_shared<TState>();
    api.OnReadFile = [=](HANDLE port, void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) {
        if (site == TSite::ReadFile) return FailWith(error);
        state->ReadOv = ov;
        const BOOL ok = TTestCommApi::Real().ReadFile(port, buffer, count, done, ov);
        const DWORD last = GetLastError();
        state->ReadPending = !ok && last == ERROR_IO_PENDING;
        SetLastError(last);
        return ok;
    };
    api.OnWriteFile = [=](HANDLE port, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) {
        if (site == TSite::WriteFile) return FailWith(error);
        state->WriteOv = ov;
        return TTestCommApi::Real().WriteFile(port, buffer, count, done, ov);
    };
    api.OnGetOverlappedResult = [=](HANDLE port, OVERLAPPED* ov, DWORD* done, BOOL wait) {
        const bool read = ov == state->ReadOv && state->ReadPending;
        const bool write = ov == state->WriteOv;
        if ((site == TSite::ReadResult && read) || (site == TSite::WriteResult && write)) {
            // Let the real operation finish first, as a failing one would have.
            TTestCommApi::Real().GetOverlappedResult(port, ov, done, TRUE);
            return FailWith(error);
        }
        return TTestCommApi::Real().GetOverlappedResult(port, ov, done, wait);
    };
    if (site == TSite::WaitCommEvent)
        api.OnWaitCommEvent = [=](HANDLE, DWORD*, OVERLAPPED*) { return FailWith(error); };
}

bool ReaderSite(TSite site)
{
    return site == TSite::ReadFile || site == TSite::ReadResult || site == TSite::WaitCommEvent;
}

} // namespace

TEST_F(CommTest, AnIoFailureEndsItsThreadWithAHangupUnlessTheHandleIsGone)
{
    const TIoFault faults[] = {
        {"ReadFile, invalid handle", TSite::ReadFile, ERROR_INVALID_HANDLE},
        {"ReadFile, other error", TSite::ReadFile, kOtherError},
        {"read result, invalid handle", TSite::ReadResult, ERROR_INVALID_HANDLE},
        {"read result, other error", TSite::ReadResult, kOtherError},
        {"WaitCommEvent, invalid handle", TSite::WaitCommEvent, ERROR_INVALID_HANDLE},
        {"WaitCommEvent, other error", TSite::WaitCommEvent, kOtherError},
        {"WriteFile, invalid handle", TSite::WriteFile, ERROR_INVALID_HANDLE},
        {"WriteFile, other error", TSite::WriteFile, kOtherError},
        {"write result, invalid handle", TSite::WriteResult, ERROR_INVALID_HANDLE},
        {"write result, other error", TSite::WriteResult, kOtherError},
    };
    auto& peer = OpenFar();
    const TBytes data = Pattern(32, 77);
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.Name);
        TTestCommApi api;
        Inject(api, fault.Site, fault.Error);
        Hangups = 0;
        Received.clear();
        const TApiScope scope(*Comm, api, Api);
        Comm->OpenComm();

        const bool reader = ReaderSite(fault.Site);
        if (reader) {
            // A pending read completes once bytes arrive.
            ASSERT_TRUE(peer.Write(data));
            ASSERT_TRUE(Ended(api.ReaderEnded()));
        } else {
            ASSERT_TRUE(PumpUntil([&] { return Empties == 1; }));
            ASSERT_TRUE(Comm->SendCommData(data.data(), 32));
            ASSERT_TRUE(Ended(api.WriterEnded()));
        }
        PumpPending(); // the thread has ended: everything it posted is queued
        EXPECT_EQ(Hangups, fault.Error == ERROR_INVALID_HANDLE ? 0 : 1);

        // The other thread runs on; the port stays open until it is closed.
        EXPECT_TRUE(Comm->IsOpen());
        if (reader) {
            EXPECT_EQ(WaitForSingleObject(api.WriterEnded(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
            ASSERT_TRUE(Comm->SendCommData(data.data(), 32));
            EXPECT_EQ(peer.Read(32), data);
        } else {
            EXPECT_FALSE(Comm->SendCommData(data.data(), 32)) << "the writer takes no more requests";
            ASSERT_TRUE(peer.Write(data));
            EXPECT_TRUE(ReceiveAtLeast(32));
        }
        Comm->CloseComm();
        PumpPending();
        // A write whose result was made to fail went out, unless the purge at
        // the writer's end dropped it first: take off the line what arrives.
        if (fault.Site == TSite::WriteResult) peer.Drain(data.size());
        Empties = 0;
        EXPECT_EQ(api.Outstanding(), 0);
    }
}

TEST_F(CommTest, LineEventsBecomeErrorAndModemEventsAndReceivingGoesOn)
{
    struct TStep {
        DWORD Mask;
        bool Pending; // completes through the wait rather than at once
    };
    auto script = std::make_shared<std::deque<TStep>>(std::deque<TStep>{
        {EV_ERR, false}, {EV_RLSD, false}, {EV_RING, true}, {EV_RLSD | EV_RING, true}, {EV_ERR | EV_RLSD, false}});
    auto clears = Shared<std::atomic<int>>(0);
    Api.OnWaitCommEvent = [=](HANDLE port, DWORD* mask, OVERLAPPED* ov) {
        if (script->empty()) return TTestCommApi::Real().WaitCommEvent(port, mask, ov); // a pty: not supported
        const TStep step = script->front();
        script->pop_front();
        *mask = step.Mask;
        if (!step.Pending) return TRUE;
        ov->Internal = 0; // done, and successfully
        SetEvent(ov->hEvent);
        return FailWith(ERROR_IO_PENDING);
    };
    Api.OnClearCommError = [=](HANDLE, DWORD* errors, COMSTAT*) {
        *errors = ++*clears == 1 ? CE_FRAME | CE_OVERRUN : CE_RXPARITY;
        return TRUE;
    };
    Comm->OpenComm();
    ASSERT_TRUE(PumpUntil([&] { return Modems.size() == 4 && Errors.size() == 2; }));
    EXPECT_EQ(Errors, (std::vector<uint32_t>{CE_FRAME | CE_OVERRUN, CE_RXPARITY}));
    EXPECT_EQ(Modems, (std::vector<uint32_t>{8, 4, 12, 8}));
    EXPECT_EQ(Hangups, 0);

    auto& peer = OpenFar();
    const TBytes data = Pattern(100, 2);
    ASSERT_TRUE(peer.Write(data));
    ASSERT_TRUE(ReceiveAtLeast(100));
    EXPECT_EQ(Received, data);
}

TEST_F(CommTest, ALineEventWithNothingInItOrAFailedErrorQueryIsAHangup)
{
    struct TCase {
        const char* Name;
        DWORD Mask;
        BOOL ClearOk;
    };
    const TCase cases[] = {{"empty mask", 0, TRUE}, {"ClearCommError fails", EV_ERR, FALSE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestCommApi api;
        api.OnWaitCommEvent = [mask = c.Mask](HANDLE, DWORD* m, OVERLAPPED*) {
            *m = mask;
            return TRUE;
        };
        api.OnClearCommError = [ok = c.ClearOk](HANDLE, DWORD* errors, COMSTAT*) {
            *errors = CE_BREAK;
            return ok ? TRUE : FailWith(kOtherError);
        };
        Hangups = 0;
        Errors.clear();
        const TApiScope scope(*Comm, api, Api);
        Comm->OpenComm();
        ASSERT_TRUE(Ended(api.ReaderEnded()));
        PumpPending();
        EXPECT_EQ(Hangups, 1);
        EXPECT_TRUE(Errors.empty());
    }
}

TEST_F(CommTest, RequestsQueuedWhenTheWriterEndsAreFreedAtOnce)
{
    auto gate = SharedEvent();
    Api.OnWriteFile = [=](HANDLE, const void*, DWORD, DWORD*, OVERLAPPED*) {
        WaitForSingleObject(gate->Get(), 5000);
        return FailWith(ERROR_INVALID_HANDLE);
    };
    Comm->OpenComm();
    const TBytes block = Pattern(1000, 1);
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(Comm->SendCommData(block.data(), 1000));
    SetEvent(gate->Get());
    ASSERT_TRUE(Ended(Api.WriterEnded()));
    EXPECT_EQ(Api.Allocs, 10);
    EXPECT_EQ(Api.Outstanding(), 0) << "nine requests were still queued";
    EXPECT_FALSE(Comm->SendCommData(block.data(), 1000));
    EXPECT_EQ(Api.Outstanding(), 0);
    Comm->CloseComm();
    PumpPending();
    EXPECT_EQ(Hangups, 0);
}

TEST_F(CommTest, TheReaderEndsWithAHangupOnFailureAndQuietlyOnAReadOfNothing)
{
    struct TRow {
        const char* Name;
        std::function<void(TTestCommApi&)> Break;
        std::vector<UINT> Posted; // by the reader, in order
    };
    const TRow rows[] = {
        {"SetCommMask fails",
         [](TTestCommApi& api) { api.OnSetCommMask = [](HANDLE, DWORD) { return FailWith(kOtherError); }; },
         {WM_COMM_HANGUP}},
        {"a read completes at once with nothing",
         [](TTestCommApi& api) {
             api.OnReadFile = [](HANDLE, void*, DWORD, DWORD*, OVERLAPPED* ov) {
                 ov->Internal = 0;
                 ov->InternalHigh = 0;
                 return TRUE;
             };
         },
         {}},
        {"a pending read completes with nothing",
         [](TTestCommApi& api) {
             api.OnReadFile = [](HANDLE, void*, DWORD, DWORD*, OVERLAPPED* ov) {
                 ov->Internal = 0;
                 ov->InternalHigh = 0;
                 SetEvent(ov->hEvent);
                 return FailWith(ERROR_IO_PENDING);
             };
         },
         {}},
        {"a received chunk cannot be posted",
         [](TTestCommApi& api) {
             api.OnPostNotify = [](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
                 if (msg == WM_COMM_RECEIVE) return FailWith(ERROR_NOT_ENOUGH_QUOTA);
                 return TTestCommApi::Real().PostNotify(wnd, msg, wParam, lParam);
             };
         },
         {WM_COMM_RECEIVE, WM_COMM_HANGUP}},
    };
    auto& peer = OpenFar();
    const TBytes data = Pattern(16, 3);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        TTestCommApi api;
        row.Break(api);
        Hangups = 0;
        Received.clear();
        const TApiScope scope(*Comm, api, Api);
        Comm->OpenComm();
        ASSERT_TRUE(peer.Write(data));
        ASSERT_TRUE(Ended(api.ReaderEnded()));
        PumpPending();
        EXPECT_EQ(api.PostedBy(TTestCommApi::Reader), row.Posted);
        EXPECT_EQ(Hangups, static_cast<int>(std::count(row.Posted.begin(), row.Posted.end(), WM_COMM_HANGUP)));
        EXPECT_TRUE(Received.empty());
        EXPECT_EQ(api.Outstanding(), 0) << "a chunk that was not posted is freed";

        // The writer runs on.
        ASSERT_TRUE(Comm->SendCommData(data.data(), 16));
        EXPECT_EQ(peer.Read(16), data);
        Comm->CloseComm();
        PumpPending();
        EXPECT_EQ(api.Outstanding(), 0);
    }
}

TEST_F(CommTest, AStopRightAfterTheWriterTookARequestFreesItsBlock)
{
    // The first write lasts until CloseComm has stopped the reader, that is
    // until the stop event is signalled; the writer then takes the second
    // request only to find the stop.
    auto writing = SharedEvent();
    auto writes = Shared<std::atomic<int>>(0);
    TTestCommApi* api = &Api;
    Api.OnWriteFile = [=](HANDLE, const void*, DWORD count, DWORD*, OVERLAPPED* ov) {
        ++*writes;
        SetEvent(writing->Get());
        WaitForSingleObject(api->ReaderEnded(), 5000);
        ov->Internal = 0; // written, all of it
        ov->InternalHigh = count;
        return TRUE;
    };
    Comm->OpenComm();
    const TBytes block = Pattern(100, 6);
    ASSERT_TRUE(Comm->SendCommData(block.data(), 100));
    ASSERT_EQ(WaitForSingleObject(writing->Get(), 5000), WAIT_OBJECT_0);
    ASSERT_TRUE(Comm->SendCommData(block.data(), 100));
    Comm->CloseComm();
    PumpPending();
    EXPECT_EQ(*writes, 1);
    EXPECT_EQ(Api.Allocs, 2);
    EXPECT_EQ(Api.Outstanding(), 0);
    EXPECT_EQ(Hangups, 0);
}

TEST_F(CommTest, AReadThatTimesOutOrIsAbortedWithoutDataIsReadAgain)
{
    // Under Wine a long write into a far end that does not read ends the
    // pending read with a time-out and no bytes.
    struct TRow {
        const char* Name;
        bool AtOnce; // ReadFile fails, rather than the pending read's result
        DWORD Error;
    };
    const TRow rows[] = {
        {"ReadFile, time-out", true, ERROR_TIMEOUT},
        {"ReadFile, aborted", true, ERROR_OPERATION_ABORTED},
        {"read result, time-out", false, ERROR_TIMEOUT},
        {"read result, aborted", false, ERROR_OPERATION_ABORTED},
    };
    auto& peer = OpenFar();
    const TBytes data = Pattern(32, 5);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        TTestCommApi api;
        auto failed = Shared<std::atomic<bool>>(false);
        auto faulty = Shared<std::atomic<OVERLAPPED*>>(nullptr);
        api.OnReadFile = [=, atOnce = row.AtOnce, error = row.Error](HANDLE port, void* buffer, DWORD count,
                                                                        DWORD* done, OVERLAPPED* ov) {
            if (*failed) return TTestCommApi::Real().ReadFile(port, buffer, count, done, ov);
            if (atOnce) {
                *failed = true;
                return FailWith(error);
            }
            *faulty = ov;
            SetEvent(ov->hEvent);
            return FailWith(ERROR_IO_PENDING);
        };
        api.OnGetOverlappedResult = [=, error = row.Error](HANDLE port, OVERLAPPED* ov, DWORD* done, BOOL wait) {
            if (ov != faulty->exchange(nullptr)) return TTestCommApi::Real().GetOverlappedResult(port, ov, done, wait);
            *failed = true;
            *done = 0;
            return FailWith(error);
        };
        Hangups = 0;
        Received.clear();
        const TApiScope scope(*Comm, api, Api);
        Comm->OpenComm();
        ASSERT_TRUE(PumpUntil([&] { return failed->load(); }));
        ASSERT_TRUE(peer.Write(data));
        EXPECT_TRUE(ReceiveAtLeast(data.size()));
        EXPECT_EQ(Received, data);
        EXPECT_EQ(Hangups, 0);
        EXPECT_EQ(WaitForSingleObject(api.ReaderEnded(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
}
