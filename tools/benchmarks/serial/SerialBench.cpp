// bench-serial: one end of a pty pair writes 4 MiB as fast as it can; the
// other end receives it through TComm.OnReceiveData, and, for reference, through
// a bare overlapped ReadFile loop with the same buffer and time-outs, alone and
// posting each chunk to the GUI thread. Then the
// delay from a 16-byte write to its OnReceiveData when the line goes quiet.
// What the component adds per chunk is measured apart, without a port: a
// thread posting to a window that the GUI thread dispatches, with nothing
// and with the reader's 4 KiB heap copy. Every ratio and difference is taken
// within one round; each figure is printed as its least, median and greatest
// over the rounds. Prints `key: value` lines.
#include "serial/Comm.h"
#include "tests/serial/LineHarness.h"
#include "tests/serial/PtyPair.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr size_t kTotal = 4u << 20;
constexpr size_t kWriteBlock = 64u << 10;
constexpr int kRounds = 5;
constexpr int kLatencySamples = 50;
constexpr DWORD kStallMs = 3000;

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

// Checks the received stream against what was sent, chunk by chunk.
struct TTally {
    const TBytes* Expected;
    size_t Received = 0;
    size_t Intact = 0; // bytes equal to the sent ones at their position
    size_t Chunks = 0;
    double Last = 0;

    void Add(const uint8_t* data, size_t count)
    {
        for (size_t i = 0; i < count && Received + i < Expected->size(); ++i)
            if (data[i] == (*Expected)[Received + i]) ++Intact;
        Received += count;
        ++Chunks;
        Last = Now();
    }

    // Bytes per second from start to the last arrival; 0 when nothing arrived.
    double Rate(double start) const
    {
        return Received == 0 || Last <= start ? 0.0 : static_cast<double>(Received) / (Last - start);
    }
};

// Writes the whole stream from another thread, as a device would.
std::thread StartWriter(TFarEnd& peer, const TBytes& data)
{
    return std::thread([&peer, &data] {
        for (size_t offset = 0; offset < data.size(); offset += kWriteBlock)
            if (!peer.Write(data.data() + offset, std::min(kWriteBlock, data.size() - offset), 30000)) return;
    });
}

void UseStoredSettings(TComm& comm, const std::string& name)
{
    comm.SetCommName(name);
    comm.SetBaudRate(19200);
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
}

// Bytes per second through TComm; the tally says what arrived.
double ThroughComponent(TPtyPair& pair, TFarEnd& peer, const TBytes& data, TTally& tally)
{
    TComm comm(nullptr);
    UseStoredSettings(comm, pair.NameA());
    comm.OnReceiveData = [&](TObject*, const void* buffer, uint16_t length) {
        tally.Add(static_cast<const uint8_t*>(buffer), length);
    };
    comm.OpenComm();
    const double start = Now();
    std::thread writer = StartWriter(peer, data);
    // The loop of an application: GetMessage and dispatch; a thread timer
    // ends it when nothing has arrived for a while.
    const UINT_PTR timer = SetTimer(nullptr, 0, kStallMs, nullptr);
    size_t seen = 0;
    MSG msg;
    while (tally.Received < data.size() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == WM_TIMER) {
            if (tally.Received == seen) break;
            seen = tally.Received;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    KillTimer(nullptr, timer);
    writer.join();
    comm.CloseComm();
    return tally.Rate(start);
}

// The same through one overlapped 4096-byte read after another, as the reader
// thread does it but without the hand-over to the GUI thread.
double ThroughBareReads(TPtyPair& pair, TFarEnd& peer, const TBytes& data, TTally& tally)
{
    HANDLE port = CreateFileA(pair.NameA().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) return 0;
    COMMTIMEOUTS t{100, 0, 0, 0, 0};
    SetCommTimeouts(port, &t);
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    static uint8_t buffer[4096];

    const double start = Now();
    std::thread writer = StartWriter(peer, data);
    while (tally.Received < data.size()) {
        DWORD done = 0;
        if (!ReadFile(port, buffer, sizeof buffer, nullptr, &ov)) {
            if (GetLastError() != ERROR_IO_PENDING) break;
            if (WaitForSingleObject(ov.hEvent, kStallMs) != WAIT_OBJECT_0) {
                CancelIo(port);
                GetOverlappedResult(port, &ov, &done, TRUE);
                break;
            }
        }
        if (!GetOverlappedResult(port, &ov, &done, FALSE) || done == 0) break;
        tally.Add(buffer, done);
    }
    writer.join();
    CloseHandle(ov.hEvent);
    CloseHandle(port);
    return tally.Rate(start);
}

// The bare read loop on a thread of its own that hands each chunk to this
// thread as TComm must: a heap copy posted to a window, dispatched by
// GetMessage here, freed after the tally. The floor of any design that raises
// one event per chunk on the GUI thread.
double ThroughBareReadsPosting(TPtyPair& pair, TFarEnd& peer, const TBytes& data, TTally& tally)
{
    constexpr UINT kChunk = WM_USER + 2;
    static TTally* target;
    target = &tally;
    WNDCLASSW cls{};
    cls.lpfnWndProc = [](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg != kChunk) return DefWindowProcW(wnd, msg, wParam, lParam);
        target->Add(reinterpret_cast<const uint8_t*>(lParam), static_cast<size_t>(wParam));
        LocalFree(reinterpret_cast<HLOCAL>(lParam));
        return 0;
    };
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"BenchChunkTarget";
    RegisterClassW(&cls);
    const HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, cls.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                     cls.hInstance, nullptr);
    HANDLE port = CreateFileA(pair.NameA().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE || wnd == nullptr) return 0;
    COMMTIMEOUTS t{100, 0, 0, 0, 0};
    SetCommTimeouts(port, &t);
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);

    const double start = Now();
    std::thread writer = StartWriter(peer, data);
    std::thread reader([port, stop, wnd] {
        OVERLAPPED ov{};
        ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        static uint8_t buffer[4096];
        for (;;) {
            DWORD done = 0;
            if (!ReadFile(port, buffer, sizeof buffer, nullptr, &ov)) {
                if (GetLastError() != ERROR_IO_PENDING) break;
                const HANDLE waits[2] = {stop, ov.hEvent};
                if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
                    CancelIo(port);
                    GetOverlappedResult(port, &ov, &done, TRUE);
                    break;
                }
            }
            if (!GetOverlappedResult(port, &ov, &done, FALSE) || done == 0) break;
            HLOCAL block = LocalAlloc(LMEM_FIXED, done + 1);
            std::memcpy(block, buffer, done);
            if (!PostMessageW(wnd, kChunk, done, reinterpret_cast<LPARAM>(block))) {
                LocalFree(block);
                break;
            }
        }
        CloseHandle(ov.hEvent);
    });
    const UINT_PTR timer = SetTimer(nullptr, 0, kStallMs, nullptr);
    size_t seen = 0;
    MSG msg;
    while (tally.Received < data.size() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == WM_TIMER) {
            if (tally.Received == seen) break;
            seen = tally.Received;
            continue;
        }
        DispatchMessageW(&msg);
    }
    KillTimer(nullptr, timer);
    SetEvent(stop);
    reader.join();
    writer.join();
    CloseHandle(stop);
    CloseHandle(port);
    // Chunks still queued die with the window: free them first.
    while (PeekMessageW(&msg, wnd, kChunk, kChunk, PM_REMOVE)) LocalFree(reinterpret_cast<HLOCAL>(msg.lParam));
    DestroyWindow(wnd);
    UnregisterClassW(cls.lpszClassName, cls.hInstance);
    return tally.Rate(start);
}

// Delays in ms from a short write on the far end to its OnReceiveData.
std::vector<double> Latencies(TPtyPair& pair, TFarEnd& peer)
{
    TComm comm(nullptr);
    UseStoredSettings(comm, pair.NameA());
    size_t received = 0;
    double delivered = 0;
    comm.OnReceiveData = [&](TObject*, const void*, uint16_t length) {
        received += length;
        delivered = Now();
    };
    comm.OpenComm();
    const TBytes frame = Pattern(16, 5);
    std::vector<double> delays;
    for (int i = 0; i < kLatencySamples; ++i) {
        const size_t before = received;
        const double sent = Now();
        if (!peer.Write(frame)) break;
        if (!PumpUntil([&] { return received >= before + frame.size(); }, kStallMs)) break;
        delays.push_back((delivered - sent) * 1000);
    }
    comm.CloseComm();
    return delays;
}

// Microseconds per message for a thread that posts kPosts messages to a
// window while this thread dispatches them: with Block, each carries a heap
// copy of a 4096-byte buffer that the window frees, as the reader's chunks do.
double PostAndDispatchUs(bool Block)
{
    constexpr int kPosts = 20000;
    constexpr UINT kMessage = WM_USER + 1;
    static int dispatched;
    dispatched = 0;
    WNDCLASSW cls{};
    cls.lpfnWndProc = [](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg != kMessage) return DefWindowProcW(wnd, msg, wParam, lParam);
        if (lParam != 0) LocalFree(reinterpret_cast<HLOCAL>(lParam));
        ++dispatched;
        return 0;
    };
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"BenchPostTarget";
    RegisterClassW(&cls);
    HWND wnd = CreateWindowExW(0, cls.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
    static uint8_t buffer[4096];
    const double start = Now();
    std::thread poster([wnd, Block] {
        for (int i = 0; i < kPosts; ++i) {
            HLOCAL block = nullptr;
            if (Block) {
                block = LocalAlloc(LMEM_ZEROINIT, sizeof buffer + 1);
                std::memcpy(block, buffer, sizeof buffer);
            }
            // A full queue refuses the post: wait for the GUI thread to catch up.
            while (!PostMessageW(wnd, kMessage, sizeof buffer, reinterpret_cast<LPARAM>(block))) Sleep(0);
        }
    });
    MSG msg;
    while (dispatched < kPosts && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    const double elapsed = Now() - start;
    poster.join();
    DestroyWindow(wnd);
    UnregisterClassW(cls.lpszClassName, cls.hInstance);
    return elapsed * 1e6 / kPosts;
}

double Percentile(std::vector<double> values, double p)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5));
    return values[index];
}

// Prints the least, the median and the greatest of Values as three keys, the
// statistic placed before the unit: NAME_min_UNIT and so on.
void PrintSpread(const std::string& Name, const std::string& Unit, std::vector<double> Values, int Decimals)
{
    std::sort(Values.begin(), Values.end());
    const std::pair<const char*, double> stats[] = {
        {"min", Values.front()}, {"median", Values[Values.size() / 2]}, {"max", Values.back()}};
    for (const auto& [stat, value] : stats) {
        const std::string key = (Name.empty() ? "" : Name + "_") + stat + (Unit.empty() ? "" : "_" + Unit);
        std::printf("%s: %.*f\n", key.c_str(), Decimals, value);
    }
}

// What one round measured; every ratio and difference is taken within a round.
struct TRound {
    double Component = 0, Bare = 0, Posting = 0; // bytes per second
    size_t Chunks = 0, BareChunks = 0;
    double PostUs = 0, PostBlockUs = 0;

    double Ratio(double a, double b) const { return b > 0 ? a / b : 0.0; }
    // Microseconds per chunk: the mean chunk over the rate.
    double ChunkUs(size_t total, size_t chunks, double rate) const
    {
        return chunks > 0 && rate > 0 ? static_cast<double>(total) / static_cast<double>(chunks) / rate * 1e6 : 0.0;
    }
};

} // namespace

int main()
{
    try {
        TPtyPair pair(600);
        TFarEnd peer(pair.NameB());
        const TBytes data = Pattern(kTotal, 1);

        // Rounds in alternating order; each ratio is taken within one round,
        // then the least, median and greatest over the rounds are printed.
        std::vector<TRound> rounds;
        size_t lost = 0;
        for (int round = 0; round < kRounds; ++round) {
            TRound r;
            TTally viaBare{&data};
            TTally viaPosting{&data};
            TTally viaComponent{&data};
            if (round % 2 == 0) r.Bare = ThroughBareReads(pair, peer, data, viaBare);
            r.Component = ThroughComponent(pair, peer, data, viaComponent);
            if (round % 2 == 1) r.Bare = ThroughBareReads(pair, peer, data, viaBare);
            r.Posting = ThroughBareReadsPosting(pair, peer, data, viaPosting);
            r.PostUs = PostAndDispatchUs(false);
            r.PostBlockUs = PostAndDispatchUs(true);
            r.Chunks = viaComponent.Chunks;
            r.BareChunks = viaBare.Chunks;
            lost = std::max(lost, data.size() - viaComponent.Intact);
            rounds.push_back(r);
        }
        const std::vector<double> delays = Latencies(pair, peer);
        const auto each = [&](const auto& figure) {
            std::vector<double> v;
            for (const TRound& r : rounds) v.push_back(figure(r));
            return v;
        };
        const auto chunkUs = [&](const TRound& r) { return r.ChunkUs(data.size(), r.Chunks, r.Component); };
        const auto bareChunkUs = [&](const TRound& r) { return r.ChunkUs(data.size(), r.BareChunks, r.Bare); };

        PrintSpread("", "bytes_per_s", each([](const TRound& r) { return r.Component; }), 0);
        std::printf("bytes_lost: %zu\n", lost);
        PrintSpread("bare_read", "bytes_per_s", each([](const TRound& r) { return r.Bare; }), 0);
        PrintSpread("ratio", "", each([](const TRound& r) { return r.Ratio(r.Component, r.Bare); }), 2);
        // The same reads handing each chunk to this thread by a post: what
        // raising an event per chunk on the GUI thread costs under Wine.
        PrintSpread("bare_read_posting", "bytes_per_s", each([](const TRound& r) { return r.Posting; }), 0);
        PrintSpread("bare_posting_ratio_to_bare", "", each([](const TRound& r) { return r.Ratio(r.Posting, r.Bare); }), 2);
        PrintSpread("ratio_to_bare_posting", "", each([](const TRound& r) { return r.Ratio(r.Component, r.Posting); }), 2);
        PrintSpread("chunk_bytes_mean", "", each([&](const TRound& r) { return r.Chunks ? static_cast<double>(data.size()) / static_cast<double>(r.Chunks) : 0.0; }), 0);
        PrintSpread("bare_chunk_bytes_mean", "", each([&](const TRound& r) { return r.BareChunks ? static_cast<double>(data.size()) / static_cast<double>(r.BareChunks) : 0.0; }), 0);
        // Time per chunk through each path, and what a post and its dispatch
        // cost on their own (empty, and with the reader's heap copy).
        PrintSpread("chunk", "us", each(chunkUs), 1);
        PrintSpread("bare_chunk", "us", each(bareChunkUs), 1);
        PrintSpread("post_dispatch_empty", "us", each([](const TRound& r) { return r.PostUs; }), 1);
        PrintSpread("post_dispatch_4k_copy", "us", each([](const TRound& r) { return r.PostBlockUs; }), 1);
        // What a chunk costs beyond the bare read, and what is left of that
        // once the hand-over itself (post, dispatch, heap copy) is taken away.
        PrintSpread("chunk_beyond_bare", "us", each([&](const TRound& r) { return chunkUs(r) - bareChunkUs(r); }), 1);
        PrintSpread("chunk_beyond_bare_and_handover", "us",
                    each([&](const TRound& r) { return chunkUs(r) - bareChunkUs(r) - r.PostBlockUs; }), 1);
        if (!delays.empty()) PrintSpread("latency", "ms", delays, 1);
        std::printf("latency_p99_ms: %.1f\n", Percentile(delays, 0.99));
        std::printf("latency_samples: %zu\n", delays.size());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench-serial: %s\n", e.what());
        return 1;
    }
}
