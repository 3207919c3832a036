// The fixture of the serial tests: a fresh pty pair, a TComm with the main
// window's stored settings on one end (through a TTestCommApi), the far end
// on the other, and every event the component fires recorded.
#pragma once

#include "LineHarness.h"
#include "PtyPair.h"
#include "TestCommApi.h"
#include "classlib/Handles.h"
#include "serial/Comm.h"

#include <gtest/gtest.h>

#include <memory>

// State that a test body shares with the hooks it sets: the hooks hold it,
// so it stays valid while a thread may still call them, however the body ends.
template <class T, class... Args>
std::shared_ptr<T> Shared(Args&&... args)
{
    return std::make_shared<T>(std::forward<Args>(args)...);
}

// A manual-reset event, not signalled, shared the same way.
inline std::shared_ptr<TKernelHandle> SharedEvent()
{
    return Shared<TKernelHandle>(CreateEventA(nullptr, TRUE, FALSE, nullptr));
}

// Runs a component on another api for one scope. On the way out, an ASSERT
// that returns early included, the port is closed before the api is given
// back, so no thread of the component outlives the api it uses. Declare it
// after the api.
class TApiScope {
public:
    TApiScope(TComm& comm, TCommApi& api, TCommApi& previous) : FComm(comm), FPrevious(previous)
    {
        FComm.SetCommApi(api);
    }
    ~TApiScope()
    {
        FComm.CloseComm();
        FComm.SetCommApi(FPrevious);
    }
    TApiScope(const TApiScope&) = delete;
    TApiScope& operator=(const TApiScope&) = delete;

private:
    TComm& FComm;
    TCommApi& FPrevious;
};

class CommTest : public testing::Test {
protected:
    void SetUp() override
    {
        Pair = std::make_unique<TPtyPair>();
        Comm = std::make_unique<TComm>(nullptr);
        UseStoredSettings(*Comm);
        Comm->SetCommApi(Api);
        Record(*Comm);
    }

    void TearDown() override
    {
        Far.reset();
        Comm.reset();
        Pair.reset();
    }

    // The values the main window's description stores for its Comm.
    void UseStoredSettings(TComm& comm)
    {
        comm.SetCommName(Pair->NameA());
        comm.SetBaudRate(19200);
        comm.SetOutx_XonXoffFlow(false);
        comm.SetInx_XonXoffFlow(false);
    }

    void Record(TComm& comm)
    {
        comm.OnReceiveData = [this](TObject* sender, const void* buffer, uint16_t length) {
            EXPECT_EQ(sender, Comm.get());
            const auto* bytes = static_cast<const uint8_t*>(buffer);
            Received.insert(Received.end(), bytes, bytes + length);
            Chunks.push_back(length);
            if (bytes[length] != 0) ++UnterminatedChunks;
        };
        comm.OnRequestHangup = [this](TObject*) { ++Hangups; };
        comm.OnSendDataEmpty = [this](TObject*) { ++Empties; };
        comm.OnReceiveError = [this](TObject*, uint32_t mask) { Errors.push_back(mask); };
        comm.OnModemStateChange = [this](TObject*, uint32_t event) { Modems.push_back(event); };
    }

    TFarEnd& OpenFar()
    {
        Far = std::make_unique<TFarEnd>(Pair->NameB());
        return *Far;
    }

    bool ReceiveAtLeast(size_t count, DWORD timeoutMs = 5000)
    {
        return PumpUntil([&] { return Received.size() >= count; }, timeoutMs);
    }

    // Waits until the thread (TTestCommApi::ReaderEnded, WriterEnded) has
    // ended; everything it posted is queued by then.
    static bool Ended(HANDLE event, DWORD timeoutMs = 5000) { return WaitForSingleObject(event, timeoutMs) == 0; }

    TTestCommApi Api;
    std::unique_ptr<TPtyPair> Pair;
    std::unique_ptr<TComm> Comm;
    std::unique_ptr<TFarEnd> Far;

    TBytes Received;
    std::vector<size_t> Chunks;
    int UnterminatedChunks = 0;
    int Hangups = 0;
    int Empties = 0;
    std::vector<uint32_t> Errors;
    std::vector<uint32_t> Modems;
};
