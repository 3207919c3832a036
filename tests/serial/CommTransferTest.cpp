// Bytes through a TComm on a real pty pair: chunking and order of what is
// received, order and completeness of what is sent, the send-queue-empty
// event, and closing or losing the line in the middle of a transfer.
#include "CommFixture.h"
#include "serial/CommMessages.h"

#include <algorithm>
#include <numeric>
#include <thread>

namespace {

// A close that takes longer ran into the 10 s stop time-out of a thread.
constexpr ULONGLONG kBelowStopTimeoutMs = 8000;

// Sends every block and answers their concatenation.
TBytes SendAll(TComm& comm, const std::vector<TBytes>& blocks)
{
    TBytes all;
    for (const auto& b : blocks) {
        EXPECT_TRUE(comm.SendCommData(b.data(), static_cast<uint16_t>(b.size())));
        all.insert(all.end(), b.begin(), b.end());
    }
    return all;
}

std::vector<TBytes> Blocks(std::initializer_list<size_t> sizes)
{
    std::vector<TBytes> out;
    uint32_t seed = 100;
    for (size_t n : sizes) out.push_back(Pattern(n, seed++));
    return out;
}

} // namespace

TEST_F(CommTest, ABurstArrivesInOrderInZeroTerminatedChunksOfAtMost4096Bytes)
{
    Comm->OpenComm();
    auto& peer = OpenFar();
    TBytes burst = Pattern(10000, 42);
    burst[0] = 0; // zero bytes are data, not terminators
    burst[4096] = 0;
    ASSERT_TRUE(peer.Write(burst));
    ASSERT_TRUE(ReceiveAtLeast(burst.size()));
    PumpFor(150); // nothing more may follow
    EXPECT_EQ(Received, burst);
    EXPECT_GE(Chunks.size(), 3u);
    EXPECT_LE(*std::max_element(Chunks.begin(), Chunks.end()), 4096u);
    EXPECT_EQ(UnterminatedChunks, 0);
    EXPECT_EQ(Hangups, 0);
}

TEST_F(CommTest, BlocksAreWrittenWhollyInPostingOrder)
{
    // Every write asks for the rest of a block, so a zero byte follows it.
    auto unterminated = Shared<std::atomic<int>>(0);
    Api.OnWriteFile = [=](HANDLE port, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) {
        if (static_cast<const uint8_t*>(buffer)[count] != 0) ++*unterminated;
        return TTestCommApi::Real().WriteFile(port, buffer, count, done, ov);
    };
    Comm->OpenComm();
    auto& peer = OpenFar();
    const auto blocks = Blocks({10, 4096, 17, 65535, 3000, 2, 4097, 600, 1, 9000});
    const TBytes sent = SendAll(*Comm, blocks);
    EXPECT_EQ(peer.Read(sent.size(), 10000), sent);
    EXPECT_EQ(*unterminated, 0);
    const std::vector<SIZE_T> sizes = Api.AllocSizes();
    ASSERT_EQ(sizes.size(), blocks.size());
    for (size_t i = 0; i < blocks.size(); ++i) EXPECT_EQ(sizes[i], blocks[i].size() + 1);
}

TEST_F(CommTest, PartialWritesAreContinuedBeforeTheNextRequest)
{
    auto writes = Shared<std::atomic<int>>(0);
    Api.OnWriteFile = [=](HANDLE port, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) {
        ++*writes;
        return TTestCommApi::Real().WriteFile(port, buffer, std::min<DWORD>(count, 3), done, ov);
    };
    Comm->OpenComm();
    auto& peer = OpenFar();
    const auto blocks = Blocks({10, 1, 50, 7, 64});
    const TBytes sent = SendAll(*Comm, blocks);
    EXPECT_EQ(peer.Read(sent.size()), sent);
    EXPECT_GE(*writes, static_cast<int>(sent.size() / 3));
}

TEST_F(CommTest, SendingOnAClosedPortOrNothingAtAllFailsAndQueuesNothing)
{
    const uint8_t byte = 0x55;
    EXPECT_FALSE(Comm->SendCommData(&byte, 1));
    Comm->OpenComm();
    EXPECT_FALSE(Comm->SendCommData(&byte, 0));
    EXPECT_EQ(Api.Allocs, 0);
    Comm->CloseComm();
    EXPECT_FALSE(Comm->SendCommData(&byte, 1));
    EXPECT_EQ(Api.Allocs, 0);
}

TEST_F(CommTest, ASendRightAfterOpeningIsWritten)
{
    auto& peer = OpenFar();
    for (uint32_t round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        Comm->OpenComm();
        const TBytes data = Pattern(10, round);
        EXPECT_TRUE(Comm->SendCommData(data.data(), 10));
        EXPECT_EQ(peer.Read(10), data);
        Comm->CloseComm();
    }
}

TEST_F(CommTest, SendQueueEmptyFiresAfterOpeningAndAgainOnlyOnceTheQueueHasDrained)
{
    // The first write waits until every request is queued, so the queue
    // cannot run dry in between.
    auto gate = SharedEvent();
    Api.OnWriteFile = [=](HANDLE port, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) {
        WaitForSingleObject(gate->Get(), 5000);
        return TTestCommApi::Real().WriteFile(port, buffer, count, done, ov);
    };
    Comm->OpenComm();
    auto& peer = OpenFar();
    ASSERT_TRUE(PumpUntil([&] { return Empties == 1; }));
    PumpFor(150);
    EXPECT_EQ(Empties, 1);

    const TBytes sent = SendAll(*Comm, Blocks({100, 200, 300, 400, 500}));
    SetEvent(gate->Get());
    EXPECT_EQ(peer.Read(sent.size()), sent);
    ASSERT_TRUE(PumpUntil([&] { return Empties == 2; }));
    PumpFor(150);
    EXPECT_EQ(Empties, 2);
}

TEST_F(CommTest, ClosingWhileAWriteIsPendingAbandonsItAndFreesEveryRequest)
{
    // The far end reads nothing: the pty buffers fill and a write stays pending.
    auto pending = SharedEvent();
    Api.OnWriteFile = [=](HANDLE port, const void* buffer, DWORD count, DWORD* done, OVERLAPPED* ov) {
        const BOOL ok = TTestCommApi::Real().WriteFile(port, buffer, count, done, ov);
        const DWORD error = GetLastError();
        if (!ok && error == ERROR_IO_PENDING) SetEvent(pending->Get());
        SetLastError(error);
        return ok;
    };
    Comm->OpenComm();
    OpenFar();
    const TBytes block = Pattern(65535, 9);
    for (int i = 0; i < 40; ++i) ASSERT_TRUE(Comm->SendCommData(block.data(), 65535));
    ASSERT_EQ(WaitForSingleObject(pending->Get(), 10000), WAIT_OBJECT_0) << "no write was ever left pending";

    const ULONGLONG start = GetTickCount64();
    Comm->CloseComm();
    EXPECT_LT(GetTickCount64() - start, kBelowStopTimeoutMs);
    EXPECT_FALSE(Comm->IsOpen());
    EXPECT_EQ(Api.Outstanding(), 0);
    EXPECT_EQ(Api.Allocs, 40);
}

TEST_F(CommTest, TheFarEndVanishingMidTransferEndsQuietlyOrWithAHangup)
{
    Comm->OpenComm();
    auto& peer = OpenFar();
    const TBytes block = Pattern(30000, 11);
    ASSERT_TRUE(peer.Write(block.data(), 20000));
    ASSERT_TRUE(ReceiveAtLeast(1));
    // More than the line holds while the far end reads nothing: writes stay pending.
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(Comm->SendCommData(block.data(), 30000));

    Pair->Kill();
    // The reader notices at once, with a hang-up or by a read of nothing; a
    // writer may still be waiting for a write that the dead line will never
    // take, until CloseComm stops it.
    ASSERT_TRUE(Ended(Api.ReaderEnded()));

    const ULONGLONG start = GetTickCount64();
    Comm->CloseComm();
    EXPECT_LT(GetTickCount64() - start, kBelowStopTimeoutMs);
    PumpPending();
    EXPECT_EQ(Api.Outstanding(), 0);
    // A thread ends after its hang-up: at most one each, and nothing after it.
    int posted = 0;
    for (auto role : {TTestCommApi::Reader, TTestCommApi::Writer}) {
        SCOPED_TRACE(role == TTestCommApi::Reader ? "reader" : "writer");
        const std::vector<UINT> sent = Api.PostedBy(role);
        const auto hangups = std::count(sent.begin(), sent.end(), WM_COMM_HANGUP);
        EXPECT_LE(hangups, 1);
        if (hangups == 1) {
            EXPECT_EQ(sent.back(), WM_COMM_HANGUP);
        }
        posted += static_cast<int>(hangups);
    }
    EXPECT_EQ(Hangups, posted) << "every hang-up posted was delivered";
    RecordProperty("hangups_after_vanishing", Hangups);
    EXPECT_LE(Received.size(), 20000u);
    EXPECT_TRUE(std::equal(Received.begin(), Received.end(), block.begin())) << "what did arrive is intact";
}

TEST_F(CommTest, UnassignedReceiveHandlerStillFreesEveryBlock)
{
    Comm->OnReceiveData = nullptr;
    Comm->OpenComm();
    auto& peer = OpenFar();
    ASSERT_TRUE(peer.Write(Pattern(10000, 8)));
    const auto allocated = [&] {
        size_t bytes = 0;
        for (SIZE_T size : Api.AllocSizes()) bytes += size - 1; // each block has a zero byte more
        return bytes;
    };
    ASSERT_TRUE(PumpUntil([&] { return allocated() == 10000 && Api.Outstanding() == 0; }));
    EXPECT_GE(Api.Allocs, 3);
}

TEST_F(CommTest, ChunksNotYetDeliveredAreFreedWhenTheComponentIsDestroyed)
{
    Comm->OpenComm();
    auto& peer = OpenFar();
    ASSERT_TRUE(peer.Write(Pattern(5000, 4)));
    // No pumping: the chunks wait in this thread's queue.
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (Api.Allocs < 2 && GetTickCount64() < deadline) Sleep(10);
    ASSERT_GE(Api.Allocs, 2);
    Comm.reset();
    EXPECT_EQ(Api.Outstanding(), 0);
    EXPECT_TRUE(Chunks.empty());
}

TEST_F(CommTest, AFloodThatIsNotTakenWaitsOnTheLineAndArrivesWholeOnceItIs)
{
    Comm->OpenComm();
    auto& peer = OpenFar();
    const TBytes flood = Pattern(1u << 20, 12);
    std::atomic<size_t> written{0};
    std::thread writer([&] {
        for (size_t offset = 0; offset < flood.size(); offset += 4096) {
            if (!peer.Write(flood.data() + offset, 4096, 30000)) return;
            written += 4096;
        }
    });
    // Nothing is taken meanwhile: the chunks wait in this thread's queue.
    long most = 0;
    constexpr long kBound = THandOver::kMaxUndelivered;
    for (const ULONGLONG end = GetTickCount64() + 2000; GetTickCount64() < end && most <= kBound;) {
        most = std::max(most, Api.Outstanding());
        Sleep(10);
    }
    EXPECT_LE(most, kBound) << "chunks waiting undelivered";
    EXPECT_LT(written.load(), flood.size()) << "the rest waits on the line";

    const bool all = ReceiveAtLeast(flood.size(), 30000);
    writer.join();
    ASSERT_TRUE(all);
    EXPECT_TRUE(Received == flood) << "every byte, once, in order";
    EXPECT_EQ(Hangups, 0);
}
